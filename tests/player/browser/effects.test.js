'use strict';
// All 45 entries of the effect list, each played as the effect
// demonstration plays it (148 × 104, two pictures, 1-second transition),
// side by side on one page. Animations are held at chosen moments to check
// directions, then finished to check the end state.
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const h = require('./helpers');

// What each effect number writes into a slide (the effect table).
function effectElements(n) {
  const types = ['none', 'dissolve', 'cover_right', 'cover_left', 'cover_down', 'cover_up', 'push_right', 'push_left',
    'push_down', 'push_up', 'fade_to_black', 'fade_to_white', 'spin', 'drop', 'reveal_right', 'reveal_left',
    'reveal_down', 'reveal_up', 'squeeze_right', 'squeeze_left', 'squeeze_down', 'squeeze_up'];
  const t = (type, extra = '') => `<transition duration="1"${type ? ` type="${type}"` : ''}${extra}/>`;
  if (n === 0) return t(null);
  if (n <= 22) return t(types[n - 1]);
  if (n <= 26) return t(types[n - 5], ' stack="true"');
  if (n <= 34) {
    const pivots = ['left_top_up', 'left_top_down', 'right_top_up', 'right_top_down', 'left_bottom_up', 'left_bottom_down',
      'right_bottom_up', 'right_bottom_down'];
    return t(`pivot_${pivots[n - 27]}`);
  }
  const k = n - 35;
  const zoom = k < 5 ? 1 : 500;
  const rot = [null, -180, -360, 180, 360][k % 5];
  return `<motion duration="1" start_zoom="${zoom}"${rot === null ? '' : ` start_rotation="${rot}"`}/>` + t('dissolve');
}

// The demonstration description: start picture, then the effect, stay.
function demoXml(n) {
  return '\uFEFF<?xml version="1.0" encoding="UTF-8"?>\n<slideshow>' +
    '<slide purge="false"><transition type="none"/><image url="demo_files/desert.jpg" duration="0"/></slide>' +
    `<slide purge="false">${effectElements(n)}<image url="demo_files/beach.jpg"/><navigation next="1"/></slide>` +
    '</slideshow>\n';
}

let browser;
let dir;
let page;
let errors;

before(async () => {
  browser = await h.launch();
  const [desert, beach] = await h.drawPictures(browser.context, 2, 296, 208);
  dir = h.tempDir();
  fs.mkdirSync(path.join(dir, 'demo_files'));
  fs.writeFileSync(path.join(dir, 'demo_files', 'desert.jpg'), desert);
  fs.writeFileSync(path.join(dir, 'demo_files', 'beach.jpg'), beach);
  fs.copyFileSync(h.PLAYER, path.join(dir, 'demo_files', 'preview.js'));
  let body = '';
  for (let n = 0; n < 45; n++) {
    fs.writeFileSync(path.join(dir, 'demo_files', `e${n}.xml`), demoXml(n));
    body += `<div class="lumetra-stage" style="width:148px;height:104px" data-wmode="transparent"></div>` +
      `<script src="demo_files/preview.js?xml_source=demo_files/e${n}.xml&amp;x=${n % 2 ? '0' : '-1'}"></script>` +
      `<script type="application/xml" data-xml-source="demo_files/e${n}.xml">${demoXml(n).slice(1)}</script>\n`;
  }
  fs.writeFileSync(path.join(dir, 'demo.html'), '<!DOCTYPE html><html><head><meta charset="utf-8"><style>' +
    'body{margin:8px;display:flex;flex-wrap:wrap;gap:6px}</style></head><body>' + body + '</body></html>');
  page = await browser.context.newPage();
  errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  // Every animation starts held, so the test decides where it stands.
  await page.addInitScript(() => {
    const animate = Element.prototype.animate;
    Element.prototype.animate = function (keyframes, options) {
      const a = animate.call(this, keyframes, options);
      a.pause();
      return a;
    };
  });
  await page.goto('file://' + path.join(dir, 'demo.html'));
  await page.waitForFunction(() => window.LumetraPlayer.players.length === 45 &&
    window.LumetraPlayer.players.every((p) => p.state().index === 1 && p.state().shown));
});

after(async () => {
  await browser.close();
  fs.rmSync(dir, { recursive: true, force: true });
});

// Geometry of every show with its animations held at time ms.
function at(ms) {
  return page.evaluate((t) => window.LumetraPlayer.players.map((p) => {
    p.running && p.running.anims.forEach((a) => { a.currentTime = t; });
    const s = p.stage.getBoundingClientRect();
    const layers = [...p.stage.querySelectorAll('.lmt-layer')];
    const rel = (e) => {
      const b = e.getBoundingClientRect();
      return { left: b.left - s.left, top: b.top - s.top, right: b.right - s.left, bottom: b.bottom - s.top, width: b.width, height: b.height };
    };
    const nu = layers.find((l) => l.querySelector('[data-url]').getAttribute('data-url').endsWith('beach.jpg'));
    const old = layers.find((l) => l.querySelector('[data-url]').getAttribute('data-url').endsWith('desert.jpg'));
    return {
      anims: p.running ? p.running.anims.length : 0,
      nu: rel(nu), old: old ? rel(old) : null,
      nuOpacity: Number(getComputedStyle(nu).opacity),
      oldOpacity: old ? Number(getComputedStyle(old).opacity) : null,
      veil: Number(getComputedStyle(p.stage.querySelector('.lmt-veil')).opacity),
      veilColor: getComputedStyle(p.stage.querySelector('.lmt-veil')).backgroundColor,
      pic: rel(nu.querySelector('.lmt-pic')),
      picTransform: getComputedStyle(nu.querySelector('.lmt-pic')).transform
    };
  }), ms);
}

const W = 148;
const H = 104;

test('each effect moves the pictures the way its name says', async () => {
  const mid = await at(500);
  const early = await at(300);
  const late = await at(750);
  const checks = {
    1: (m) => m.anims === 0,
    0: (m) => m.nuOpacity > 0.1 && m.nuOpacity < 0.9, // a transition without type dissolves
    2: (m) => m.nuOpacity > 0.1 && m.nuOpacity < 0.9 && m.oldOpacity === 1,
    3: (m) => m.nu.left < -5 && m.old.left === 0, // cover right: comes from the left
    4: (m) => m.nu.left > 5 && m.old.left === 0,
    5: (m) => m.nu.top < -5 && m.old.top === 0,
    6: (m) => m.nu.top > 5 && m.old.top === 0,
    7: (m) => m.nu.left < -5 && m.old.left > 5, // push right: both move right
    8: (m) => m.nu.left > 5 && m.old.left < -5,
    9: (m) => m.nu.top < -5 && m.old.top > 5,
    10: (m) => m.nu.top > 5 && m.old.top < -5,
    15: (m) => m.nu.left === 0 && m.old.left > 5, // reveal right: the old one leaves to the right
    16: (m) => m.nu.left === 0 && m.old.left < -5,
    17: (m) => m.nu.top === 0 && m.old.top > 5,
    18: (m) => m.nu.top === 0 && m.old.top < -5,
    19: (m) => m.nu.left === 0 && m.nu.width < W - 5 && m.old.right === W && m.old.width < W - 5,
    20: (m) => m.nu.right === W && m.nu.width < W - 5 && m.old.left === 0 && m.old.width < W - 5,
    21: (m) => m.nu.top === 0 && m.nu.height < H - 5 && m.old.bottom === H && m.old.height < H - 5,
    22: (m) => m.nu.bottom === H && m.nu.height < H - 5 && m.old.top === 0 && m.old.height < H - 5,
    23: (m) => m.nu.left === 0 && m.nu.width < W - 5 && m.old.width === W, // with hold: the old one stays still
    24: (m) => m.nu.right === W && m.nu.width < W - 5 && m.old.width === W,
    25: (m) => m.nu.top === 0 && m.nu.height < H - 5 && m.old.height === H,
    26: (m) => m.nu.bottom === H && m.nu.height < H - 5 && m.old.height === H,
    13: (m) => m.nu.width < W && m.nu.height < W, // spin: growing from nothing while turning
    14: (m, e) => e.nu.top < -5, // drop: falls in from above
    // pivots: up comes from below, down from above, around the named corner
    27: (m, e) => e.nu.top > -0.5 && e.nu.left < -5,
    28: (m, e) => e.nu.top < -5,
    29: (m, e) => e.nu.top > -0.5 && e.nu.right > W + 5,
    30: (m, e) => e.nu.top < -5,
    31: (m, e) => e.nu.bottom > H + 5,
    32: (m, e) => e.nu.bottom < H + 0.5 && e.nu.left < -5,
    33: (m, e) => e.nu.bottom > H + 5,
    34: (m, e) => e.nu.bottom < H + 0.5 && e.nu.right > W + 5
  };
  // motion: zoom from 1 % or 500 % and turn from the start angle towards 0°
  const rotations = [0, -180, -360, 180, 360];
  for (let n = 35; n < 45; n++) {
    checks[n] = (m) => {
      const [a, b] = m.picTransform.replace(/^matrix\(|\)$/g, '').split(',').map(Number);
      const scale = Math.hypot(a, b);
      const angle = Math.atan2(b, a);
      const turn = rotations[(n - 35) % 5];
      return (n < 40 ? scale < 0.95 : scale > 1.2) && (turn === 0 ? Math.abs(angle) < 1e-6 : Math.sign(angle) === Math.sign(turn));
    };
  }
  for (let n = 0; n < 45; n++) {
    if (n === 11 || n === 12) continue;
    assert.ok(checks[n], `no check for effect ${n}`);
    assert.ok(checks[n](mid[n], early[n]), `effect ${n}: ${JSON.stringify({ mid: mid[n], early: early[n] })}`);
  }
  // fade to black / white: the old picture fades into the colour, then the new one out of it
  for (const [n, colour] of [[11, 'rgb(0, 0, 0)'], [12, 'rgb(255, 255, 255)']]) {
    assert.equal(early[n].veilColor, colour);
    assert.ok(early[n].veil > 0.2 && early[n].veil < 1 && early[n].nuOpacity === 0, `effect ${n} early`);
    assert.ok(late[n].veil > 0.2 && late[n].veil < 1 && late[n].nuOpacity === 1, `effect ${n} late`);
  }
});

test('each effect runs to its end state without an error', async () => {
  await page.evaluate(() => document.getAnimations().forEach((a) => a.finish()));
  await page.waitForFunction(() => window.LumetraPlayer.players.every((p) => !p.running));
  const ends = await page.evaluate(() => window.LumetraPlayer.players.map((p) => {
    const layers = [...p.stage.querySelectorAll('.lmt-layer')];
    const top = layers[layers.length - 1];
    const cs = getComputedStyle(top);
    return {
      anims: p.stage.getAnimations({ subtree: true }).length,
      top: top.querySelector('[data-url]').getAttribute('data-url').split('/').pop(),
      transform: cs.transform, opacity: cs.opacity,
      pic: getComputedStyle(top.querySelector('.lmt-pic')).transform,
      veil: getComputedStyle(p.stage.querySelector('.lmt-veil')).opacity,
      layers: layers.length, index: p.state().index
    };
  }));
  ends.forEach((e, n) => {
    assert.deepEqual(e, { anims: 0, top: 'beach.jpg', transform: 'none', opacity: '1', pic: 'none', veil: '0', layers: 2, index: 1 },
      `effect ${n}`);
  });
  // the second slide runs out and the show stays on it
  await page.evaluate(() => window.LumetraPlayer.skip(6000));
  const states = await page.evaluate(() => window.LumetraPlayer.players.map((p) => [p.state().index, p.state().ended]));
  assert.ok(states.every(([i, ended]) => i === 1 && ended), JSON.stringify(states));
  assert.deepEqual(errors, []);
});

test('the demonstration size keeps its 148 × 104 stage', async () => {
  const sizes = await page.evaluate(() => window.LumetraPlayer.players.map((p) => {
    const r = p.stage.getBoundingClientRect();
    return [r.width, r.height];
  }));
  assert.ok(sizes.every(([w, hh]) => w === 148 && hh === 104), JSON.stringify(sizes.slice(0, 3)));
  assert.equal(await page.locator('.lmt-bar:visible').count(), 0, 'no control element: no bar');
  assert.equal(await page.locator('.lmt-big:visible').count(), 0, 'a stopped demonstration shows no play symbol');
});

// A turned picture's edge, measured in a screenshot: the share of the new
// (green) picture over the old (red) one, summed down each column, follows
// a straight line when the edge is smoothed; stair-steps leave it off the
// line by about 0.29 px on average.
test('the edge of a turned picture is smoothed, not stair-stepped', async () => {
  const solid = await page.evaluate(() => ['#c04030', '#40a030'].map((colour) => {
    const c = document.createElement('canvas');
    c.width = 800;
    c.height = 600;
    const g = c.getContext('2d');
    g.fillStyle = colour;
    g.fillRect(0, 0, 800, 600);
    return c.toDataURL('image/jpeg', 0.95).split(',')[1];
  }));
  const folder = path.join(dir, 'edge');
  fs.mkdirSync(path.join(folder, 'e_files'), { recursive: true });
  solid.forEach((b64, i) => fs.writeFileSync(path.join(folder, 'e_files', `${i}.jpg`), Buffer.from(b64, 'base64')));
  fs.copyFileSync(h.PLAYER, path.join(folder, 'e_files', 'e.js'));
  const xml = '<?xml version="1.0" encoding="UTF-8"?>\n<slideshow>' +
    '<slide purge="false"><transition type="none"/><image url="e_files/0.jpg" background="C04030" duration="0"/></slide>' +
    '<slide purge="false"><transition duration="1" type="pivot_left_top_up"/><image url="e_files/1.jpg" background="40A030"/><navigation next="1"/></slide></slideshow>';
  fs.writeFileSync(path.join(folder, 'edge.html'), '<!DOCTYPE html><meta charset="utf-8"><style>body{margin:10px}</style>' +
    '<div class="lumetra-stage" style="width:400px;height:300px"></div><script src="e_files/e.js?xml_source=e_files/e.xml"></script>' +
    `<script type="application/xml" data-xml-source="e_files/e.xml">${xml}</script>`);
  const held = await browser.context.newPage();
  await held.setViewportSize({ width: 420, height: 320 });
  await held.addInitScript(() => {
    const animate = Element.prototype.animate;
    Element.prototype.animate = function (keyframes, options) {
      const a = animate.call(this, keyframes, options);
      a.pause();
      return a;
    };
  });
  await held.goto('file://' + path.join(folder, 'edge.html'));
  await held.waitForFunction(() => {
    const p = window.LumetraPlayer.players[0];
    return p.state().index === 1 && p.state().shown && p.running;
  });
  await held.evaluate(() => document.getAnimations().forEach((a) => { a.currentTime = 450; }));
  await held.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
  const shot = await held.screenshot({ clip: { x: 10, y: 10, width: 400, height: 300 } });
  const off = await held.evaluate(async (b64) => {
    const img = new Image();
    img.src = 'data:image/png;base64,' + b64;
    await img.decode();
    const c = document.createElement('canvas');
    c.width = img.width;
    c.height = img.height;
    const g = c.getContext('2d');
    g.drawImage(img, 0, 0);
    const d = g.getImageData(0, 0, c.width, c.height).data;
    const red = [0xc0, 0x40, 0x30];
    const axis = [0x40 - 0xc0, 0xa0 - 0x40, 0];
    const norm = axis.reduce((s, v) => s + v * v, 0);
    const green = (x, y) => {
      const i = (y * c.width + x) * 4;
      return Math.min(1, Math.max(0, [0, 1, 2].reduce((s, k) => s + (d[i + k] - red[k]) * axis[k], 0) / norm));
    };
    // the turned picture's upper edge crosses these columns, and no other edge does
    const xs = [];
    const sums = [];
    for (let x = 30; x < 290; x++) {
      let sum = 0;
      for (let y = 2; y < 290; y++) sum += green(x, y);
      xs.push(x);
      sums.push(sum);
    }
    const n = xs.length;
    const mx = xs.reduce((a, b) => a + b) / n;
    const ms = sums.reduce((a, b) => a + b) / n;
    const slope = xs.reduce((s, x, i) => s + (x - mx) * (sums[i] - ms), 0) / xs.reduce((s, x) => s + (x - mx) ** 2, 0);
    return Math.sqrt(sums.reduce((s, v, i) => s + (v - (ms + slope * (xs[i] - mx))) ** 2, 0) / n);
  }, shot.toString('base64'));
  assert.ok(off < 0.12, `the edge is off its line by ${off.toFixed(3)} px on average`);
  await held.close();
});
