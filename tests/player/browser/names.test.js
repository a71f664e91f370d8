'use strict';
// A show built by lumetra-make from pictures and music whose names hold the
// characters that change what an address means (#, ? and %): every picture
// appears and the music loads, from disk and over HTTP.
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { execFileSync } = require('node:child_process');
const h = require('./helpers');

const make = h.findMake();
let browser;
let dir;
let server;
let pagePath;

// A music library title, unscrambled into plain MP3 data.
function libraryMp3() {
  const key = Buffer.from('OpenDefaultPathName');
  const audio = path.join(h.ROOT, 'data', 'audio');
  const bytes = fs.readFileSync(path.join(audio, fs.readdirSync(audio).filter((f) => f.endsWith('.ravoz')).sort()[0]));
  for (let i = 0; i < bytes.length; i++) bytes[i] ^= key[i % key.length];
  return bytes;
}

before(async () => {
  if (!make) return;
  browser = await h.launch();
  dir = h.tempDir();
  const pictures = path.join(dir, 'pictures');
  fs.mkdirSync(pictures);
  const names = ['a-1.jpg', 'a#1.jpg', 'what?.jpg', '%41.jpg', 'Grüße "aus" Köln.jpg'];
  const drawn = await h.drawPictures(browser.context, names.length, 320, 240);
  names.forEach((n, i) => fs.writeFileSync(path.join(pictures, n), drawn[i]));
  const music = path.join(dir, 'my song #1? 100%.mp3');
  fs.writeFileSync(music, libraryMp3());
  const out = execFileSync(make, ['--seed', '3', '--music', music, '--output', path.join(dir, 'show', 'Trip.html'), pictures],
    { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
  pagePath = out.trim().split('\n').pop();
  fs.copyFileSync(h.PLAYER, path.join(path.dirname(pagePath), 'Trip_dateien', 'Trip.js'));
  server = await h.serve(dir);
});

after(async () => {
  if (!make) return;
  await browser.close();
  await server.close();
  fs.rmSync(dir, { recursive: true, force: true });
});

// Loads every picture and the music of the show in the page itself.
async function check(url) {
  const { page, errors } = await h.open(browser.context, url);
  await h.waitSlide(page, 0);
  const result = await page.evaluate(async () => {
    const p = window.LumetraPlayer.players[0];
    const load = (src) => new Promise((resolve) => {
      const img = new Image();
      img.onload = () => resolve(img.naturalWidth);
      img.onerror = () => resolve(0);
      img.src = new URL(src, document.baseURI).href;
    });
    const widths = [];
    for (const s of p.model.slides) widths.push(await load(s.url));
    const audio = new Audio(new URL(p.model.music.url, document.baseURI).href);
    const music = await new Promise((resolve) => {
      audio.onloadedmetadata = () => resolve(audio.duration);
      audio.onerror = () => resolve(-1);
    });
    return { widths, music, text: document.body.innerText };
  });
  await page.close();
  return { ...result, errors };
}

for (const where of ['disk', 'http']) {
  test(`names with # ? and % play from ${where}`, { skip: !make && 'lumetra-make is not built' }, async () => {
    const rel = path.relative(dir, pagePath).split(path.sep).map(encodeURIComponent).join('/');
    const url = where === 'disk' ? 'file://' + pagePath.split(path.sep).map(encodeURIComponent).join('/') : `${server.url}${rel}`;
    const r = await check(url);
    assert.ok(r.widths.length >= 5, JSON.stringify(r.widths));
    assert.ok(r.widths.every((w) => w === 320), JSON.stringify(r.widths));
    assert.ok(r.music > 30, `music duration ${r.music}`);
    assert.doesNotMatch(r.text, /nicht verfügbar|not available/i);
    assert.deepEqual(r.errors, []);
  });
}
