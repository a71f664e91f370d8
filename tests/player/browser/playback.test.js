'use strict';
// The player in Debian's chromium: shows opened from disk (inline
// description) and over HTTP (fetched description).
const { describe, test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const h = require('./helpers');

let browser;
let pics;
let dir;
let server;

const TITLE = (text, y = 25) => ({ y, height: 29, align: 'center', bold: 'true', size: 21, color: '202020', text });
const BAND = (y = 24) => ({ y, height: 29, width: 640, fill_alpha: 75, fill_color: 'FFFFFF', line_alpha: 0, line_color: 'A1A1A1', line_thickness: 0 });

function simple(n, extra = {}) {
  const slides = [];
  for (let i = 0; i < n; i++) {
    slides.push({ url: `show_files/p${i % pics.length}.jpg`, duration: 4, transition: { duration: 2, type: 'push_left' },
      texts: [TITLE(`Picture ${i + 1}`)], rects: [BAND()], ...(extra[i] || {}) });
  }
  return slides;
}

function pictures() {
  return Object.fromEntries(pics.map((p, i) => [`p${i}.jpg`, p]));
}

// Writes a show into its own folder under dir; returns its page's file path.
let counter = 0;
function make(slides, opts = {}) {
  const folder = path.join(dir, `s${++counter}`);
  fs.mkdirSync(folder);
  const show = typeof slides === 'string' ? slides : { control: opts.control, slides, music: opts.music };
  const file = h.writeShow(folder, { width: 640, height: 480, show,
    pictures: { ...pictures(), ...(opts.files || {}) }, inline: opts.inline !== false });
  return { file, url: 'file://' + file, http: `${server.url}s${counter}/show.html` };
}

const state = (page, n = 0) => page.evaluate((k) => window.LumetraPlayer.players[k].state(), n);
const skip = (page, ms) => page.evaluate((t) => window.LumetraPlayer.skip(t), ms);

before(async () => {
  browser = await h.launch();
  pics = await h.drawPictures(browser.context, 4, 800, 600);
  dir = h.tempDir();
  server = await h.serve(dir);
});

after(async () => {
  await browser.close();
  await server.close();
  fs.rmSync(dir, { recursive: true, force: true });
});

describe('playing', () => {
  for (const mode of ['disk', 'http']) {
    test(`the first picture appears and the slide changes after its duration (${mode})`, async () => {
      const show = make(simple(3), { inline: mode === 'disk' });
      const { page, errors } = await h.open(browser.context, mode === 'disk' ? show.url : show.http);
      await h.waitSlide(page, 0);
      const img = await page.evaluate(() => {
        // the 800 x 600 picture is drawn at its size on the 640 x 480 stage, in a transparent pixel's ring
        const c = document.querySelector('.lmt-layer canvas');
        const r = c.getBoundingClientRect();
        return { ok: c.width === 642 && c.height === 482 && Math.abs(r.width - 642) < 0.01 && Math.abs(r.height - 482) < 0.01,
          alt: c.getAttribute('aria-label') };
      });
      assert.deepEqual(img, { ok: true, alt: 'Picture 1' });
      await skip(page, 2500);
      assert.equal((await state(page)).index, 0);
      await skip(page, 1500);
      await h.waitSlide(page, 1);
      assert.equal(await page.locator('.lmt-live').textContent(), 'Picture 2');
      assert.deepEqual(errors, []);
      await page.close();
    });
  }

  test('bar buttons and keys navigate, pause and play', async () => {
    const show = make(simple(4), { control: { bar_visible: 'auto' } });
    const { page, errors } = await h.open(browser.context, show.url);
    await h.waitSlide(page, 0);
    const bar = page.locator('.lmt-bar');
    assert.equal(await bar.evaluate((b) => b.classList.contains('lmt-on')), false, 'hidden until the pointer comes');
    await page.hover('.lmt-stage');
    await page.click('.lmt-next');
    await h.waitSlide(page, 1);
    await page.click('.lmt-next');
    await h.waitSlide(page, 2);
    await page.click('.lmt-prev');
    await h.waitSlide(page, 1);
    assert.equal(await page.getAttribute('.lmt-play', 'aria-label'), 'Pause');
    await page.click('.lmt-play');
    assert.equal((await state(page)).playing, false);
    assert.equal(await page.getAttribute('.lmt-play', 'aria-label'), 'Play');
    assert.equal(await page.getAttribute('.lmt-play', 'title'), 'Play (Space)');
    await skip(page, 60000);
    assert.equal((await state(page)).index, 1, 'paused');
    await page.focus('.lmt-stage');
    await page.keyboard.press('Space');
    assert.equal((await state(page)).playing, true);
    await page.keyboard.press('ArrowRight');
    await h.waitSlide(page, 2);
    await page.keyboard.press('ArrowLeft');
    await h.waitSlide(page, 1);
    await page.evaluate(() => document.activeElement.blur());
    await page.keyboard.press('ArrowRight'); // nothing focused: the only show on the page listens
    await h.waitSlide(page, 2);
    assert.equal(await page.textContent('.lmt-count'), '3 / 4');
    await page.mouse.move(1200, 780);
    await page.waitForFunction(() => !document.querySelector('.lmt-bar').classList.contains('lmt-on'), null, { timeout: 5000 });
    assert.deepEqual(errors, []);
    await page.close();
  });

  test('the start slide waits for play and a hold slide follows its squeeze', async () => {
    // three pictures, autostart off, loop on, the second squeezes with hold
    const hold = { duration: 2, type: 'squeeze_left', stack: 'true' };
    const slides = [
      { url: 'show_files/p0.jpg', duration: 0, pause: true, purge: 'false', nav: { next: 2, forward: 2, backward: 4 }, transition: { type: 'none' } },
      { url: 'show_files/p0.jpg', duration: 5, purge: 'false', nav: { backward: 4 }, transition: { duration: 2, type: 'dissolve' } },
      { url: 'show_files/p1.jpg', duration: 2, purge: 'false', nav: { forward: 4 }, transition: hold },
      { url: 'show_files/p1.jpg', duration: 3, purge: 'false', nav: { backward: 1 }, transition: { type: 'none', stack: 'true' } },
      { url: 'show_files/p2.jpg', duration: 4, purge: 'false', nav: { backward: 2, next: 1, forward: 1 }, transition: { duration: 2, type: 'cover_up' } }
    ];
    const show = make(slides);
    for (const how of ['big', 'stage', 'key']) {
      const { page, errors } = await h.open(browser.context, show.url);
      await h.waitSlide(page, 0);
      assert.equal((await state(page)).waiting, true);
      await skip(page, 60000);
      assert.equal((await state(page)).index, 0);
      assert.equal(await page.isVisible('.lmt-big'), true);
      assert.equal(await page.getAttribute('.lmt-big', 'aria-label'), 'Start slideshow');
      if (how === 'big') await page.click('.lmt-big');
      else if (how === 'stage') await page.mouse.click(100, 100);
      else await page.keyboard.press('Space');
      await h.waitSlide(page, 2);
      assert.equal(await page.isVisible('.lmt-big'), false, how);
      // the squeeze: the new picture grows, the old one stays still underneath
      const anims = await page.evaluate(() => [...document.querySelectorAll('.lmt-layer')].map((l) => l.getAnimations().length));
      assert.deepEqual(anims, [0, 1], how);
      await skip(page, 2000);
      await h.waitSlide(page, 3);
      await skip(page, 3000);
      await h.waitSlide(page, 4);
      await skip(page, 4000);
      await h.waitSlide(page, 1);
      assert.deepEqual(errors, []);
      await page.close();
    }
  });

  // The engine's own cache would keep every decoded <img> for good: the
  // stage shows canvases only, and what leaves the stage is let go.
  for (const mode of ['disk', 'http']) {
    test(`pictures are decoded a few slides ahead and only a few stay in memory (${mode})`, async () => {
      const show = make(simple(12).map((s, i) => ({ ...s, url: `show_files/p${i % 4}.jpg?${i}` })));
      const { page, errors } = await h.open(browser.context, mode === 'disk' ? show.url : show.http);
      await h.waitSlide(page, 0);
      await h.finishAnimations(page); // preloads from disk wait for the stage to be still
      await page.waitForFunction(() => window.LumetraPlayer.players[0].stats().bitmaps >= 4);
      let most = { alive: 0, bitmaps: 0, drawn: 0 };
      for (let i = 1; i < 12; i++) {
        await page.keyboard.press('ArrowRight');
        await h.waitSlide(page, i);
        if (i % 3 === 0) await h.finishAnimations(page);
        const s = await page.evaluate(() => ({ ...window.LumetraPlayer.players[0].stats(),
          imgs: document.querySelectorAll('.lmt-stage img').length }));
        assert.equal(s.imgs, 0, 'no <img> on the stage');
        assert.ok(s.drawn <= s.layers + 1, JSON.stringify(s));
        most = { alive: Math.max(most.alive, s.alive), bitmaps: Math.max(most.bitmaps, s.bitmaps), drawn: Math.max(most.drawn, s.drawn) };
      }
      assert.ok(most.alive <= 8 && most.bitmaps <= 6 && most.drawn <= 3, JSON.stringify(most));
      assert.deepEqual(errors, []);
      await page.close();
    });
  }
});

describe('loading', () => {
  test('an engine without createImageBitmap shows the pictures as images', async () => {
    const show = make(simple(3));
    const page = await browser.context.newPage();
    await page.addInitScript(() => { delete window.createImageBitmap; });
    await page.goto(show.url);
    await h.waitSlide(page, 0);
    await page.keyboard.press('ArrowRight');
    await h.waitSlide(page, 1);
    await h.finishAnimations(page);
    const shown = await page.evaluate(() => [...document.querySelectorAll('.lmt-layer .lmt-pic > *')]
      .map((e) => `${e.tagName} ${e.complete && e.naturalWidth} ${e.alt}`));
    assert.deepEqual(shown, ['IMG 800 Picture 2']);
    await page.close();
  });

  test('pictures from another site show too (the embedding code on a page elsewhere)', async () => {
    const show = make(simple(3), { inline: false });
    // the same server under another name is another origin: no fetch, the picture comes as an image
    const other = server.url.replace('127.0.0.1', 'localhost');
    const xml = fs.readFileSync(path.join(path.dirname(show.file), 'show_files', 'show.xml'), 'utf8');
    const rel = path.relative(dir, path.dirname(show.file));
    fs.writeFileSync(path.join(path.dirname(show.file), 'show_files', 'show.xml'), xml.replace(/url="show_files\//g, `url="${other}${rel}/show_files/`));
    const { page, errors } = await h.open(browser.context, show.http);
    await h.waitSlide(page, 0);
    await page.keyboard.press('ArrowRight');
    await h.waitSlide(page, 1);
    const drawn = await page.evaluate(() => [...document.querySelectorAll('.lmt-layer canvas')]
      .map((c) => c.width > 2 && c.getAttribute('data-url').startsWith('http://localhost:')));
    assert.ok(drawn.length && drawn.every(Boolean), JSON.stringify(drawn));
    assert.deepEqual(errors, []);
    await page.close();
  });

  test('a slow picture holds the show with a spinner; a missing one does not stop it', async () => {
    const slides = simple(3, { 1: { url: 'show_files/p1.jpg?delay=1500' }, 2: { url: 'show_files/gone.jpg' } });
    const show = make(slides);
    const { page, errors } = await h.open(browser.context, show.http);
    await h.waitSlide(page, 0);
    await page.evaluate(() => { window.LumetraPlayer.players[0].cache.map.clear(); }); // no preloading head start
    await page.keyboard.press('ArrowRight');
    await page.waitForSelector('.lmt-spin');
    assert.equal((await state(page)).shown, false);
    await h.waitSlide(page, 1);
    assert.equal(await page.locator('.lmt-spin').count(), 0);
    assert.ok((await state(page)).elapsed < 1000, 'the slide\'s time starts with its picture');
    await skip(page, 4000);
    await h.waitSlide(page, 2);
    const missing = await page.evaluate(() => {
      const pics = document.querySelectorAll('.lmt-pic');
      return pics[pics.length - 1].getAttribute('aria-label');
    });
    assert.equal(missing, 'Picture 3 (Picture not available)');
    assert.deepEqual(errors.filter((e) => !/404/.test(e)), []);
    await page.close();
  });

  test('two shows on one page play independently', async () => {
    const folder = path.join(dir, 'two');
    fs.mkdirSync(folder);
    const xmlA = h.showXml({ slides: simple(3).map((s) => ({ ...s, url: s.url.replace('show_files', 'a_files') })) });
    const xmlB = h.showXml({ slides: simple(3).map((s) => ({ ...s, url: s.url.replace('show_files', 'b_files'), duration: 9 })) });
    h.writeShow(folder, { name: 'a', show: xmlA, pictures: pictures() });
    h.writeShow(folder, { name: 'b', show: xmlB, pictures: pictures() });
    const body = (name, xml) => `<div class="lumetra-stage" style="width:320px;height:240px"></div>` +
      `<script src="${name}_files/${name}.js?xml_source=${name}_files/${name}.xml"></script>` +
      `<script type="application/xml" data-xml-source="${name}_files/${name}.js?xml_source=${name}_files/${name}.xml">${xml.slice(1)}</script>`;
    fs.writeFileSync(path.join(folder, 'both.html'), `<!DOCTYPE html><meta charset="utf-8">${body('a', xmlA)}<p>text</p>${body('b', xmlB)}`);
    const { page, errors } = await h.open(browser.context, 'file://' + path.join(folder, 'both.html'));
    await h.waitSlide(page, 0, 0);
    await h.waitSlide(page, 0, 1);
    await page.focus('.lmt-stage >> nth=1');
    await page.keyboard.press('ArrowRight');
    await h.waitSlide(page, 1, 1);
    assert.equal((await state(page, 0)).index, 0);
    await skip(page, 4000);
    await h.waitSlide(page, 1, 0);
    assert.equal((await state(page, 1)).index, 1, 'the second show has its own times');
    await page.keyboard.press('Space');
    assert.deepEqual([(await state(page, 0)).playing, (await state(page, 1)).playing], [true, false]);
    assert.deepEqual(errors, []);
    await page.close();
  });
});

describe('layout', () => {
  test('text bands and link areas sit where the description puts them, also scaled on a phone', async () => {
    const slides = simple(1, { 0: {
      rects: [BAND(24), { y: 426, height: 54, width: 640, fill_alpha: 75, fill_color: 'FFFFFF', line_alpha: 0, line_thickness: 0 }],
      texts: [TITLE('Title', 25), { y: 427, height: 62, align: 'center', bold: 'true', size: 21, color: '000000', text: 'Line one\rLine two' }]
    } });
    const show = make(slides);
    for (const viewport of [{ width: 1280, height: 800 }, { width: 390, height: 844 }]) {
      const { page } = await h.open(browser.context, show.url, { viewport });
      await h.waitSlide(page, 0);
      await h.finishAnimations(page);
      const boxes = await page.evaluate(() => {
        const s = document.querySelector('.lmt-stage').getBoundingClientRect();
        const rel = (e) => {
          const b = e.getBoundingClientRect();
          return [b.left - s.left, b.top - s.top, b.width, b.height].map((v) => Math.round(v * 10) / 10);
        };
        const top = document.querySelectorAll('.lmt-layer');
        const layer = top[top.length - 1];
        return { stage: [s.width, s.height], rects: [...layer.querySelectorAll('.lmt-rect')].map(rel),
          texts: [...layer.querySelectorAll('.lmt-text')].map(rel), lines: layer.querySelectorAll('.lmt-text')[1].innerText };
      });
      const k = Math.min(1, (viewport.width - 32) / 640);
      assert.ok(Math.abs(boxes.stage[0] - 640 * k) < 0.6 && Math.abs(boxes.stage[1] - 480 * k) < 0.6, JSON.stringify(boxes.stage));
      const near = (got, want) => got.every((v, i) => Math.abs(v - want[i] * k) < 0.6);
      assert.ok(near(boxes.rects[0], [0, 24, 640, 29]), JSON.stringify(boxes.rects[0]));
      assert.ok(near(boxes.rects[1], [0, 426, 640, 54]), JSON.stringify(boxes.rects[1]));
      assert.ok(near(boxes.texts[0], [0, 25, 640, 29]), JSON.stringify(boxes.texts[0]));
      assert.ok(near(boxes.texts[1], [0, 427, 640, 62]), JSON.stringify(boxes.texts[1]));
      assert.equal(boxes.lines, 'Line one\nLine two');
      await page.close();
    }
  });

  test('fullscreen fills the screen and keeps the picture\'s proportions', async () => {
    const show = make(simple(2));
    const { page } = await h.open(browser.context, show.url);
    await h.waitSlide(page, 0);
    await page.focus('.lmt-stage');
    await page.keyboard.press('f');
    await page.waitForFunction(() => document.fullscreenElement === document.querySelector('.lmt-stage'));
    await page.waitForFunction(() => document.querySelector('.lmt-stage').clientWidth === window.innerWidth);
    await page.waitForSelector('.lmt-full[aria-label="Exit fullscreen"]', { state: 'attached', timeout: 5000 });
    // the picture area follows once the stage has been measured again
    await page.waitForFunction(() => {
      const v = document.querySelector('.lmt-view').getBoundingClientRect();
      const k = Math.min(innerWidth / 640, innerHeight / 480);
      return Math.abs(v.width - 640 * k) < 1 && Math.abs(v.height - 480 * k) < 1 &&
        Math.abs(v.left - (innerWidth - v.width) / 2) < 1 && Math.abs(v.top - (innerHeight - v.height) / 2) < 1;
    }, null, { timeout: 5000 });
    await page.keyboard.press('f');
    await page.waitForFunction(() => !document.fullscreenElement);
    await page.close();
  });
});

describe('links, music, notices', () => {
  test('link areas open their address, in a new window for _blank', async () => {
    fs.writeFileSync(path.join(dir, 'target.html'), '<!DOCTYPE html><title>target</title>');
    const target = `${server.url}target.html`;
    const slides = simple(2, {
      0: { links: [{ x: 0, y: 23, width: 640, height: 480, url: `${target}?blank`, target: '_blank' }] },
      1: { links: [{ x: 0, width: 320, height: 240, url: `${target}?same` }, { x: 320, url: 'javascript:alert(1)' }] }
    });
    const show = make(slides);
    const { page } = await h.open(browser.context, show.http);
    await h.waitSlide(page, 0);
    const [popup] = await Promise.all([browser.context.waitForEvent('page'), page.mouse.click(300, 300)]);
    await popup.waitForLoadState();
    assert.equal(popup.url(), `${target}?blank`);
    await popup.close();
    assert.equal(await page.locator('.lmt-links a').count(), 1);
    await page.keyboard.press('ArrowRight');
    await h.waitSlide(page, 1);
    assert.equal(await page.locator('.lmt-links a').count(), 1, 'the javascript: address is not offered');
    await page.mouse.click(600, 400); // outside the area: nothing opens
    assert.equal(page.url(), show.http);
    await Promise.all([page.waitForURL(`${target}?same`), page.mouse.click(100, 100)]);
    await page.close();
  });

  test('music starts at the first interaction and the button shows the muted state until then', async () => {
    const wav = silentWav(1);
    const show = make(simple(2), { control: { bar_visible: 'auto', volume_visible: 'true' },
      music: { url: 'show_files/music.wav', loop: 'true' }, files: { 'music.wav': wav } });
    const { page, errors } = await h.open(browser.context, show.url);
    await h.waitSlide(page, 0);
    const audio = () => page.evaluate(() => {
      const m = window.LumetraPlayer.players[0].music;
      return { started: m.started, paused: m.audio.paused, muted: m.audio.muted, loop: m.audio.loop };
    });
    await page.hover('.lmt-stage');
    assert.equal(await page.getAttribute('.lmt-mute', 'aria-label'), 'Sound on');
    assert.equal((await audio()).started, false);
    await page.mouse.click(200, 200);
    await page.waitForFunction(() => window.LumetraPlayer.players[0].music.started);
    assert.deepEqual(await audio(), { started: true, paused: false, muted: false, loop: true });
    assert.equal(await page.getAttribute('.lmt-mute', 'aria-label'), 'Sound off');
    await page.keyboard.press('m');
    assert.equal((await audio()).muted, true);
    assert.equal(await page.getAttribute('.lmt-mute', 'aria-label'), 'Sound on');
    await page.click('.lmt-mute');
    assert.equal((await audio()).muted, false);
    assert.deepEqual(errors, []);
    await page.close();
  });

  for (const mode of ['disk', 'http']) {
    test(`a broken or missing description shows a notice (${mode})`, async () => {
      const cases = [make('<slideshow><slide>'), { ...make(simple(1), { inline: false }), missing: true }];
      for (const show of cases) {
        if (show.missing) fs.rmSync(path.join(path.dirname(show.file), 'show_files', 'show.xml'));
        const { page, errors } = await h.open(browser.context, mode === 'disk' ? show.url : show.http);
        await page.waitForSelector('.lmt-notice');
        assert.equal(await page.textContent('.lmt-notice'), 'This slideshow could not be loaded.');
        assert.deepEqual(errors.filter((e) => !/Failed to load resource|ERR_FILE_NOT_FOUND/.test(e)), []);
        await page.close();
      }
    });
  }
});

describe('comfort', () => {
  test('with reduced motion every transition is a dissolve and motion is off', async () => {
    const slides = simple(2, { 1: { motion: { duration: 2, start_zoom: 500, start_rotation: 180 } } });
    const show = make(slides);
    const page = await browser.context.newPage();
    await page.emulateMedia({ reducedMotion: 'reduce' });
    await page.goto(show.url);
    await h.waitSlide(page, 0);
    await page.keyboard.press('ArrowRight');
    await h.waitSlide(page, 1);
    const props = await page.evaluate(() => document.getAnimations()
      .filter((a) => a.effect.target.closest('.lmt-view'))
      .map((a) => Object.keys(a.effect.getKeyframes()[0]).filter((k) => !['offset', 'easing', 'composite', 'computedOffset'].includes(k))).flat());
    assert.deepEqual(props, ['opacity']);
    await page.close();
  });

  test('a swipe goes to the next or previous picture; the show pauses while the page is hidden', async () => {
    const show = make(simple(3));
    const { page } = await h.open(browser.context, show.url);
    await h.waitSlide(page, 0);
    const swipe = (dx) => page.evaluate((d) => {
      const s = document.querySelector('.lmt-stage');
      const fire = (type, x) => s.dispatchEvent(new PointerEvent(type, { pointerType: 'touch', clientX: x, clientY: 200, bubbles: true }));
      fire('pointerdown', 300);
      fire('pointerup', 300 + d);
    }, dx);
    await swipe(-150);
    await h.waitSlide(page, 1);
    await swipe(150);
    await h.waitSlide(page, 0);
    await swipe(10); // too short: a tap
    assert.equal((await state(page)).index, 0);
    await page.evaluate(() => {
      Object.defineProperty(document, 'hidden', { configurable: true, get: () => true });
      document.dispatchEvent(new Event('visibilitychange'));
    });
    await skip(page, 60000);
    assert.equal((await state(page)).index, 0);
    await page.evaluate(() => {
      Object.defineProperty(document, 'hidden', { configurable: true, get: () => false });
      document.dispatchEvent(new Event('visibilitychange'));
    });
    await skip(page, 4000);
    await h.waitSlide(page, 1);
    await page.close();
  });

  test('labels are German for a German browser', async () => {
    const show = make(simple(2));
    const context = await browser.context.browser();
    void context;
    const page = await browser.context.newPage();
    await page.addInitScript(() => Object.defineProperty(navigator, 'languages', { get: () => ['de-DE', 'de'] }));
    await page.goto(show.url);
    await h.waitSlide(page, 0);
    assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll('.lmt-bar button')].map((b) => b.getAttribute('aria-label'))),
      ['Vorheriges Bild', 'Pause', 'Nächstes Bild', 'Vollbild']);
    assert.match(await page.getAttribute('.lmt-stage', 'aria-label'), /^Diashow, Bild 1 von 2$/);
    await page.close();
  });
});

// A short silent PCM WAV file, enough to play as background music.
function silentWav(seconds) {
  const rate = 8000;
  const n = rate * seconds;
  const b = Buffer.alloc(44 + n);
  b.write('RIFF', 0);
  b.writeUInt32LE(36 + n, 4);
  b.write('WAVEfmt ', 8);
  b.writeUInt32LE(16, 16);
  b.writeUInt16LE(1, 20);
  b.writeUInt16LE(1, 22);
  b.writeUInt32LE(rate, 24);
  b.writeUInt32LE(rate, 28);
  b.writeUInt16LE(1, 32);
  b.writeUInt16LE(8, 34);
  b.write('data', 36);
  b.writeUInt32LE(n, 40);
  b.fill(128, 44);
  return b;
}
