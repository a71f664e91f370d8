'use strict';
// The player started in a page (jsdom): finding stage and description,
// several shows side by side, one global, the notice for broken shows.
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { JSDOM, PLAYER_FILE } = require('./support');

const XML = (url) => `\uFEFF<?xml version="1.0" encoding="UTF-8"?>\n<slideshow><control bar_visible="auto"/>` +
  `<slide purge="true"><navigation/><image url="${url}" background="102030" duration="3"/>` +
  `<transition duration="2" type="push_left"/><draw_rect/><draw_text/><link/></slide></slideshow>\n`;

// Writes the page and the player copy into a temporary show folder and loads it.
async function load(body, { lang = 'en-US', files = {} } = {}) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'lmt-boot-'));
  fs.mkdirSync(path.join(dir, 'a_files'));
  fs.copyFileSync(PLAYER_FILE, path.join(dir, 'a_files', 'a.js'));
  fs.copyFileSync(PLAYER_FILE, path.join(dir, 'a_files', 'b.js'));
  for (const [name, text] of Object.entries(files)) fs.writeFileSync(path.join(dir, name), text);
  const html = `<!DOCTYPE html><html><head><title>t</title></head><body>${body}</body></html>`;
  const warnings = [];
  const virtualConsole = new (require('jsdom').VirtualConsole)();
  virtualConsole.on('warn', (m) => warnings.push(m));
  virtualConsole.on('jsdomError', (e) => warnings.push('jsdomError ' + e.message));
  const dom = new JSDOM(html, {
    url: 'file://' + path.join(dir, 'a.html'),
    runScripts: 'dangerously',
    resources: 'usable',
    pretendToBeVisual: true,
    virtualConsole,
    beforeParse(window) {
      Object.defineProperty(window.navigator, 'languages', { value: [lang] });
      window.__before = Object.keys(window);
    }
  });
  await new Promise((done) => dom.window.addEventListener('load', done));
  await new Promise((done) => setTimeout(done, 50));
  return { dom, window: dom.window, doc: dom.window.document, warnings, cleanup: () => { dom.window.close(); fs.rmSync(dir, { recursive: true, force: true }); } };
}

const stage = (w = 640, h = 400) => `<div class="lumetra-stage" style="width:${w}px;height:${h}px" data-wmode="window"></div>`;
const script = (name, xml = `a_files/${name}.xml`, extra = '') => `<script src="a_files/${name}.js?xml_source=${xml}${extra}"></script>`;
const block = (key, xml) => `<script type="application/xml"${key === null ? '' : ` data-xml-source="${key}"`}>${xml.replace(/^\uFEFF/, '')}</script>`;

test('the player takes its stage and the inline description; one global only', async () => {
  const { window, doc, warnings, cleanup } = await load(stage() + script('a') + block('a_files/a.xml', XML('a_files/one.jpg')));
  try {
    const added = Object.keys(window).filter((k) => !window.__before.includes(k) && k !== '__before');
    assert.deepEqual(added, ['LumetraPlayer']);
    const [p] = window.LumetraPlayer.players;
    assert.equal(p.model.slides[0].url, 'a_files/one.jpg');
    const s = doc.querySelector('.lumetra-stage');
    assert.equal(p.stage, s);
    assert.equal(s.getAttribute('role'), 'region');
    assert.match(s.getAttribute('aria-label'), /^Slideshow/);
    assert.equal(s.tabIndex, 0);
    assert.equal(s.style.aspectRatio, '640 / 400');
    assert.equal(s.querySelector('.lmt-strut').getAttribute('width'), '640');
    assert.equal(doc.querySelector('.lmt-view').style.width, '640px');
    assert.equal(doc.querySelector('.lmt-prev').getAttribute('aria-label'), 'Previous picture');
    assert.equal(doc.querySelectorAll('style[data-lumetra-player]').length, 1);
    assert.deepEqual(warnings, []);
  } finally {
    cleanup();
  }
});

test('several shows on one page find their own descriptions', async () => {
  const body = stage() + script('a', 'a_files/a.xml', '&x=-1') + '<p>between</p>' + stage(320, 200) + script('b', 'a_files/b.xml') +
    block('a_files/b.js?xml_source=a_files/b.xml', XML('b.jpg')) + block('./a_files/a.xml', XML('a.jpg'));
  const { window, doc, cleanup } = await load(body, { lang: 'de-DE' });
  try {
    const players = window.LumetraPlayer.players;
    assert.equal(players.length, 2);
    assert.deepEqual(Array.from(players, (p) => p.model.slides[0].url), ['a.jpg', 'b.jpg']);
    assert.deepEqual(Array.from(players, (p) => p.stage.style.maxWidth), ['640px', '320px']);
    assert.equal(doc.querySelectorAll('.lmt-bar').length, 2);
    assert.equal(doc.querySelector('.lmt-next').getAttribute('aria-label'), 'Nächstes Bild');
    assert.equal(doc.querySelectorAll('style[data-lumetra-player]').length, 1);
  } finally {
    cleanup();
  }
});

test('a single unlabelled block serves the show; a fetched description too', async () => {
  let r = await load(stage() + script('a') + block(null, XML('solo.jpg')));
  try {
    assert.equal(r.window.LumetraPlayer.players[0].model.slides[0].url, 'solo.jpg');
  } finally {
    r.cleanup();
  }
  // no inline block: the file next to the page is read
  r = await load(stage() + script('a', 'fetched.xml'), { files: { 'fetched.xml': XML('f.jpg') } });
  try {
    assert.equal(r.window.LumetraPlayer.players[0].model.slides[0].url, 'f.jpg');
  } finally {
    r.cleanup();
  }
});

test('a show that cannot be read shows a notice instead of failing', async () => {
  const cases = [
    [stage() + script('a') + block('a_files/a.xml', '<slideshow><slide>'), 'format'],
    [stage() + script('a') + block('a_files/other.xml', XML('x.jpg')) + block('a_files/b.xml', XML('y.jpg')), 'load'],
    [stage() + '<script src="a_files/a.js"></script>', 'source'],
    [stage() + script('a') + block('a_files/a.xml', '<?xml version="1.0"?><slideshow><control/></slideshow>'), 'empty']
  ];
  for (const [body, code] of cases) {
    const { window, doc, warnings, cleanup } = await load(body);
    try {
      const p = window.LumetraPlayer.players[0];
      assert.equal(p.state().error, code, body);
      const notice = doc.querySelector('.lmt-notice');
      assert.equal(notice.textContent, 'This slideshow could not be loaded.');
      assert.equal(notice.getAttribute('role'), 'alert');
      // the failed file read itself is reported like a browser's network error
      assert.equal(warnings.filter((w) => /jsdomError/.test(w) && !/ENOENT/.test(w)).length, 0, warnings.join('\n'));
    } finally {
      cleanup();
    }
  }
});
