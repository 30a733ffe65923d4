// The regime map's worker: this same script, started by the page as a Web Worker, runs
// the module without its main and computes the rows of the map the page hands it, one
// at a time, each sent back as the row's bytes. Rows that come before the module has
// loaded wait for it. Once loaded, the worker computes one row for itself: the browser
// compiles the module quickly first and optimises what runs hot, and a map that came
// before that ran about a fifth slower here. In the page itself this does nothing.
if (typeof WorkerGlobalScope !== 'undefined' && self instanceof WorkerGlobalScope) {
  (function () {
    'use strict';
    Module['noInitialRun'] = true;
    // The row computed at load: damping, static ratio and row of a map with every kind of
    // motion (about 15 ms).
    const warmUp = {zeta: 0.05, staticRatio: 1, row: 30};
    const waiting = [];
    let loaded = false;

    // message: {zeta, staticRatio, row}; the answer adds the row's bytes.
    function computeRow(message) {
      const pointer = Module['_fvComputeMapRow'](message.zeta, message.staticRatio, message.row);
      const bytes = HEAPU8.slice(pointer, pointer + Module['_fvMapRowBytes']());
      postMessage(Object.assign({bytes: bytes.buffer}, message), [bytes.buffer]);
    }

    self.onmessage = (event) => {
      if (loaded) {
        computeRow(event.data);
      } else {
        waiting.push(event.data);
      }
    };
    Module['onRuntimeInitialized'] = () => {
      Module['_fvComputeMapRow'](warmUp.zeta, warmUp.staticRatio, warmUp.row);
      loaded = true;
      waiting.splice(0).forEach(computeRow);
    };
  })();
}
