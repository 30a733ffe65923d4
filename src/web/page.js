// The web page's script: the form hands its numbers to the program's console passes and
// shows what the console wrote, the canvas takes the window's keys, the buttons stand in
// for the keys on touch screens, and files come as downloads. It is appended to the
// program's own script, so that the page needs nothing else.
(function () {
  'use strict';

  // The dialogue's groups and their fields, in the order the console reads them, as the
  // program's table of the system's parameters names them (read when it has loaded).
  const groupCount = 4;
  let groups = [];
  let fieldIds = [];
  const groupKeys = 'mfrj';
  const fileNames = ['summary.json', 'frequency.csv', 'time.csv'];
  const progressPollMs = 100;

  const canvas = document.getElementById('canvas');
  const consolePre = document.getElementById('console');
  const statusLine = document.getElementById('status');
  const playButton = document.querySelector('#keys button[data-key=" "]');
  const actionButtons = Array.from(document.querySelectorAll('#form button, #keys button'));
  let api = null;
  let busy = false;
  let progressTimer = 0;

  Module['canvas'] = canvas;
  Module['print'] = (text) => console.log(text);
  Module['printErr'] = (text) => console.warn(text);

  function setStatus(text) {
    statusLine.textContent = text;
  }

  function setBusy(value) {
    busy = value;
    for (const button of actionButtons) {
      button.disabled = value || api === null;
    }
  }

  // The typed lines of a pass from group (1 to 4). A field that is not one number goes
  // to the console as a word it cannot read, so that the console treats it as it treats
  // typing: that field and the rest of its group keep their values.
  function passInput(group) {
    const lines = [];
    const rejected = [];
    for (let g = group - 1; g < groups.length; ++g) {
      const words = groups[g].map((id) => {
        const text = document.getElementById(id).value;
        if (api.readsAsNumber(text)) {
          return text.trim();
        }
        rejected.push(id);
        return 'x';
      });
      lines.push(words.join(' '));
    }
    return {text: lines.join('\n') + '\n', rejected};
  }

  // Beside each field that kept its value, why and which value.
  function showNotes(group, rejected) {
    for (const id of fieldIds) {
      document.getElementById(id + '-note').textContent = '';
    }
    for (let g = group - 1; g < groups.length; ++g) {
      const first = groups[g].findIndex((id) => rejected.includes(id));
      if (first < 0) {
        continue;
      }
      groups[g].forEach((id, k) => {
        if (k < first) {
          return;
        }
        const value = api.inputValue(fieldIds.indexOf(id));
        document.getElementById(id + '-note').textContent =
          (k === first ? '数値ではありません。' : '前の欄が数値でないため、') +
          '前の値 ' + value + ' のままです。';
      });
    }
  }

  function appendConsole(text) {
    consolePre.textContent += text;
    consolePre.scrollTop = consolePre.scrollHeight;
  }

  // A console pass from group; with frame, the picture's first frame follows, as when
  // the window opens.
  function runPass(group, frame) {
    if (busy || api === null) {
      return;
    }
    const input = passInput(group);
    setBusy(true);
    setStatus('周波数特性計算中…');
    // Let the browser show the notice before the pass holds the page.
    setTimeout(() => {
      const started = performance.now();
      const output = api.pass(group, input.text);
      const ms = performance.now() - started;
      if (output === null) {
        setStatus('計算できませんでした');
      } else {
        appendConsole(output);
        showNotes(group, input.rejected);
        if (frame) {
          api.drawFrame();
        }
        document.getElementById('export').disabled = false;
        setStatus('(' + group + ') から計算しました (' + Math.round(ms) + ' ms)。' +
                  (frame ? '' : ' s で描画します。'));
      }
      setBusy(false);
      updatePlayButton();
      watchProgress();
      document.body.dataset.passes = String(Number(document.body.dataset.passes || 0) + 1);
    }, 0);
  }

  function timestamp() {
    const d = new Date();
    const two = (n) => String(n).padStart(2, '0');
    return d.getFullYear() + two(d.getMonth() + 1) + two(d.getDate()) + '-' + two(d.getHours()) +
           two(d.getMinutes()) + two(d.getSeconds());
  }

  function download(blob, name) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }

  function savePicture() {
    canvas.toBlob((blob) => {
      if (blob === null) {
        setStatus('図を保存できませんでした');
        return;
      }
      const name = 'frictionvib-' + timestamp() + '.png';
      download(blob, name);
      setStatus(name + ' を保存しました');
    }, 'image/png');
  }

  function exportFiles() {
    if (api === null || busy) {
      return;
    }
    fileNames.forEach((name, k) => {
      const text = api.fileText(k);
      if (text !== null) {
        const type = name.endsWith('.json') ? 'application/json' : 'text/csv';
        download(new Blob([text], {type}), name);
      }
    });
    setStatus(fileNames.join(', ') + ' を保存しました');
  }

  function updatePlayButton() {
    if (api !== null) {
      playButton.textContent = api.playing() ? '停止' : '再生';
    }
  }

  // The progress of the regime map or the exact dots, until they are done.
  function watchProgress() {
    if (progressTimer !== 0 || api === null) {
      return;
    }
    const poll = () => {
      const fraction = api.workProgress();
      if (fraction < 0) {
        progressTimer = 0;
        if (statusLine.dataset.working) {
          delete statusLine.dataset.working;
          setStatus('計算が終わりました');
        }
        return;
      }
      statusLine.dataset.working = '1';
      setStatus('計算中 ' + Math.floor(fraction * 100) + ' %');
      progressTimer = setTimeout(poll, progressPollMs);
    };
    poll();
  }

  // A window key: the picture keys go to the program; p, m f r j and ESC are the page's.
  function pressKey(key) {
    if (api === null || busy) {
      return false;
    }
    if (key === 'p') {
      savePicture();
      return true;
    }
    const group = groupKeys.indexOf(key);
    if (key.length === 1 && group >= 0) {
      api.stopPlayback();
      updatePlayButton();
      document.getElementById(groups[group][0]).focus();
      return true;
    }
    if (key === 'Escape') {
      api.stopPlayback();
      updatePlayButton();
      canvas.blur();
      return true;
    }
    if (key.length !== 1 || !api.key(key.charCodeAt(0))) {
      return false;
    }
    updatePlayButton();
    watchProgress();
    return true;
  }

  canvas.addEventListener('keydown', (event) => {
    if (event.ctrlKey || event.metaKey || event.altKey || event.isComposing) {
      return;
    }
    if (pressKey(event.key)) {
      event.preventDefault();
      event.stopPropagation();
    }
  });
  canvas.addEventListener('pointerdown', () => canvas.focus());

  for (const button of document.querySelectorAll('#keys button')) {
    button.addEventListener('click', () => pressKey(button.dataset.key));
  }
  for (let g = 1; g <= groupCount; ++g) {
    document.getElementById('apply' + g).addEventListener('click', () => runPass(g, false));
  }
  document.getElementById('form').addEventListener('submit', (event) => {
    event.preventDefault();
    runPass(1, true);
  });
  document.getElementById('export').addEventListener('click', exportFiles);

  // A C function that returns a text, or null for a null pointer.
  function textFunction(name, argumentTypes) {
    const f = Module.cwrap(name, 'number', argumentTypes);
    return (...args) => {
      const pointer = f(...args);
      return pointer === 0 ? null : UTF8ToString(pointer);
    };
  }

  Module['onRuntimeInitialized'] = function () {
    api = {
      pass: textFunction('fvPass', ['number', 'string']),
      drawFrame: Module.cwrap('fvDrawFrame', null, []),
      key: Module.cwrap('fvKey', 'number', ['number']),
      stopPlayback: Module.cwrap('fvStopPlayback', null, []),
      playing: Module.cwrap('fvPlaying', 'number', []),
      readsAsNumber: Module.cwrap('fvReadsAsNumber', 'number', ['string']),
      inputValue: Module.cwrap('fvInputValue', 'number', ['number']),
      parameterCount: Module.cwrap('fvParameterCount', 'number', []),
      parameterName: textFunction('fvParameterName', ['number']),
      parameterGroup: Module.cwrap('fvParameterGroup', 'number', ['number']),
      fileText: textFunction('fvFileText', ['number']),
      workProgress: Module.cwrap('fvWorkProgress', 'number', []),
    };
    fieldIds = Array.from({length: api.parameterCount()}, (_, k) => api.parameterName(k));
    groups = Array.from({length: groupCount},
                        (_, g) => fieldIds.filter((id, k) => api.parameterGroup(k) === g + 1));
    setBusy(false);
    runPass(1, true); // the first pass with the form's values, as the program starts
  };
  setBusy(true);
})();
