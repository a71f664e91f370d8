'use strict';
// Measures, for a 50-picture show opened from disk in headless chromium, the
// time from navigation start to the first picture painted (the frame after
// the decoded first picture went on the stage; median of 5 runs, each in a
// fresh browser profile), and how many decoded pictures the player
// keeps alive while it plays.
//   node tools/first-paint.js [--pictures 50] [--runs 5]
const fs = require('node:fs');
const path = require('node:path');
const h = require('../browser/helpers');

const args = process.argv.slice(2);
const opt = (name, def) => (args.includes(name) ? Number(args[args.indexOf(name) + 1]) : def);
const COUNT = opt('--pictures', 50);
const RUNS = opt('--runs', 5);

async function build(dir) {
  const b = await h.launch();
  try {
    if (h.findMake()) return await h.makeShow(b.context, dir, { count: COUNT, width: 1600, height: 1067, name: 'Fifty' });
    // without the builder: a hand-made folder of the same shape
    const pics = await h.drawPictures(b.context, COUNT, 1600, 1067);
    const slides = pics.map((_, i) => ({ url: `show_files/p${i}.jpg`, duration: 5, transition: { duration: 2, type: 'dissolve' } }));
    return h.writeShow(dir, { width: 1600, height: 1067, show: { slides }, pictures: Object.fromEntries(pics.map((p, i) => [`p${i}.jpg`, p])) });
  } finally {
    await b.close();
  }
}

async function once(file) {
  const b = await h.launch();
  try {
    const page = await b.context.newPage();
    await page.addInitScript(() => {
      document.addEventListener('lumetra:slide', (e) => {
        if (e.detail.index !== 0 || window.__slide0) return;
        // the frame after the picture went in is the one that paints it
        requestAnimationFrame(() => requestAnimationFrame((t) => { window.__slide0 = t; }));
      }, true);
    });
    await page.goto('file://' + file);
    await page.waitForFunction(() => window.__slide0, null, { timeout: 20000 });
    const r = await page.evaluate(() => ({ frame: window.__slide0, decoded: performance.getEntriesByType('resource').length }));
    // play on through ten slides and watch what stays decoded
    let alive = 0;
    for (let i = 0; i < 10; i++) {
      await page.keyboard.press('ArrowRight');
      await page.waitForFunction((k) => window.LumetraPlayer.players[0].state().shown &&
        window.LumetraPlayer.players[0].state().index === k, i + 1);
      await page.waitForTimeout(50);
      alive = Math.max(alive, await page.evaluate(() => window.LumetraPlayer.players[0].stats().alive));
    }
    return { ...r, alive };
  } finally {
    await b.close();
  }
}

(async () => {
  const dir = h.tempDir('lmt-paint-');
  try {
    const file = await build(dir);
    const runs = [];
    for (let i = 0; i < RUNS; i++) runs.push(await once(file));
    const median = (xs) => xs.slice().sort((a, b) => a - b)[Math.floor(xs.length / 2)];
    const fmt = (xs) => xs.map((x) => x.toFixed(0)).join(', ');
    console.log(`show: ${COUNT} pictures of 1600 x 1067 from disk (${h.findMake() ? 'lumetra-make' : 'hand-made'})`);
    console.log(`navigation start to the first picture painted: median ${median(runs.map((r) => r.frame)).toFixed(0)} ms  [${fmt(runs.map((r) => r.frame))}]`);
    console.log(`decoded pictures alive while playing: at most ${Math.max(...runs.map((r) => r.alive))}`);
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
