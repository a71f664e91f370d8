'use strict';
// Shared set-up of the browser tests: Debian's chromium through
// playwright-core, a static file server on 127.0.0.1, generated pictures and
// hand-written show folders laid out like a created show.
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const http = require('node:http');
const { chromium } = needs('playwright-core');

function needs(name) {
  try {
    return require(name);
  } catch (e) {
    throw new Error(`${name} is missing: run tools/setup.d/player.sh (npm ci in tests/player)`);
  }
}

const ROOT = path.resolve(__dirname, '..', '..', '..');
const PLAYER = path.join(ROOT, 'data', 'slideshow.js');
const CHROMIUM = process.env.LUMETRA_CHROMIUM || '/usr/bin/chromium';

async function launch() {
  if (!fs.existsSync(CHROMIUM)) throw new Error(`no chromium at ${CHROMIUM}: install Debian's chromium (tools/packages/player.txt)`);
  const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'lmt-chromium-'));
  const context = await chromium.launchPersistentContext(userDataDir, {
    executablePath: CHROMIUM,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--allow-file-access-from-files=false'],
    viewport: { width: 1280, height: 800 },
    locale: 'en-US'
  });
  const close = async () => {
    await context.close();
    fs.rmSync(userDataDir, { recursive: true, force: true });
  };
  return { context, close, userDataDir };
}

// Pictures drawn by the browser itself: a gradient, a big number and a frame,
// so screenshots show which picture is where. Returns JPEG buffers.
// first numbers them on from an earlier batch.
async function drawPictures(context, count, width, height, first = 0) {
  const page = await context.newPage();
  const list = await page.evaluate(({ count, width, height, first }) => {
    const out = [];
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    const g = canvas.getContext('2d');
    for (let i = first; i < first + count; i++) {
      const hue = (i * 67) % 360;
      const grad = g.createLinearGradient(0, 0, width, height);
      grad.addColorStop(0, `hsl(${hue},70%,55%)`);
      grad.addColorStop(1, `hsl(${(hue + 60) % 360},70%,30%)`);
      g.fillStyle = grad;
      g.fillRect(0, 0, width, height);
      for (let k = 0; k < 12; k++) {
        g.fillStyle = `hsla(${(hue + k * 30) % 360},80%,80%,0.25)`;
        g.beginPath();
        g.arc(((k * 97 + i * 31) % 100) / 100 * width, ((k * 53 + i * 17) % 100) / 100 * height,
          Math.min(width, height) * (0.05 + (k % 4) * 0.05), 0, 2 * Math.PI);
        g.fill();
      }
      g.strokeStyle = 'rgba(255,255,255,0.8)';
      g.lineWidth = Math.max(2, width / 200);
      g.strokeRect(g.lineWidth, g.lineWidth, width - 2 * g.lineWidth, height - 2 * g.lineWidth);
      g.fillStyle = 'white';
      g.font = `bold ${Math.round(height / 3)}px sans-serif`;
      g.textAlign = 'center';
      g.textBaseline = 'middle';
      g.fillText(String(i + 1), width / 2, height / 2);
      out.push(canvas.toDataURL('image/jpeg', 0.85).split(',')[1]);
    }
    return out;
  }, { count, width, height, first });
  await page.close();
  return list.map((b64) => Buffer.from(b64, 'base64'));
}

// Landscape-like pictures (sky, sun, hills, water) for screenshots.
async function drawScenes(context, count, width, height) {
  const page = await context.newPage();
  const list = await page.evaluate(({ count, width, height }) => {
    let seed = 11;
    const rnd = () => ((seed = (seed * 16807) % 2147483647) / 2147483647);
    const out = [];
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    const g = canvas.getContext('2d');
    const palettes = [
      ['#f6d365', '#fda085', '#6a3d5a', '#2b1d3a', '#3a6073'], ['#a1c4fd', '#c2e9fb', '#4b7b5a', '#2f5140', '#2c6e8f'],
      ['#ff9a9e', '#fecfef', '#6d597a', '#355070', '#1d3557'], ['#89f7fe', '#66a6ff', '#5b8c51', '#34623f', '#1e5b78'],
      ['#fbc2eb', '#a6c1ee', '#7a6c8f', '#4a4e69', '#22577a'], ['#ffecd2', '#fcb69f', '#8c5e58', '#5e3c58', '#3d5a80']];
    for (let i = 0; i < count; i++) {
      const [sky1, sky2, hill1, hill2, water] = palettes[i % palettes.length];
      const horizon = height * (0.58 + rnd() * 0.1);
      let grad = g.createLinearGradient(0, 0, 0, horizon);
      grad.addColorStop(0, sky2);
      grad.addColorStop(1, sky1);
      g.fillStyle = grad;
      g.fillRect(0, 0, width, horizon);
      const sx = width * (0.2 + rnd() * 0.6);
      const sy = horizon * (0.35 + rnd() * 0.3);
      const sun = g.createRadialGradient(sx, sy, 0, sx, sy, height * 0.25);
      sun.addColorStop(0, 'rgba(255,255,235,1)');
      sun.addColorStop(0.25, 'rgba(255,245,200,0.9)');
      sun.addColorStop(1, 'rgba(255,240,200,0)');
      g.fillStyle = sun;
      g.fillRect(0, 0, width, horizon);
      [[hill1, 0.32], [hill2, 0.18]].forEach(([colour, amp], layer) => {
        g.fillStyle = colour;
        g.beginPath();
        g.moveTo(0, horizon);
        const phase = rnd() * 6;
        for (let x = 0; x <= width; x += width / 60) {
          const y = horizon - height * amp * (0.45 + 0.3 * Math.sin(x / width * (3 + layer * 2) + phase) +
            0.12 * Math.sin(x / width * 17 + phase * 3) + 0.05 * rnd());
          g.lineTo(x, y);
        }
        g.lineTo(width, horizon);
        g.closePath();
        g.fill();
      });
      grad = g.createLinearGradient(0, horizon, 0, height);
      grad.addColorStop(0, water);
      grad.addColorStop(1, '#0b1d2a');
      g.fillStyle = grad;
      g.fillRect(0, horizon, width, height - horizon);
      g.fillStyle = 'rgba(255,250,220,0.35)';
      for (let k = 0; k < 40; k++) {
        const y = horizon + (height - horizon) * (k / 40);
        const w = width * 0.04 * (1 + k / 10) * (0.5 + rnd());
        g.fillRect(sx - w / 2 + (rnd() - 0.5) * w, y, w, Math.max(1, height / 400));
      }
      out.push(canvas.toDataURL('image/jpeg', 0.9).split(',')[1]);
    }
    return out;
  }, { count, width, height });
  await page.close();
  return list.map((b64) => Buffer.from(b64, 'base64'));
}

function esc(v) {
  return String(v).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;')
    .replace(/"/g, '&quot;').replace(/'/g, '&apos;');
}

function element(name, attrs, children) {
  const a = Object.entries(attrs || {}).filter(([, v]) => v !== undefined && v !== null)
    .map(([k, v]) => ` ${k}="${esc(v)}"`).join('');
  if (children === undefined || children === '') return `<${name}${a}/>`;
  return `<${name}${a}>${children}</${name}>`;
}

// A show description in the file form the program writes (compact, BOM).
// slides: [{ url, duration, transition: {type, duration, stack}, motion, nav, pause,
//           purge, fill, background, backgroundAlpha, rects, texts, links }]
function showXml(show) {
  const parts = [];
  if (show.control !== null) parts.push(element('control', show.control || { bar_visible: 'auto' }));
  for (const s of show.slides) {
    const kids = [];
    kids.push(element('navigation', s.nav || {}));
    if (s.pause) kids.push(element('action', { type: 'pause' }));
    kids.push(element('image', {
      url: s.url, fill: s.fill, background: s.background === undefined ? '000000' : s.background,
      background_alpha: s.backgroundAlpha, duration: s.duration === undefined ? 3 : s.duration
    }));
    if (s.motion) kids.push(element('motion', s.motion));
    kids.push(element('transition', s.transition || { duration: 1, type: 'dissolve' }));
    kids.push(element('draw_rect', {}, (s.rects || []).map((r) => element('rect', r)).join('')));
    kids.push(element('draw_text', {}, (s.texts || []).map(({ text, ...r }) => element('text', r, esc(text))).join('')));
    kids.push(element('link', {}, (s.links || []).map((r) => element('area', r)).join('')));
    parts.push(element('slide', { purge: s.purge === undefined ? 'true' : s.purge }, kids.join('')));
  }
  if (show.music) parts.push(element('music', show.music));
  return '\uFEFF<?xml version="1.0" encoding="UTF-8"?>\n' + element('slideshow', {}, parts.join('')) + '\n';
}

// A page like the templates make: stage, player script, inline description.
function showPage({ name, dataDir, width, height, xml, inline = true, bodyStyle = '', wmode = 'window' }) {
  const src = `${dataDir}/${name}.js?xml_source=${dataDir}/${name}.xml`;
  const block = inline
    ? `<script type="application/xml" data-xml-source="${dataDir}/${name}.xml">${xml.replace(/^\uFEFF/, '')}</script>`
    : '';
  return `<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>${name}</title>
<style>body{margin:0;padding:16px;background:#222;${bodyStyle}}</style></head>
<body>
<div class="lumetra-stage" style="width:${width}px;height:${height}px" data-wmode="${wmode}"></div><script src="${src}"></script>
${block}
</body></html>`;
}

// The created show's page from the shipped templates, filled in as the show
// builder fills it (data/template.html with data/swfembed.html).
function templatePage({ name, dataDir, width, height, xml, transparent = false, background = '#000000' }) {
  const read = (file) => fs.readFileSync(path.join(ROOT, 'data', file), 'utf8').replace(/\r?\n$/, '');
  const values = {
    '%SWF_EMBED%': read('swfembed.html'), '%PAGE_TITLE%': 'Lumetra', '%GENERATOR%': 'Lumetra (test)',
    '%WIDTH%': width, '%HEIGHT%': height, '%FILENAME%': `${dataDir}/${name}.js?xml_source=${dataDir}/${name}.xml`,
    '%XML_SOURCE%': `${dataDir}/${name}.xml`, '%WMODE%': transparent ? 'transparent' : 'window',
    '%BGCOLOR%': transparent ? 'white' : background, '%CODE_BEGIN%': 'Lumetra code start', '%CODE_END%': 'Lumetra code end',
    '%SHOW_XML%': xml.replace(/^\uFEFF/, '').replace(/<\/(script)/gi, '<\\/$1')
  };
  let page = read('template.html');
  for (const [key, value] of Object.entries(values)) page = page.split(key).join(String(value));
  return page;
}

// Writes a show folder: dir/name.html and dir/name_files/{pictures,name.js,name.xml}.
function writeShow(dir, { name = 'show', width = 640, height = 400, show, pictures = {}, inline = true, page }) {
  const dataDir = `${name}_files`;
  fs.mkdirSync(path.join(dir, dataDir), { recursive: true });
  for (const [file, data] of Object.entries(pictures)) fs.writeFileSync(path.join(dir, dataDir, file), data);
  fs.copyFileSync(PLAYER, path.join(dir, dataDir, `${name}.js`));
  const xml = typeof show === 'string' ? show : showXml(show);
  fs.writeFileSync(path.join(dir, dataDir, `${name}.xml`), xml);
  const html = page ? page({ name, dataDir, width, height, xml }) : showPage({ name, dataDir, width, height, xml, inline });
  fs.writeFileSync(path.join(dir, `${name}.html`), html);
  return path.join(dir, `${name}.html`);
}

const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.xml': 'application/xml',
  '.jpg': 'image/jpeg', '.png': 'image/png', '.mp3': 'audio/mpeg', '.dat': 'audio/mpeg' };

// Serves dir on 127.0.0.1 (a free port); resolves to { url, close }.
function serve(dir) {
  const server = http.createServer((req, res) => {
    const rel = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = path.join(dir, path.normalize(rel).replace(/^([/\\])+/, ''));
    if (!file.startsWith(dir) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      res.writeHead(404);
      res.end('not found');
      return;
    }
    // ?delay=ms holds the answer back, like a slow connection
    const delay = Number(new URL(req.url, 'http://x').searchParams.get('delay')) || 0;
    setTimeout(() => {
      res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
      fs.createReadStream(file).pipe(res);
    }, delay);
  });
  return new Promise((done) => server.listen(0, '127.0.0.1', () => done({
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((ok) => server.close(ok))
  })));
}

function tempDir(prefix = 'lmt-show-') {
  return fs.mkdtempSync(path.join(os.tmpdir(), prefix));
}

// Opens a page and collects console errors and uncaught exceptions.
async function open(context, url, opts = {}) {
  const page = await context.newPage();
  if (opts.viewport) await page.setViewportSize(opts.viewport);
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  page.on('console', (m) => {
    if (m.type() === 'error' && !/favicon\.ico$/.test(m.location().url || '')) errors.push(m.text());
  });
  await page.goto(url);
  return { page, errors };
}

// Waits until player n shows slide index (its transition has started).
function waitSlide(page, index, n = 0) {
  return page.waitForFunction(([i, k]) => {
    const p = window.LumetraPlayer && window.LumetraPlayer.players[k];
    return p && p.state().shown && p.state().index === i;
  }, [index, n], { timeout: 10000 });
}

// Finishes running transitions at once (they are Web Animations) and lets
// the player tidy up after them.
async function finishAnimations(page) {
  await page.evaluate(async () => {
    const anims = document.getAnimations().filter((a) => a.effect && a.effect.target &&
      a.effect.target.closest && a.effect.target.closest('.lmt-view'));
    anims.forEach((a) => a.finish());
    await Promise.all(anims.map((a) => a.finished.catch(() => null)));
    await new Promise((r) => requestAnimationFrame(() => r()));
  });
}

module.exports = { ROOT, PLAYER, launch, drawPictures, drawScenes, showXml, showPage, templatePage, writeShow, serve, tempDir, open,
  waitSlide, finishAnimations, esc };

// The show builder lumetra-make: $LUMETRA_MAKE, else the newest one in a build folder.
function findMake() {
  if (process.env.LUMETRA_MAKE) return fs.existsSync(process.env.LUMETRA_MAKE) ? process.env.LUMETRA_MAKE : null;
  const build = path.join(ROOT, 'build');
  const found = (fs.existsSync(build) ? fs.readdirSync(build) : [])
    .map((d) => path.join(build, d, 'bin', 'lumetra-make'))
    .filter((f) => fs.existsSync(f))
    .sort((a, b) => fs.statSync(b).mtimeMs - fs.statSync(a).mtimeMs);
  return found[0] || null;
}

// Builds a show with lumetra-make from generated pictures; returns the page path.
async function makeShow(context, folder, { count = 5, width = 1200, height = 800, name = 'Meine Reise', seed = 7, scenes = false } = {}) {
  const make = findMake();
  const pictures = path.join(folder, 'pictures');
  fs.mkdirSync(pictures, { recursive: true });
  const list = await (scenes ? drawScenes : drawPictures)(context, count, width, height);
  list.forEach((p, i) => fs.writeFileSync(path.join(pictures, `Bild ${String(i + 1).padStart(2, '0')}.jpg`), p));
  const out = require('node:child_process').execFileSync(make,
    ['--seed', String(seed), '--output', path.join(folder, 'show', `${name}.html`), pictures],
    { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
  const page = out.trim().split('\n').pop();
  // The builder copies the player of its build folder; play the one under test.
  const html = fs.readFileSync(page, 'utf8');
  const src = /<script src="([^"?]+\.js)\?xml_source=/.exec(html)[1];
  fs.copyFileSync(PLAYER, path.join(path.dirname(page), decodeURI(src)));
  return page;
}

module.exports.findMake = findMake;
module.exports.makeShow = makeShow;
