'use strict';
// Screenshots of a created show for docs/screenshots: lumetra-make builds
// the show folder and page from generated pictures; the description is then
// replaced by one of the same form that picks the effects to show and adds
// title and description bands with the builder's geometry (H = 800).
//   node tools/screenshots.js [output folder]
const fs = require('node:fs');
const path = require('node:path');
const h = require('../browser/helpers');

const OUT = path.resolve(process.argv[2] || path.join(h.ROOT, 'docs', 'screenshots'));
const W = 1200;
const H = 800;

function bands(title, description) {
  // band 44 (48 limited), text 36, top margin 40; one description line: D = 44
  return {
    rects: [{ y: 40, height: 44, width: W, fill_alpha: 75, fill_color: 'FFFFFF', line_alpha: 0, line_color: 'A1A1A1', line_thickness: 0 },
      { y: H - 44, height: 44, width: W, fill_alpha: 75, fill_color: 'FFFFFF', line_alpha: 0, line_thickness: 0 }],
    texts: [{ y: 41, height: 44, align: 'center', bold: 'true', size: 36, color: '1F2A44', text: title },
      { y: H - 43, height: 52, align: 'center', bold: 'true', size: 36, color: '1F2A44', text: description }]
  };
}

function description(dataDir) {
  const pic = (n) => `${dataDir}/Bild ${String(n).padStart(2, '0')}.jpg`;
  const s = (n, transition, duration, nav, extra = {}) => ({ url: pic(n), duration, transition, nav, purge: 'false', background: '000000', ...extra });
  return {
    control: { bar_visible: 'auto' },
    slides: [
      s(1, { duration: 2, type: 'dissolve' }, 6, { backward: 5 }, bands('Morgen am See', 'Der erste Blick aus dem Zelt')),
      s(2, { duration: 2, type: 'push_left' }, 6, {}, bands('Über den Hügeln', 'Wanderung zum Aussichtspunkt')),
      s(3, { duration: 2, type: 'squeeze_left', stack: 'true' }, 2, { forward: 4 }, bands('Abendrot', 'Vom Steg aus')),
      s(3, { type: 'none', stack: 'true' }, 4, { backward: 1 }, bands('Abendrot', 'Vom Steg aus')),
      s(4, { duration: 2, type: 'pivot_left_bottom_up' }, 6, { backward: 2 }, bands('Blaue Stunde', 'Kurz vor der Nacht')),
      s(5, { duration: 2, type: 'dissolve' }, 6, { next: 0, forward: 0 },
        { motion: { duration: 2, start_zoom: 500, start_rotation: -180 }, ...bands('Letzter Abend', 'Auf Wiedersehen, See') })
    ]
  };
}

async function build(context, dir) {
  if (h.findMake()) {
    const page = await h.makeShow(context, dir, { count: 5, width: W, height: H, name: 'Sommer am See', scenes: true, seed: 1 });
    const html = fs.readFileSync(page, 'utf8');
    const xmlRel = decodeURI(/data-xml-source="([^"]+)"/.exec(html)[1]);
    const xml = h.showXml(description(path.dirname(xmlRel)));
    fs.writeFileSync(path.join(path.dirname(page), xmlRel), xml);
    const start = html.indexOf('>', html.indexOf('<script type="application/xml"')) + 1;
    const end = html.indexOf('</script>', start);
    fs.writeFileSync(page, html.slice(0, start) + xml.replace(/^\uFEFF/, '') + html.slice(end));
    return page;
  }
  const pics = await h.drawScenes(context, 5, W, H);
  const files = Object.fromEntries(pics.map((p, i) => [`Bild ${String(i + 1).padStart(2, '0')}.jpg`, p]));
  return h.writeShow(dir, { name: 'show', width: W, height: H, show: description('show_files'), pictures: files });
}

// A new project of camera pictures with portraits among them: the show is as
// large as the largest picture, 2400 x 2400, far taller than the window.
async function buildSquare(context, dir) {
  const make = h.findMake();
  if (!make) return null;
  const folder = path.join(dir, 'square-pictures');
  fs.mkdirSync(folder, { recursive: true });
  const wide = await h.drawScenes(context, 2, 2400, 1600);
  const tall = await h.drawScenes(context, 1, 1600, 2400);
  [wide[0], tall[0], wide[1]].forEach((p, i) => fs.writeFileSync(path.join(folder, `Foto ${i + 1}.jpg`), p));
  const out = require('node:child_process').execFileSync(make, ['--seed', '3', '--output', path.join(dir, 'square', 'Quadrat.html'), folder],
    { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
  const page = out.trim().split('\n').pop();
  const src = /<script src="([^"?]+\.js)\?xml_source=/.exec(fs.readFileSync(page, 'utf8'))[1];
  fs.copyFileSync(h.PLAYER, path.join(path.dirname(page), decodeURI(src)));
  return page;
}

async function shoot(context, file, { name, viewport, slide, at, bar = false }) {
  const page = await context.newPage();
  await page.setViewportSize(viewport);
  await page.addInitScript(() => {
    const animate = Element.prototype.animate;
    Element.prototype.animate = function (k, o) {
      const a = animate.call(this, k, o);
      a.pause();
      return a;
    };
  });
  await page.goto('file://' + file);
  await h.waitSlide(page, 0);
  await page.evaluate(() => document.getAnimations().forEach((a) => a.finish()));
  if (slide) {
    await page.evaluate((k) => window.LumetraPlayer.players[0].seq.go(k), slide);
    await h.waitSlide(page, slide);
  }
  await page.evaluate((t) => document.getAnimations().forEach((a) => {
    if (a.effect.target.closest('.lmt-view')) a.currentTime = t;
  }), at);
  if (bar) await page.mouse.move(viewport.width / 2, viewport.height / 2);
  await page.waitForTimeout(bar ? 400 : 50);
  const target = path.join(OUT, name);
  await page.screenshot({ path: target });
  await page.close();
  console.log(target);
}

(async () => {
  fs.mkdirSync(OUT, { recursive: true });
  const b = await h.launch();
  const dir = h.tempDir('lmt-shots-');
  try {
    const file = await build(b.context, dir);
    const desk = { width: 1280, height: 800 };
    await shoot(b.context, file, { name: 'push-1280x800.png', viewport: desk, slide: 1, at: 900 });
    await shoot(b.context, file, { name: 'squeeze-hold-1280x800.png', viewport: desk, slide: 2, at: 1000 });
    await shoot(b.context, file, { name: 'pivot-1280x800.png', viewport: desk, slide: 4, at: 700 });
    await shoot(b.context, file, { name: 'motion-1280x800.png', viewport: desk, slide: 5, at: 1100 });
    await shoot(b.context, file, { name: 'phone-390x844.png', viewport: { width: 390, height: 844 }, slide: 0, at: 2000, bar: true });
    const square = await buildSquare(b.context, dir);
    if (square) await shoot(b.context, square, { name: 'fit-square-1280x800.png', viewport: desk, slide: 1, at: 5000, bar: true });
  } finally {
    await b.close();
    fs.rmSync(dir, { recursive: true, force: true });
  }
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
