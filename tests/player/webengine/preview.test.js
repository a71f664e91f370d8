'use strict';
// The player in Qt WebEngine 6.4 (Chromium 102), the engine of the in-app
// preview, through the small host tools/webengine-host: the preview in its
// 581 x 346 panel, loaded as the window will load it (from disk, the
// description read from the file next to the player), and a created show's
// page much larger than its window. Skipped when the host is not built.
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { execFile } = require('node:child_process');
const h = require('../browser/helpers');

function findHost() {
  if (process.env.LUMETRA_WEBENGINE_HOST) return fs.existsSync(process.env.LUMETRA_WEBENGINE_HOST) ? process.env.LUMETRA_WEBENGINE_HOST : null;
  const build = path.join(h.ROOT, 'build');
  const found = (fs.existsSync(build) ? fs.readdirSync(build) : [])
    .map((d) => path.join(build, d, 'bin', 'lumetra-webengine-host'))
    .filter((f) => fs.existsSync(f))
    .sort((a, b) => fs.statSync(b).mtimeMs - fs.statSync(a).mtimeMs);
  return found[0] || null;
}

const host = findHost();
const skip = !host && 'lumetra-webengine-host is not built (Qt 6 WebEngine missing)';
let dir;
let pics;

// Runs the host on a page; resolves to the check script's result and the console errors.
function play(url, size) {
  const env = { ...process.env, QT_QPA_PLATFORM: 'offscreen' };
  if (process.getuid && process.getuid() === 0) env.QTWEBENGINE_DISABLE_SANDBOX = '1';
  return new Promise((resolve, reject) => {
    execFile(host, ['--url', url, '--script', path.join(__dirname, 'check.js'), '--size', size.join('x'), '--timeout', '60'],
      { env, timeout: 90000 }, (error, stdout, stderr) => {
        const line = stdout.split('\n').find((l) => l.startsWith('lmt-result '));
        if (error || !line) return reject(new Error(`host failed: ${error}\n${stdout}\n${stderr.slice(-3000)}`));
        resolve({ result: JSON.parse(line.slice(11)), errors: stdout.split('\n').filter((l) => l.startsWith('lmt-console-error')) });
      });
  });
}

// Three slides that turn: pivot, spin, and a motion that zooms and turns.
function show(w, hh) {
  const slide = (n, extra) => ({ url: `p${n}.jpg`, duration: 5, ...extra });
  return { control: { bar_visible: 'auto' }, slides: [
    slide(0, { transition: { duration: 2, type: 'dissolve' } }),
    slide(1, { transition: { duration: 2, type: 'pivot_left_top_up' } }),
    slide(2, { transition: { duration: 2, type: 'spin' } }),
    slide(0, { transition: { duration: 2, type: 'dissolve' }, motion: { duration: 2, start_zoom: 500, start_rotation: 180 } })
  ].map((s) => ({ ...s, rects: [{ y: Math.round(hh * 0.05), height: Math.round(hh * 0.06), width: w, fill_alpha: 75, fill_color: 'FFFFFF' }] })) };
}

before(async () => {
  if (skip) return;
  const b = await h.launch();
  pics = await h.drawPictures(b.context, 3, 900, 600);
  await b.close();
  dir = h.tempDir('lmt-webengine-');
});

after(() => {
  if (dir) fs.rmSync(dir, { recursive: true, force: true });
});

function check({ result, errors }, win, [W, H]) {
  assert.equal(result.error, null);
  assert.deepEqual(result.win, win);
  const [x, y, w, hh] = result.stage;
  assert.ok(x >= -0.5 && y >= -0.5 && x + w <= win[0] + 0.5 && y + hh <= win[1] + 0.5, `stage inside the window: ${result.stage}`);
  assert.ok(Math.abs(hh - (w * H) / W) <= 1, `the show's proportions: ${result.stage}`);
  assert.deepEqual(result.slides.map((s) => s.index), [0, 1, 2, 3]);
  assert.ok(result.slides.every((s) => s.canvas && s.layers <= 2), JSON.stringify(result.slides));
  assert.ok(result.stats.bitmaps <= 6 && result.stats.drawn <= 3, JSON.stringify(result.stats));
  assert.deepEqual(errors, []);
}

test('the preview plays in its panel, from disk as the window loads it', { skip }, async () => {
  // the preview folder: pictures, player and description side by side; the
  // description is written for the player's placed size (2400 x 2400 -> 344 x 344)
  const folder = path.join(dir, 'preview');
  fs.mkdirSync(folder);
  pics.forEach((p, i) => fs.writeFileSync(path.join(folder, `p${i}.jpg`), p));
  fs.copyFileSync(h.PLAYER, path.join(folder, 'show.js'));
  fs.writeFileSync(path.join(folder, 'show.xml'), h.showXml(show(344, 344)));
  // the player's address as the create page gives it: <folder>/show.js?xml_source=show.xml
  fs.writeFileSync(path.join(folder, 'preview.html'), '<!DOCTYPE html><html><head><meta charset="utf-8"><style>' +
    'html,body{margin:0;height:100%;overflow:hidden;background:#f5f5f5}body{display:flex;align-items:center;justify-content:center}</style></head><body>' +
    `<div class="lumetra-stage" style="width:344px;height:344px" data-wmode="window"></div><script src="${path.join(folder, 'show.js')}?xml_source=show.xml"></script></body></html>`);
  check(await play('file://' + path.join(folder, 'preview.html'), [581, 346]), [581, 346], [344, 344]);
});

test('a created show far larger than its window fits it', { skip }, async () => {
  const folder = path.join(dir, 'created');
  fs.mkdirSync(folder);
  const s = show(3000, 1000);
  s.slides.forEach((sl) => { sl.url = `show_files/${sl.url}`; });
  const page = h.writeShow(folder, { width: 3000, height: 1000, show: s, page: h.templatePage,
    pictures: Object.fromEntries(pics.map((p, i) => [`p${i}.jpg`, p])) });
  check(await play('file://' + page, [1280, 800]), [1280, 800], [3000, 1000]);
});
