'use strict';
// The in-app preview plays while its pictures are still being prepared: a
// page may hold each picture back (window.lumetraPictureGate), and the player
// asks for a picture only once the gate has let it through.
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { JSDOM, PLAYER_FILE } = require('./support');

const SHOW = `<slideshow><control bar_visible="off"/>` +
  `<slide purge="true"><navigation/><image url="one.jpg" duration="1"/><transition duration="0" type="none"/></slide>` +
  `<slide purge="true"><navigation/><image url="two.jpg" duration="1"/><transition duration="0" type="none"/></slide></slideshow>`;

// A page whose gate holds every picture until the test lets it through.
async function load(gate) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'lmt-gate-'));
  fs.copyFileSync(PLAYER_FILE, path.join(dir, 'show.js'));
  const html = `<!DOCTYPE html><html><body>${gate ? '<script>' + gate + '</script>' : ''}` +
    `<script type="application/xml" data-xml-source="show.xml">${SHOW}</script>` +
    `<div class="lumetra-stage" style="width:320px;height:240px"></div>` +
    `<script src="show.js?xml_source=show.xml"></script></body></html>`;
  const asked = [];
  const dom = new JSDOM(html, {
    url: 'file://' + path.join(dir, 'show.player.html'),
    runScripts: 'dangerously',
    resources: 'usable',
    pretendToBeVisual: true,
    beforeParse(window) {
      // Every picture the player asks the page for.
      const Image = window.Image;
      window.Image = function () {
        const img = new Image();
        asked.push(img);
        return img;
      };
    }
  });
  await new Promise((done) => dom.window.addEventListener('load', done));
  await new Promise((done) => setTimeout(done, 50));
  const names = () => asked.map((img) => path.basename(img.src || '')).filter(Boolean);
  return { window: dom.window, names, cleanup: () => { dom.window.close(); fs.rmSync(dir, { recursive: true, force: true }); } };
}

const HOLD_ALL = `var let_go = {};
window.lumetraPictureGate = function (u) { return new Promise(function (go) { let_go[u] = go; }); };
window.release = function (u) { let_go[u](); };`;

test('a held picture is not asked for until the page releases it', async () => {
  const { window, names, cleanup } = await load(HOLD_ALL);
  try {
    assert.deepEqual(names(), []);
    window.release('one.jpg');
    await new Promise((done) => setTimeout(done, 20));
    assert.deepEqual(names(), ['one.jpg']);
  } finally {
    cleanup();
  }
});

test('without a gate every picture is asked for at once', async () => {
  const { names, cleanup } = await load('');
  try {
    assert.deepEqual(names(), ['one.jpg']);
  } finally {
    cleanup();
  }
});
