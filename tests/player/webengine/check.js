/*
 * Run by lumetra-webengine-host inside the page: waits for the first
 * picture, measures the stage against the window, steps through the show's
 * slides (finishing each transition) and reports
 *   lmt-result {"win":…,"stage":…,"slides":[…],"pictures":…}
 * then lmt-done. Plain ES2017 for Chromium 102.
 */
(function () {
  'use strict';
  function until(test) {
    return new Promise(function (done) {
      (function poll() {
        if (test()) done();
        else setTimeout(poll, 10);
      })();
    });
  }
  function frame() {
    return new Promise(function (done) {
      requestAnimationFrame(function () {
        done();
      });
    });
  }
  async function run() {
    await until(function () {
      var ns = window.LumetraPlayer;
      return ns && ns.players[0] && (ns.players[0].error || (ns.players[0].seq && ns.players[0].state().shown));
    });
    var p = window.LumetraPlayer.players[0];
    var result = { error: p.state().error, slides: [] };
    if (!result.error) {
      p.pause();
      var arrived = 0;
      p.stage.addEventListener('lumetra:slide', function () {
        arrived++;
      });
      var count = p.model.slides.length;
      for (var i = 0; i < count; i++) {
        document.getAnimations().forEach(function (a) {
          a.finish();
        });
        await frame();
        await frame();
        var r = p.stage.getBoundingClientRect();
        var canvas = p.layers[p.layers.length - 1].querySelector('canvas');
        result.slides.push({ index: p.state().index, canvas: !!canvas && canvas.width > 2, layers: p.layers.length });
        if (i === 0) {
          result.win = [innerWidth, innerHeight];
          result.stage = [r.left, r.top, r.width, r.height];
        }
        if (i + 1 < count) {
          var before = arrived;
          p.next();
          await until(function () {
            return arrived > before;
          });
        }
      }
      result.stats = p.stats();
    }
    console.log('lmt-result ' + JSON.stringify(result));
    console.log('lmt-done');
  }
  run();
})();
