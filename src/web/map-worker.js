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
    // The row computed at load, of the system the module's buffer starts with (ζ = 0.05):
    // a row with every kind of motion (about 15 ms).
    const warmUpRow = 30;
    const waiting = [];
    let loaded = false;

    // message: {system (the map's system, as the page's module holds it), row}; the answer
    // adds the row's bytes.
    function computeRow(message) {
      HEAPU8.set(new Uint8Array(message.system), Module['_fvMapSystemBuffer']());
      const pointer = Module['_fvComputeMapRow'](message.row);
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
      Module['_fvComputeMapRow'](warmUpRow);
      loaded = true;
      waiting.splice(0).forEach(computeRow);
    };
  })();
}
