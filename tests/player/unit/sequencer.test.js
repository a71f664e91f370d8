'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const { player, parse, fakeClock, fakeView } = require('./support');

const show = (slides) => parse(`<slideshow><control bar_visible="auto"/>${slides}</slideshow>`);

function slide({ nav = '', pause = false, url = 'a.jpg', duration = 4, purge = 'true', transition = '' } = {}) {
  return `<slide purge="${purge}"><navigation ${nav}/>${pause ? '<action type="pause"/>' : ''}` +
    `<image url="${url}" background="000000" duration="${duration}"/>${transition}<draw_rect/><draw_text/><link/></slide>`;
}

function run(model) {
  const clock = fakeClock();
  const view = fakeView();
  const changes = [];
  const seq = new player.Sequencer(model, clock, view, (s) => changes.push(s.index));
  return { clock, view, seq, changes };
}

// Three pictures, autostart off, loop on, the second one squeezes with hold
// (effect 24): 0 start slide, 1 first, 2 second, 3 its hold slide, 4 third.
const HOLD = '<transition duration="2" type="squeeze_left" stack="true"/>';
const worked = () => show(
  slide({ nav: 'next="2" forward="2" backward="4"', pause: true, url: 'p1.jpg', duration: 0, purge: 'false' }) +
  slide({ nav: 'backward="4"', url: 'p1.jpg', duration: 7, purge: 'false' }) +
  slide({ nav: 'forward="4"', url: 'p2.jpg', duration: 2, purge: 'false', transition: HOLD }) +
  slide({ nav: 'backward="1"', url: 'p2.jpg', duration: 5, purge: 'false', transition: '<transition duration="2" type="none" stack="true"/>' }) +
  slide({ nav: 'backward="2" next="1" forward="1"', url: 'p3.jpg', duration: 6, purge: 'false' }));

test('a show with start slide and hold slide plays in the written order', () => {
  const { clock, view, seq } = run(worked());
  seq.start(0);
  assert.equal(seq.state().index, 0);
  assert.equal(seq.state().waiting, true, 'the start slide waits for play');
  clock.advance(60000);
  assert.deepEqual(view.shown, [0], 'nothing happens without the user');
  seq.play();
  clock.advance(0);
  assert.deepEqual(view.shown, [0, 2], 'play goes to next: the second picture');
  clock.advance(1999);
  assert.equal(seq.state().index, 2);
  clock.advance(1);
  assert.equal(seq.state().index, 3, 'the hold slide follows its squeeze after 2 s');
  clock.advance(5000);
  assert.equal(seq.state().index, 4);
  clock.advance(6000);
  assert.equal(seq.state().index, 1, 'the last slide loops to the first picture, not the start slide');
  clock.advance(7000);
  assert.deepEqual(view.shown, [0, 2, 3, 4, 1, 2]);
  assert.equal(seq.state().playing, true);
});

test('the bar buttons follow forward and backward', () => {
  const cases = [
    // from, button, to
    [0, 'next', 2], [0, 'prev', 4], [1, 'next', 2], [1, 'prev', 4],
    [2, 'next', 4], [2, 'prev', 1], [3, 'next', 4], [3, 'prev', 1], [4, 'next', 1], [4, 'prev', 2]
  ];
  for (const [from, button, to] of cases) {
    const { seq } = run(worked());
    seq.start(from);
    seq[button]();
    assert.equal(seq.state().index, to, `${button} from ${from}`);
  }
});

test('targets that name no slide fall back to the neighbours', () => {
  const m = show(slide({ nav: 'next="9" forward="-1" backward="x"' }) + slide({ nav: 'next="1.5"' }) + slide({ nav: 'forward="3"' }));
  assert.deepEqual([0, 1, 2].map((i) => player.nextOf(m, i)), [1, 2, null]);
  assert.deepEqual([0, 1, 2].map((i) => player.forwardOf(m, i)), [1, 2, 0]);
  assert.deepEqual([0, 1, 2].map((i) => player.backwardOf(m, i)), [2, 0, 1]);
});

test('the show stops at next equal to its own number and after the last slide', () => {
  for (const nav of ['next="1" forward="0"', '']) {
    const { clock, seq, view } = run(show(slide({ duration: 3 }) + slide({ nav, duration: 3 })));
    seq.start(0);
    clock.advance(3000);
    assert.equal(seq.state().index, 1);
    clock.advance(60000);
    assert.deepEqual(view.shown, [0, 1], nav);
    assert.equal(seq.state().ended, true);
    assert.equal(seq.state().playing, false);
    seq.play();
    assert.equal(seq.state().index, 0, 'play after the end starts again at forward');
    assert.equal(seq.state().playing, true);
  }
});

test('pause keeps the time already spent on a slide; hidden pages do not count', () => {
  const { clock, seq } = run(show(slide({ duration: 4 }) + slide()));
  seq.start(0);
  clock.advance(1500);
  seq.pause();
  clock.advance(60000);
  assert.equal(seq.state().index, 0);
  assert.equal(Math.round(seq.state().elapsed), 1500);
  seq.play();
  clock.advance(1000);
  seq.setHidden(true);
  clock.advance(60000);
  assert.equal(seq.state().index, 0, 'the page is hidden');
  seq.setHidden(false);
  clock.advance(1499);
  assert.equal(seq.state().index, 0);
  clock.advance(1);
  assert.equal(seq.state().index, 1);
});

test('a slide\'s time starts when its picture is ready, and the last request wins', () => {
  const { clock, seq, view } = run(show(slide({ duration: 2 }) + slide({ duration: 2 }) + slide({ duration: 2 })));
  view.hold = true;
  seq.start(0);
  clock.advance(10000);
  assert.equal(seq.state().shown, false);
  view.release();
  clock.advance(1999);
  assert.equal(seq.state().index, 0);
  clock.advance(1);
  assert.equal(seq.state().index, 1);
  const late = view.held;
  seq.next(); // the user goes on before slide 1 is decoded
  view.release();
  late(); // slide 1's picture arrives afterwards and must not restart anything
  assert.equal(seq.state().index, 2);
  clock.advance(1999);
  assert.equal(seq.state().index, 2);
  clock.advance(1);
  assert.equal(seq.state().index, 2, 'after the last slide the show stops');
  assert.equal(seq.state().ended, true);
});

test('a pause slide with its own duration runs it out after play', () => {
  const { clock, seq } = run(show(slide({ pause: true, duration: 3 }) + slide()));
  seq.start(0);
  clock.advance(10000);
  assert.equal(seq.state().index, 0);
  seq.play();
  clock.advance(2999);
  assert.equal(seq.state().index, 0);
  clock.advance(1);
  assert.equal(seq.state().index, 1);
});

test('navigating while paused stays paused; a pause slide reached later waits again', () => {
  const { clock, seq } = run(show(slide() + slide() + slide({ pause: true }) + slide()));
  seq.start(0);
  seq.pause();
  seq.next();
  clock.advance(60000);
  assert.equal(seq.state().index, 1);
  seq.play();
  clock.advance(4000);
  assert.equal(seq.state().index, 2);
  clock.advance(60000);
  assert.equal(seq.state().index, 2);
  assert.equal(seq.state().waiting, true);
  seq.toggle();
  clock.advance(4000);
  assert.equal(seq.state().index, 3);
});

test('the demonstration shows its first picture and stays on the second', () => {
  const m = parse('\uFEFF<?xml version="1.0" encoding="UTF-8"?>\n<slideshow><slide purge="false"><transition type="none"/>' +
    '<image url="desert.jpg" duration="0"/></slide><slide purge="false"><motion duration="1" start_zoom="500"/>' +
    '<transition duration="1" type="dissolve"/><image url="beach.jpg"/><navigation next="1"/></slide></slideshow>\n');
  const { clock, seq, view } = run(m);
  seq.start(0);
  clock.advance(0);
  assert.deepEqual(view.shown, [0, 1]);
  clock.advance(600000);
  assert.deepEqual(view.shown, [0, 1]);
  assert.equal(seq.state().ended, true);
  assert.equal(m.bar, 'off');
});

test('pictures of start and hold slides count once', () => {
  assert.deepEqual(player.pictureNumbers(worked()), { of: [0, 0, 1, 1, 2], count: 3 });
});
