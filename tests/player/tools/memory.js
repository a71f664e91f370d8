'use strict';
// Memory of the player over a long show: generates a show of 300 different
// 1024 x 768 pictures, steps through it (each step waits for the picture and
// finishes its transition) and prints the resident memory of the renderer
// process that plays it, after the first picture and every 50 steps, from
// disk and over http.
//
//   node tools/memory.js [--engine chromium|webengine] [--mode disk,http]
//                        [--steps 300] [--pictures 300] [--every 50]
//                        [--width 1024] [--height 768] [--host PATH]
//                        [--player PATH] [--dump]
//
// chromium: Debian's /usr/bin/chromium (or $LUMETRA_CHROMIUM), headless.
// webengine: Qt WebEngine through the small host tools/webengine-host (built
// by CMake when Qt 6 WebEngine is installed; --host or $LUMETRA_WEBENGINE_HOST
// names it, else build/*/bin/lumetra-webengine-host is used).
// --dump (chromium): after the last step, Chromium's own account of the
// renderer's memory (a memory-infra dump through the DevTools protocol), its
// largest parts; cc/image_memory is the engine's cache of decoded pictures.
// --player plays another copy of the player, for example an older one:
//   git show main:data/slideshow.js > /tmp/old.js; node tools/memory.js --player /tmp/old.js
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { spawn } = require('node:child_process');
const h = require('../browser/helpers');

const args = process.argv.slice(2);
const opt = (name, def) => (args.includes(name) ? args[args.indexOf(name) + 1] : def);
const STEPS = Number(opt('--steps', 300));
const COUNT = Number(opt('--pictures', 300));
const EVERY = Number(opt('--every', 50));
const WIDTH = Number(opt('--width', 1024));
const HEIGHT = Number(opt('--height', 768));
const ENGINE = opt('--engine', 'chromium');
const MODES = opt('--mode', 'disk,http').split(',');
const STEPPER = fs.readFileSync(path.join(__dirname, 'memory-steps.js'), 'utf8');

// Every kind of transition takes its turn, the turning ones included.
const EFFECTS = ['dissolve', 'push_left', 'cover_up', 'spin', 'reveal_right', 'squeeze_down', 'pivot_left_top_up', 'fade_to_black', 'drop'];

async function buildShow(dir) {
  const b = await h.launch();
  const pictures = {};
  try {
    // in batches, so the drawing page never holds hundreds of pictures at once
    for (let first = 0; first < COUNT; first += 25) {
      const batch = await h.drawPictures(b.context, Math.min(25, COUNT - first), WIDTH, HEIGHT, first);
      batch.forEach((p, k) => { pictures[`p${String(first + k).padStart(3, '0')}.jpg`] = p; });
    }
  } finally {
    await b.close();
  }
  const slides = Object.keys(pictures).map((file, i) => ({
    url: `show_files/${file}`, duration: 8,
    transition: { duration: 2, type: EFFECTS[i % EFFECTS.length] },
    motion: i % 7 === 3 ? { duration: 2, start_zoom: 500, start_rotation: 180 } : undefined
  }));
  const page = h.writeShow(dir, { width: WIDTH, height: HEIGHT, show: { control: { bar_visible: 'auto' }, slides }, pictures });
  if (opt('--player')) fs.copyFileSync(opt('--player'), path.join(dir, 'show_files', 'show.js'));
  return page;
}

function readKb(file, key) {
  try {
    const m = new RegExp(`^${key}:\\s+(\\d+) kB`, 'm').exec(fs.readFileSync(file, 'utf8'));
    return m ? Number(m[1]) : 0;
  } catch (e) {
    return 0;
  }
}

function memoryOf(pid) {
  return { rss: readKb(`/proc/${pid}/status`, 'VmRSS'), pss: readKb(`/proc/${pid}/smaps_rollup`, 'Pss') };
}

// Chromium's renderer processes below the browser process (through its zygote).
function renderersOf(browserPid) {
  const parent = new Map();
  const renderers = [];
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      parent.set(Number(entry), Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1]));
      const cmd = fs.readFileSync(`/proc/${entry}/cmdline`, 'utf8');
      if (cmd.includes('--type=renderer') && !cmd.includes('--extension-process')) renderers.push(Number(entry));
    } catch (e) {
      /* the process ended meanwhile */
    }
  }
  const below = (pid) => {
    for (let p = parent.get(pid); p; p = parent.get(p)) if (p === browserPid) return true;
    return false;
  };
  return renderers.filter(below);
}

const mb = (kb) => (kb / 1024).toFixed(1).padStart(7);

function printRows(title, rows) {
  console.log(title);
  for (const r of rows) console.log(`  step ${String(r.step).padStart(4)}  renderer RSS ${mb(r.rss)} MB  PSS ${mb(r.pss)} MB`);
  const base = rows[0].rss;
  const most = Math.max(...rows.map((r) => r.rss));
  console.log(`  growth over the first picture: ${((rows[rows.length - 1].rss - base) / 1024).toFixed(1)} MB at the end, ` +
    `${((most - base) / 1024).toFixed(1)} MB at most`);
}

// The browser process is the one started with our fresh profile.
function browserPid(userDataDir) {
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const cmd = fs.readFileSync(`/proc/${entry}/cmdline`, 'utf8').split('\0');
      if (cmd.includes(`--user-data-dir=${userDataDir}`) && !cmd.some((a) => a.startsWith('--type='))) return Number(entry);
    } catch (e) {
      /* the process ended meanwhile */
    }
  }
  throw new Error('the browser process was not found');
}

async function runChromium(url) {
  const browser = await h.launch();
  try {
    const pid = browserPid(browser.userDataDir);
    const page = await browser.context.newPage();
    const version = (await page.evaluate(() => navigator.userAgent)).replace(/.*(?:Headless)?Chrome\/(\d+)[\d.]*.*/, '$1');
    const rows = [];
    const done = new Promise((resolve, reject) => {
      page.on('pageerror', reject);
      page.on('console', async (m) => {
        const match = /^lmt-measure (\d+|done)$/.exec(m.text());
        if (!match) return;
        if (match[1] === 'done') return resolve();
        const mem = renderersOf(pid).map(memoryOf).sort((a, b) => b.rss - a.rss)[0] || { rss: 0, pss: 0 };
        rows.push({ step: Number(match[1]), ...mem });
        await page.evaluate((s) => window.lmtMeasure.ack(s), Number(match[1])).catch(reject);
      });
    });
    await page.goto(url);
    await page.evaluate(STEPPER);
    await page.evaluate(([s, e]) => { window.lmtMeasure.run(s, e); }, [STEPS, EVERY]);
    await done;
    const parts = args.includes('--dump') ? await memoryDump(browser.context, page) : null;
    return { engine: `Chromium ${version}`, rows, parts };
  } finally {
    await browser.close();
  }
}

// The renderer's largest memory parts by Chromium's memory-infra dump, in MB.
async function memoryDump(context, page) {
  const cdp = await context.newCDPSession(page);
  await cdp.send('Tracing.start', { traceConfig: { includedCategories: ['disabled-by-default-memory-infra'], memoryDumpConfig: { triggers: [] } },
    transferMode: 'ReturnAsStream' });
  await cdp.send('Tracing.requestMemoryDump', { deterministic: true, levelOfDetail: 'detailed' });
  const complete = new Promise((resolve) => cdp.once('Tracing.tracingComplete', resolve));
  await cdp.send('Tracing.end');
  const { stream } = await complete;
  let text = '';
  for (;;) {
    const chunk = await cdp.send('IO.read', { handle: stream });
    text += chunk.base64Encoded ? Buffer.from(chunk.data, 'base64').toString() : chunk.data;
    if (chunk.eof) break;
  }
  const trace = JSON.parse(text);
  const dumps = (trace.traceEvents || trace).filter((e) => e.ph === 'v' && e.args && e.args.dumps && e.args.dumps.allocators);
  // the show's renderer: of the processes with blink's heap, the one that holds the most
  const size = (v) => (v.attrs && v.attrs.size ? parseInt(v.attrs.size.value, 16) : 0);
  const total = (e) => Object.entries(e.args.dumps.allocators).filter(([n]) => !n.includes('/')).reduce((s, [, v]) => s + size(v), 0);
  const renderer = dumps.filter((e) => Object.keys(e.args.dumps.allocators).some((n) => n.startsWith('blink_gc')))
    .sort((a, b) => total(b) - total(a))[0];
  if (!renderer) return [];
  return Object.entries(renderer.args.dumps.allocators)
    .filter(([name]) => /^[^/]+(\/[^/]+)?$/.test(name) && !/^(global|discardable)\/|segment_/.test(name))
    .map(([name, v]) => [name, size(v) / 1048576])
    .filter(([, size]) => size >= 1)
    .sort((a, b) => b[1] - a[1])
    .slice(0, 12);
}

function findHost() {
  const named = opt('--host', process.env.LUMETRA_WEBENGINE_HOST);
  if (named) return named;
  const build = path.join(h.ROOT, 'build');
  const found = (fs.existsSync(build) ? fs.readdirSync(build) : [])
    .map((d) => path.join(build, d, 'bin', 'lumetra-webengine-host'))
    .filter((f) => fs.existsSync(f))
    .sort((a, b) => fs.statSync(b).mtimeMs - fs.statSync(a).mtimeMs);
  if (!found.length) throw new Error('no lumetra-webengine-host: build with Qt 6 WebEngine installed, or pass --host');
  return found[0];
}

// The host loads the page, runs the stepper and prints "lmt-measure <step> <rss kB> <pss kB>".
function runWebEngine(url) {
  const stepper = path.join(os.tmpdir(), `lmt-steps-${process.pid}.js`);
  fs.writeFileSync(stepper, STEPPER + `\nwindow.lmtMeasure.run(${STEPS}, ${EVERY});\n`);
  const env = { QT_QPA_PLATFORM: 'offscreen', ...process.env };
  if (process.getuid && process.getuid() === 0) env.QTWEBENGINE_DISABLE_SANDBOX = '1';
  return new Promise((resolve, reject) => {
    const child = spawn(findHost(), ['--url', url, '--script', stepper, '--size', '1280x800'], { env, stdio: ['ignore', 'pipe', 'pipe'] });
    let errText = '';
    child.stderr.on('data', (d) => { errText += d; });
    const rows = [];
    let engine = 'Qt WebEngine';
    let out = '';
    child.stdout.on('data', (d) => {
      out += d;
      let nl;
      while ((nl = out.indexOf('\n')) >= 0) {
        const line = out.slice(0, nl);
        out = out.slice(nl + 1);
        let m;
        if ((m = /^engine (.+)$/.exec(line))) engine = m[1];
        else if ((m = /^lmt-measure (\d+) (\d+) (\d+)$/.exec(line))) rows.push({ step: Number(m[1]), rss: Number(m[2]), pss: Number(m[3]) });
      }
    });
    child.on('error', reject);
    child.on('exit', (code) => {
      fs.rmSync(stepper, { force: true });
      if (code === 0 && rows.length) resolve({ engine, rows });
      else reject(new Error(`lumetra-webengine-host ended with ${code}:\n${errText.slice(-4000)}`));
    });
  });
}

(async () => {
  const dir = h.tempDir('lmt-memory-');
  let server = null;
  try {
    const file = await buildShow(dir);
    // over http the description is fetched, as on a page with only the embedding code
    fs.writeFileSync(path.join(dir, 'embed.html'),
      fs.readFileSync(file, 'utf8').replace(/<script type="application\/xml"[\s\S]*?<\/script>/, ''));
    server = await h.serve(dir);
    for (const mode of MODES) {
      const url = mode === 'http' ? `${server.url}embed.html` : 'file://' + file;
      const result = ENGINE === 'webengine' ? await runWebEngine(url) : await runChromium(url);
      printRows(`${result.engine}, ${mode}: ${COUNT} pictures of ${WIDTH} x ${HEIGHT}, ${STEPS} slide changes`, result.rows);
      if (result.parts) {
        console.log('  the renderer\'s largest parts (memory-infra):');
        for (const [name, size] of result.parts) console.log(`    ${size.toFixed(1).padStart(7)} MB  ${name}`);
      }
    }
  } finally {
    if (server) await server.close();
    fs.rmSync(dir, { recursive: true, force: true });
  }
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
