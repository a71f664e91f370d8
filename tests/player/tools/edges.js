'use strict';
// How smooth the edges of turned pictures are, per engine and compositor:
// three shows (pivot, spin, a motion that zooms and turns) of plain red and
// green pictures, each held 450 ms into its 1-second effect, are grabbed
// and measured. For each column the share of the new (green) picture is
// summed; along a smoothed edge these sums lie on a straight line, a
// stair-stepped one leaves them off it by about 0.29 px on average. "seam"
// is how much darker than both pictures the pivot's edge gets at its worst
// (the layer's black background showing through).
//
//   node tools/edges.js [--player PATH] [--only chromium,offscreen,xvfb,xvfb-gpu]
//
// chromium: Debian's headless chromium (software compositor).
// offscreen: Qt WebEngine through tools/webengine-host, QT_QPA_PLATFORM=offscreen.
// xvfb: the same host on an X display under xvfb-run (Debian xvfb, xauth).
// xvfb-gpu: as xvfb, with Chromium's GPU list ignored, so that Mesa's
//   llvmpipe composites (libgl1-mesa-dri).
const fs = require('node:fs');
const path = require('node:path');
const { execFileSync } = require('node:child_process');
const h = require('../browser/helpers');

const args = process.argv.slice(2);
const opt = (name, def) => (args.includes(name) ? args[args.indexOf(name) + 1] : def);
const ONLY = opt('--only', 'chromium,offscreen,xvfb,xvfb-gpu').split(',');
const SIZE = [1300, 340];
const EFFECTS = [
  ['pivot', '<transition duration="1" type="pivot_left_top_up"/>'],
  ['spin', '<transition duration="1" type="spin"/>'],
  ['motion', '<motion duration="1" start_zoom="60" start_rotation="-30"/><transition duration="1" type="none"/>']
];

async function build(dir, context) {
  const page = await context.newPage();
  const solid = await page.evaluate(() => ['#c04030', '#40a030'].map((colour) => {
    const c = document.createElement('canvas');
    c.width = 800;
    c.height = 600;
    const g = c.getContext('2d');
    g.fillStyle = colour;
    g.fillRect(0, 0, 800, 600);
    return c.toDataURL('image/jpeg', 0.95).split(',')[1];
  }));
  await page.close();
  fs.mkdirSync(path.join(dir, 'e_files'), { recursive: true });
  solid.forEach((b64, i) => fs.writeFileSync(path.join(dir, 'e_files', `${i}.jpg`), Buffer.from(b64, 'base64')));
  fs.copyFileSync(opt('--player', h.PLAYER), path.join(dir, 'e_files', 'e.js'));
  let body = '';
  for (const [name, effect] of EFFECTS) {
    const xml = '<?xml version="1.0" encoding="UTF-8"?>\n<slideshow>' +
      '<slide purge="false"><transition type="none"/><image url="e_files/0.jpg" background="C04030" duration="0"/></slide>' +
      `<slide purge="false">${effect}<image url="e_files/1.jpg" background="000000"/><navigation next="1"/></slide></slideshow>`;
    body += `<div class="lumetra-stage" style="width:400px;height:300px"></div><script src="e_files/e.js?xml_source=e_files/${name}.xml"></script>` +
      `<script type="application/xml" data-xml-source="e_files/${name}.xml">${xml}</script>\n`;
  }
  fs.writeFileSync(path.join(dir, 'edges.html'), '<!DOCTYPE html><html><head><meta charset="utf-8"><style>' +
    `body{margin:10px;background:#fff;display:flex;gap:10px}</style></head><body>${body}</body></html>`);
  // Run in the page by the WebEngine host: hold every animation, grab, end.
  fs.writeFileSync(path.join(dir, 'hold.js'), `(${holdAndGrab.toString()})();`);
  return path.join(dir, 'edges.html');
}

// Page side (also Chromium 102): wait for the three effects, hold them at 450 ms.
function holdAndGrab() {
  (function poll() {
    const ns = window.LumetraPlayer;
    const ready = ns && ns.players.length === 3 && ns.players.every((p) => p.state().index === 1 && p.state().shown && p.running);
    if (!ready) return setTimeout(poll, 20);
    document.getAnimations().forEach((a) => { a.pause(); a.currentTime = 450; });
    requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(() => {
      if (!window.lmtShot) return;
      console.log('lmt-grab ' + window.lmtShot);
      (function wait() {
        if (window.lmtGrabbed !== undefined) console.log('lmt-done');
        else setTimeout(wait, 20);
      })();
    }, 300)));
  })();
}

function host() {
  const build = path.join(h.ROOT, 'build');
  const found = (fs.existsSync(build) ? fs.readdirSync(build) : [])
    .map((d) => path.join(build, d, 'bin', 'lumetra-webengine-host')).filter((f) => fs.existsSync(f));
  if (process.env.LUMETRA_WEBENGINE_HOST) return process.env.LUMETRA_WEBENGINE_HOST;
  if (!found.length) throw new Error('no lumetra-webengine-host: build with Qt 6 WebEngine installed');
  return found[0];
}

// Grabs the held frame in WebEngine; returns the PNG's bytes.
function grabWebEngine(file, dir, mode) {
  const shot = path.join(dir, `${mode}.png`);
  const script = path.join(dir, `hold-${mode}.js`);
  fs.writeFileSync(script, `window.lmtShot = ${JSON.stringify(shot)};\n` + fs.readFileSync(path.join(dir, 'hold.js'), 'utf8'));
  const env = { ...process.env };
  if (process.getuid && process.getuid() === 0) env.QTWEBENGINE_DISABLE_SANDBOX = '1';
  const run = [host(), '--url', 'file://' + file, '--script', script, '--size', SIZE.join('x'), '--timeout', '60'];
  if (mode === 'offscreen') {
    execFileSync(run[0], run.slice(1), { env: { ...env, QT_QPA_PLATFORM: 'offscreen' }, stdio: 'ignore' });
  } else {
    if (mode === 'xvfb-gpu') env.QTWEBENGINE_CHROMIUM_FLAGS = '--ignore-gpu-blocklist';
    execFileSync('xvfb-run', ['-a', '-s', '-screen 0 1400x500x24', ...run], { env: { ...env, QT_QPA_PLATFORM: 'xcb' }, stdio: 'ignore' });
  }
  return fs.readFileSync(shot);
}

async function grabChromium(context, file) {
  const page = await context.newPage();
  await page.setViewportSize({ width: SIZE[0], height: SIZE[1] });
  await page.goto('file://' + file);
  await page.evaluate(() => new Promise((done) => {
    window.lmtShot = null;
    (function poll() {
      const ns = window.LumetraPlayer;
      if (ns && ns.players.length === 3 && ns.players.every((p) => p.state().index === 1 && p.state().shown && p.running)) done();
      else setTimeout(poll, 5);
    })();
  }));
  await page.evaluate(() => document.getAnimations().forEach((a) => { a.pause(); a.currentTime = 450; }));
  await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
  const png = await page.screenshot();
  await page.close();
  return png;
}

// Measures a grabbed frame in a browser page (its canvas reads the PNG).
async function measure(context, png) {
  const page = await context.newPage();
  const result = await page.evaluate(async (b64) => {
    const img = new Image();
    img.src = 'data:image/png;base64,' + b64;
    await img.decode();
    const c = document.createElement('canvas');
    c.width = img.width;
    c.height = img.height;
    const g = c.getContext('2d');
    g.drawImage(img, 0, 0);
    const d = g.getImageData(0, 0, c.width, c.height).data;
    const at = (x, y) => { const i = (y * c.width + x) * 4; return [d[i], d[i + 1], d[i + 2]]; };
    const share = (from, to) => (p) => {
      const axis = [0, 1, 2].map((k) => to[k] - from[k]);
      const norm = axis.reduce((s, v) => s + v * v, 0);
      return Math.min(1, Math.max(0, [0, 1, 2].reduce((s, k) => s + (p[k] - from[k]) * axis[k], 0) / norm));
    };
    const red = [0xc0, 0x40, 0x30];
    const green = [0x40, 0xa0, 0x30];
    const roughness = (t, x0, x1, y0, y1) => {
      const xs = [];
      const sums = [];
      for (let x = x0; x < x1; x++) {
        let s = 0;
        for (let y = y0; y < y1; y++) s += t(at(x, y));
        xs.push(x);
        sums.push(s);
      }
      const n = xs.length;
      const mx = xs.reduce((a, b) => a + b) / n;
      const ms = sums.reduce((a, b) => a + b) / n;
      const slope = xs.reduce((s, x, i) => s + (x - mx) * (sums[i] - ms), 0) / xs.reduce((s, x) => s + (x - mx) ** 2, 0);
      return Math.sqrt(sums.reduce((s, v, i) => s + (v - (ms + slope * (xs[i] - mx))) ** 2, 0) / n);
    };
    const lum = (p) => 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2];
    let seam = 0;
    for (let x = 40; x < 300; x++) {
      let low = Infinity;
      for (let y = 12; y < 300; y++) low = Math.min(low, lum(at(x, y)));
      seam = Math.max(seam, Math.min(lum(red), lum(green)) - low);
    }
    // the pivot's upper edge (first show), the turned picture's upper edge over its black background (third)
    return { pivot: roughness(share(red, green), 40, 300, 12, 300), seam, motion: roughness(share([0, 0, 0], green), 845, 1120, 12, 60) };
  }, png.toString('base64'));
  await page.close();
  return result;
}

(async () => {
  const dir = h.tempDir('lmt-edges-');
  const b = await h.launch();
  try {
    const file = await build(dir, b.context);
    console.log('edge off its line (px, 0.29 = stair-stepped) and seam (luminance) of turned pictures, held 450 ms in:');
    for (const mode of ONLY) {
      let png;
      try {
        png = mode === 'chromium' ? await grabChromium(b.context, file) : grabWebEngine(file, dir, mode);
      } catch (e) {
        console.log(`  ${mode.padEnd(10)} not measured: ${String(e.message).split('\n')[0]}`);
        continue;
      }
      const r = await measure(b.context, png);
      console.log(`  ${mode.padEnd(10)} pivot ${r.pivot.toFixed(3)} px, seam ${r.seam.toFixed(1)}; motion ${r.motion.toFixed(3)} px`);
    }
  } finally {
    await b.close();
    fs.rmSync(dir, { recursive: true, force: true });
  }
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
