/*
 * Lumetra slideshow player.
 *
 * Plays a show description (name.xml) on the stage element that stands right
 * before this script in the page:
 *
 *   <div class="lumetra-stage" style="width:640px;height:480px" data-wmode="window"></div>
 *   <script src="name_files/name.js?xml_source=name_files/name.xml"></script>
 *
 * The description comes from an inline block of the page when one is there
 * for that xml_source (a page opened from disk cannot fetch its neighbours):
 *
 *   <script type="application/xml" data-xml-source="name_files/name.xml">...</script>
 *
 * data-xml-source holds the description's address or the player's whole
 * address (…/name.js?xml_source=…); both are resolved against the page.
 * Otherwise the description is fetched. The query parameter x is ignored.
 * All picture and music addresses are relative to the page.
 *
 * What the description means here:
 * - slideshow/slide: played in document order from slide 0. A slide lasts
 *   image/@duration seconds from its start, its incoming transition included,
 *   then the show goes to navigation/@next (default: the following slide).
 *   next equal to the slide's own number stops the show there; after the last
 *   slide without next the show stops. Play after a stop goes to @forward.
 * - navigation/@forward, @backward: targets of the next and previous buttons
 *   (defaults: following and preceding slide, wrapping). A number that names
 *   no slide is ignored and the default applies.
 * - action type="pause": the slide holds until the user starts the show.
 * - image: url; fill="trim" covers the stage and crops, else the picture is
 *   fitted whole and centred; background RRGGBB, background_alpha in percent
 *   ("0": transparent stage).
 * - transition: type, duration (s), stack. none, dissolve, cover_*, push_*,
 *   reveal_*, squeeze_*, fade_to_black, fade_to_white, spin, drop,
 *   pivot_<left|right>_<top|bottom>_<up|down>; unknown types dissolve.
 *   stack="true" or slide/@purge="false" keep the previous picture on the
 *   stage underneath; purge="true" (the default) lets it go.
 * - motion: start_zoom (% of final size), start_rotation (degrees), duration;
 *   the picture moves to 100 % and 0° together with its transition.
 * - draw_rect/rect, draw_text/text: bands and texts in stage pixels (x
 *   defaults to 0, width to the stage width, alphas in percent, size in
 *   pixels, align, bold, color); CR or LF breaks a line. Always set as text.
 * - link/area: clickable region opening url (http and https only), in a new
 *   window with target="_blank".
 * - control: bar_visible auto|off, volume_visible true.
 * - music: url, loop. Started at the first play, click, tap or key.
 *
 * Runs in Chromium 102 and later browsers; the only global is LumetraPlayer.
 */
(function (global) {
  'use strict';

  var VERSION = '1.0';
  var DEFAULT_DURATION = 5; // seconds, for an image without duration
  var PRELOAD_AHEAD = 3; // pictures decoded ahead of the current one
  var MAX_LAYERS = 2; // pictures kept on the stage (current + one underneath)
  var BAR_IDLE_MS = 2500;
  var SPINNER_DELAY_MS = 400;

  // ---------------------------------------------------------------- parsing

  function attr(el, name) {
    return el && el.hasAttribute(name) ? el.getAttribute(name) : null;
  }

  function num(v, def) {
    if (v === null || v === undefined || String(v).trim() === '') return def;
    var n = Number(String(v).trim());
    return isFinite(n) ? n : def;
  }

  function int(v) {
    var n = num(v, null);
    return n !== null && Math.floor(n) === n ? n : null;
  }

  function bool(v, def) {
    if (v === null || v === undefined) return def;
    v = String(v).trim().toLowerCase();
    if (v === 'true' || v === '1' || v === 'yes' || v === 'on') return true;
    if (v === 'false' || v === '0' || v === 'no' || v === 'off') return false;
    return def;
  }

  function clamp(v, lo, hi) {
    return Math.min(hi, Math.max(lo, v));
  }

  function hexColor(v, def) {
    if (v === null || v === undefined) return def;
    v = String(v).trim().replace(/^#/, '');
    if (/^[0-9a-f]{3}$/i.test(v)) v = v.replace(/(.)/g, '$1$1');
    return /^[0-9a-f]{6}$/i.test(v) ? '#' + v.toUpperCase() : def;
  }

  function kids(el, name) {
    if (!el) return [];
    return Array.prototype.filter.call(el.childNodes, function (c) {
      return c.nodeType === 1 && c.localName === name;
    });
  }

  function kid(el, name) {
    return kids(el, name)[0] || null;
  }

  function ShowError(code, detail) {
    this.code = code;
    this.message = code + (detail ? ': ' + detail : '');
  }

  var TRANSITION_TYPES = /^(none|dissolve|(cover|push|reveal|squeeze)_(right|left|down|up)|fade_to_(black|white)|spin|drop|pivot_(left|right)_(top|bottom)_(up|down))$/;

  function parseTransition(el) {
    if (!el) return { type: 'none', duration: 0, stack: false };
    var type = (attr(el, 'type') || '').trim().toLowerCase();
    return {
      type: TRANSITION_TYPES.test(type) ? type : 'dissolve',
      duration: Math.max(0, num(attr(el, 'duration'), 1)),
      stack: bool(attr(el, 'stack'), false)
    };
  }

  function box(el) {
    return {
      x: num(attr(el, 'x'), 0),
      y: num(attr(el, 'y'), 0),
      width: num(attr(el, 'width'), null), // null: stage width
      height: num(attr(el, 'height'), null) // null: to the stage bottom
    };
  }

  function parseSlide(s) {
    var nav = kid(s, 'navigation');
    var img = kid(s, 'image');
    var transition = parseTransition(kid(s, 'transition'));
    var motion = kid(s, 'motion');
    var background = hexColor(attr(img, 'background'), null);
    var slide = {
      purge: bool(attr(s, 'purge'), true),
      next: int(attr(nav, 'next')),
      forward: int(attr(nav, 'forward')),
      backward: int(attr(nav, 'backward')),
      pause: kids(s, 'action').some(function (a) {
        return (attr(a, 'type') || '').trim().toLowerCase() === 'pause';
      }),
      url: (attr(img, 'url') || '').trim(),
      trim: (attr(img, 'fill') || '').trim().toLowerCase() === 'trim',
      background: background,
      backgroundAlpha: clamp(num(attr(img, 'background_alpha'), background ? 100 : 0), 0, 100),
      duration: Math.max(0, num(attr(img, 'duration'), DEFAULT_DURATION)),
      transition: transition,
      motion: null,
      rects: [],
      texts: [],
      links: []
    };
    if (motion) {
      slide.motion = {
        zoom: clamp(num(attr(motion, 'start_zoom'), 100), 0, 2000), // beyond that only costs memory
        rotation: num(attr(motion, 'start_rotation'), 0),
        duration: Math.max(0, num(attr(motion, 'duration'), transition.duration))
      };
    }
    kids(s, 'draw_rect').forEach(function (group) {
      kids(group, 'rect').forEach(function (r) {
        var b = box(r);
        b.fill = hexColor(attr(r, 'fill_color'), '#FFFFFF');
        b.fillAlpha = clamp(num(attr(r, 'fill_alpha'), 100), 0, 100);
        b.line = hexColor(attr(r, 'line_color'), '#000000');
        b.lineAlpha = clamp(num(attr(r, 'line_alpha'), 100), 0, 100);
        b.lineWidth = clamp(num(attr(r, 'line_thickness'), 0), 0, 100);
        slide.rects.push(b);
      });
    });
    kids(s, 'draw_text').forEach(function (group) {
      kids(group, 'text').forEach(function (t) {
        var b = box(t);
        var align = (attr(t, 'align') || 'left').trim().toLowerCase();
        b.align = /^(left|center|right|justify)$/.test(align) ? align : 'left';
        b.size = clamp(num(attr(t, 'size'), 12), 1, 500);
        b.bold = bool(attr(t, 'bold'), false);
        b.color = hexColor(attr(t, 'color'), '#000000');
        b.text = (t.textContent || '').replace(/\r\n?/g, '\n');
        slide.texts.push(b);
      });
    });
    kids(s, 'link').forEach(function (group) {
      kids(group, 'area').forEach(function (a) {
        var url = (attr(a, 'url') || '').trim();
        if (!/^https?:\/\/[^\s]/i.test(url)) return; // only web addresses open
        var b = box(a);
        b.url = url;
        b.blank = (attr(a, 'target') || '').trim().toLowerCase() === '_blank';
        slide.links.push(b);
      });
    });
    return slide;
  }

  // Turns a parsed XML document into the show model; throws ShowError.
  function parseShow(doc) {
    var root = doc && doc.documentElement;
    if (!root || root.localName !== 'slideshow' || doc.getElementsByTagName('parsererror').length) {
      throw new ShowError('format');
    }
    var control = kid(root, 'control');
    var bar = (attr(control, 'bar_visible') || 'off').trim().toLowerCase();
    var model = {
      bar: bar === 'auto' ? 'auto' : bool(bar, false) || bar === 'always' ? 'on' : 'off',
      volume: bool(attr(control, 'volume_visible'), false),
      slides: kids(root, 'slide').map(parseSlide),
      music: null
    };
    if (!model.slides.length) throw new ShowError('empty');
    var music = kid(root, 'music');
    if (music && (attr(music, 'url') || '').trim()) {
      model.music = { url: attr(music, 'url').trim(), loop: bool(attr(music, 'loop'), false) };
    }
    return model;
  }

  function parseShowText(text, Parser) {
    Parser = Parser || global.DOMParser;
    text = String(text || '').replace(/^\uFEFF/, '').trim();
    if (!text) throw new ShowError('empty');
    return parseShow(new Parser().parseFromString(text, 'application/xml'));
  }

  // ------------------------------------------------------------- navigation

  function isSlide(model, n) {
    return n !== null && n >= 0 && n < model.slides.length;
  }

  // Where the show goes when slide i has run out; null or i itself: stop.
  function nextOf(model, i) {
    var t = model.slides[i].next;
    if (isSlide(model, t)) return t;
    return i + 1 < model.slides.length ? i + 1 : null;
  }

  function forwardOf(model, i) {
    var t = model.slides[i].forward;
    return isSlide(model, t) ? t : (i + 1) % model.slides.length;
  }

  function backwardOf(model, i) {
    var t = model.slides[i].backward;
    var n = model.slides.length;
    return isSlide(model, t) ? t : (i - 1 + n) % n;
  }

  // Slides that show the same picture in a row (start slide, hold slide)
  // count as one picture for the counter and the announcements.
  function pictureNumbers(model) {
    var k = 0;
    var out = [];
    model.slides.forEach(function (s, i) {
      if (i > 0 && s.url !== model.slides[i - 1].url) k++;
      out.push(k);
    });
    return { of: out, count: k + 1 };
  }

  /*
   * The navigation state machine. view.show(i, done) brings slide i on the
   * stage and calls done() once its transition has started (the picture is
   * decoded); the slide's time runs from then on, only while playing.
   */
  function Sequencer(model, clock, view, onChange) {
    this.model = model;
    this.clock = clock;
    this.view = view;
    this.onChange = onChange || function () {};
    this.index = -1;
    this.playing = true;
    this.waiting = false; // on a pause slide, until the user starts
    this.ended = false;
    this.hidden = false;
    this.shown = false;
    this.elapsed = 0;
    this.since = null;
    this.timer = null;
    this.token = 0;
  }

  Sequencer.prototype = {
    start: function (i) {
      this.go(isSlide(this.model, i) ? i : 0);
    },
    slide: function () {
      return this.model.slides[this.index];
    },
    go: function (i) {
      var self = this;
      var token = ++this.token;
      this.halt();
      this.index = i;
      this.shown = false;
      this.waiting = false;
      this.ended = false;
      this.elapsed = 0;
      this.view.show(i, function () {
        if (token === self.token) self.arrived();
      });
      this.onChange(this);
    },
    arrived: function () {
      this.shown = true;
      this.elapsed = 0;
      if (this.slide().pause) {
        this.waiting = true;
        this.playing = false;
      }
      this.arm();
      this.onChange(this);
    },
    arm: function () {
      var self = this;
      this.halt();
      if (!this.shown || !this.playing || this.hidden || this.ended) return;
      this.since = this.clock.now();
      var rest = Math.max(0, this.slide().duration * 1000 - this.elapsed);
      this.timer = this.clock.setTimeout(function () {
        self.halt();
        self.advance();
      }, rest);
    },
    halt: function () {
      if (this.timer !== null) this.clock.clearTimeout(this.timer);
      this.timer = null;
      if (this.since !== null) this.elapsed += this.clock.now() - this.since;
      this.since = null;
    },
    advance: function () {
      var t = nextOf(this.model, this.index);
      if (t === null || t === this.index) {
        this.ended = true;
        this.playing = false;
        this.onChange(this);
      } else {
        this.go(t);
      }
    },
    play: function () {
      if (this.playing) return;
      this.playing = true;
      this.waiting = false;
      if (this.ended) this.go(forwardOf(this.model, this.index));
      else this.arm();
      this.onChange(this);
    },
    pause: function () {
      if (!this.playing) return;
      this.halt();
      this.playing = false;
      this.onChange(this);
    },
    toggle: function () {
      if (this.playing) this.pause();
      else this.play();
    },
    next: function () {
      this.go(forwardOf(this.model, this.index));
    },
    prev: function () {
      this.go(backwardOf(this.model, this.index));
    },
    setHidden: function (hidden) {
      if (this.hidden === hidden) return;
      this.halt();
      this.hidden = hidden;
      this.arm();
    },
    state: function () {
      return {
        index: this.index,
        playing: this.playing,
        waiting: this.waiting,
        ended: this.ended,
        shown: this.shown,
        elapsed: this.elapsed + (this.since !== null ? this.clock.now() - this.since : 0)
      };
    }
  };

  // ------------------------------------------------------------ transitions

  var EASE = 'cubic-bezier(.45,0,.2,1)';
  var AXES = { right: ['X', -1], left: ['X', 1], down: ['Y', -1], up: ['Y', 1] };
  var ENTRY_EDGE = { right: 'left', left: 'right', down: 'top', up: 'bottom' };
  var EXIT_EDGE = { right: 'right', left: 'left', down: 'bottom', up: 'top' };

  function shift(axis, pct) {
    return 'translate' + axis + '(' + pct + '%)';
  }

  function frames(from, to, prop) {
    var a = {};
    var b = {};
    a[prop || 'transform'] = from;
    b[prop || 'transform'] = to;
    return [a, b];
  }

  /*
   * What a transition does, as Web Animations keyframes: nu for the incoming
   * layer, old for the outgoing one, veil for a colour over both. stack keeps
   * the old picture still during a squeeze; oldFades lets it fade out in a
   * dissolve (only worth it when the new one does not cover it).
   */
  function transitionPlan(type, stack, oldFades) {
    var plan = { nu: null, old: null, veil: null, nuOrigin: null, oldOrigin: null, oldOnTop: false, easing: EASE };
    var m = /^(cover|push|reveal|squeeze)_(right|left|down|up)$/.exec(type);
    if (m) {
      var axis = AXES[m[2]][0];
      var sign = AXES[m[2]][1];
      if (m[1] === 'cover' || m[1] === 'push') plan.nu = frames(shift(axis, sign * 100), shift(axis, 0));
      if (m[1] === 'push' || m[1] === 'reveal') plan.old = frames(shift(axis, 0), shift(axis, -sign * 100));
      if (m[1] === 'reveal') plan.oldOnTop = true;
      if (m[1] === 'squeeze') {
        plan.nu = frames('scale' + axis + '(0)', 'scale' + axis + '(1)');
        plan.nuOrigin = ENTRY_EDGE[m[2]];
        if (!stack) {
          plan.old = frames('scale' + axis + '(1)', 'scale' + axis + '(0)');
          plan.oldOrigin = EXIT_EDGE[m[2]];
        }
      }
      return plan;
    }
    m = /^pivot_(left|right)_(top|bottom)_(up|down)$/.exec(type);
    if (m) {
      var angle = (m[1] === 'left') === (m[3] === 'up') ? 90 : -90;
      plan.nu = frames('rotate(' + angle + 'deg)', 'rotate(0deg)');
      plan.nuOrigin = m[1] + ' ' + m[2];
      plan.easing = 'cubic-bezier(.3,0,.2,1)';
      return plan;
    }
    if (type === 'fade_to_black' || type === 'fade_to_white') {
      plan.veil = type === 'fade_to_black' ? '#000' : '#FFF';
      plan.nu = [{ opacity: 0 }, { opacity: 0, offset: 0.5 }, { opacity: 1, offset: 0.5 }, { opacity: 1 }];
      plan.easing = 'linear';
      return plan;
    }
    if (type === 'spin') {
      plan.nu = frames('rotate(-360deg) scale(0)', 'rotate(0deg) scale(1)');
      plan.easing = 'cubic-bezier(.25,.1,.25,1)';
      return plan;
    }
    if (type === 'drop') {
      plan.nu = [
        { transform: 'translateY(-100%)', easing: 'cubic-bezier(.5,0,1,1)' },
        { transform: 'translateY(0%)', offset: 0.6, easing: 'cubic-bezier(0,0,.5,1)' },
        { transform: 'translateY(-9%)', offset: 0.78, easing: 'cubic-bezier(.5,0,1,1)' },
        { transform: 'translateY(0%)', offset: 0.9, easing: 'cubic-bezier(0,0,.5,1)' },
        { transform: 'translateY(-2.5%)', offset: 0.95, easing: 'cubic-bezier(.5,0,1,1)' },
        { transform: 'translateY(0%)' }
      ];
      plan.easing = 'linear';
      return plan;
    }
    if (type === 'none') return plan;
    // dissolve and anything unknown
    plan.nu = frames(0, 1, 'opacity');
    if (oldFades) plan.old = frames(1, 0, 'opacity');
    plan.easing = 'ease-in-out';
    return plan;
  }

  // ------------------------------------------------------------------ texts

  var TEXTS = {
    en: {
      region: 'Slideshow',
      prev: 'Previous picture',
      next: 'Next picture',
      play: 'Play',
      pause: 'Pause',
      start: 'Start slideshow',
      mute: 'Sound off',
      unmute: 'Sound on',
      full: 'Fullscreen',
      exitFull: 'Exit fullscreen',
      counter: 'Picture %1 of %2',
      failed: 'This slideshow could not be loaded.',
      missing: 'Picture not available'
    },
    de: {
      region: 'Diashow',
      prev: 'Vorheriges Bild',
      next: 'Nächstes Bild',
      play: 'Abspielen',
      pause: 'Pause',
      start: 'Diashow starten',
      mute: 'Ton aus',
      unmute: 'Ton an',
      full: 'Vollbild',
      exitFull: 'Vollbild beenden',
      counter: 'Bild %1 von %2',
      failed: 'Diese Diashow konnte nicht geladen werden.',
      missing: 'Bild nicht verfügbar'
    }
  };

  var KEY_HINTS = { prev: '←', next: '→', play: 'Space', pause: 'Space', mute: 'M', unmute: 'M', full: 'F', exitFull: 'F' };

  function texts(lang) {
    return /^de\b/i.test(lang || '') ? TEXTS.de : TEXTS.en;
  }

  // ------------------------------------------------------------------ clock

  // Real time plus an offset that tests may jump forward (LumetraPlayer.skip).
  var clock = {
    offset: 0,
    queue: [],
    ids: 0,
    now: function () {
      return (global.performance ? global.performance.now() : Date.now()) + this.offset;
    },
    setTimeout: function (fn, ms) {
      var self = this;
      var t = { id: ++this.ids, at: this.now() + ms, fn: fn };
      t.real = global.setTimeout(function () {
        self.fire(t);
      }, ms);
      this.queue.push(t);
      return t.id;
    },
    clearTimeout: function (id) {
      this.queue = this.queue.filter(function (t) {
        if (t.id === id) global.clearTimeout(t.real);
        return t.id !== id;
      });
    },
    fire: function (t) {
      var i = this.queue.indexOf(t);
      if (i < 0) return;
      this.queue.splice(i, 1);
      global.clearTimeout(t.real);
      t.fn();
    },
    skip: function (ms) {
      this.offset += ms;
      var now = this.now() + 0.5;
      var due = this.queue.filter(function (t) {
        return t.at <= now;
      });
      due.sort(function (a, b) {
        return a.at - b.at;
      });
      due.forEach(this.fire, this);
    }
  };

  // ------------------------------------------------------------------- DOM

  var CSS = [
    '.lmt-stage{position:relative;overflow:hidden;max-width:100%;box-sizing:border-box;padding:0;',
    '-webkit-user-select:none;user-select:none;touch-action:pan-y pinch-zoom;-webkit-tap-highlight-color:transparent;',
    'font-family:system-ui,-apple-system,"Segoe UI",Roboto,"Helvetica Neue",Arial,sans-serif;line-height:normal;text-align:left}',
    '.lmt-stage:focus{outline:none}',
    '.lmt-strut{display:block;max-width:100%;height:0;visibility:hidden;pointer-events:none}',
    '.lmt-stage:focus-visible{box-shadow:inset 0 0 0 3px rgba(90,160,255,.9)}',
    '.lmt-stage:fullscreen{width:100%!important;height:100%!important;max-width:none!important;aspect-ratio:auto!important;background:#000}',
    '.lmt-stage:-webkit-full-screen{width:100%!important;height:100%!important;max-width:none!important;aspect-ratio:auto!important;background:#000}',
    '.lmt-view{position:absolute;left:0;top:0;overflow:hidden;transform-origin:0 0}',
    '.lmt-layer{position:absolute;left:0;top:0;width:100%;height:100%;overflow:hidden}',
    '.lmt-pic{position:absolute;left:0;top:0;width:100%;height:100%}',
    '.lmt-pic img{display:block;width:100%;height:100%;object-fit:contain;-webkit-user-drag:none;pointer-events:none}',
    '.lmt-trim .lmt-pic img{object-fit:cover}',
    '.lmt-pic canvas{position:absolute;display:block;pointer-events:none}',
    // A software compositor draws the edges of a turned layer stair-stepped;
    // a transparent pixel around the layer lets them be smoothed.
    '.lmt-layer{outline:1px solid transparent}',
    '.lmt-rect,.lmt-text,.lmt-links a{position:absolute;box-sizing:border-box}',
    '.lmt-text{white-space:pre-wrap;overflow:hidden;padding:2px 4px;line-height:1.143;overflow-wrap:break-word}',
    '.lmt-veil{position:absolute;left:0;top:0;width:100%;height:100%;opacity:0;pointer-events:none}',
    '.lmt-links a{display:block;cursor:pointer}',
    '.lmt-links a:focus-visible{outline:3px solid rgba(90,160,255,.9);outline-offset:-3px}',
    '.lmt-big{position:absolute;left:50%;top:50%;width:64px;height:64px;transform:translate(-50%,-50%);',
    'border:0;border-radius:50%;padding:0;background:rgba(0,0,0,.55);color:#fff;cursor:pointer;display:none;',
    'box-shadow:0 2px 12px rgba(0,0,0,.35);transition:background .2s}',
    '.lmt-big:hover,.lmt-big:focus-visible{background:rgba(0,0,0,.75)}',
    '.lmt-big svg{width:50%;height:50%;display:block;margin:auto;fill:currentColor}',
    '.lmt-bar{position:absolute;left:0;right:0;bottom:0;display:flex;align-items:center;gap:2px;padding:18px 6px 4px;',
    'background:linear-gradient(rgba(0,0,0,0),rgba(0,0,0,.62));color:#fff;opacity:0;visibility:hidden;',
    'transform:translateY(8px);transition:opacity .25s,transform .25s,visibility 0s .25s;font-size:13px}',
    '.lmt-bar.lmt-on{opacity:1;visibility:visible;transform:none;transition:opacity .2s,transform .2s}',
    '.lmt-bar button{flex:none;width:40px;height:40px;border:0;border-radius:20px;padding:0;margin:0;background:transparent;',
    'color:inherit;cursor:pointer;display:flex;align-items:center;justify-content:center}',
    '.lmt-bar button:hover,.lmt-bar button:focus-visible{background:rgba(255,255,255,.18);outline:none}',
    '.lmt-bar svg{width:22px;height:22px;fill:currentColor}',
    '.lmt-count{flex:1;text-align:center;font-variant-numeric:tabular-nums;opacity:.9;white-space:nowrap;overflow:hidden}',
    '.lmt-live{position:absolute;width:1px;height:1px;overflow:hidden;clip:rect(0 0 0 0);white-space:nowrap}',
    '.lmt-notice{position:absolute;left:8%;right:8%;top:50%;transform:translateY(-50%);padding:12px 16px;border-radius:8px;',
    'background:rgba(0,0,0,.72);color:#fff;font-size:14px;text-align:center}',
    '.lmt-spin{position:absolute;left:50%;top:50%;width:28px;height:28px;margin:-14px;border-radius:50%;',
    'border:3px solid rgba(255,255,255,.35);border-top-color:#fff;animation:lmt-spin 1s linear infinite}',
    '@keyframes lmt-spin{to{transform:rotate(360deg)}}',
    '@media (max-width:420px){.lmt-bar button{width:44px;height:44px}}',
    // small stages (a narrow column, a wide show on a phone): a smaller bar, still whole
    '.lmt-compact .lmt-bar{padding:10px 4px 2px}.lmt-compact .lmt-bar button{width:32px;height:32px}',
    '.lmt-compact .lmt-bar svg{width:18px;height:18px}',
    '.lmt-mini .lmt-bar{padding:4px 2px 1px;gap:0;font-size:11px}.lmt-mini .lmt-bar button{width:26px;height:26px}',
    '.lmt-mini .lmt-bar svg{width:16px;height:16px}.lmt-mini .lmt-count{visibility:hidden}.lmt-micro .lmt-full{display:none}',
    '@media (prefers-reduced-motion:reduce){.lmt-bar,.lmt-big{transition:none}.lmt-spin{animation-duration:3s}}'
  ].join('');

  var ICONS = {
    prev: 'M15.4 5.4 14 4l-8 8 8 8 1.4-1.4L8.8 12z',
    next: 'M8.6 5.4 10 4l8 8-8 8-1.4-1.4 6.6-6.6z',
    play: 'M8 5v14l11-7z',
    pause: 'M6 5h4v14H6zm8 0h4v14h-4z',
    // the sound button shows the present state: crossed out while silent
    unmute: 'M3 9v6h4l5 5V4L7 9H3zm13.6 3 2.7-2.7-1.3-1.3-2.7 2.7-2.7-2.7-1.3 1.3 2.7 2.7-2.7 2.7 1.3 1.3 2.7-2.7 2.7 2.7 1.3-1.3z',
    mute: 'M3 9v6h4l5 5V4L7 9H3zm13.5 3A4.5 4.5 0 0 0 14 8v8a4.5 4.5 0 0 0 2.5-4zM14 3.2v2.1a7 7 0 0 1 0 13.4v2.1a9 9 0 0 0 0-17.6z',
    full: 'M5 14H3v7h7v-2H5zm-2-4h2V5h5V3H3zm16 9h-5v2h7v-7h-2zM14 3v2h5v5h2V3z',
    exitFull: 'M3 16h5v5h2v-7H3zm5-8H3v2h7V3H8zm6 13h2v-5h5v-2h-7zm2-18h-2v7h7V8h-5z'
  };

  var SVG_NS = 'http://www.w3.org/2000/svg';

  function el(doc, tag, cls) {
    var e = doc.createElement(tag);
    if (cls) e.className = cls;
    return e;
  }

  function icon(doc, name) {
    var svg = doc.createElementNS(SVG_NS, 'svg');
    svg.setAttribute('viewBox', '0 0 24 24');
    svg.setAttribute('aria-hidden', 'true');
    svg.setAttribute('focusable', 'false');
    var path = doc.createElementNS(SVG_NS, 'path');
    path.setAttribute('d', ICONS[name]);
    svg.appendChild(path);
    return svg;
  }

  function rgba(hex, alphaPercent) {
    var n = parseInt(hex.slice(1), 16);
    return 'rgba(' + (n >> 16) + ',' + ((n >> 8) & 255) + ',' + (n & 255) + ',' + alphaPercent / 100 + ')';
  }

  function fileTitle(url) {
    var name = url.split(/[?#]/)[0].split('/').pop() || url;
    try {
      name = decodeURIComponent(name);
    } catch (e) {
      /* keep it as written */
    }
    return name.replace(/\.[^.]+$/, '');
  }

  function queryParam(src, name) {
    var q = String(src || '').split('#')[0].split('?')[1] || '';
    var found = null;
    q.split('&').forEach(function (part) {
      var eq = part.indexOf('=');
      if (found !== null || eq < 0 || part.slice(0, eq) !== name) return;
      found = part.slice(eq + 1);
      try {
        found = decodeURIComponent(found);
      } catch (e) {
        /* a stray % stays as written */
      }
    });
    return found;
  }

  function resolve(url, base) {
    try {
      return new URL(url, base).href;
    } catch (e) {
      return url;
    }
  }

  // --------------------------------------------------------------- pictures

  /*
   * Decoded pictures by address; only the few near the current slide stay.
   *
   * Chromium keeps every picture that an <img> showed, or that decode()
   * prepared, in its own cache of decoded images long after the element is
   * gone: a whole bitmap per slide, hundreds of MB over a long show, freed
   * only under memory pressure. So where the engine can, the player decodes
   * each picture into an ImageBitmap of its own, closes it when the picture
   * is no longer near, and every layer draws it into a canvas that is
   * emptied when the layer goes. Over http(s) the bytes are fetched and
   * decoded off the main thread; from disk (no fetch there) the picture
   * comes through an <img> that is let go once copied. Engines without
   * createImageBitmap show the <img> elements themselves.
   */
  function ImageCache(doc, base) {
    this.doc = doc;
    this.win = doc.defaultView;
    this.base = base;
    this.map = new Map();
    this.bitmaps = typeof this.win.createImageBitmap === 'function' && canDraw(doc);
    // Decoding from an <img> blocks the page; preloads wait for a still stage.
    this.whenStill = function () {
      return Promise.resolve();
    };
  }

  function canDraw(doc) {
    try {
      return !!doc.createElement('canvas').getContext('2d');
    } catch (e) {
      return false;
    }
  }

  ImageCache.prototype = {
    // The decoded picture { width, height, bitmap | img } or null; urgent
    // pictures (the one the show waits for) skip the wait for a still stage.
    get: function (url, urgent) {
      var self = this;
      var entry = this.entry(url);
      if (entry.decoded || urgent) return this.decode(entry);
      return entry.loaded.then(function (source) {
        if (entry.decoded || !source || !source.img || !self.bitmaps) return self.decode(entry);
        return self.whenStill().then(function () {
          return self.decode(entry);
        });
      });
    },
    entry: function (url) {
      var entry = this.map.get(url);
      if (!entry) {
        entry = { url: url, href: resolve(url, this.base), decoded: null, picture: null, dropped: false, img: null, abort: null };
        entry.loaded = this.load(entry);
        this.map.set(url, entry);
      }
      return entry;
    },
    load: function (entry) {
      var self = this;
      // The in-app preview plays while its pictures are still being
      // prepared; its page holds each picture back until it is there.
      var gate = this.win.lumetraPictureGate;
      if (typeof gate !== 'function') return this.fetchPicture(entry);
      return Promise.resolve(gate(entry.url)).then(function () {
        return entry.dropped ? null : self.fetchPicture(entry);
      });
    },
    fetchPicture: function (entry) {
      var self = this;
      if (!this.bitmaps || !this.fetchable(entry.href)) return this.loadImage(entry);
      var abort = this.win.AbortController ? new this.win.AbortController() : null;
      entry.abort = abort;
      return this.win.fetch(entry.href, { credentials: 'same-origin', signal: abort ? abort.signal : undefined })
        .then(function (r) {
          return r.ok ? r.blob() : null;
        })
        .then(function (blob) {
          return blob ? { blob: blob } : null;
        }, function () {
          // refused (a strict page policy, say): the picture may still come as an image
          return entry.dropped ? null : self.loadImage(entry);
        });
    },
    fetchable: function (href) {
      var loc = this.win.location;
      if (typeof this.win.fetch !== 'function' || !/^https?:/i.test(href)) return false;
      try {
        return new URL(href).origin === loc.origin;
      } catch (e) {
        return false;
      }
    },
    loadImage: function (entry) {
      var img = new this.win.Image();
      entry.img = img;
      var settled = new Promise(function (done) {
        img.onload = function () {
          done({ img: img });
        };
        img.onerror = function () {
          done(null);
        };
      });
      img.src = entry.href;
      return settled;
    },
    decode: function (entry) {
      var self = this;
      if (!entry.decoded) {
        entry.decoded = entry.loaded
          .then(function (source) {
            return source ? self.picture(entry, source) : null;
          })
          .then(function (picture) {
            if (picture && entry.dropped) release(picture); // let go while it was decoded
            else entry.picture = picture;
            return picture;
          });
      }
      return entry.decoded;
    },
    picture: function (entry, source) {
      var self = this;
      var win = this.win;
      function fromBitmap(bitmap) {
        return { width: bitmap.width, height: bitmap.height, bitmap: bitmap };
      }
      function asImage(img) {
        // decode() waits for the decoded bitmap, so a transition never shows a half-drawn picture
        var done = function () {
          return { width: img.naturalWidth, height: img.naturalHeight, img: img };
        };
        return img.decode ? img.decode().then(done, done) : done();
      }
      if (source.blob) {
        return win.createImageBitmap(source.blob).then(fromBitmap, function () {
          // a format the bitmap decoder refuses may still show as an image
          return self.loadImage(entry).then(function (s) {
            return s ? self.picture(entry, s) : null;
          });
        });
      }
      if (!this.bitmaps) return asImage(source.img);
      return win.createImageBitmap(source.img).then(function (bitmap) {
        forget(source.img);
        entry.img = null;
        return fromBitmap(bitmap);
      }, function () {
        return asImage(source.img);
      });
    },
    // Lets go of every picture whose address is not listed.
    keep: function (urls) {
      var self = this;
      this.map.forEach(function (entry, url) {
        if (urls.indexOf(url) >= 0) return;
        self.map.delete(url);
        entry.dropped = true;
        if (entry.abort) entry.abort.abort();
        if (entry.img) forget(entry.img);
        if (entry.picture) release(entry.picture);
      });
    }
  };

  function forget(img) {
    img.onload = img.onerror = null;
    img.removeAttribute('src');
  }

  function release(picture) {
    if (picture.bitmap) picture.bitmap.close();
    else if (picture.img) forget(picture.img);
  }

  function closed(picture) {
    return !!picture.bitmap && picture.bitmap.width === 0;
  }

  // The element that shows a picture on a layer: for a bitmap a canvas of
  // its own, drawn at its size on the screen (the compositor shrinks a
  // canvas without smoothing, the drawing does it well); otherwise a copy of
  // the decoded image.
  function pictureElement(doc, picture, place) {
    if (picture.bitmap) {
      var canvas = doc.createElement('canvas');
      canvas.lmtPicture = picture;
      canvas.lmtPlace = place;
      drawPicture(canvas, place);
      return Promise.resolve(canvas);
    }
    var copy = picture.img.cloneNode();
    var done = function () {
      return copy;
    };
    return copy.decode ? copy.decode().then(done, done) : Promise.resolve(copy);
  }

  /*
   * Draws a canvas as placed (Player.placement): its content, iw x ih
   * pixels covering the view's box (x, y, w, h) exactly, holds the picture
   * at (px, py, pw, ph) over the background colour, if any; around it a
   * transparent ring of one pixel. The compositors draw the edge of a turned
   * canvas without smoothing (and a second edge beneath it, such as the
   * layer's background, would show as a seam); with the ring, the edge is
   * smoothed like the picture's inside.
   */
  function drawPicture(canvas, place) {
    var u = place.w / place.iw;
    var v = place.h / place.ih;
    var st = canvas.style;
    st.left = place.x - u + 'px';
    st.top = place.y - v + 'px';
    st.width = place.w + 2 * u + 'px';
    st.height = place.h + 2 * v + 'px';
    var key = [place.iw, place.ih, place.px, place.py, place.pw, place.ph, place.background].join();
    if (canvas.lmtDrawn === key) return;
    canvas.width = place.iw + 2;
    canvas.height = place.ih + 2;
    var g = canvas.getContext('2d');
    g.save();
    g.beginPath();
    g.rect(1, 1, place.iw, place.ih);
    g.clip(); // a trimmed picture is larger than the stage
    if (place.background) {
      g.fillStyle = place.background;
      g.fillRect(1, 1, place.iw, place.ih);
    }
    g.imageSmoothingEnabled = true;
    g.imageSmoothingQuality = 'high';
    g.drawImage(canvas.lmtPicture.bitmap, 1 + place.px, 1 + place.py, place.pw, place.ph);
    g.restore();
    canvas.lmtDrawn = key;
  }

  /*
   * Where a picture's canvas goes in a view of size { w, h } and at how many
   * pixels it is drawn: its size on the screen (screen: device pixels per
   * view pixel, 0 while unknown), never beyond the picture's own pixels. A
   * slide without motion gets a canvas of the whole stage with the picture
   * over the slide's background (fitted whole and centred, or covering the
   * stage for "trim"); a slide whose picture moves gets a canvas of the
   * picture alone, which the motion zooms and turns over the layer's
   * background, drawn larger while it zooms in from over 100 % (entering).
   */
  function placePicture(view, slide, picture, screen, reduced, entering) {
    var W = view.w;
    var H = view.h;
    var fit = (slide.trim ? Math.max : Math.min)(W / picture.width, H / picture.height);
    var w = picture.width * fit;
    var h = picture.height * fit;
    var mo = slide.motion;
    var moves = !!mo && mo.duration > 0 && !reduced && (mo.zoom !== 100 || mo.rotation !== 0);
    var zoom = entering && moves && mo.zoom > 100 ? mo.zoom / 100 : 1;
    var k = screen > 0 ? Math.min(1, fit * screen * zoom) : 1; // drawn pixels per picture pixel
    if (moves) {
      var iw = Math.max(1, Math.round(picture.width * k));
      var ih = Math.max(1, Math.round(picture.height * k));
      return { moves: true, x: (W - w) / 2, y: (H - h) / 2, w: w, h: h, iw: iw, ih: ih, px: 0, py: 0, pw: iw, ph: ih, background: null };
    }
    var c = k / fit; // drawn pixels per view pixel
    return {
      moves: false, x: 0, y: 0, w: W, h: H,
      iw: Math.max(1, Math.round(W * c)), ih: Math.max(1, Math.round(H * c)),
      px: ((W - w) / 2) * c, py: ((H - h) / 2) * c, pw: w * c, ph: h * c,
      background: slide.background && slide.backgroundAlpha > 0 ? rgba(slide.background, slide.backgroundAlpha) : null
    };
  }

  // Empties what a retired layer (or a picture element) shows, so its pixels go at once.
  function emptyLayer(root) {
    var all = Array.prototype.slice.call(root.querySelectorAll('canvas,img'));
    if (/^(CANVAS|IMG)$/.test(root.tagName)) all.push(root);
    all.forEach(function (e) {
      if (e.tagName === 'IMG') {
        forget(e);
      } else {
        e.width = 0;
        e.height = 0;
        e.lmtPicture = null;
      }
    });
  }

  // ------------------------------------------------------------------ player

  var players = [];

  function Player(stage, xmlSource) {
    var doc = stage.ownerDocument;
    var win = doc.defaultView || global;
    this.doc = doc;
    this.win = win;
    this.stage = stage;
    this.xmlSource = xmlSource;
    this.t = texts(win.navigator && (win.navigator.languages && win.navigator.languages[0] || win.navigator.language));
    this.size = stageSize(stage);
    this.layers = [];
    this.running = null;
    this.stillWaiters = [];
    this.showToken = 0;
    this.music = { audio: null, started: false, muted: false };
    this.barTimer = 0;
    installStyle(doc);
    this.prepareStage();
  }

  function stageSize(stage) {
    function px(v) {
      var n = parseFloat(v);
      return isFinite(n) && n > 0 && !/%/.test(String(v)) ? n : 0;
    }
    var w = px(stage.getAttribute('data-width')) || px(stage.style.width) || px(stage.getAttribute('width')) || stage.clientWidth || 640;
    var h = px(stage.getAttribute('data-height')) || px(stage.style.height) || px(stage.getAttribute('height')) || stage.clientHeight || 480;
    return { w: Math.round(w), h: Math.round(h) };
  }

  // The height of the visible window, without a horizontal scroll bar.
  function viewportHeight(win) {
    var doc = win.document;
    var h = win.innerHeight || 0;
    var root = doc.documentElement;
    if (doc.compatMode === 'CSS1Compat' && root && root.clientHeight > 0) h = h ? Math.min(h, root.clientHeight) : root.clientHeight;
    return h;
  }

  function installStyle(doc) {
    if (doc.querySelector('style[data-lumetra-player]')) return;
    var style = el(doc, 'style');
    style.setAttribute('data-lumetra-player', VERSION);
    style.textContent = CSS;
    (doc.head || doc.documentElement).appendChild(style);
  }

  Player.prototype = {
    prepareStage: function () {
      var s = this.stage;
      var doc = this.doc;
      s.classList.add('lmt-stage');
      s.setAttribute('role', 'region');
      s.setAttribute('aria-roledescription', this.t.region);
      s.setAttribute('aria-label', this.t.region);
      if (!s.hasAttribute('tabindex')) s.tabIndex = 0;
      // Width auto fills the container; the strut gives the stage the show's
      // width as its natural width (tables, floats, centring flex boxes) and
      // none as its least (a narrow flex column may shrink it).
      s.style.width = 'auto';
      s.style.height = 'auto';
      s.style.aspectRatio = this.size.w + ' / ' + this.size.h;
      var strut = doc.createElementNS(SVG_NS, 'svg');
      strut.setAttribute('class', 'lmt-strut');
      strut.setAttribute('width', String(this.size.w));
      strut.setAttribute('aria-hidden', 'true');
      strut.setAttribute('focusable', 'false');
      s.appendChild(strut);
      this.view = el(doc, 'div', 'lmt-view');
      this.view.style.width = this.size.w + 'px';
      this.view.style.height = this.size.h + 'px';
      this.veil = el(doc, 'div', 'lmt-veil');
      this.linkBox = el(doc, 'div', 'lmt-links');
      this.view.appendChild(this.veil);
      this.view.appendChild(this.linkBox);
      this.live = el(doc, 'div', 'lmt-live');
      this.live.setAttribute('aria-live', 'polite');
      s.appendChild(this.view);
      s.appendChild(this.live);
      this.fit();
      this.layout();
      var self = this;
      this.win.addEventListener('resize', function () {
        self.fit();
        self.layout();
      });
      if (this.win.ResizeObserver) {
        new this.win.ResizeObserver(function () {
          self.layout();
        }).observe(s);
      }
    },

    // The stage keeps the show's proportions within the width of its
    // container and the height of the window, never larger than the show's
    // size; in fullscreen the style sheet lets it fill the screen.
    fit: function () {
      var w = this.size.w;
      var vh = viewportHeight(this.win);
      // rounded down, so the height that follows from the proportions never passes the window's
      var limit = vh > 0 ? Math.floor(((vh * w) / this.size.h) * 100) / 100 : w;
      this.stage.style.maxWidth = Math.min(w, limit) + 'px';
    },

    // The view keeps the show's pixels; it is scaled to the stage's box.
    layout: function () {
      var cw = this.stage.clientWidth;
      var full = this.doc.fullscreenElement || this.doc.webkitFullscreenElement;
      var css = this.win.CSS;
      if (full !== this.stage && !(css && css.supports && css.supports('aspect-ratio', '1 / 1'))) {
        this.stage.style.height = (cw * this.size.h) / this.size.w + 'px'; // engines without aspect-ratio
      }
      var ch = this.stage.clientHeight;
      if (!cw || !ch) return;
      var k = Math.min(cw / this.size.w, ch / this.size.h);
      var x = (cw - this.size.w * k) / 2;
      var y = (ch - this.size.h * k) / 2;
      this.view.style.transform = 'translate(' + x + 'px,' + y + 'px) scale(' + k + ')';
      // a new scale or pixel density (browser zoom) wants the pictures drawn anew
      var dpr = this.win.devicePixelRatio || 1;
      var changed = this.scale !== k || this.dpr !== dpr;
      this.scale = k;
      this.dpr = dpr;
      if (changed) this.repaintSoon();
      var list = this.stage.classList;
      list.toggle('lmt-compact', cw < 300 || ch < 150);
      list.toggle('lmt-mini', cw < 200 || ch < 100);
      list.toggle('lmt-micro', cw < 120);
      if (this.big) {
        // the play symbol grows with the stage, within finger-friendly bounds
        var d = Math.round(clamp(Math.min(cw, ch) * 0.2, 36, 96)) + 'px';
        this.big.style.width = this.big.style.height = d;
      }
    },

    placement: function (slide, picture, entering) {
      var screen = this.scale ? this.scale * (this.win.devicePixelRatio || 1) : 0;
      return placePicture(this.size, slide, picture, screen, this.reducedMotion(), entering);
    },

    reducedMotion: function () {
      return !!(this.win.matchMedia && this.win.matchMedia('(prefers-reduced-motion: reduce)').matches);
    },

    // Draws the pictures again for the stage's present size, once a resize
    // has settled and no transition runs.
    repaintSoon: function () {
      var self = this;
      this.win.clearTimeout(this.repaintTimer);
      this.repaintTimer = this.win.setTimeout(function () {
        if (self.running) return; // the transition's end repaints
        self.repaint();
      }, 120);
    },

    repaint: function () {
      var self = this;
      this.layers.forEach(function (layer) {
        var canvas = layer.querySelector('canvas');
        var picture = canvas && canvas.lmtPicture;
        if (!picture || closed(picture)) return;
        canvas.lmtPlace = self.placement(layer.lmtSlide, picture, false);
        drawPicture(canvas, canvas.lmtPlace);
      });
    },

    load: function () {
      var self = this;
      if (!this.xmlSource) return this.fail(new ShowError('source'));
      var inline = findInlineBlock(this.doc, this.xmlSource);
      if (inline !== null) return this.begin(inline);
      var req = new this.win.XMLHttpRequest();
      try {
        req.open('GET', resolve(this.xmlSource, this.doc.baseURI));
        req.overrideMimeType('text/xml; charset=utf-8');
        req.onload = function () {
          if ((req.status === 200 || req.status === 0) && req.responseText) self.begin(req.responseText);
          else self.fail(new ShowError('load', self.xmlSource + ' (' + req.status + ')'));
        };
        req.onerror = function () {
          self.fail(new ShowError('load', self.xmlSource));
        };
        req.send();
      } catch (e) {
        this.fail(new ShowError('load', this.xmlSource));
      }
    },

    begin: function (text) {
      try {
        this.model = parseShowText(text, this.win.DOMParser);
      } catch (e) {
        return this.fail(e instanceof ShowError ? e : new ShowError('format', String(e && e.message)));
      }
      var self = this;
      this.cache = new ImageCache(this.doc, this.doc.baseURI);
      this.cache.whenStill = function () {
        return self.whenStill();
      };
      this.pictures = pictureNumbers(this.model);
      var first = this.model.slides[0];
      if (first.background && first.backgroundAlpha > 0) this.stage.style.backgroundColor = rgba(first.background, first.backgroundAlpha);
      this.buildControls();
      this.seq = new Sequencer(this.model, clock, this, function () {
        self.sync();
      });
      this.doc.addEventListener('visibilitychange', function () {
        self.seq.setHidden(self.doc.hidden);
        self.musicVisibility();
      });
      this.seq.hidden = !!this.doc.hidden;
      this.seq.start(0);
      if (!first.pause) this.startMusic();
      this.stage.dispatchEvent(new this.win.CustomEvent('lumetra:ready', { detail: { slides: this.model.slides.length } }));
    },

    fail: function (error) {
      var notice = el(this.doc, 'div', 'lmt-notice');
      notice.setAttribute('role', 'alert');
      notice.textContent = this.t.failed;
      this.stage.appendChild(notice);
      this.error = error;
      if (this.win.console) this.win.console.warn('Lumetra player: ' + error.message);
      this.stage.dispatchEvent(new this.win.CustomEvent('lumetra:error', { detail: { code: error.code } }));
    },

    // --------------------------------------------------------- slide display

    // Called by the sequencer: decode the picture, then bring slide i in.
    show: function (i, done) {
      var self = this;
      var slide = this.model.slides[i];
      var token = ++this.showToken;
      var spinner = this.win.setTimeout(function () {
        self.spinner(true);
      }, SPINNER_DELAY_MS);
      function attempt(again) {
        return self.cache.get(slide.url, true).then(function (picture) {
          if (token !== self.showToken || !picture) return null;
          // let go by a newer slide's preloading meanwhile: decode it once more
          if (closed(picture)) return again ? attempt(false) : null;
          return pictureElement(self.doc, picture, self.placement(slide, picture, true));
        });
      }
      attempt(true)
        .then(function (element) {
          self.win.clearTimeout(spinner);
          if (token !== self.showToken) {
            if (element) emptyLayer(element);
            return;
          }
          self.spinner(false);
          self.enter(i, element);
          done();
          self.stage.dispatchEvent(new self.win.CustomEvent('lumetra:slide', { detail: { index: i } }));
          self.preload(i);
        })
        .catch(function (e) {
          if (self.win.console) self.win.console.warn('Lumetra player: ' + e);
        });
    },

    enter: function (i, element) {
      var slide = this.model.slides[i];
      var reduced = this.reducedMotion();
      var type = reduced && slide.transition.type !== 'none' ? 'dissolve' : slide.transition.type;
      var keep = !slide.purge || slide.transition.stack;
      this.finishTransition();
      var old = this.layers.length ? this.layers[this.layers.length - 1] : null;
      var layer = this.buildLayer(slide, element);
      var plan = transitionPlan(type, slide.transition.stack, !keep && slide.backgroundAlpha < 100);
      if (plan.oldOnTop && old) this.view.insertBefore(layer, old);
      else this.view.insertBefore(layer, this.veil);
      this.layers.push(layer);
      var ms = slide.transition.duration * 1000;
      var anims = [];
      var self = this;
      if (old && ms > 0) {
        anims.push(animate(layer, plan.nu, ms, plan.easing, plan.nuOrigin));
        anims.push(animate(old, plan.old, ms, plan.easing, plan.oldOrigin));
        if (plan.veil) {
          this.veil.style.background = plan.veil;
          anims.push(animate(this.veil, [{ opacity: 0 }, { opacity: 1, offset: 0.5 }, { opacity: 0 }], ms, 'ease-in-out'));
        }
      } else if (ms > 0 && type !== 'none') {
        // first picture: nothing to leave, it simply comes in
        anims.push(animate(layer, plan.nu, ms, plan.easing, plan.nuOrigin));
      }
      var mo = slide.motion;
      if (mo && !reduced && mo.duration > 0 && (mo.zoom !== 100 || mo.rotation !== 0)) {
        var from = 'scale(' + mo.zoom / 100 + ') rotate(' + mo.rotation + 'deg)';
        anims.push(animate(layer.firstChild, frames(from, 'scale(1) rotate(0deg)'), mo.duration * 1000, 'cubic-bezier(.2,.6,.3,1)'));
      }
      anims = anims.filter(Boolean);
      var running = {
        anims: anims,
        done: false,
        end: function () {
          if (running.done) return;
          running.done = true;
          anims.forEach(function (a) {
            a.cancel();
          });
          [layer, old, self.veil].forEach(function (e) {
            if (e) e.style.transformOrigin = '';
          });
          if (plan.oldOnTop && old && old.parentNode) self.view.insertBefore(old, layer);
          self.settleLayers(keep);
          if (self.running === running) {
            self.running = null;
            self.repaint(); // a motion's zoom is over: the picture's size on the screen
            self.stillNow();
          }
        }
      };
      this.running = running;
      if (!anims.length) running.end();
      else {
        Promise.all(anims.map(function (a) {
          return a.finished;
        })).then(running.end, function () {});
      }
      this.showLinks(slide);
      this.announce(i, slide);
    },

    // After a transition: drop what the slide lets go, keep a few underneath.
    settleLayers: function (keep) {
      var layers = this.layers;
      var drop = keep ? Math.max(0, layers.length - MAX_LAYERS) : layers.length - 1;
      layers.splice(0, drop).forEach(function (l) {
        if (l.parentNode) l.parentNode.removeChild(l);
        emptyLayer(l);
      });
    },

    // Resolves once no transition runs (at once when none does).
    whenStill: function () {
      var self = this;
      if (!this.running) return Promise.resolve();
      return new Promise(function (done) {
        self.stillWaiters.push(done);
      });
    },

    stillNow: function () {
      var waiters = this.stillWaiters;
      this.stillWaiters = [];
      waiters.forEach(function (done) {
        done();
      });
    },

    finishTransition: function () {
      if (this.running) this.running.end();
    },

    buildLayer: function (slide, element) {
      var doc = this.doc;
      var layer = el(doc, 'div', 'lmt-layer' + (slide.trim ? ' lmt-trim' : ''));
      layer.lmtSlide = slide;
      // a still picture's canvas holds the background itself
      var drawn = element && element.lmtPlace && !element.lmtPlace.moves;
      if (slide.background && slide.backgroundAlpha > 0 && !drawn) layer.style.backgroundColor = rgba(slide.background, slide.backgroundAlpha);
      var pic = el(doc, 'div', 'lmt-pic');
      if (element) {
        element.setAttribute('data-url', slide.url);
        if (element.tagName === 'IMG') {
          element.alt = this.altText(slide);
          element.draggable = false;
        } else {
          element.setAttribute('role', 'img');
          element.setAttribute('aria-label', this.altText(slide));
        }
        pic.appendChild(element);
      } else {
        pic.setAttribute('role', 'img');
        pic.setAttribute('aria-label', this.altText(slide) + ' (' + this.t.missing + ')');
      }
      layer.appendChild(pic);
      var w = this.size.w;
      var h = this.size.h;
      function place(e, b) {
        e.style.left = b.x + 'px';
        e.style.top = b.y + 'px';
        e.style.width = (b.width === null ? w - b.x : b.width) + 'px';
        e.style.height = (b.height === null ? h - b.y : b.height) + 'px';
        layer.appendChild(e);
      }
      slide.rects.forEach(function (r) {
        var e = el(doc, 'div', 'lmt-rect');
        e.style.backgroundColor = rgba(r.fill, r.fillAlpha);
        if (r.lineWidth > 0 && r.lineAlpha > 0) e.style.border = r.lineWidth + 'px solid ' + rgba(r.line, r.lineAlpha);
        place(e, r);
      });
      slide.texts.forEach(function (t) {
        var e = el(doc, 'div', 'lmt-text');
        e.textContent = t.text;
        e.style.fontSize = t.size + 'px';
        e.style.fontWeight = t.bold ? '700' : '400';
        e.style.textAlign = t.align;
        e.style.color = t.color;
        e.setAttribute('aria-hidden', 'true'); // announced through the live region
        place(e, t);
      });
      return layer;
    },

    altText: function (slide) {
      var title = slide.texts.length ? slide.texts[0].text.trim() : '';
      return title || fileTitle(slide.url);
    },

    showLinks: function (slide) {
      var doc = this.doc;
      var box = this.linkBox;
      var w = this.size.w;
      var h = this.size.h;
      while (box.firstChild) box.removeChild(box.firstChild);
      slide.links.forEach(function (l) {
        var a = el(doc, 'a');
        a.href = l.url;
        if (l.blank) {
          a.target = '_blank';
          a.rel = 'noopener';
        }
        a.setAttribute('aria-label', l.url);
        a.style.left = l.x + 'px';
        a.style.top = l.y + 'px';
        a.style.width = (l.width === null ? w - l.x : l.width) + 'px';
        a.style.height = (l.height === null ? h - l.y : l.height) + 'px';
        box.appendChild(a);
      });
    },

    announce: function (i, slide) {
      var n = this.pictures.of[i];
      if (n === this.announced) return;
      this.announced = n;
      var caption = slide.texts
        .map(function (t) {
          return t.text.replace(/\s+/g, ' ').trim();
        })
        .filter(Boolean)
        .join('. ');
      this.live.textContent = caption;
    },

    spinner: function (on) {
      if (on && !this.spin) {
        this.spin = el(this.doc, 'div', 'lmt-spin');
        this.spin.setAttribute('aria-hidden', 'true');
        this.stage.appendChild(this.spin);
      } else if (!on && this.spin) {
        this.stage.removeChild(this.spin);
        this.spin = null;
      }
    },

    // Decode the pictures the show may go to next; forget the others. The
    // files load one after the other, nearest first, while the transition
    // runs; a newer slide takes over the queue.
    preload: function (i) {
      var model = this.model;
      var urls = [model.slides[i].url];
      var j = i;
      for (var step = 0; step < 8 && urls.length <= PRELOAD_AHEAD; step++) {
        j = nextOf(model, j);
        if (j === null) break;
        if (urls.indexOf(model.slides[j].url) < 0) urls.push(model.slides[j].url);
      }
      [forwardOf(model, i), backwardOf(model, i)].forEach(function (k) {
        if (urls.indexOf(model.slides[k].url) < 0) urls.push(model.slides[k].url);
      });
      this.cache.keep(urls);
      var self = this;
      var round = (this.preloadRound = (this.preloadRound || 0) + 1);
      var current = function () {
        return round === self.preloadRound;
      };
      var loads = Promise.resolve();
      var decodes = Promise.resolve();
      urls.forEach(function (url) {
        var loaded = (loads = loads.then(function () {
          return current() ? self.cache.entry(url).loaded : null;
        }));
        decodes = Promise.all([decodes, loaded]).then(function () {
          return current() ? self.cache.get(url, false) : null;
        });
      });
      decodes.catch(function () {});
    },

    // ---------------------------------------------------------------- controls

    buildControls: function () {
      var self = this;
      var doc = this.doc;
      var t = this.t;
      var model = this.model;
      function button(name, action, parent) {
        var b = el(doc, 'button', 'lmt-' + name);
        b.type = 'button';
        b.addEventListener('click', function (e) {
          e.stopPropagation();
          action();
          self.startMusic();
        });
        (parent || bar).appendChild(b);
        return b;
      }
      this.big = button('big', function () {
        self.seq.play();
      }, this.stage);
      this.big.setAttribute('aria-label', t.start);
      this.big.appendChild(icon(doc, 'play'));
      var bar = (this.bar = el(doc, 'div', 'lmt-bar'));
      if (model.bar === 'off') bar.style.display = 'none';
      this.btnPrev = button('prev', function () {
        self.seq.prev();
      });
      this.btnPlay = button('play', function () {
        self.seq.toggle();
      });
      this.btnNext = button('next', function () {
        self.seq.next();
      });
      this.count = el(doc, 'div', 'lmt-count');
      this.count.setAttribute('aria-hidden', 'true');
      bar.appendChild(this.count);
      if (model.volume && model.music) {
        this.btnMute = button('mute', function () {
          self.toggleMute();
        });
      }
      var canFull = doc.fullscreenEnabled || doc.webkitFullscreenEnabled;
      if (canFull) {
        this.btnFull = button('full', function () {
          self.toggleFullscreen();
        });
      }
      this.setButton(this.btnPrev, 'prev');
      this.setButton(this.btnNext, 'next');
      this.stage.appendChild(bar);
      if (model.bar === 'on') bar.classList.add('lmt-on');
      this.bindInput();
      if (model.music) this.prepareMusic();
      this.layout();
    },

    setButton: function (b, name) {
      if (!b || b.getAttribute('data-state') === name) return;
      b.setAttribute('data-state', name);
      b.setAttribute('aria-label', this.t[name]);
      b.title = this.t[name] + ' (' + KEY_HINTS[name] + ')';
      while (b.firstChild) b.removeChild(b.firstChild);
      b.appendChild(icon(this.doc, name));
    },

    // Mirrors the sequencer's state in the bar and the big play symbol.
    sync: function () {
      var st = this.seq.state();
      var showingPlay = !st.playing;
      this.setButton(this.btnPlay, showingPlay ? 'play' : 'pause');
      this.big.style.display = st.shown && !st.playing && !st.ended ? 'block' : 'none';
      this.count.textContent = this.pictures.of[st.index] + 1 + ' / ' + this.pictures.count;
      this.stage.setAttribute('aria-label', this.t.region + ', ' +
        this.t.counter.replace('%1', this.pictures.of[st.index] + 1).replace('%2', this.pictures.count));
      this.syncMute();
      var full = this.doc.fullscreenElement || this.doc.webkitFullscreenElement;
      this.setButton(this.btnFull, full === this.stage ? 'exitFull' : 'full');
    },

    revealBar: function (ms) {
      var self = this;
      if (this.model.bar !== 'auto') return;
      this.bar.classList.add('lmt-on');
      this.win.clearTimeout(this.barTimer);
      this.barTimer = this.win.setTimeout(function () {
        if (self.bar.contains(self.doc.activeElement) || self.pointerOnBar) return;
        self.bar.classList.remove('lmt-on');
      }, ms || BAR_IDLE_MS);
    },

    key: function (e) {
      if (e.altKey || e.ctrlKey || e.metaKey) return false;
      var k = e.key;
      if (k === 'ArrowRight') this.seq.next();
      else if (k === 'ArrowLeft') this.seq.prev();
      else if (k === ' ' || k === 'Spacebar') this.seq.toggle();
      else if (k === 'f' || k === 'F') this.toggleFullscreen();
      else if (k === 'm' || k === 'M') this.toggleMute();
      else return false;
      e.preventDefault();
      this.startMusic();
      this.revealBar();
      return true;
    },

    bindInput: function () {
      var self = this;
      var s = this.stage;
      var touch = null;
      var swiped = false;
      s.addEventListener('keydown', function (e) {
        if (e.target !== s && e.target.tagName === 'BUTTON' && (e.key === ' ' || e.key === 'Enter')) return;
        if (self.key(e)) e.stopPropagation();
      });
      s.addEventListener('pointermove', function (e) {
        if (e.pointerType !== 'touch') self.revealBar();
      });
      s.addEventListener('pointerleave', function (e) {
        if (e.pointerType !== 'touch') self.revealBar(400);
      });
      this.bar.addEventListener('pointerenter', function () {
        self.pointerOnBar = true;
      });
      this.bar.addEventListener('pointerleave', function () {
        self.pointerOnBar = false;
      });
      s.addEventListener('focusin', function () {
        self.revealBar();
      });
      s.addEventListener('pointerdown', function (e) {
        swiped = false;
        touch = e.pointerType === 'touch' ? { x: e.clientX, y: e.clientY, t: Date.now() } : null;
      });
      s.addEventListener('pointerup', function (e) {
        if (!touch || e.pointerType !== 'touch') return;
        var dx = e.clientX - touch.x;
        var dy = e.clientY - touch.y;
        var min = Math.max(30, s.clientWidth * 0.08);
        if (Math.abs(dx) > min && Math.abs(dx) > 1.5 * Math.abs(dy) && Date.now() - touch.t < 1000) {
          swiped = true;
          if (dx < 0) self.seq.next();
          else self.seq.prev();
          self.startMusic();
        }
        touch = null;
      });
      s.addEventListener('click', function (e) {
        if (swiped || e.target.closest('a,button')) return;
        if (!self.seq.playing && !self.seq.ended) self.seq.play();
        self.startMusic();
        self.revealBar(3000);
      });
      // With one show on the page, keys pressed outside any control reach it.
      this.doc.addEventListener('keydown', function (e) {
        var active = players.filter(function (p) {
          return p.seq && p.doc === self.doc;
        });
        var target = e.target;
        if (active.length !== 1 || active[0] !== self || e.defaultPrevented) return;
        if (target !== self.doc.body && target !== self.doc.documentElement) return;
        self.key(e);
      });
      ['fullscreenchange', 'webkitfullscreenchange'].forEach(function (name) {
        self.doc.addEventListener(name, function () {
          self.layout();
          self.sync();
        });
      });
    },

    toggleFullscreen: function () {
      var doc = this.doc;
      var s = this.stage;
      var current = doc.fullscreenElement || doc.webkitFullscreenElement;
      var p;
      try {
        if (current === s) p = (doc.exitFullscreen || doc.webkitExitFullscreen).call(doc);
        else if (s.requestFullscreen || s.webkitRequestFullscreen) p = (s.requestFullscreen || s.webkitRequestFullscreen).call(s);
      } catch (e) {
        p = null;
      }
      if (p && p.catch) p.catch(function () {});
    },

    // ------------------------------------------------------------------ music

    prepareMusic: function () {
      var self = this;
      var audio = el(this.doc, 'audio');
      audio.preload = 'auto';
      audio.loop = this.model.music.loop;
      audio.src = resolve(this.model.music.url, this.doc.baseURI);
      this.music.audio = audio;
      // Browsers allow sound only after the visitor did something on the page.
      var first = function () {
        self.startMusic();
      };
      ['pointerdown', 'keydown'].forEach(function (name) {
        self.doc.addEventListener(name, first, { capture: true });
      });
      this.music.unbind = function () {
        ['pointerdown', 'keydown'].forEach(function (name) {
          self.doc.removeEventListener(name, first, { capture: true });
        });
      };
    },

    startMusic: function () {
      var m = this.music;
      var self = this;
      if (!m.audio || m.started || m.muted || m.trying || this.doc.hidden) return;
      m.trying = true;
      var done = function (ok) {
        m.trying = false;
        m.started = ok;
        if (ok && m.unbind) m.unbind();
        self.syncMute();
      };
      try {
        var p = m.audio.play();
        if (p && p.then) p.then(function () {
          done(true);
        }, function () {
          done(false);
        });
        else done(true);
      } catch (e) {
        done(false);
      }
    },

    toggleMute: function () {
      var m = this.music;
      if (!m.audio) return;
      if (!m.started && !m.muted) {
        this.startMusic();
        return;
      }
      m.muted = !m.muted;
      m.audio.muted = m.muted;
      if (!m.muted) this.startMusic();
      this.syncMute();
    },

    syncMute: function () {
      var m = this.music;
      // Until the music really plays, the button shows the muted state.
      this.setButton(this.btnMute, m.started && !m.muted ? 'mute' : 'unmute');
    },

    musicVisibility: function () {
      var a = this.music.audio;
      if (!a || !this.music.started) return;
      if (this.doc.hidden) a.pause();
      else if (!this.music.muted) {
        var p = a.play();
        if (p && p.catch) p.catch(function () {});
      }
    },

    // -------------------------------------------------------------- test hooks

    state: function () {
      var st = this.seq ? this.seq.state() : { index: -1 };
      st.error = this.error ? this.error.code : null;
      return st;
    },

    // alive: distinct pictures held decoded by the cache or shown on a layer;
    // bitmaps: the cache's open ImageBitmaps; drawn: canvases with pixels
    stats: function () {
      var urls = [];
      if (this.cache) {
        this.cache.map.forEach(function (entry, url) {
          if (entry.picture) urls.push(url);
        });
      }
      var open = urls.length;
      this.layers.forEach(function (l) {
        var e = l.querySelector('[data-url]');
        if (e && urls.indexOf(e.getAttribute('data-url')) < 0) urls.push(e.getAttribute('data-url'));
      });
      var drawn = Array.prototype.filter.call(this.stage.querySelectorAll('canvas'), function (c) {
        return c.width > 0;
      }).length;
      return { cached: this.cache ? this.cache.map.size : 0, layers: this.layers.length, alive: urls.length,
        bitmaps: this.cache && this.cache.bitmaps ? open : 0, drawn: drawn };
    },

    play: function () {
      this.seq.play();
    },
    pause: function () {
      this.seq.pause();
    },
    next: function () {
      this.seq.next();
    },
    prev: function () {
      this.seq.prev();
    }
  };

  // Animates with the Web Animations API; engines without it jump to the end.
  function animate(target, keyframes, ms, easing, origin) {
    if (!target || !keyframes || typeof target.animate !== 'function') return null;
    if (origin) target.style.transformOrigin = origin;
    return target.animate(keyframes, { duration: ms, easing: easing || 'linear', fill: 'both' });
  }

  // The inline copy of the description for this xml_source, or null.
  function findInlineBlock(doc, xmlSource) {
    var base = doc.baseURI;
    var wanted = resolve(xmlSource, base);
    var blocks = Array.prototype.slice.call(doc.querySelectorAll('script[type="application/xml"]'));
    var match = blocks.filter(function (b) {
      var key = b.getAttribute('data-xml-source');
      if (key === null) return false;
      var inner = queryParam(key, 'xml_source');
      return resolve(inner !== null ? inner : key, base) === wanted;
    })[0];
    // A page with a single unlabelled block means it for its show.
    if (!match && blocks.length === 1 && !blocks[0].hasAttribute('data-xml-source')) match = blocks[0];
    return match ? match.textContent : null;
  }

  function findStage(script) {
    var doc = script.ownerDocument;
    var prev = script.previousElementSibling;
    if (prev && prev.tagName !== 'SCRIPT' && !prev.classList.contains('lmt-stage')) return prev;
    var stage = el(doc, 'div', 'lumetra-stage');
    script.parentNode.insertBefore(stage, script);
    return stage;
  }

  function boot(script) {
    if (!script || !script.parentNode) return null;
    var player = new Player(findStage(script), queryParam(script.getAttribute('src'), 'xml_source'));
    players.push(player);
    var doc = script.ownerDocument;
    if (doc.readyState === 'loading') {
      doc.addEventListener('DOMContentLoaded', function () {
        player.load();
      });
    } else {
      player.load();
    }
    return player;
  }

  // Jumps the player clock and the running transitions forward (tests).
  function skip(ms) {
    players.forEach(function (p) {
      var r = p.running;
      if (!r) return;
      r.anims.forEach(function (a) {
        var end = a.effect.getComputedTiming().endTime;
        a.currentTime = Math.min(end, (a.currentTime || 0) + ms);
      });
      if (r.anims.every(function (a) {
        return a.currentTime >= a.effect.getComputedTiming().endTime;
      })) r.end();
    });
    clock.skip(ms);
  }

  var api = {
    version: VERSION,
    players: players,
    boot: boot,
    skip: skip,
    parseShow: parseShow,
    parseShowText: parseShowText,
    ShowError: ShowError,
    nextOf: nextOf,
    forwardOf: forwardOf,
    backwardOf: backwardOf,
    pictureNumbers: pictureNumbers,
    Sequencer: Sequencer,
    transitionPlan: transitionPlan,
    placePicture: placePicture,
    queryParam: queryParam,
    findInlineBlock: findInlineBlock,
    texts: texts
  };

  if (typeof module === 'object' && module && module.exports && typeof window === 'undefined') {
    module.exports = api;
  } else if (global && global.document) {
    // Several shows may load this file (as name.js each); one namespace serves all.
    var ns = global.LumetraPlayer || (global.LumetraPlayer = api);
    ns.boot(global.document.currentScript);
  }
})(typeof window !== 'undefined' ? window : this);
