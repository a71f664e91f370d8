'use strict';
// Shows written by the real show builder lumetra-make, played from disk
// (inline description) and over HTTP (the embedding code alone, so the
// description is fetched). Skipped when lumetra-make is not built.
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const h = require('./helpers');

const make = h.findMake();
let browser;
let dir;
let server;
let page0;

before(async () => {
  if (!make) return;
  browser = await h.launch();
  dir = h.tempDir();
  page0 = await h.makeShow(browser.context, dir, { count: 5 });
  server = await h.serve(dir);
});

after(async () => {
  if (!make) return;
  await browser.close();
  await server.close();
  fs.rmSync(dir, { recursive: true, force: true });
});

const state = (page) => page.evaluate(() => window.LumetraPlayer.players[0].state());

// Walks the show by its own clock until it is back at the first picture.
async function playThrough(page) {
  const seen = [];
  const model = await page.evaluate(() => window.LumetraPlayer.players[0].model.slides.map((s) => s.duration));
  for (let step = 0; step < model.length + 1; step++) {
    const st = await state(page);
    seen.push(st.index);
    await page.evaluate((ms) => window.LumetraPlayer.skip(ms), model[st.index] * 1000);
    await page.waitForFunction((i) => {
      const s = window.LumetraPlayer.players[0].state();
      return s.shown && s.index !== i;
    }, st.index);
  }
  return seen;
}

test('a created show plays from disk in its written order', { skip: !make && 'lumetra-make is not built' }, async () => {
  const { page, errors } = await h.open(browser.context, 'file://' + page0);
  await h.waitSlide(page, 0);
  const info = await page.evaluate(() => {
    const p = window.LumetraPlayer.players[0];
    const pic = p.stage.querySelector('.lmt-layer canvas');
    return { slides: p.model.slides.length, bar: p.model.bar, w: pic.width - 2, alt: pic.getAttribute('aria-label') };
  });
  assert.deepEqual({ w: info.w, alt: info.alt, bar: info.bar }, { w: 1200, alt: 'Bild 01', bar: 'auto' });
  // autostart and loop are on in a new project: every slide comes, then slide 0 again
  const seen = await playThrough(page);
  assert.deepEqual(seen.slice().sort((a, b) => a - b), [...Array(info.slides).keys(), 0].sort((a, b) => a - b));
  assert.deepEqual(errors, []);
  await page.close();
});

test('the embedding code alone fetches the description over HTTP', { skip: !make && 'lumetra-make is not built' }, async () => {
  const html = fs.readFileSync(page0, 'utf8');
  const snippet = html.slice(html.indexOf('<div class="lumetra-stage"'), html.indexOf('</script>', html.indexOf('<div class="lumetra-stage"')) + 9);
  assert.match(snippet, /<script src="[^"]+\.js\?xml_source=[^"]+\.xml"><\/script>$/);
  const rel = path.relative(dir, path.dirname(page0));
  fs.writeFileSync(path.join(path.dirname(page0), 'embed.html'), `<!DOCTYPE html><meta charset="utf-8"><p>Our trip:</p>${snippet}`);
  const { page, errors } = await h.open(browser.context, `${server.url}${rel}/embed.html`, { viewport: { width: 390, height: 844 } });
  await h.waitSlide(page, 0);
  const box = await page.evaluate(() => document.querySelector('.lmt-stage').getBoundingClientRect().toJSON());
  assert.ok(box.width <= 390 && Math.abs(box.height - box.width * 800 / 1200) < 1, JSON.stringify(box));
  await page.evaluate(() => window.LumetraPlayer.skip(60000));
  await page.waitForFunction(() => window.LumetraPlayer.players[0].state().index > 0);
  assert.deepEqual(errors, []);
  await page.close();
});
