/*
 * Page side of tools/memory.js, the same for every engine: steps the first
 * player of the page through its slides as fast as they decode, finishing
 * each transition, and stops after the first picture and every `every`
 * steps until the host has read the renderer's memory.
 *
 * The host sees `lmt-measure <step>` on the console, reads the memory and
 * calls lmtMeasure.ack(<step>); `lmt-measure done` ends the run. Plain
 * ES2017, so it also runs in Chromium 102 (Qt WebEngine 6.4).
 */
(function () {
  'use strict';

  function frame() {
    return new Promise(function (done) {
      requestAnimationFrame(function () {
        done();
      });
    });
  }

  function until(test) {
    return new Promise(function (done) {
      (function poll() {
        if (test()) done();
        else setTimeout(poll, 5);
      })();
    });
  }

  // The transitions run as Web Animations; finished at once, the player tidies up.
  async function settle() {
    var anims = document.getAnimations();
    anims.forEach(function (a) {
      a.finish();
    });
    await frame();
    await frame();
  }

  var measure = {
    acked: -1,
    ack: function (step) {
      this.acked = step;
    },
    report: async function (step) {
      console.log('lmt-measure ' + step);
      await until(function () {
        return measure.acked >= step;
      });
    },
    run: async function (steps, every) {
      await until(function () {
        var ns = window.LumetraPlayer;
        return ns && ns.players[0] && ns.players[0].seq && ns.players[0].state().shown;
      });
      var player = window.LumetraPlayer.players[0];
      var arrived = 0;
      player.stage.addEventListener('lumetra:slide', function () {
        arrived++;
      });
      player.pause(); // only the steps move the show
      await settle();
      await measure.report(0);
      for (var step = 1; step <= steps; step++) {
        var before = arrived;
        player.next();
        await until(function () {
          return arrived > before;
        });
        await settle();
        if (step % every === 0 || step === steps) await measure.report(step);
      }
      console.log('lmt-measure done');
    }
  };
  window.lmtMeasure = measure;
})();
