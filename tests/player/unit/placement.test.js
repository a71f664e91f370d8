'use strict';
// Where a picture's canvas goes and at how many pixels it is drawn
// (placePicture): fitted or trimmed, on screens of several densities, still
// or moving, never beyond the picture's own pixels.
const test = require('node:test');
const assert = require('node:assert/strict');
const { player } = require('./support');

const view = { w: 1200, h: 800 };
const still = (extra = {}) => ({ trim: false, motion: null, background: '#102030', backgroundAlpha: 100, ...extra });
const moving = (zoom, rotation, extra = {}) => still({ motion: { zoom, rotation, duration: 2 }, ...extra });
const round = (p) => Object.fromEntries(Object.entries(p).map(([k, v]) => [k, typeof v === 'number' ? Math.round(v * 10) / 10 : v]));

test('a still picture is drawn with its background on a canvas of the whole stage', () => {
  const rows = [
    // [what, slide, picture, screen, expected]
    ['same shape, shown at half size', still(), [2400, 1600], 0.5,
      { moves: false, x: 0, y: 0, w: 1200, h: 800, iw: 600, ih: 400, px: 0, py: 0, pw: 600, ph: 400, background: 'rgba(16,32,48,1)' }],
    ['a portrait fitted whole and centred', still(), [600, 900], 1,
      { moves: false, x: 0, y: 0, w: 1200, h: 800, iw: 1200, ih: 800, px: 333.3, py: 0, pw: 533.3, ph: 800, background: 'rgba(16,32,48,1)' }],
    ['a dense screen: twice the pixels', still(), [2400, 1600], 2,
      { moves: false, x: 0, y: 0, w: 1200, h: 800, iw: 2400, ih: 1600, px: 0, py: 0, pw: 2400, ph: 1600, background: 'rgba(16,32,48,1)' }],
    ['never beyond the picture\'s pixels', still(), [600, 400], 2,
      { moves: false, x: 0, y: 0, w: 1200, h: 800, iw: 600, ih: 400, px: 0, py: 0, pw: 600, ph: 400, background: 'rgba(16,32,48,1)' }],
    ['trim covers the stage, cropped above and below', still({ trim: true }), [1200, 1800], 1,
      { moves: false, x: 0, y: 0, w: 1200, h: 800, iw: 1200, ih: 800, px: 0, py: -500, pw: 1200, ph: 1800, background: 'rgba(16,32,48,1)' }],
    ['screen not known yet: the picture\'s own pixels', still(), [600, 900], 0,
      { moves: false, x: 0, y: 0, w: 1200, h: 800, iw: 1350, ih: 900, px: 375, py: 0, pw: 600, ph: 900, background: 'rgba(16,32,48,1)' }],
    ['a transparent background is not drawn', still({ backgroundAlpha: 0 }), [1200, 800], 1,
      { moves: false, x: 0, y: 0, w: 1200, h: 800, iw: 1200, ih: 800, px: 0, py: 0, pw: 1200, ph: 800, background: null }]
  ];
  for (const [what, slide, [pw, ph], screen, want] of rows) {
    assert.deepEqual(round(player.placePicture(view, slide, { width: pw, height: ph }, screen, false, true)), want, what);
  }
});

test('a moving picture has a canvas of its own, drawn larger while it zooms in', () => {
  const pic = { width: 2400, height: 1600 };
  const place = (slide, entering, reduced = false) => round(player.placePicture(view, slide, pic, 0.5, reduced, entering));
  // zooming in from 500 %: drawn at up to five times its size on the screen, then at that size
  assert.deepEqual(place(moving(500, 0), true), { moves: true, x: 0, y: 0, w: 1200, h: 800, iw: 2400, ih: 1600, px: 0, py: 0, pw: 2400, ph: 1600, background: null });
  assert.deepEqual([place(moving(500, 0), false).iw, place(moving(200, 0), true).iw], [600, 1200]);
  // turning or zooming out: its size on the screen
  assert.deepEqual([place(moving(100, 180), true).iw, place(moving(1, 0), true).iw], [600, 600]);
  assert.equal(place(moving(100, 180), true).moves, true);
  // no motion to speak of, or reduced motion: a still picture
  assert.equal(place(moving(100, 0), true).moves, false);
  assert.equal(place(moving(500, 180), true, true).moves, false);
  // a portrait keeps its proportions in its own canvas
  const p = round(player.placePicture(view, moving(100, 90), { width: 600, height: 900 }, 1, false, true));
  assert.deepEqual(p, { moves: true, x: 333.3, y: 0, w: 533.3, h: 800, iw: 533, ih: 800, px: 0, py: 0, pw: 533, ph: 800, background: null });
});
