'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const { player, parse } = require('./support');

const HEAD = '\uFEFF<?xml version="1.0" encoding="UTF-8"?>\n';
const show = (inner) => `${HEAD}<slideshow>${inner}</slideshow>\n`;

test('a slide written by the program becomes a complete model', () => {
  const m = parse(show(
    '<control bar_visible="auto" volume_visible="true"/>' +
    '<slide purge="false"><navigation forward="3" backward="4"/>' +
    '<image url="Reise_files/Summer 2010.jpg" fill="trim" background="1a2B3c" duration="5"/>' +
    '<motion duration="2" start_zoom="500" start_rotation="-180"/><transition duration="2" type="dissolve"/>' +
    '<draw_rect><rect y="24" height="29" width="640" fill_alpha="75" fill_color="FFFFFF" line_alpha="0" line_color="A1A1A1" line_thickness="0"/></draw_rect>' +
    '<draw_text><text y="25" height="29" align="center" bold="true" size="21" color="FF0000">Title &amp; &lt;b&gt;</text>' +
    '<text y="426" height="62" align="center" bold="true" size="21" color="FF0000">one\rtwo</text></draw_text>' +
    '<link><area x="0" y="23" width="640" height="480" url="https://example.org/?a=1&amp;b=2" target="_blank"/></link></slide>' +
    '<music url="Reise_files/lmtswfa.dat" loop="true"/>'));
  assert.equal(m.bar, 'auto');
  assert.equal(m.volume, true);
  assert.deepEqual(m.music, { url: 'Reise_files/lmtswfa.dat', loop: true });
  const s = m.slides[0];
  assert.equal(s.purge, false);
  assert.deepEqual([s.next, s.forward, s.backward], [null, 3, 4]);
  assert.equal(s.url, 'Reise_files/Summer 2010.jpg');
  assert.equal(s.trim, true);
  assert.equal(s.background, '#1A2B3C');
  assert.equal(s.backgroundAlpha, 100);
  assert.equal(s.duration, 5);
  assert.deepEqual(s.transition, { type: 'dissolve', duration: 2, stack: false });
  assert.deepEqual(s.motion, { zoom: 500, rotation: -180, duration: 2 });
  assert.deepEqual(s.rects[0], { x: 0, y: 24, width: 640, height: 29, fill: '#FFFFFF', fillAlpha: 75,
    line: '#A1A1A1', lineAlpha: 0, lineWidth: 0 });
  assert.equal(s.texts[0].text, 'Title & <b>');
  assert.equal(s.texts[0].x, 0);
  assert.equal(s.texts[0].width, null, 'no width: the stage width');
  assert.deepEqual([s.texts[0].align, s.texts[0].bold, s.texts[0].size, s.texts[0].color], ['center', true, 21, '#FF0000']);
  assert.equal(s.texts[1].text, 'one\ntwo', 'a CR is a line break');
  assert.deepEqual(s.links, [{ x: 0, y: 23, width: 640, height: 480, url: 'https://example.org/?a=1&b=2', blank: true }]);
});

test('defaults of absent and odd attributes', () => {
  const m = parse(show('<slide><image url="a.jpg"/></slide>' +
    '<slide><image url="b.jpg" duration="x" background="zz" background_alpha="0"/><transition/></slide>' +
    '<slide><image url="c.jpg" background="FFFFFF" background_alpha="250"/><transition type="Wobble" duration="-3" stack="true"/>' +
    '<motion start_zoom="1"/><action type="PAUSE"/></slide>'));
  assert.equal(m.bar, 'off', 'no control element: no bar');
  assert.equal(m.volume, false);
  assert.equal(m.music, null);
  const [a, b, c] = m.slides;
  assert.equal(a.purge, true);
  assert.equal(a.duration, 5);
  assert.equal(a.trim, false);
  assert.deepEqual(a.transition, { type: 'none', duration: 0, stack: false }, 'no transition element: a cut');
  assert.equal(a.background, null);
  assert.equal(a.backgroundAlpha, 0, 'no background: transparent');
  assert.equal(a.pause, false);
  assert.equal(b.duration, 5);
  assert.equal(b.background, null);
  assert.deepEqual(b.transition, { type: 'dissolve', duration: 1, stack: false }, 'transition without type dissolves');
  assert.deepEqual(c.transition, { type: 'dissolve', duration: 0, stack: true }, 'unknown type dissolves');
  assert.equal(c.backgroundAlpha, 100);
  assert.deepEqual(c.motion, { zoom: 1, rotation: 0, duration: 0 });
  assert.equal(c.pause, true);
});

test('absurd sizes are limited', () => {
  const m = parse(show('<slide><image url="a.jpg"/><motion start_zoom="100000" start_rotation="90"/>' +
    '<draw_rect><rect line_thickness="99999" fill_alpha="-5"/></draw_rect><draw_text><text size="1e9">x</text></draw_text></slide>'));
  const s = m.slides[0];
  assert.deepEqual([s.motion.zoom, s.rects[0].lineWidth, s.rects[0].fillAlpha, s.texts[0].size], [2000, 100, 0, 500]);
});

test('control values', () => {
  for (const [attrs, bar, volume] of [
    ['bar_visible="auto"', 'auto', false],
    ['bar_visible="off"', 'off', false],
    ['bar_visible="true" volume_visible="true"', 'on', true],
    ['bar_visible="AUTO" volume_visible="false"', 'auto', false],
    ['', 'off', false]
  ]) {
    const m = parse(show(`<control ${attrs}/><slide><image url="a.jpg"/></slide>`));
    assert.deepEqual([m.bar, m.volume], [bar, volume], attrs);
  }
});

test('every transition type of the effect list is understood as itself', () => {
  const types = ['none', 'dissolve', 'fade_to_black', 'fade_to_white', 'spin', 'drop'];
  for (const k of ['cover', 'push', 'reveal', 'squeeze']) for (const d of ['right', 'left', 'down', 'up']) types.push(`${k}_${d}`);
  for (const h of ['left', 'right']) for (const v of ['top', 'bottom']) for (const d of ['up', 'down']) types.push(`pivot_${h}_${v}_${d}`);
  assert.equal(types.length, 30);
  for (const type of types) {
    const m = parse(show(`<slide><image url="a.jpg"/><transition duration="1" type="${type}"/></slide>`));
    assert.equal(m.slides[0].transition.type, type);
  }
});

test('links open only web addresses', () => {
  const cases = [
    ['http://example.org', true], ['HTTPS://EXAMPLE.ORG/x', true], ['http://mailto:name', true],
    ['javascript:alert(1)', false], ['mailto:name@example.org', false], ['//example.org', false],
    ['ftp://example.org', false], ['', false], ['http://', false]
  ];
  for (const [url, kept] of cases) {
    const m = parse(show(`<slide><image url="a.jpg"/><link><area url="${url}"/></link></slide>`));
    assert.equal(m.slides[0].links.length, kept ? 1 : 0, url);
    if (kept) assert.equal(m.slides[0].links[0].blank, false);
  }
});

test('broken descriptions are refused with a reason', () => {
  const cases = [
    ['', 'empty'],
    ['   ', 'empty'],
    ['<slideshow><slide><image url="a.jpg"></slide></slideshow>', 'format'],
    [`${HEAD}<html><slide/></html>`, 'format'],
    [`${HEAD}<slideshow><control/></slideshow>`, 'empty'],
    ['not xml at all', 'format']
  ];
  for (const [text, code] of cases) {
    assert.throws(() => parse(text), (e) => e instanceof player.ShowError && e.code === code, JSON.stringify(text));
  }
});

test('the address parameter xml_source is read from the player address', () => {
  const q = player.queryParam;
  assert.equal(q('a_files/a.js?xml_source=a_files/a.xml', 'xml_source'), 'a_files/a.xml');
  assert.equal(q('preview.js?xml_source=preview.xml&x=-1', 'xml_source'), 'preview.xml');
  assert.equal(q('p.js?x=0&xml_source=http%3A%2F%2Fh%2Fa%20b.xml#frag', 'xml_source'), 'http://h/a b.xml');
  assert.equal(q('p.js?xml_source=50%', 'xml_source'), '50%');
  assert.equal(q('p.js', 'xml_source'), null);
  assert.equal(q(null, 'xml_source'), null);
});

test('button labels follow the browser language', () => {
  assert.equal(player.texts('de-DE').next, 'Nächstes Bild');
  assert.equal(player.texts('de').region, 'Diashow');
  assert.equal(player.texts('en-GB').next, 'Next picture');
  assert.equal(player.texts('fr').next, 'Next picture');
  assert.equal(player.texts(undefined).play, 'Play');
});
