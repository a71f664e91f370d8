'use strict';
// The stage fits the window it is shown in: square, portrait and wide shows
// far larger than the window, on the created show's page (from the shipped
// templates) at three window sizes, in the preview panel and in a narrow
// column of another page. Each time the stage lies inside the window, keeps
// the show's proportions, is no larger than needed to fit, and its bar,
// bands and link areas sit inside it and scale with it.
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const h = require('./helpers');

const SHOWS = { square: [2400, 2400], portrait: [1600, 2400], wide: [3000, 1000] };
const WINDOWS = [[1280, 800], [1920, 1080], [390, 844]];
const PANEL = [581, 346];

let browser;
let dir;
let server;
let page;
let errors;

// Two slides with a title band, its text and a link area, in show pixels
// (the description is written for the stage's size, as the builder does).
function description(w, h2) {
  const band = { y: Math.round(h2 * 0.05), height: Math.round(h2 * 0.06), width: w, fill_alpha: 75, fill_color: 'FFFFFF', line_alpha: 0, line_thickness: 0 };
  const title = { y: band.y, height: band.height, align: 'center', bold: 'true', size: Math.round(h2 * 0.04), color: '202020', text: 'Title' };
  const link = { x: Math.round(w / 4), y: Math.round(h2 / 4), width: Math.round(w / 2), height: Math.round(h2 / 2), url: 'https://example.invalid/' };
  const slide = (n) => ({ url: `show_files/p${n}.jpg`, duration: 5, transition: { type: 'none' }, rects: [band], texts: [title], links: [link] });
  return { control: { bar_visible: 'auto' }, slides: [slide(0), slide(1)] };
}

// FitPreviewPlayer of the generator: the show in the panel, one pixel of border, halves to even.
function previewPlacement(w, h2, [pw0, ph0]) {
  const pw = pw0 - 2;
  const ph = ph0 - 2;
  const even = (v) => (Math.abs(v % 1) === 0.5 ? 2 * Math.round(v / 2) : Math.round(v));
  if (w <= pw && h2 <= ph) return [w, h2];
  if (h2 <= ph || (w > pw && w / pw > h2 / ph)) return [pw, even(h2 / Math.fround(w / pw) + 0.5)];
  return [even(w / Math.fround(h2 / ph) + 0.5), ph];
}

async function pictures(shape, [w, h2]) {
  // small pictures of the show's shape: the stage's size is what counts here
  const k = 600 / Math.max(w, h2);
  return Object.fromEntries((await h.drawPictures(browser.context, 2, Math.round(w * k), Math.round(h2 * k)))
    .map((p, i) => [`p${i}.jpg`, p]));
}

// Writes one show folder; page(name, dataDir, w, h, xml) gives its page.
function writeShow(folder, [w, h2], pics, page) {
  fs.mkdirSync(folder, { recursive: true });
  return h.writeShow(folder, { width: w, height: h2, show: description(w, h2), pictures: pics, page });
}

const column = ({ name, dataDir, width, height }) => `<!DOCTYPE html><html lang="en"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<style>body{margin:0;font:16px/1.5 sans-serif}.wrap{display:flex;gap:24px;max-width:1100px;margin:0 auto;padding:24px}
main{flex:1}aside{flex:0 0 240px}</style></head><body><div class="wrap"><main>${'<p>Text of the page. '.repeat(3)}</p></main>
<aside><h3>Our trip</h3><p>Some words first.</p>
<div class="lumetra-stage" style="width:${width}px;height:${height}px" data-wmode="window"></div><script src="${dataDir}/${name}.js?xml_source=${dataDir}/${name}.xml"></script>
<p>More words after.</p></aside></div></body></html>`;

// The in-app preview: a web view of the panel's size showing the preview
// player's address, the stage in the middle of the view.
const preview = ({ name, dataDir, width, height }) => `<!DOCTYPE html><html><head><meta charset="utf-8">
<style>html,body{margin:0;height:100%;overflow:hidden;background:#f5f5f5}body{display:flex;align-items:center;justify-content:center}</style>
</head><body><div class="lumetra-stage" style="width:${width}px;height:${height}px" data-wmode="window"></div><script src="${dataDir}/${name}.js?xml_source=${dataDir}/${name}.xml"></script></body></html>`;

const cases = [];

before(async () => {
  browser = await h.launch();
  dir = h.tempDir();
  server = await h.serve(dir);
  for (const [shape, size] of Object.entries(SHOWS)) {
    const pics = await pictures(shape, size);
    const page = writeShow(path.join(dir, shape), size, pics, h.templatePage);
    for (const win of WINDOWS) cases.push({ name: `${shape} show, page, ${win.join(' x ')} window`, url: 'file://' + page, win, size });
    // the preview's description is written for the player's placed size
    const placed = previewPlacement(size[0], size[1], PANEL);
    writeShow(path.join(dir, `${shape}-preview`), placed, pics, preview);
    cases.push({ name: `${shape} show, preview panel`, url: `${server.url}${shape}-preview/show.html`, win: PANEL, size: placed });
    writeShow(path.join(dir, `${shape}-column`), size, pics, column);
    cases.push({ name: `${shape} show, narrow column, 1280 x 800 window`, url: `${server.url}${shape}-column/show.html`, win: [1280, 800], size, column: 240 });
  }
  page = await browser.context.newPage();
  await page.emulateMedia({ reducedMotion: 'reduce' }); // the bar shows without its fade
  errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  page.on('console', (m) => { if (m.type() === 'error' && !/favicon\.ico$/.test(m.location().url || '')) errors.push(m.text()); });
});

after(async () => {
  await browser.close();
  await server.close();
  fs.rmSync(dir, { recursive: true, force: true });
});

// Geometry of the stage and what is on it, in window pixels.
function measure() {
  return page.evaluate(() => {
    const p = window.LumetraPlayer.players[0];
    const box = (e) => e.getBoundingClientRect().toJSON();
    const top = p.layers[p.layers.length - 1];
    const buttons = [...p.stage.querySelectorAll('.lmt-bar button')].filter((b) => getComputedStyle(b).display !== 'none');
    return {
      win: [innerWidth, innerHeight], stage: box(p.stage), view: box(p.view), bar: box(p.bar),
      buttons: buttons.map((b) => ({ cls: b.className, ...box(b) })),
      rect: box(top.querySelector('.lmt-rect')), text: box(top.querySelector('.lmt-text')),
      link: box(p.stage.querySelector('.lmt-links a'))
    };
  });
}

const inside = (a, b, slack = 0.5) => a.left >= b.left - slack && a.top >= b.top - slack && a.right <= b.right + slack && a.bottom <= b.bottom + slack;
const near = (a, b, d = 1) => Math.abs(a - b) <= d;

test('the stage fits the window in every case, with its bar, bands and links inside', async () => {
  assert.equal(cases.length, 15);
  for (const c of cases) {
    await page.setViewportSize({ width: c.win[0], height: c.win[1] });
    await page.goto(c.url);
    await h.waitSlide(page, 0);
    await page.evaluate(() => document.querySelector('.lmt-stage').scrollIntoView({ block: 'nearest' }));
    await h.finishAnimations(page);
    const m = await measure();
    const [W, H] = c.size;
    const what = `${c.name}: ${JSON.stringify({ stage: m.stage, win: m.win })}`;
    const screen = { left: 0, top: 0, right: m.win[0], bottom: m.win[1] };
    assert.ok(inside(m.stage, screen), `stage inside the window, ${what}`);
    assert.ok(near(m.stage.height, (m.stage.width * H) / W), `the show's proportions, ${what}`);
    // as large as the room allows, never beyond the show's size
    const room = c.column || (c.win === PANEL ? PANEL[0] : m.win[0]);
    const expected = Math.min(W, room, (m.win[1] * W) / H);
    assert.ok(near(m.stage.width, expected), `width ${expected} expected, ${what}`);
    assert.ok(near(m.view.width, m.stage.width) && near(m.view.height, m.stage.height), `the picture area fills the stage, ${what}`);
    // bands, texts and links scale with the stage
    const k = m.stage.width / W;
    const rel = (b) => [b.left - m.stage.left, b.top - m.stage.top, b.width, b.height];
    const d = description(W, H).slides[0];
    const want = (r) => [r.x || 0, r.y, r.width ?? W - (r.x || 0), r.height].map((v) => v * k);
    for (const [got, r] of [[m.rect, d.rects[0]], [m.text, d.texts[0]], [m.link, d.links[0]]]) {
      assert.ok(rel(got).every((v, i) => near(v, want(r)[i])), `${c.name}: ${JSON.stringify(rel(got))} for ${JSON.stringify(want(r))}`);
    }
    // the pointer reveals the bar: whole inside the stage, and its next
    // button takes a click right where it is drawn
    await page.mouse.move(m.stage.left + m.stage.width / 2, m.stage.top + 2);
    await page.waitForFunction(() => getComputedStyle(document.querySelector('.lmt-bar')).opacity === '1' &&
      getComputedStyle(document.querySelector('.lmt-bar')).transform === 'none');
    const shown = await measure();
    assert.ok(inside(shown.bar, m.stage) && shown.buttons.length >= 3 && shown.buttons.every((b) => inside(b, m.stage)),
      `bar inside the stage, ${c.name}: ${JSON.stringify(shown.buttons)}`);
    const next = shown.buttons.find((b) => /lmt-next/.test(b.cls));
    const x = next.left + next.width / 2;
    const y = next.top + next.height / 2;
    await page.mouse.move(x, y); // a pointer on the bar keeps it shown, however slow the machine
    assert.equal(await page.evaluate(([px, py]) => document.elementFromPoint(px, py).closest('button').className, [x, y]), 'lmt-next', c.name);
    await page.mouse.click(x, y);
    await h.waitSlide(page, 1);
  }
  assert.deepEqual(errors, []);
});

test('the stage follows the window when it is resized, and fullscreen lifts the limit', async () => {
  await page.setViewportSize({ width: 1280, height: 800 });
  await page.goto(cases.find((c) => c.name.startsWith('wide show, page')).url);
  await h.waitSlide(page, 0);
  const size = () => page.evaluate(() => {
    const r = document.querySelector('.lmt-stage').getBoundingClientRect();
    return [Math.round(r.width), Math.round(r.height)];
  });
  assert.deepEqual(await size(), [1280, 427]);
  await page.setViewportSize({ width: 1280, height: 300 });
  await page.waitForFunction(() => Math.round(document.querySelector('.lmt-stage').getBoundingClientRect().height) === 300);
  assert.deepEqual(await size(), [900, 300]);
  await page.setViewportSize({ width: 600, height: 300 });
  await page.waitForFunction(() => Math.round(document.querySelector('.lmt-stage').getBoundingClientRect().width) === 600);
  assert.deepEqual(await size(), [600, 200]);
  await page.focus('.lmt-stage');
  await page.keyboard.press('f');
  await page.waitForFunction(() => document.fullscreenElement && document.querySelector('.lmt-stage').clientWidth === innerWidth &&
    document.querySelector('.lmt-stage').clientHeight === innerHeight);
  await page.keyboard.press('f');
  await page.waitForFunction(() => !document.fullscreenElement);
  await page.waitForFunction(() => Math.round(document.querySelector('.lmt-stage').getBoundingClientRect().width) === 600);
});
