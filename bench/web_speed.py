"""The page at the speed of a finger, in headless Chromium: the main-thread cost of a
playing frame (each timer and animation callback while the motion plays, and the WebGL
state queries they make), and a slider's latency from its input event to the painted
frame of the pass that used it, step by step and in a drag of 60 Hz inputs.

    bash scripts/web.sh --build-only
    /usr/bin/python3 bench/web_speed.py build-web/site [--steps N] [--phone] [--query start=steady]

Works on an older build of the page too (one without its pass marks measures no drag).
"""
import argparse
import statistics
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from site_server import serve, wait_for_first_pass  # bench/site_server.py, beside this script


PLAY_SECONDS = 5   # the playing motion measured this long
DRAG_INPUTS = 60   # inputs of the drag, one per DRAG_MS
DRAG_MS = 16

# Before the page's own script: every timer and animation callback timed while
# window.fvRecording is set, and WebGL's getParameter counted.
RECORDER = '''
window.fvTasks = []; window.fvGlQueries = 0; window.fvRecording = false;
const timed = (callback) => function (...args) {
  if (!window.fvRecording) return callback.apply(this, args);
  const started = performance.now();
  try { return callback.apply(this, args); }
  finally { window.fvTasks.push(performance.now() - started); }
};
const setTimeoutOwn = window.setTimeout;
window.setTimeout = (callback, ...rest) =>
  setTimeoutOwn(typeof callback === 'function' ? timed(callback) : callback, ...rest);
const frameOwn = window.requestAnimationFrame;
window.requestAnimationFrame = (callback) => frameOwn(timed(callback));
for (const type of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
  if (!type) continue;
  const own = type.prototype.getParameter;
  type.prototype.getParameter = function (...args) {
    if (window.fvRecording) window.fvGlQueries++;
    return own.apply(this, args);
  };
}
'''

# In the page: each step moves the slider one notch and waits for the pass it started
# and the next painted frame; answers the latencies [ms].
STEPS = '''
const [id, steps, done] = arguments;
const slider = document.getElementById(id + '-slider');
const passes = () => Number(document.body.dataset.passes || 0);
const latencies = [];
const paint = () => new Promise((r) => requestAnimationFrame(() => setTimeout(r, 0)));
(async () => {
  for (let k = 0; k < steps; ++k) {
    await new Promise((r) => setTimeout(r, 150));
    const before = passes();
    const started = performance.now();
    slider.value = String(Number(slider.value) + (k % 2 === 0 ? 40 : -40));
    slider.dispatchEvent(new Event('input', {bubbles: true}));
    while (passes() === before) await new Promise((r) => setTimeout(r, 1));
    await paint();
    latencies.push(performance.now() - started);
  }
  done(latencies);
})();
'''

# In the page: a drag of inputs every DRAG_MS; each input's latency is the time to the
# paint after the first pass that started after it (the page's pass marks).
DRAG = '''
const [id, count, every, done] = arguments;
const slider = document.getElementById(id + '-slider');
performance.clearMarks();
const inputs = [], paints = [];
const observer = new MutationObserver(() => requestAnimationFrame(() => paints.push(performance.now())));
observer.observe(document.body, {attributes: true, attributeFilter: ['data-passes']});
let k = 0;
const step = () => {
  if (k++ < count) {
    inputs.push(performance.now());
    slider.value = String(300 + 10 * (k % 40));
    slider.dispatchEvent(new Event('input', {bubbles: true}));
    setTimeout(step, every);
    return;
  }
  setTimeout(() => {
    observer.disconnect();
    const starts = performance.getEntriesByName('fv-pass-start').map((e) => e.startTime);
    const ends = performance.getEntriesByName('fv-pass-end').map((e) => e.startTime);
    const latencies = [];
    for (const t of inputs) {
      const pass = starts.findIndex((s) => s >= t);
      if (pass < 0 || pass >= ends.length) continue;
      const painted = paints.find((p) => p >= ends[pass]);
      if (painted !== undefined) latencies.push(painted - t);
    }
    done({latencies, passes: starts.length});
  }, 3000);
};
step();
'''


def browser(phone):
    options = webdriver.ChromeOptions()
    size = '390,844' if phone else '1300,1000'
    for argument in ['--headless=new', '--no-sandbox', '--disable-gpu', '--use-angle=swiftshader',
                     '--enable-unsafe-swiftshader', '--window-size=' + size]:
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': RECORDER})
    driver.set_script_timeout(300)
    return driver


def spread(values):
    if not values:
        return 'none'
    ordered = sorted(values)
    p90 = ordered[min(len(ordered) - 1, int(0.9 * len(ordered)))]
    return 'median %.1f ms, p90 %.1f, range %.1f-%.1f (n = %d)' % (
        statistics.median(ordered), p90, ordered[0], ordered[-1], len(ordered))


def open_page(driver, url, query):
    driver.get(url + '?workers=0' + ('&' + query if query else ''))
    wait_for_first_pass(driver)
    time.sleep(1.0)  # the background work of the first pass settles


def frame_cost(driver):
    driver.execute_script('window.fvTasks = []; window.fvGlQueries = 0; window.fvRecording = true;')
    time.sleep(PLAY_SECONDS)
    tasks, queries = driver.execute_script(
        'window.fvRecording = false; return [window.fvTasks, window.fvGlQueries];')
    return [t for t in tasks if t >= 0.5], queries  # the frames, not the idle polls


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('site')
    parser.add_argument('--steps', type=int, default=20)
    parser.add_argument('--phone', action='store_true', help='a 390 x 844 window')
    parser.add_argument('--query', default='', help='more of the address, e.g. start=steady')
    arguments = parser.parse_args()
    httpd, url = serve(arguments.site)
    driver = browser(arguments.phone)
    try:
        open_page(driver, url, arguments.query)
        playing = driver.execute_script('return Module.ccall("fvPlaying", "number", [], [])')
        tasks, queries = frame_cost(driver)
        print('playing (%d): frame callbacks %s; WebGL getParameter calls %d in %d s' % (
            playing, spread(tasks), queries, PLAY_SECONDS))
        # The same with the regime map shown, once it is complete.
        driver.execute_script("document.getElementById('canvas').dispatchEvent("
                              "new KeyboardEvent('keydown', {key: 'g', bubbles: true}))")
        deadline = time.monotonic() + 120
        while driver.execute_script('return Module.ccall("fvWorkProgress", "number", [], [])') >= 0:
            if time.monotonic() > deadline:
                raise SystemExit('the regime map did not finish')
            time.sleep(0.1)
        tasks, queries = frame_cost(driver)
        print('playing with the regime map: frame callbacks %s; WebGL getParameter calls %d in %d s' % (
            spread(tasks), queries, PLAY_SECONDS))
        driver.execute_script("document.getElementById('canvas').dispatchEvent("
                              "new KeyboardEvent('keydown', {key: 'g', bubbles: true}))")
        latencies = driver.execute_async_script(STEPS, 'omf', arguments.steps)
        print('slider steps (omf), input to painted frame: %s' % spread(latencies))
        has_marks = driver.execute_script(
            "return performance.getEntriesByName('fv-pass-start').length > 0")
        if has_marks:
            drag = driver.execute_async_script(DRAG, 'omf', DRAG_INPUTS, DRAG_MS)
            print('slider drag (%d inputs every %d ms, %d passes): %s' % (
                DRAG_INPUTS, DRAG_MS, drag['passes'], spread(drag['latencies'])))
    finally:
        driver.quit()
        httpd.shutdown()


if __name__ == '__main__':
    main()
