// The web page's script: the form hands its numbers to the program's console passes and
// shows what the console wrote, the canvas takes the window's keys, the buttons stand in
// for the keys on touch screens, and files come as downloads. It runs before the
// program's own script (frictionvib.js), which it loads when the reader first reaches
// for the page: until then the page shows the program's first picture (a poster the
// build drew with the desktop program) and does no work, so that it opens at once.
var Module = typeof Module === 'undefined' ? {} : Module; // the program's, set up here
(function () {
  'use strict';
  if (typeof document === 'undefined') {
    return;
  }

  // The program's tables, which the build put before this script (page_build.py): the
  // system's parameters, the dialogue's groups and the window's keys. The form, its
  // sliders, notes and address keys and the picture's buttons are written from them.
  const tables = fvTables;
  const parameters = tables.parameters;
  const groupCount = tables.groups.length;
  // Every field of the form; the dialogue's own (group 1 to 4) in the order the console
  // reads them, each group's in turn; the others the page hands over before a pass.
  const fieldIds = parameters.map((p) => p.name);
  const groups = tables.groups.map((_title, g) =>
    parameters.filter((p) => p.group === g + 1).map((p) => p.name));
  const parameterOf = Object.fromEntries(parameters.map((p) => [p.name, p]));
  const groupKeys = 'mfrj';
  const fileNames = ['summary.json', 'frequency.csv', 'time.csv'];
  const progressPollMs = 100;

  const scriptUrl = new URL('frictionvib.js', document.baseURI).href; // also the workers'
  const canvas = document.getElementById('canvas');
  const labelLayer = document.getElementById('labels');
  // The classic picture is the desktop's, 800 by 800 pixels; the clear one is drawn at
  // the device's pixel ratio, as many pixels as the screen shows of it.
  const classicSide = 800;
  const pictureChoice = new URLSearchParams(location.search).get('picture') === 'classic'
    ? 'classic' : 'clear';
  const consolePre = document.getElementById('console');
  const statusLine = document.getElementById('status');
  const playButton = document.querySelector('#keys button[data-key=" "]');
  const announcer = document.getElementById('announce');
  const actionButtons = Array.from(document.querySelectorAll('#form button, #keys button'));
  let api = null;
  let busy = false;
  let progressTimer = 0;

  // The reader's language. The page's texts are written in Japanese and looked up in the
  // program's catalogs (the same compiled PO files as the desktop's); N_ marks a text
  // for xgettext where it is listed, _ looks it up where it is shown.
  const N_ = (text) => text;
  // Until the module has loaded, the texts come from the catalogs' copy the build put
  // beside this script (fvPreloadCatalogs); from then on, from the module's own.
  const preloadCatalogs = typeof fvPreloadCatalogs === 'undefined' ? {} : fvPreloadCatalogs;
  let preloadTexts = {};
  const _ = (text) => (api === null ? preloadTexts[text] || text : api.text(text));
  // The text with each %s replaced by the next value, and %% by %.
  const fill = (text, ...values) => {
    let next = 0;
    return text.replace(/%[s%]/g, (m) => (m === '%%' ? '%' : String(values[next++])));
  };
  const languageKey = 'frictionvib-lang'; // the reader's saved choice
  const languageMenu = document.getElementById('lang');
  // The page's fixed texts: where each is shown (an element's text, the text before a
  // field in its label, or an attribute) and its Japanese text, as index.html has it.
  const pageTexts = [
    ['title', 'text', N_('固体摩擦のある系の強制振動')],
    ['h1', 'text',
     N_('固体摩擦のある１自由度強制振動の描画　m*ddy/ddt + λ*dy/dt + K*y = F*sin(ωf*t) ± Fric')],
    ['#lang-label', 'text', N_('言語')],
    ['#start', 'text', N_('開始 (1)〜(4)')],
    ['#console', 'aria-label', N_('コンソール')],
    ['#keys', 'aria-label', N_('図のキー')],
    ['#guide summary', 'text', N_('この図について')],
    ['#intro', 'text',
     N_('ばねとダンパーにつながれたマスが正弦波の外力で揺すられ、床との間に固体摩擦が働く。左の帯グラフは時間応答 (赤: 変位、緑: 外力、青: 摩擦力)、右上の図は外力振動数比 z に対する定常振幅 (周波数特性) で、赤い点が入力した値の振幅を示す。スライダーを動かすとすぐに計算し直す。')],
    ['#try li:nth-of-type(1) .try-text', 'text',
     N_('摩擦力 Fric を 0 から 0.7 へ上げ、振幅が小さくなり、止まっては動くスティックスリップになるのを見る。')],
    ['#try li:nth-of-type(2) .try-text', 'text',
     N_('振動数 ωf を 0.5 から 1 (z = 1) に近づけ、共振で振幅が大きくなるのを見る。')],
    ['#try li:nth-of-type(3) .try-text', 'text',
     N_('摩擦力 Fric 0.8、z = 1 でダンパー λ を 0.2 から 0 にし、共振の山が摩擦だけでどこまで高くなるかを見る。')],
    ['#try li:nth-of-type(4) .try-text', 'text',
     N_('静止摩擦力 Fs を外力 F より大きくし、マスが動き出せずに止まったままになるのを「領域図」とともに見る。')],
    ['#start-legend', 'text', N_('運動の始め')],
    ['#start-rest-label', 'text', N_('初期値 (y0, v0) から')],
    ['#start-steady-label', 'text', N_('定常運動から (スライダーの結果がすぐ見える)')],
    ['#reset', 'text', N_('初期値に戻す')],
    ['#copy-link', 'text', N_('リンクをコピー')],
    ['#map-csv', 'text', N_('領域図 CSV')],
    ['#r-amplitude', 'text', N_('振幅[m]')],
    ['#r-kind', 'text', N_('運動')],
    ['.hint', 'text', N_('図をクリックしてキーを押す。m f r j は入力欄へ、ESC で再生を止めて図から離れる。')],
  ];

  // The guidance's experiments (index.html's list): each button's word, and what it says
  // to change next once it has set the experiment's start.
  const tryWord = N_('試す');
  const tryNextLine = document.getElementById('try-next');
  const tryNext = [
    N_('定常運動から始めました。次に Fric を 0.7 にすると、振幅が小さくなります。'),
    N_('定常運動から始めました。次に ωf を 1 にすると、振幅が大きくなります。'),
    N_('定常運動から始めました。次に λ を 0 にすると、振幅が大きくなります。'),
    N_('定常運動から始めました。次に Fs を 1.2 にすると、マスは止まったままになります。'),
  ];

  // The picture's buttons: the keys of the table that have words (also the button's text).
  const buttonKeys = tables.keys.filter((k) => k.words !== null);

  // Each field's slider moves over the table's physical range (on a log scale where it
  // spans decades). Slider positions run 0 to sliderSteps.
  const sliderSteps = 1000;
  const sliderDigits = 3; // significant digits of a slider's value in its field
  const canvasNow = document.getElementById('canvas-now');
  let pendingGroup = 0; // a slider's pass waiting for the one under way (0: none)
  let mapShown = false; // the picture shows the regime map (g)
  // The view keys pressed since the page opened, kept in the address as view=, so that
  // a link or a reload shows the same scales; the longest kept, and those kept.
  const viewKeys = tables.keys.filter((k) => k.kept).map((k) => k.key).join('');
  const viewLength = 64;
  let viewPressed = '';

  function sliderValue(id, position) {
    const {low: lo, high: hi, log} = parameterOf[id].slider;
    const f = position / sliderSteps;
    const v = log ? lo * Math.pow(hi / lo, f) : lo + (hi - lo) * f;
    return Number(v.toPrecision(sliderDigits));
  }

  function sliderPosition(id, value) {
    const {low: lo, high: hi, log} = parameterOf[id].slider;
    const f = log ? Math.log(value / lo) / Math.log(hi / lo) : (value - lo) / (hi - lo);
    return Math.round(sliderSteps * Math.min(1, Math.max(0, f)));
  }

  // The field's number: the console's reading once the module has loaded, JavaScript's
  // before (the same for the plain numbers a slider or a link writes).
  function fieldNumber(id) {
    const text = document.getElementById(id).value;
    if (api !== null) {
      return api.numberValue(text);
    }
    return text.trim() === '' ? NaN : Number(text);
  }

  // What a slider says to a screen reader: the value with its unit.
  function sliderText(id, value) {
    const unit = parameterOf[id].unit;
    return unit ? String(value) + ' ' + unit : String(value);
  }

  function syncSlider(id) {
    const value = fieldNumber(id);
    if (Number.isFinite(value)) {
      const slider = document.getElementById(id + '-slider');
      slider.value = String(sliderPosition(id, value));
      slider.setAttribute('aria-valuetext', sliderText(id, value));
    }
  }

  // A field's note, and whether it is refused, as a screen reader hears it.
  function setNote(id, note) {
    document.getElementById(id + '-note').textContent = note;
    document.getElementById(id).setAttribute('aria-invalid', note === '' ? 'false' : 'true');
  }

  // Why a field's value means nothing to the model, or '' when it is fine. A text that is
  // no number at all goes to the console, as typing it would (a field the dialogue does
  // not read excepted).
  function refusal(id, text, values) {
    if (!api.readsAsNumber(text)) {
      return parameterOf[id].group === 0 ? _('数値ではありません。') : '';
    }
    const value = api.numberValue(text); // inf and nan read as numbers
    // The model's rule for the parameter; Fs is held to the sliding friction.
    const Fric = Number.isFinite(values.Fric) ? values.Fric : 0;
    const code = api.valueRefusal(id, value, Fric);
    return code === 0 ? '' : _(refusalTexts[code]);
  }
  // The model's reasons for refusing a value (fvValueRefusal): none, not finite, then
  // each rule of the parameter table.
  const refusalTexts = [
    '', N_('有限の数を入れてください。'), N_('正の数を入れてください。'),
    N_('0 以上の数を入れてください。'), N_('0 でない数を入れてください。'),
    N_('Fs は 0 (Fric と同じ) か Fric 以上です。'),
  ];

  // The notes of the fields a pass from group would read that it refuses; true when
  // there are none.
  function checkInput(group) {
    // The fields of the groups the pass reads, and every field the dialogue does not read.
    const ids = fieldIds.filter((id) => parameterOf[id].group === 0 || parameterOf[id].group >= group);
    const values = {};
    for (const id of fieldIds) {
      values[id] = parameterOf[id].group >= group || parameterOf[id].group === 0
        ? api.numberValue(document.getElementById(id).value)
        : api.inputValue(id);
    }
    let fine = true;
    for (const id of fieldIds) {
      const note = ids.includes(id) ? refusal(id, document.getElementById(id).value, values) : '';
      setNote(id, note);
      fine = fine && note === '';
    }
    return fine;
  }

  const formatted = (value) => (Number.isFinite(value) ? String(Number(value.toPrecision(4))) : _('なし'));

  // The readouts and the picture's text alternative, from the last pass.
  function showReadouts() {
    const value = (name) => api.readout(name);
    const kinds = [N_('なし'), N_('連続'), N_('スティックスリップ'), N_('静止'), N_('際限なく増大')];
    const kind = _(kinds[value('kind')] || kinds[0]);
    for (const id of ['omega0', 'zeta', 'z', 'Yf', 'ratio', 'amplitude']) {
      document.getElementById(id + '-value').textContent = formatted(value(id));
    }
    document.getElementById('kind-value').textContent = kind;
    const view = mapShown ? _('運動の領域図') : _('マスの運動と周波数特性');
    canvasNow.textContent = fill(_('%s。ζ = %s、z = %s、振幅 %s [m]、運動: %s。'), view,
                                 formatted(value('zeta')), formatted(value('z')),
                                 formatted(value('amplitude')), kind);
  }

  // The readouts said once the passes have come to rest: a drag of a slider is heard as
  // its last pass, not as every step.
  const announceDelayMs = 400;
  let announceTimer = 0;
  function announceReadouts() {
    clearTimeout(announceTimer);
    announceTimer = setTimeout(() => {
      announceTimer = 0;
      announcer.textContent = canvasNow.textContent;
    }, announceDelayMs);
  }

  // Where the motion starts after a pass: from the initial values (y0, v0), or in the
  // steady motion the model finds for the system, so that a change is seen settled.
  const startChoices = ['rest', 'steady'];
  function startChoice() {
    const checked = document.querySelector('input[name="start-choice"]:checked');
    return checked === null ? startChoices[0] : checked.value;
  }
  function setStartChoice(choice) {
    const button = document.querySelector('input[name="start-choice"][value="' + choice + '"]');
    if (startChoices.includes(choice) && button !== null) {
      button.checked = true;
    }
  }

  // The values, the language in the address, so that a link or a reload restores them.
  function keepInAddress() {
    const address = new URL(location.href);
    for (const id of fieldIds) {
      address.searchParams.set(id, document.getElementById(id).value.trim());
    }
    address.searchParams.set('lang', languageMenu.value);
    address.searchParams.set('start', startChoice());
    if (viewPressed !== '') {
      address.searchParams.set('view', viewPressed);
    }
    if (api !== null && !api.clearView()) {
      address.searchParams.set('picture', 'classic');
    } else {
      address.searchParams.delete('picture');
    }
    history.replaceState(null, '', address);
  }

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
    for (const id of groups.flat()) {
      setNote(id, '');
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
        const value = api.inputValue(id);
        setNote(id, (k === first ? _('数値ではありません。') : _('前の欄が数値でないため、')) +
                    fill(_('前の値 %s のままです。'), value));
      });
    }
  }

  // A pass's text as a node of its own: rewriting the whole console's text at every pass
  // of a drag would cost more with every pass.
  function appendConsole(text) {
    consolePre.append(text);
    consolePre.scrollTop = consolePre.scrollHeight;
  }

  // A console pass from group; with frame, the picture's first frame follows, as when
  // the window opens, and with play the motion plays from its start. Input the model
  // cannot use is refused beside its field, and the picture stays.
  // A pass waits for the one under way; the fields are read when it runs, so that the
  // inputs of a drag that came meanwhile are one pass with the latest values.
  function runPass(group, frame, play) {
    if (api === null) {
      return;
    }
    if (busy) {
      pendingGroup = pendingGroup === 0 ? group : Math.min(pendingGroup, group);
      return;
    }
    setBusy(true);
    setStatus(_('周波数特性計算中…'));
    // Let the browser show the notice before the pass holds the page.
    setTimeout(() => {
      if (!checkInput(group)) {
        setStatus(_('入力を直してください。計算していません。'));
        finishPass();
        return;
      }
      const input = passInput(group);
      // The parameters the dialogue does not read reach the program before the pass.
      for (const id of fieldIds.filter((id) => parameterOf[id].group === 0)) {
        const value = api.numberValue(document.getElementById(id).value);
        api.setParameter(id, Number.isFinite(value) ? value : 0);
      }
      performance.mark('fv-pass-start');
      const started = performance.now();
      const output = api.pass(group, input.text);
      const ms = performance.now() - started;
      if (output === null) {
        setStatus(_('計算できませんでした'));
      } else {
        appendConsole(output);
        showNotes(group, input.rejected);
        if (startChoice() === 'steady') {
          api.startSteady();
        }
        if (frame) {
          api.drawFrame();
        }
        if (play && !api.playing()) {
          api.key(' '.charCodeAt(0));
        }
        showReadouts();
        announceReadouts();
        keepInAddress();
        document.getElementById('map-csv').disabled = true;
        document.getElementById('export').disabled = false;
        setStatus(fill(_('(%s) から計算しました (%s ms)。'), group, Math.round(ms)) +
                  (frame ? '' : _(' s で描画します。')));
      }
      performance.mark('fv-pass-end');
      document.body.dataset.passes = String(Number(document.body.dataset.passes || 0) + 1);
      finishPass();
    }, 0);
  }

  function finishPass() {
    setBusy(false);
    updatePlayButton();
    watchProgress();
    if (pendingGroup !== 0) {
      const next = pendingGroup;
      pendingGroup = 0;
      runPass(next, true, true);
    }
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

  // The picture as it is seen: the drawing and, in the clear view, its text layer.
  function seenPicture() {
    if (api === null || !api.clearView()) {
      return canvas;
    }
    const whole = document.createElement('canvas');
    whole.width = canvas.width;
    whole.height = canvas.height;
    const c = whole.getContext('2d');
    c.drawImage(canvas, 0, 0);
    c.drawImage(labelLayer, 0, 0);
    return whole;
  }

  function savePicture() {
    seenPicture().toBlob((blob) => {
      if (blob === null) {
        setStatus(_('図を保存できませんでした'));
        return;
      }
      const name = 'frictionvib-' + timestamp() + '.png';
      download(blob, name);
      setStatus(fill(_('%s を保存しました'), name));
    }, 'image/png');
  }

  function exportFiles() {
    if (api === null || busy) {
      return;
    }
    fileNames.forEach((name) => {
      const text = api.fileText(name);
      if (text !== null) {
        const type = name.endsWith('.json') ? 'application/json' : 'text/csv';
        download(new Blob([text], {type}), name);
      }
    });
    setStatus(fill(_('%s を保存しました'), fileNames.join(', ')));
  }

  function updatePlayButton() {
    if (api !== null) {
      playButton.setAttribute('aria-pressed', api.playing() ? 'true' : 'false');
    }
  }

  // The regime map on the reader's cores: workers, each running this script with a
  // module of its own, take the map's rows, and each row they send back is put into the
  // map under way (a row of a map no longer under way is dropped). Each worker holds two
  // rows, so that it starts the next while the page takes the last. The address's
  // workers=N asks for N workers; with none (or where none can start) the map is
  // computed in slices on the page's thread. A worker that fails leaves its rows to the
  // page's thread, a row per task, and so do the rows after it when no worker is left.
  const maxMapWorkers = 16; // one per core, up to this many
  const rowsPerWorker = 2;  // rows a worker holds at once
  let mapWorkers = null;    // [{worker, rows (those it holds), failed}], once started

  function mapWorkerCount() {
    const asked = Number.parseInt(new URLSearchParams(location.search).get('workers'), 10);
    const count = Number.isInteger(asked) && asked >= 0 ? asked : navigator.hardwareConcurrency || 1;
    return Math.min(count, maxMapWorkers);
  }

  function mapRowDone(entry, answer) {
    // One of the rows it holds: the same row of an earlier map and of this one may both be.
    const held = entry.rows.indexOf(answer.row);
    if (held >= 0) {
      entry.rows.splice(held, 1);
    }
    HEAPU8.set(new Uint8Array(answer.system), api.mapSystemBuffer());
    HEAPU8.set(new Uint8Array(answer.bytes), api.mapRowBuffer());
    api.putMapRow(answer.row);
    dispatchMapRows();
  }

  // The page's own thread as a worker: a row per task.
  function pageThreadWorker() {
    const entry = {rows: [], failed: false};
    entry.worker = {
      postMessage: (message) => setTimeout(() => {
        HEAPU8.set(new Uint8Array(message.system), api.mapSystemBuffer());
        const pointer = api.computeMapRow(message.row);
        const bytes = HEAPU8.slice(pointer, pointer + api.mapRowBytes()).buffer;
        mapRowDone(entry, Object.assign({bytes}, message));
      }, 0),
    };
    return entry;
  }

  function mapWorkerFailed(entry) {
    if (entry.failed) {
      return; // its other rows' errors
    }
    entry.failed = true;
    entry.worker.terminate();
    if (mapWorkers.every((other) => other.failed)) {
      mapWorkers.push(pageThreadWorker());
    }
    const fallback = pageThreadWorker();
    for (const row of entry.rows.splice(0)) {
      fallback.worker.postMessage(mapRowMessage(row));
    }
  }

  // The workers, started once the first pass is drawn, so that the map's first rows do
  // not wait for them to load.
  function startMapWorkers() {
    mapWorkers = [];
    for (let k = 0; k < mapWorkerCount(); ++k) {
      let worker = null;
      try {
        worker = new Worker(scriptUrl);
      } catch (e) {
        break; // no workers here: the map goes in slices
      }
      const entry = {worker, rows: [], failed: false};
      worker.onmessage = (event) => mapRowDone(entry, event.data);
      worker.onerror = (event) => {
        event.preventDefault();
        mapWorkerFailed(entry);
      };
      mapWorkers.push(entry);
    }
    document.body.dataset.mapWorkers = String(mapWorkers.length);
  }

  // A row of the map under way for a worker: the row and the map's system, as bytes of
  // the module's memory (the worker runs the same module).
  function mapRowMessage(row) {
    api.mapJobSystem();
    const pointer = api.mapSystemBuffer();
    return {system: HEAPU8.slice(pointer, pointer + api.mapSystemBytes()).buffer, row};
  }

  // Hands the rows of the map under way to the workers that have room.
  function dispatchMapRows() {
    if (api === null || mapWorkers === null || !api.mapJobSystem()) {
      return; // no workers yet, or no map under way
    }
    for (let held = 0; held < rowsPerWorker; ++held) {
      for (const entry of mapWorkers) {
        if (entry.failed || entry.rows.length > held) {
          continue;
        }
        const row = api.takeMapRow();
        if (row < 0) {
          return;
        }
        entry.rows.push(row);
        entry.worker.postMessage(mapRowMessage(row));
      }
    }
  }

  // The progress of the regime map or the exact dots, until they are done.
  function watchProgress() {
    dispatchMapRows();
    if (progressTimer !== 0 || api === null) {
      return;
    }
    const poll = () => {
      dispatchMapRows();
      const fraction = api.workProgress();
      canvas.setAttribute('aria-busy', fraction < 0 ? 'false' : 'true');
      if (fraction < 0) {
        progressTimer = 0;
        document.getElementById('map-csv').disabled = !api.mapReady();
        if (statusLine.dataset.working) {
          delete statusLine.dataset.working;
          delete statusLine.dataset.announced;
          setStatus(_('計算が終わりました'));
        }
        return;
      }
      statusLine.dataset.working = '1';
      if (!statusLine.dataset.announced) {
        statusLine.dataset.announced = '1'; // the start and the end are announced, not every step
        setStatus(_('計算中…'));
      }
      progressTimer = setTimeout(poll, progressPollMs);
    };
    poll();
  }

  // The drawing buffer for the view shown: the classic picture's 800 pixels, or the
  // clear one's side on the screen times the device's pixel ratio.
  function fitPicture() {
    if (api === null) {
      return;
    }
    let side = classicSide;
    if (api.clearView()) {
      const shown = canvas.getBoundingClientRect().width || classicSide;
      side = Math.max(200, Math.min(2400, Math.round(shown * (window.devicePixelRatio || 1))));
    }
    if (canvas.width !== side) {
      canvas.width = side;
      canvas.height = side;
      api.redrawPicture();
    }
    labelLayer.hidden = !api.clearView();
  }
  // The picture's size on the screen changes with the window and with the layout around
  // it (the readouts filling in, a phone turned): each change gets its own pixels.
  if (typeof ResizeObserver === 'function') {
    new ResizeObserver(() => fitPicture()).observe(canvas);
  } else {
    window.addEventListener('resize', () => fitPicture());
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
    if (key === 'g') {
      mapShown = !mapShown;
    }
    if (key === 'c') {
      fitPicture();
      keepInAddress();
    }
    if (viewKeys.includes(key) && viewPressed.length < viewLength) {
      viewPressed += key;
      keepInAddress();
    }
    showReadouts();
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

  for (const button of document.querySelectorAll('#keys button[data-key]')) {
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
  for (const id of fieldIds) {
    const field = document.getElementById(id);
    const slider = document.getElementById(id + '-slider');
    slider.addEventListener('input', () => {
      const value = sliderValue(id, Number(slider.value));
      field.value = String(value);
      slider.setAttribute('aria-valuetext', sliderText(id, value));
      const group = parameterOf[id].formGroup;
      if (api === null) {
        // Before the module: the first pass reads the fields, this one's too.
        return;
      }
      // The motion restarts from the slider's group's pass, as the window's keys do.
      runPass(group, true, true);
    });
    field.addEventListener('input', () => syncSlider(id));
  }
  // An experiment's start: the starting values with its own over them, the steady start
  // and its view; then the pass, and what to change next.
  function tryExperiment(button, k) {
    const values = JSON.parse(button.dataset.values);
    for (const p of parameters) {
      document.getElementById(p.name).value = p.name in values ? values[p.name] : String(p.start);
      syncSlider(p.name);
    }
    setStartChoice('steady');
    if (api === null) {
      return; // the first pass reads them
    }
    const after = Number(document.body.dataset.passes || 0) + 1;
    runPass(1, true, true);
    const say = () => {
      if (Number(document.body.dataset.passes || 0) >= after && !busy) {
        if ((button.dataset.view === 'map') !== mapShown) {
          pressKey('g');
        }
        tryNextLine.textContent = _(tryNext[k]);
      } else {
        setTimeout(say, progressPollMs);
      }
    };
    setTimeout(say, 0);
  }
  document.querySelectorAll('#try .try').forEach((button, k) => {
    button.addEventListener('click', () => tryExperiment(button, k));
  });

  for (const choice of document.querySelectorAll('input[name="start-choice"]')) {
    choice.addEventListener('change', () => runPass(1, true, true));
  }
  document.getElementById('reset').addEventListener('click', () => {
    location.href = location.pathname + '?lang=' + encodeURIComponent(languageMenu.value);
  });
  document.getElementById('copy-link').addEventListener('click', () => {
    const link = location.href;
    const copied = () => setStatus(_('リンクをコピーしました。'));
    if (navigator.clipboard) {
      navigator.clipboard.writeText(link).then(copied, () => setStatus(link));
    } else {
      setStatus(link);
    }
  });
  document.getElementById('map-csv').addEventListener('click', () => {
    const text = api === null ? null : api.fileText('regime-map.csv');
    if (text !== null) {
      download(new Blob([text], {type: 'text/csv'}), 'regime-map.csv');
      setStatus(fill(_('%s を保存しました'), 'regime-map.csv'));
    }
  });
  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('service-worker.js').catch(() => {
      // no offline copy: the page works as long as the network does
    });
  }

  // Every fixed text of the page in the language the program uses now.
  function showPageTexts() {
    for (const entry of pageTexts) {
      const element = document.querySelector(entry[0]);
      const where = entry[1];
      const text = entry[2];
      if (where === 'text') {
        element.textContent = _(text);
      } else if (where === 'label') {
        element.parentElement.firstChild.nodeValue = _(text);
      } else {
        element.setAttribute(where, _(text));
      }
    }
    for (let g = 1; g <= groupCount; ++g) {
      document.getElementById('apply' + g).textContent = fill(_('(%s) から計算'), g);
    }
    buttonKeys.forEach(({key, words, name}) => {
      const button = document.querySelector('#keys [data-key="' + key + '"]');
      button.textContent = _(words);
      button.title = fill('%s (%s)', _(words), _(name));
    });
    document.querySelectorAll('#form legend:not(#start-legend)').forEach((legend, g) => {
      legend.textContent = _(tables.groups[g]);
    });
    for (const p of parameters) {
      document.getElementById(p.name + '-label').textContent = _(p.label);
      document.getElementById(p.name + '-slider').setAttribute('aria-label', _(p.label));
    }
    document.querySelectorAll('#try .try').forEach((button) => {
      button.textContent = _(tryWord);
    });
    canvas.setAttribute('aria-label', fill(_('振動と周波数特性の図。キー: %s、ESC で離れる'),
                                           buttonKeys.map((k) => _(k.name)).join(' ')));
    if (document.body.dataset.passes) {
      showReadouts();
    }
    updatePlayButton();
  }

  // The language to start in: ?lang= in the address, else the reader's saved choice,
  // else the first of the browser's languages that has a catalog (its region dropped
  // when only the language has one), else Japanese.
  function startLanguage(codes) {
    const has = (code) => codes.includes(code);
    const asked = new URLSearchParams(location.search).get('lang');
    if (asked !== null && has(asked)) {
      return asked;
    }
    let saved = null;
    try {
      saved = localStorage.getItem(languageKey);
    } catch (e) {
      saved = null; // storage may be refused: then no choice is kept
    }
    if (saved !== null && has(saved)) {
      return saved;
    }
    for (const preferred of navigator.languages || [navigator.language]) {
      const code = String(preferred).replace('-', '_');
      for (const candidate of [code, code.split('_')[0]]) {
        if (has(candidate)) {
          return candidate;
        }
      }
    }
    return 'ja';
  }

  function useLanguage(code) {
    if (!api.setLanguage(code)) {
      return;
    }
    languageMenu.value = code;
    document.documentElement.lang = code.replace('_', '-');
    showPageTexts();
  }

  languageMenu.addEventListener('change', () => {
    const code = languageMenu.value;
    try {
      localStorage.setItem(languageKey, code);
    } catch (e) {
      // storage refused: the choice holds for this visit
    }
    const address = new URL(location.href);
    address.searchParams.set('lang', code);
    history.replaceState(null, '', address);
    useLanguage(code);
  });

  // A C function that returns a text, or null for a null pointer.
  function textFunction(name, argumentTypes) {
    const f = Module.cwrap(name, 'number', argumentTypes);
    return (...args) => {
      const pointer = f(...args);
      return pointer === 0 ? null : UTF8ToString(pointer);
    };
  }

  // The page in the reader's language from its first paint, before the module loads.
  function showPreloadLanguage() {
    const codes = Object.keys(preloadCatalogs);
    if (codes.length === 0) {
      return;
    }
    languageMenu.replaceChildren(...codes.map((code) => {
      const option = document.createElement('option');
      option.value = code;
      option.textContent = preloadCatalogs[code].name;
      option.lang = code.replace('_', '-');
      return option;
    }));
    const code = startLanguage(codes);
    preloadTexts = preloadCatalogs[code].texts;
    languageMenu.value = code;
    document.documentElement.lang = code.replace('_', '-');
    showPageTexts();
  }

  Module['onRuntimeInitialized'] = function () {
    canvas.style.backgroundImage = ''; // the program draws from here on
    api = {
      pass: textFunction('fvPass', ['number', 'string']),
      drawFrame: Module.cwrap('fvDrawFrame', null, []),
      key: Module.cwrap('fvKey', 'number', ['number']),
      stopPlayback: Module.cwrap('fvStopPlayback', null, []),
      playing: Module.cwrap('fvPlaying', 'number', []),
      startSteady: Module.cwrap('fvStartSteady', 'number', []),
      readsAsNumber: Module.cwrap('fvReadsAsNumber', 'number', ['string']),
      inputValue: Module.cwrap('fvInputValue', 'number', ['string']),
      fileText: textFunction('fvFileText', ['string']),
      workProgress: Module.cwrap('fvWorkProgress', 'number', []),
      languageCount: Module.cwrap('fvLanguageCount', 'number', []),
      languageCode: textFunction('fvLanguageCode', ['number']),
      languageName: textFunction('fvLanguageName', ['number']),
      setLanguage: Module.cwrap('fvSetLanguage', 'number', ['string']),
      text: textFunction('fvText', ['string']),
      numberValue: Module.cwrap('fvNumberValue', 'number', ['string']),
      setParameter: Module.cwrap('fvSetParameter', null, ['string', 'number']),
      readout: Module.cwrap('fvReadout', 'number', ['string']),
      valueRefusal: Module.cwrap('fvValueRefusal', 'number', ['string', 'number', 'number']),
      mapReady: Module.cwrap('fvMapReady', 'number', []),
      takeMapRow: Module.cwrap('fvTakeMapRow', 'number', []),
      mapJobSystem: Module.cwrap('fvMapJobSystem', 'number', []),
      mapSystemBytes: Module.cwrap('fvMapSystemBytes', 'number', []),
      mapSystemBuffer: Module.cwrap('fvMapSystemBuffer', 'number', []),
      mapRowBytes: Module.cwrap('fvMapRowBytes', 'number', []),
      mapRowBuffer: Module.cwrap('fvMapRowBuffer', 'number', []),
      putMapRow: Module.cwrap('fvPutMapRow', 'number', ['number']),
      computeMapRow: Module.cwrap('fvComputeMapRow', 'number', ['number']),
      redrawPicture: Module.cwrap('fvRedrawPicture', null, []),
      clearView: Module.cwrap('fvClearView', 'number', []),
      setClearView: Module.cwrap('fvSetClearView', null, ['number']),
    };
    const codes = Array.from({length: api.languageCount()}, (_unused, k) => api.languageCode(k));
    languageMenu.replaceChildren(...codes.map((code, k) => {
      const option = document.createElement('option');
      option.value = code;
      option.textContent = api.languageName(k);
      option.lang = code.replace('_', '-');
      return option;
    }));
    useLanguage(startLanguage(codes));
    const asked = new URLSearchParams(location.search);
    for (const id of fieldIds) {
      syncSlider(id);
    }
    setBusy(false);
    api.setClearView(pictureChoice === 'clear' ? 1 : 0); // clear unless asked otherwise
    runPass(1, true, true); // the first pass with the form's values; the motion plays
    // The view of the address, once the first pass has drawn (it runs after a tick).
    const view = (asked.get('view') || '').slice(0, viewLength);
    setTimeout(() => {
      fitPicture(); // after the module's main, which sized the canvas for the classic view
      for (const key of view) {
        if (viewKeys.includes(key)) {
          pressKey(key);
        }
      }
      startMapWorkers();
    }, 0);
  };
  // Values in the address (a shared link, a reload) before the form's own, from the
  // first paint: the sliders stand at the fields' values while the module loads.
  function showAddressValues() {
    const asked = new URLSearchParams(location.search);
    for (const id of fieldIds) {
      if (asked.has(id)) {
        document.getElementById(id).value = asked.get(id);
      }
      syncSlider(id);
    }
    setStartChoice(asked.get('start'));
  }

  // The program starts at the reader's first reach for the page (a pointer, a key, a
  // touch, a wheel, a focus or an input), at once for an address that names a system or a
  // view (a shared link: the poster is not its picture), and at once in a tab where it
  // has run (a reload, the reset). Until then the canvas shows the poster of the
  // reader's language, the first picture of the starting values.
  const startedKey = 'frictionvib-started';
  const reachEvents = ['pointerdown', 'pointermove', 'keydown', 'touchstart', 'wheel', 'focusin', 'input'];
  let programRequested = false;

  function startProgram() {
    if (programRequested) {
      return;
    }
    programRequested = true;
    for (const type of reachEvents) {
      document.removeEventListener(type, startProgram, true);
    }
    try {
      sessionStorage.setItem(startedKey, '1');
    } catch (e) {
      // storage refused: a reload waits for the reader again
    }
    const script = document.createElement('script');
    script.src = scriptUrl;
    document.body.appendChild(script);
  }

  function startsAtOnce() {
    const asked = new URLSearchParams(location.search);
    if (fieldIds.concat(['view', 'start', 'picture']).some((key) => asked.has(key))) {
      return true;
    }
    try {
      return sessionStorage.getItem(startedKey) !== null;
    } catch (e) {
      return false;
    }
  }

  function showPoster() {
    if (startsAtOnce()) {
      return;
    }
    const code = document.documentElement.lang.replace('-', '_');
    canvas.style.backgroundImage = 'url("poster-' + code + '.png")';
  }

  setBusy(true);
  showPreloadLanguage();
  showAddressValues();
  setStatus(_('読み込み中…'));
  document.documentElement.classList.add('ready'); // the page in its language: shown
  // The rest in a task of its own, so that the first paint does not wait for it.
  setTimeout(() => {
    showPoster();
    if (startsAtOnce()) {
      startProgram();
    } else {
      for (const type of reachEvents) {
        document.addEventListener(type, startProgram, {capture: true, passive: true});
      }
    }
  }, 0);
})();
