'use strict';
// Loads the player as a module and gives the unit tests a DOMParser and a
// fake clock.
const path = require('node:path');
let JSDOM;
try {
  ({ JSDOM } = require('jsdom'));
} catch (e) {
  throw new Error('jsdom is missing: run tools/setup.d/player.sh (npm ci in tests/player)');
}

const PLAYER_FILE = path.resolve(__dirname, '..', '..', '..', 'data', 'slideshow.js');
const player = require(PLAYER_FILE);
const { DOMParser } = new JSDOM('').window;

function parse(xml) {
  return player.parseShowText(xml, DOMParser);
}

// Timers that run only when the test moves time on.
function fakeClock() {
  let now = 0;
  let ids = 0;
  let timers = [];
  return {
    now: () => now,
    setTimeout(fn, ms) {
      timers.push({ id: ++ids, at: now + ms, fn });
      return ids;
    },
    clearTimeout(id) {
      timers = timers.filter((t) => t.id !== id);
    },
    advance(ms) {
      const end = now + ms;
      for (;;) {
        const due = timers.filter((t) => t.at <= end).sort((a, b) => a.at - b.at)[0];
        if (!due) break;
        timers = timers.filter((t) => t !== due);
        now = due.at;
        due.fn();
      }
      now = end;
    },
    pending: () => timers.length
  };
}

// A view that shows every slide at once, or on demand when held.
function fakeView() {
  const view = {
    shown: [],
    held: null,
    hold: false,
    show(i, done) {
      view.shown.push(i);
      if (view.hold) view.held = done;
      else done();
    },
    release() {
      const d = view.held;
      view.held = null;
      d();
    }
  };
  return view;
}

module.exports = { player, parse, fakeClock, fakeView, PLAYER_FILE, JSDOM };
