"""The regime map in the browser against the desktop program: the time from the key g
to the complete map on the page's workers and on the page's thread alone, the longest
main-thread task while it is computed, how long the page takes to answer a click then,
and the desktop's --regime-map process time (wall and CPU) for the same system.

    bash scripts/web.sh --build-only
    /usr/bin/python3 bench/web_map.py build-web/site build/frictionvib [--repeats N]
"""
import argparse
import os
import resource
import statistics
import subprocess
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from site_server import serve  # bench/site_server.py, beside this script


# The system of the browser tests: light damping, stick-slip at the entered ratio.
VALUES = ['2 0.3 3', '1.5 1.1', '0.4', '0.2 -0.1']
QUERY = 'm=2&lambda=0.3&K=3&F=1.5&omf=1.1&Fric=0.4&y0=0.2&v0=-0.1'
CLICK_PROBES = 5  # clicks while the map is computed


def browser():
    options = webdriver.ChromeOptions()
    for argument in ['--headless=new', '--no-sandbox', '--disable-gpu', '--use-angle=swiftshader',
                     '--enable-unsafe-swiftshader', '--window-size=1300,1000']:
        options.add_argument(argument)
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)


# In the page: g, then until the map is complete the longest task and the delay of a
# click's handler every 200 ms; answers [map seconds, longest task ms, click delays ms].
MEASURE = '''
const done = arguments[arguments.length - 1];
let longest = 0;
const observer = new PerformanceObserver((list) => list.getEntries().forEach((e) => {
  longest = Math.max(longest, e.duration); }));
observer.observe({type: 'longtask'});
const delays = [];
const button = document.getElementById('copy-link');
const probe = () => {
  const asked = performance.now();
  button.addEventListener('pointerdown', () => delays.push(performance.now() - asked), {once: true});
  setTimeout(() => button.dispatchEvent(new PointerEvent('pointerdown')), 0);
};
const canvas = document.getElementById('canvas');
canvas.focus();
const started = performance.now();
canvas.dispatchEvent(new KeyboardEvent('keydown', {key: 'g', bubbles: true}));
let probes = 0;
const poll = () => {
  if (Module.ccall('fvWorkProgress', 'number', [], []) >= 0) {
    if (probes++ < %d) probe();
    setTimeout(poll, 5);
    return;
  }
  const seconds = (performance.now() - started) / 1000;
  setTimeout(() => { observer.disconnect(); done([seconds, longest, delays]); }, 200);
};
poll();
''' % CLICK_PROBES


def page_map(driver, url, workers):
    driver.get(url + '?' + QUERY + ('' if workers is None else '&workers=%d' % workers))
    deadline = time.monotonic() + 60
    while int(driver.execute_script('return document.body.dataset.passes || 0')) < 1:
        if time.monotonic() > deadline:
            raise SystemExit('the page did not load')
        time.sleep(0.05)
    time.sleep(0.5)  # let the first frames settle
    driver.set_script_timeout(120)
    seconds, longest, delays = driver.execute_async_script(MEASURE)
    csv = driver.execute_script(
        'return UTF8ToString(Module.ccall("fvFileText", "number", ["string"], ["regime-map.csv"]))')
    return seconds, longest, delays, csv


def desktop_map(program):
    """The desktop program's --regime-map run: [wall seconds, CPU seconds]."""
    with tempfile.TemporaryDirectory() as folder:
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        started = time.monotonic()
        subprocess.run([program, '--batch', '--regime-map', os.path.join(folder, 'map'), '--frames', '1'],
                       input=('\n'.join(VALUES) + '\n').encode(), stdout=subprocess.DEVNULL, check=True)
        wall = time.monotonic() - started
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        return wall, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('site')
    parser.add_argument('program')
    parser.add_argument('--repeats', type=int, default=3)
    arguments = parser.parse_args()
    httpd, url = serve(arguments.site)
    driver = browser()
    try:
        cores = driver.execute_script('return navigator.hardwareConcurrency')
        runs = [desktop_map(arguments.program) for _ in range(arguments.repeats)]
        desktop = [run[0] for run in runs]
        print('cores (navigator.hardwareConcurrency): %d' % cores)
        print('desktop --regime-map process: wall median %.2f s (%s), CPU median %.2f s' % (
            statistics.median(desktop), ', '.join('%.2f' % s for s in desktop),
            statistics.median(run[1] for run in runs)))
        reference = None
        for workers, name in [(None, 'workers (one per core)'), (0, "the page's thread alone")]:
            runs = [page_map(driver, url, workers) for _ in range(arguments.repeats)]
            for run in runs:
                reference = reference or run[3]
                if run[3] != reference:
                    print('  THE MAP DIFFERS between runs')
            seconds = [run[0] for run in runs]
            delays = [d for run in runs for d in run[2]]
            print('%s: map median %.2f s (%s) = %.2f x desktop; longest task %.0f ms; click delay max %.0f ms' % (
                name, statistics.median(seconds), ', '.join('%.2f' % s for s in seconds),
                statistics.median(seconds) / statistics.median(desktop),
                max(run[1] for run in runs), max(delays) if delays else float('nan')))
    finally:
        driver.quit()
        httpd.shutdown()


if __name__ == '__main__':
    main()
