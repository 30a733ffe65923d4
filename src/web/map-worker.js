// The regime map's worker: this same script, started by the page as a Web Worker, runs
// the module without its main and computes the rows of the map the page hands it, one
// at a time, each sent back as the row's bytes. Rows that come before the module has
// loaded wait for it. In the page itself this does nothing.
if (typeof WorkerGlobalScope !== 'undefined' && self instanceof WorkerGlobalScope) {
  (function () {
    'use strict';
    Module['noInitialRun'] = true;
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
      loaded = true;
      waiting.splice(0).forEach(computeRow);
    };
  })();
}
