"""The web page in a real browser (headless Chromium with SwiftShader), against the
desktop program: the form's dialogue writes the desktop's console texts, the canvas
draws the desktop's pictures, the keys, the regime map, the exact dots, the picture
and the exported files work; the language menu, the address and the browser's
languages choose the page's and the console's language.

Usage: python3 browser_test.py SITE_DIR DESKTOP_PROGRAM
"""
import base64
import functools
import http.server
import json
import os
import socketserver
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

SITE = None
PROGRAM = None
PAGE_TABLES = None  # the desktop tool that writes the tables the page is written from
PIXEL_SHARE = 0.005     # pictures may differ in this share of their pixels
# A pixel differs when a channel differs by more than this: the two rasterisers round a
# colour such as 0.9 (229.5 of 255) to different sides.
CHANNEL_STEPS = 1
RELATIVE = 1e-9         # numbers may differ by this much (the browser's libm)
WAIT_SECONDS = 60

DEFAULTS = {'m': '1', 'lambda': '0.2', 'K': '1', 'F': '1', 'omf': '0.8', 'Fric': '0.3',
            'y0': '0', 'v0': '0'}
# Light damping, stick-slip at the entered ratio, a start away from rest.
VALUES = {'m': '2', 'lambda': '0.3', 'K': '3', 'F': '1.5', 'omf': '1.1', 'Fric': '0.4',
          'y0': '0.2', 'v0': '-0.1'}
ORDER = ['m', 'lambda', 'K', 'F', 'omf', 'Fric', 'y0', 'v0']
GROUPS = [['m', 'lambda', 'K'], ['F', 'omf'], ['Fric'], ['y0', 'v0']]


def dialogue_input(values):
    return ''.join(' '.join(values[k] for k in g) + '\n' for g in GROUPS)


def desktop(values, *options):
    """The desktop program's console text for a first pass with values."""
    run = subprocess.run([PROGRAM, '--batch', *options], input=dialogue_input(values).encode(),
                         stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300, check=True,
                         env=dict(os.environ, LC_ALL='C.UTF-8'))
    return run.stdout.decode('utf-8')


def desktop_png(values, frames, keys=''):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, 'picture.png')
        options = ['--png', path, '--frames', str(frames)] + (['--keys', keys] if keys else [])
        desktop(values, *options)
        with open(path, 'rb') as f:
            return f.read()


def close(a, b):
    return abs(a - b) <= RELATIVE * max(abs(a), abs(b), 1e-300)


# An estimated error of the exact steady state is rounding-level noise, which the
# browser's libm rounds otherwise: it compares against the amplitudes' scale (order 1).
ERROR_NAMES = ('error', 'error_m')


def close_error(a, b):
    return abs(a - b) <= RELATIVE


class Server:
    """The site on a private port, as any static server would serve it; with
    wasm_delay, the module comes that many seconds late, as on a slow network."""

    def __init__(self, wasm_delay=0.0):
        class Quiet(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                if wasm_delay and self.path.split('?')[0].endswith('.wasm'):
                    time.sleep(wasm_delay)
                super().do_GET()
        Quiet.extensions_map = dict(Quiet.extensions_map, **{'.wasm': 'application/wasm'})
        self.httpd = socketserver.ThreadingTCPServer(('127.0.0.1', 0), functools.partial(Quiet, directory=SITE))
        self.httpd.daemon_threads = True
        self.url = 'http://127.0.0.1:%d/' % self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()


class Page(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = Server()
        cls.downloads = tempfile.mkdtemp()
        options = webdriver.ChromeOptions()
        for argument in ['--headless=new', '--no-sandbox', '--disable-gpu', '--use-angle=swiftshader',
                         '--enable-unsafe-swiftshader', '--window-size=1300,1000',
                         '--disable-dev-shm-usage']:
            options.add_argument(argument)
        options.add_experimental_option('prefs', {
            'download.default_directory': cls.downloads,
            'profile.default_content_setting_values.automatic_downloads': 1,
            'intl.accept_languages': 'ja'})  # the tests above compare with the Japanese program
        cls.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        cls.driver.execute_cdp_cmd('Page.setDownloadBehavior',
                                   {'behavior': 'allow', 'downloadPath': cls.downloads})

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.httpd.shutdown()

    # --- the page -------------------------------------------------------------------

    def open_page(self, query='?picture=classic'):
        """Loads the page (by default with the classic picture, which the desktop draws
        pixel for pixel) and waits for its first pass; returns the seconds it took."""
        started = time.monotonic()
        self.driver.get(self.server.url + query)
        self.wait_for_passes(1)
        return time.monotonic() - started

    def script(self, code, *args):
        return self.driver.execute_script(code, *args)

    def wait_until(self, condition, what):
        deadline = time.monotonic() + WAIT_SECONDS
        while time.monotonic() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(0.05)
        self.fail('timed out waiting for ' + what)

    def reach(self):
        """The reader's first move over the page, which starts the program where it waits."""
        ActionChains(self.driver).move_to_element(self.driver.find_element(By.TAG_NAME, 'h1')).perform()

    def wait_for_passes(self, count):
        if self.passes() == 0:
            self.reach()
        self.wait_until(lambda: int(self.script('return document.body.dataset.passes || 0')) >= count,
                        '%d passes' % count)

    def passes(self):
        return int(self.script('return document.body.dataset.passes || 0'))

    def fill(self, values):
        for key, text in values.items():
            field = self.driver.find_element(By.ID, key)
            field.clear()
            field.send_keys(text)

    def click_pass(self, button):
        before = self.passes()
        self.driver.find_element(By.ID, button).click()
        self.wait_for_passes(before + 1)

    def console(self):
        return self.script("return document.getElementById('console').textContent")

    def canvas_keys(self, keys):
        canvas = self.driver.find_element(By.ID, 'canvas')
        canvas.click()
        canvas.send_keys(keys)

    def work_done(self):
        """Waits for the background work to end; returns when it was seen ended."""
        self.wait_until(lambda: self.script('return Module.ccall("fvWorkProgress", "number", [], [])') < 0,
                        'the background work')
        ended = time.monotonic()
        time.sleep(0.3)  # the last redraw of the finished work
        return ended

    def differing_share(self, png):
        """Share of pixels where the canvas and the PNG differ, compared in the page."""
        url = 'data:image/png;base64,' + base64.b64encode(png).decode()
        return self.driver.execute_async_script('''
            const [url, steps, done] = arguments;
            const image = new Image();
            image.onload = () => {
              const pixels = (source) => {
                const c = document.createElement('canvas');
                c.width = 800; c.height = 800;
                const g = c.getContext('2d');
                g.drawImage(source, 0, 0);
                return g.getImageData(0, 0, 800, 800).data;
              };
              const a = pixels(document.getElementById('canvas')), b = pixels(image);
              let differing = 0;
              for (let i = 0; i < a.length; i += 4) {
                if (Math.abs(a[i] - b[i]) > steps || Math.abs(a[i + 1] - b[i + 1]) > steps ||
                    Math.abs(a[i + 2] - b[i + 2]) > steps) ++differing;
              }
              done(differing / (800 * 800));
            };
            image.src = url;''', url, CHANNEL_STEPS)

    def assert_picture(self, png, what):
        share = self.differing_share(png)
        print('\n%s: %.4f %% of pixels differ' % (what, 100 * share), file=sys.stderr)
        self.assertLess(share, PIXEL_SHARE, what)

    def downloaded(self, name, since):
        path = os.path.join(self.downloads, name)
        self.wait_until(lambda: os.path.exists(path) and os.path.getmtime(path) >= since and
                        not os.path.exists(path + '.crdownload'), name)
        with open(path, 'rb') as f:
            return f.read()

    # --- the tests --------------------------------------------------------------------

    def test_form_runs_the_dialogue_with_the_desktop_texts(self):
        seconds = self.open_page()
        print('\npage load to a finished first pass: %.2f s' % seconds, file=sys.stderr)
        expected = desktop(DEFAULTS)
        self.assertEqual(self.console(), expected)
        self.fill(VALUES)
        self.click_pass('start')
        started = time.monotonic()
        expected += desktop(VALUES)
        print('pass over (1) to (4): browser %s, desktop program %.0f ms' % (
            self.driver.find_element(By.ID, 'status').text.split('(')[-1].split(')')[0],
            1000 * (time.monotonic() - started)), file=sys.stderr)
        self.assertEqual(self.console(), expected)
        # A bad number: it and the rest of its group keep their values, as at the console,
        # and the page says so beside them.
        self.fill({'m': '5', 'lambda': '0.3x'})
        self.click_pass('apply1')
        kept = dict(VALUES, m='5')
        expected += desktop(kept)
        self.assertEqual(self.console(), expected)
        self.assertIn('0.3', self.driver.find_element(By.ID, 'lambda-note').text)
        self.assertIn('3', self.driver.find_element(By.ID, 'K-note').text)
        self.assertEqual(self.driver.find_element(By.ID, 'm-note').text, '')
        # apply3 runs groups (3) and (4): the desktop's text from group (3) on.
        self.fill({'lambda': '0.3', 'Fric': '0.25'})
        self.click_pass('apply3')
        full = desktop(dict(kept, Fric='0.25'))
        self.assertEqual(self.console(), expected + full[full.index('\n\n(3)'):])

    def test_canvas_draws_the_desktop_pictures(self):
        self.open_page()
        self.fill(VALUES)
        self.click_pass('start')
        self.assert_picture(desktop_png(VALUES, 1), 'the first frame')
        self.canvas_keys('ssss')
        self.assert_picture(desktop_png(VALUES, 5), 'after ssss')
        self.canvas_keys('tYzaT')
        self.assert_picture(desktop_png(VALUES, 5, 'tYzaT'), 'after the view keys')

    def test_regime_map_on_workers_and_exact_dots_in_slices(self):
        self.open_page()
        workers = int(self.wait_until(lambda: self.script('return document.body.dataset.mapWorkers'),
                                      'the map workers'))
        self.assertGreaterEqual(workers, 1)
        self.fill(VALUES)
        self.click_pass('start')
        started = time.monotonic()
        self.canvas_keys('g')
        progress = self.wait_until(lambda: self.driver.find_element(By.ID, 'status').text, 'progress')
        # The page answers while the map is computed: a typed field takes its text.
        self.fill({'m': '7'})
        self.assertEqual(self.driver.find_element(By.ID, 'm').get_attribute('value'), '7')
        browser_seconds = self.work_done() - started
        self.assertTrue(progress)
        with tempfile.TemporaryDirectory() as folder:
            started = time.monotonic()
            desktop(VALUES, '--regime-map', os.path.join(folder, 'map'), '--frames', '2')
            desktop_seconds = time.monotonic() - started
            with open(os.path.join(folder, 'map.csv')) as f:
                desktop_csv = f.read()
            with open(os.path.join(folder, 'map.png'), 'rb') as f:
                desktop_map = f.read()
        print('\nregime map: browser %.2f s on %d workers, desktop program %.2f s' % (
            browser_seconds, workers, desktop_seconds), file=sys.stderr)
        web_csv = self.script('return UTF8ToString(Module.ccall("fvFileText", "number", ["string"], ["regime-map.csv"]))')
        self.assert_same_table(web_csv, desktop_csv, 'the regime map')
        self.assert_picture(desktop_map, 'the regime map')
        self.canvas_keys('ge')
        self.work_done()
        self.assert_picture(desktop_png(VALUES, 1, 'gge'), 'the exact dots')

    def map_csv(self, query):
        """The regime map's CSV of the page opened at query, once the map is complete."""
        self.driver.get(self.server.url + '?picture=classic&' + query)
        self.wait_for_passes(1)
        self.wait_until(lambda: self.script('return document.body.dataset.mapWorkers'), 'the map workers')
        self.canvas_keys('g')
        self.work_done()
        return self.script('return UTF8ToString(Module.ccall("fvFileText", "number", ["string"], ["regime-map.csv"]))')

    # Workers that fail at their first row, as a worker whose module cannot load would.
    FAILING_WORKERS = '''window.Worker = class extends Worker {
        constructor() {
          super(URL.createObjectURL(new Blob(['onmessage = () => { throw new Error("lost"); };'])));
        }
      };'''

    def test_map_is_the_same_on_workers_on_one_thread_and_after_lost_workers(self):
        query = '&'.join('%s=%s' % item for item in VALUES.items())
        on_workers = self.map_csv(query)
        self.assertEqual(self.map_csv(query + '&workers=0'), on_workers)
        added = self.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                                            {'source': self.FAILING_WORKERS})
        try:
            # The page's own thread computes the rows the workers lost, and the rest.
            self.assertEqual(self.map_csv(query), on_workers)
            self.assertIn('lost', self.script('return Worker.toString()'))
        finally:
            self.driver.execute_cdp_cmd('Page.removeScriptToEvaluateOnNewDocument',
                                        {'identifier': added['identifier']})

    def test_keys_belong_to_the_canvas_and_escape_lets_go(self):
        self.open_page()
        canvas = self.driver.find_element(By.ID, 'canvas')
        # The motion plays from the start; the space bar pauses and plays it.
        self.assertEqual(self.script('return Module.ccall("fvPlaying", "number", [], [])'), 1)
        self.canvas_keys(' ')
        self.assertEqual(self.script('return Module.ccall("fvPlaying", "number", [], [])'), 0)
        canvas.send_keys(' ')
        self.assertEqual(self.script('return Module.ccall("fvPlaying", "number", [], [])'), 1)
        canvas.send_keys(Keys.ESCAPE)
        self.assertEqual(self.script('return Module.ccall("fvPlaying", "number", [], [])'), 0)
        self.assertNotEqual(self.script('return document.activeElement.id'), 'canvas')
        # Typing a key letter in a field types it, and nothing else happens.
        before = self.passes()
        field = self.driver.find_element(By.ID, 'omf')
        field.clear()
        field.send_keys('mfrjsge')
        self.assertEqual(field.get_attribute('value'), 'mfrjsge')
        self.assertEqual(self.passes(), before)
        # 'r' on the canvas moves to group (3)'s field.
        self.canvas_keys('r')
        self.assertEqual(self.script('return document.activeElement.id'), 'Fric')

    def test_picture_and_files_download(self):
        self.open_page()
        self.fill(VALUES)
        self.click_pass('start')
        since = time.time() - 1
        self.canvas_keys('p')
        self.wait_until(lambda: [n for n in os.listdir(self.downloads)
                                 if n.startswith('frictionvib-') and n.endswith('.png')], 'the picture')
        name = [n for n in os.listdir(self.downloads) if n.startswith('frictionvib-') and n.endswith('.png')][0]
        picture = self.downloaded(name, since)
        self.assertEqual(picture[:8], b'\x89PNG\r\n\x1a\n')
        self.assertEqual(self.differing_share(picture), 0.0)
        self.driver.find_element(By.ID, 'export').click()
        files = {n: self.downloaded(n, since).decode() for n in ['summary.json', 'frequency.csv', 'time.csv']}
        with tempfile.TemporaryDirectory() as folder:
            desktop(VALUES, '--export', folder)
            for name, text in files.items():
                with open(os.path.join(folder, name)) as f:
                    expected = f.read()
                if name.endswith('.json'):
                    self.assert_same_json(json.loads(text), json.loads(expected), name)
                else:
                    self.assert_same_table(text, expected, name)

    # --- a page that answers at once ----------------------------------------------------

    def slide(self, key, position):
        """Moves a field's slider, as a reader's drag ends there; waits for its pass."""
        before = self.passes()
        self.script("""const s = document.getElementById(arguments[0] + '-slider');
                       s.value = String(arguments[1]);
                       s.dispatchEvent(new Event('input'));""", key, position)
        self.wait_for_passes(before + 1)

    def readouts(self):
        return {k: self.driver.find_element(By.ID, k + '-value').text
                for k in ['omega0', 'zeta', 'z', 'Yf', 'ratio', 'amplitude', 'kind']}

    def canvas_pixels(self):
        return self.script("return document.getElementById('canvas').toDataURL()")

    def test_sliders_recompute_at_once_and_readouts_say_none(self):
        self.open_page()
        self.assertEqual(self.script('return Module.ccall("fvPlaying", "number", [], [])'), 1)
        with tempfile.TemporaryDirectory() as folder:
            desktop(DEFAULTS, '--export', folder)
            with open(os.path.join(folder, 'summary.json')) as f:
                summary = json.load(f)
        shown = self.readouts()
        derived = summary['derived']
        for key, expected in [('omega0', derived['omega0']), ('zeta', derived['zeta']), ('z', derived['z']),
                              ('Yf', derived['Yf']), ('ratio', derived['Yc'] / derived['Yf']),
                              ('amplitude', summary['givenPointAmplitude'])]:
            self.assertAlmostEqual(float(shown[key]), expected, delta=1e-3 * abs(expected), msg=key)
        self.assertEqual(shown['kind'], '連続')
        # The friction's slider at its end (2 N): a pass from (3) at once, the motion
        # playing again, and no amplitude at all.
        console = self.console()
        self.slide('Fric', 1000)
        self.assertEqual(self.driver.find_element(By.ID, 'Fric').get_attribute('value'), '2')
        full = desktop(dict(DEFAULTS, Fric='2'))
        self.assertEqual(self.console(), console + full[full.index('\n\n(3)'):])
        self.assertEqual(self.script('return Module.ccall("fvPlaying", "number", [], [])'), 1)
        # Friction above the force: the mass never moves, amplitude 0.
        self.assertEqual(self.readouts()['amplitude'], '0')
        self.assertEqual(self.readouts()['kind'], '静止')
        self.assertNotIn('-1', self.driver.find_element(By.ID, 'readouts').text)
        # The mass's slider is on a log scale: its middle is the geometric mean of its ends.
        self.slide('m', 500)
        self.assertEqual(self.driver.find_element(By.ID, 'm').get_attribute('value'), '1')
        self.slide('m', 750)
        self.assertEqual(self.driver.find_element(By.ID, 'm').get_attribute('value'), '3.16')
        self.assertAlmostEqual(float(self.readouts()['omega0']), 1 / 3.16 ** 0.5, delta=1e-3)
        # A fast drag: the passes it asks for while one runs become one, with its last value.
        before = self.passes()
        self.script("""const s = document.getElementById('F-slider');
                       for (let p = 100; p <= 500; p += 40) {
                         s.value = String(p); s.dispatchEvent(new Event('input'));
                       }""")
        self.wait_for_passes(before + 2)
        time.sleep(0.5)
        self.assertEqual(self.passes(), before + 2)
        self.assertEqual(self.driver.find_element(By.ID, 'F').get_attribute('value'), '2.5')
        self.assertEqual(self.readouts()['Yf'], '2.5')  # F/K, K = 1
        # A static friction above the sliding one reaches the model before the pass.
        self.fill({'Fs': '2.5'})
        self.click_pass('start')
        self.assertIn('"Fs": 2.5', self.script('return UTF8ToString(Module.ccall("fvFileText", "number", ["string"], ["summary.json"]))'))

    def test_readouts_and_description_say_the_exports_verdict(self):
        self.open_page()
        kinds = {'continuous': '連続', 'stick-slip': 'スティックスリップ', 'rest': '静止',
                 'grows': '際限なく増大'}
        # A static force that holds the mass; undamped resonance that grows; undamped
        # resonance with friction enough to stick twice a cycle.
        for values, Fs, expected in [(DEFAULTS, '3', 'rest'),
                                     (dict(DEFAULTS, **{'lambda': '0', 'omf': '1'}), '0', 'grows'),
                                     (dict(DEFAULTS, **{'lambda': '0', 'omf': '1', 'Fric': '0.8'}),
                                      '0', 'stick-slip')]:
            self.fill(values)
            self.fill({'Fs': Fs})
            self.click_pass('start')
            with tempfile.TemporaryDirectory() as folder:
                options = ['--static-friction', Fs] if Fs != '0' else []
                desktop(values, '--export', folder, *options)
                with open(os.path.join(folder, 'summary.json')) as f:
                    summary = json.load(f)
            self.assertEqual(summary['givenPointMotion'], expected)
            shown = self.readouts()
            self.assertEqual(shown['kind'], kinds[expected])
            amplitude = summary['givenPointAmplitude']
            if amplitude is None:
                self.assertEqual(shown['amplitude'], 'なし')
            else:
                self.assertAlmostEqual(float(shown['amplitude']), amplitude, delta=1e-3 * max(amplitude, 1e-3))
            self.assertIn('運動: ' + kinds[expected],
                          self.driver.find_element(By.ID, 'canvas-now').text)

    def test_the_page_is_in_the_readers_language_before_its_module_loads(self):
        errors = []
        try:
            self.driver.execute_cdp_cmd('Network.enable', {})
            self.driver.execute_cdp_cmd('Network.setBlockedURLs', {'urls': ['*.wasm']})
            self.driver.get(self.server.url + '?lang=en')
            time.sleep(1)
            self.assertEqual(self.driver.find_element(By.ID, 'status').text, 'Loading…')
            self.assertIn('single-degree-of-freedom', self.driver.find_element(By.TAG_NAME, 'h1').text)
            self.assertIn('K*y = F*sin', self.driver.find_element(By.TAG_NAME, 'h1').text)
            self.assertEqual(self.script('return document.documentElement.lang'), 'en')
            self.assertEqual(self.script("return document.getElementById('lang').value"), 'en')
            # The blocked module's own failure to fetch is the only error allowed.
            errors = [e for e in self.driver.get_log('browser') if e['level'] == 'SEVERE' and
                      'wasm' not in e['message'] and 'Failed to fetch' not in e['message']]
        finally:
            self.driver.execute_cdp_cmd('Network.setBlockedURLs', {'urls': []})
        self.assertEqual(errors, [])

    def test_form_buttons_and_address_follow_the_programs_tables(self):
        self.open_page()
        tables = json.loads(subprocess.run([PAGE_TABLES], stdout=subprocess.PIPE, check=True).stdout)
        for p in tables['parameters']:
            name, slider = p['name'], p['slider']
            field = self.driver.find_element(By.ID, name)
            self.assertEqual(float(field.get_attribute('value')), p['start'], name)
            legend = field.find_element(By.XPATH, './ancestor::fieldset/legend').text
            self.assertEqual(legend, tables['groups'][p['formGroup'] - 1], name)
            self.assertEqual(self.driver.find_element(By.ID, name + '-slider').get_attribute('aria-label'),
                             p['label'])
            for position, end in ((0, slider['low']), (1000, slider['high'])):
                self.slide(name, position)
                self.assertAlmostEqual(float(field.get_attribute('value')), end, msg=name)
            self.assertIn(name + '=', self.driver.current_url)
        buttons = self.script("return Array.from(document.querySelectorAll('#keys button[data-key]'),"
                              " (b) => [b.dataset.key, b.textContent])")
        self.assertEqual(buttons, [[k['key'], k['words']] for k in tables['keys'] if k['words']])

    def test_meaningless_input_is_refused_beside_its_field(self):
        self.open_page()
        self.script('Module.ccall("fvStopPlayback", null, [], [])')  # a still picture to compare
        for key, text in [('m', '-1'), ('m', '0'), ('m', '1e400'), ('K', '0'), ('lambda', '-0.1'),
                          ('F', '-1'), ('omf', '0'), ('Fric', '-0.3'), ('y0', 'inf'), ('v0', 'nan'),
                          ('Fs', '0.1'), ('Fs', 'x')]:
            self.fill(DEFAULTS)
            self.fill({'Fs': '0'})
            self.fill({key: text})
            passes, picture, console = self.passes(), self.canvas_pixels(), self.console()
            self.driver.find_element(By.ID, 'start').click()
            self.wait_until(lambda: self.driver.find_element(By.ID, key + '-note').text, key + ' ' + text)
            self.assertEqual(self.passes(), passes, key + ' ' + text)
            self.assertEqual(self.console(), console)
            self.assertEqual(self.canvas_pixels(), picture)
            notes = [self.driver.find_element(By.ID, k + '-note').text for k in ORDER + ['Fs']]
            self.assertEqual(sum(1 for n in notes if n), 1, notes)
        # Fixed, the pass runs and the note goes.
        self.fill({'Fs': '0'})
        self.click_pass('start')
        self.assertEqual(self.driver.find_element(By.ID, 'Fs-note').text, '')

    def test_address_keeps_the_values_reset_and_link(self):
        self.open_page()
        self.fill(VALUES)
        self.click_pass('start')
        address = self.driver.current_url
        for key in ORDER:
            self.assertIn('%s=%s' % (key, VALUES[key]), address)
        self.driver.refresh()
        self.wait_for_passes(1)
        self.assertEqual(self.console(), desktop(VALUES))
        # The view keys are kept too: the reloaded page has pressed them again.
        self.canvas_keys('tY')
        self.assertIn('view=tY', self.driver.current_url)
        self.driver.refresh()
        self.wait_for_passes(1)
        self.wait_until(lambda: 'view=tY' in self.driver.current_url, 'the view kept')
        self.driver.get(self.server.url + '?m=2&lambda=0.4&lang=en')
        self.wait_for_passes(1)
        self.assertEqual(self.console(), desktop(dict(DEFAULTS, m='2', **{'lambda': '0.4'}), '--lang', 'en'))
        self.driver.find_element(By.ID, 'copy-link').click()
        self.wait_until(lambda: self.driver.find_element(By.ID, 'status').text.startswith(('Link copied', 'http')),
                        'the link')
        self.driver.find_element(By.ID, 'reset').click()
        self.wait_until(lambda: 'm=2' not in self.driver.current_url and self.passes() >= 1, 'the reset')
        self.assertEqual(self.console(), desktop(DEFAULTS, '--lang', 'en'))
        # Every word the page shows, the guidance too, in the reader's language.
        text = self.script("""return Array.from(document.body.querySelectorAll('*'))
            .filter((e) => e.id !== 'console' && !e.closest('#console') && !e.closest('#lang'))
            .map((e) => Array.from(e.childNodes).filter((n) => n.nodeType === 3)
                 .map((n) => n.nodeValue).join(' ')).join(' ')""")
        self.assertNotRegex(text, '[\u3000-\u9fff\uff00-\uffef]')
        self.assertIn('stick-slip', text)
        self.script('localStorage.clear()')

    def layout(self, width, height, screenshot):
        self.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                                    {'width': width, 'height': height, 'deviceScaleFactor': 1,
                                     'mobile': width < 600})
        try:
            self.open_page()
            folder = os.environ.get('FV_SCREENSHOTS')
            if folder:
                self.driver.save_screenshot(os.path.join(folder, screenshot))
            return self.script("""
                const box = (e) => e.getBoundingClientRect();
                const small = Array.from(document.querySelectorAll('button'))
                  .filter((b) => box(b).width < 44 || box(b).height < 44).map((b) => b.textContent);
                const style = getComputedStyle(document.getElementById('console'));
                return {small, canvasTop: box(document.getElementById('canvas')).top,
                        canvasHeight: box(document.getElementById('canvas')).height,
                        formTop: box(document.getElementById('form')).top, height: innerHeight,
                        wordBreak: style.wordBreak, whiteSpace: style.whiteSpace};""")
        finally:
            self.driver.execute_cdp_cmd('Emulation.clearDeviceMetricsOverride', {})

    def test_clear_picture_by_default_and_the_classic_one_in_the_address(self):
        self.open_page('')
        self.canvas_keys('ssso')
        shown = self.script('''
            const canvas = document.getElementById('canvas');
            const layer = document.getElementById('labels');
            const ink = layer.getContext('2d').getImageData(0, 0, layer.width, layer.height).data;
            let written = 0;
            for (let i = 3; i < ink.length; i += 4) written += ink[i] > 0 ? 1 : 0;
            return {side: canvas.width, shown: canvas.getBoundingClientRect().width,
                    ratio: window.devicePixelRatio, layer: layer.width, written: written,
                    hidden: layer.hidden, address: location.search};''')
        # The clear view at the device's pixel ratio, its text written on the layer over it.
        self.assertFalse(shown['hidden'])
        self.assertAlmostEqual(shown['side'], shown['shown'] * shown['ratio'], delta=1.5)
        self.assertEqual(shown['layer'], shown['side'])
        self.assertGreater(shown['written'], 2000)
        self.assertNotIn('picture=', shown['address'])
        # 'c' gives the classic picture, the desktop's own, and the address keeps it.
        self.canvas_keys('oc')
        self.assertIn('picture=classic', self.script('return location.search'))
        self.assertTrue(self.script("return document.getElementById('labels').hidden"))
        self.assertEqual(self.script("return document.getElementById('canvas').width"), 800)
        # The address brings the classic picture back (the tests above compare it with
        # the desktop's, pixel for pixel).
        self.driver.get(self.script('return location.href'))
        self.wait_for_passes(1)
        self.assertEqual(self.script('return Module.ccall("fvClearView", "number", [], [])'), 0)
        self.assertEqual(self.script("return document.getElementById('canvas').width"), 800)

    # What the reader touches and sees on a phone while a slider moves the picture.
    PHONE_LAYOUT = """
        const box = (e) => e.getBoundingClientRect();
        const touched = Array.from(document.querySelectorAll(
            'button, select, summary, input:not([type=radio]), #start-choice label'))
          .filter((e) => box(e).height > 0 && box(e).height < 44).map((e) => e.id || e.textContent);
        const canvas = document.getElementById('canvas');
        const hidden = [];
        for (const slider of document.querySelectorAll('input[type=range]')) {
          slider.scrollIntoView({block: 'end'});
          const c = box(canvas), s = box(slider);
          // (a pixel's fraction of rounding allowed)
          if (c.top < 0 || c.bottom > s.top + 1 || s.bottom > innerHeight + 1) hidden.push(slider.id);
        }
        return {touched, hidden, sideways: document.documentElement.scrollWidth > innerWidth};"""

    def test_layout_on_a_desktop_and_a_phone(self):
        wide = self.layout(1366, 900, 'page-1366x900.png')
        phone = self.layout(390, 844, 'page-390x844.png')
        for shown in [wide, phone]:
            self.assertEqual(shown['small'], [])
            self.assertLessEqual(shown['canvasHeight'], shown['height'])
            self.assertNotEqual(shown['wordBreak'], 'break-all')
            self.assertIn(shown['whiteSpace'], ['pre', 'nowrap'])
        self.assertLess(phone['canvasTop'], phone['formTop'])  # the picture first

    def test_phone_keeps_the_picture_in_view_while_a_slider_moves(self):
        self.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                                    {'width': 390, 'height': 844, 'deviceScaleFactor': 1, 'mobile': True})
        try:
            self.open_page()
            shown = self.script(self.PHONE_LAYOUT)
            self.assertEqual(shown['touched'], [], 'touch targets under 44 px')
            self.assertEqual(shown['hidden'], [], 'sliders whose picture is out of view')
            self.assertFalse(shown['sideways'])
            # A slider in use, as the screenshots of the notes show it.
            self.script("document.getElementById('omf-slider').scrollIntoView({block: 'end'})")
            self.slide('omf', 700)
            folder = os.environ.get('FV_SCREENSHOTS')
            if folder:
                self.driver.save_screenshot(os.path.join(folder, 'phone-slider-omf.png'))
                self.script("document.getElementById('Fric-slider').scrollIntoView({block: 'end'})")
                self.slide('Fric', 300)
                self.driver.save_screenshot(os.path.join(folder, 'phone-slider-Fric.png'))
        finally:
            self.driver.execute_cdp_cmd('Emulation.clearDeviceMetricsOverride', {})

    def test_accessibility_map_files_and_offline_copy(self):
        self.open_page()
        canvas = self.driver.find_element(By.ID, 'canvas')
        self.assertEqual(canvas.get_attribute('role'), 'img')
        self.assertEqual(canvas.get_attribute('aria-busy'), 'false')
        described = self.driver.find_element(By.ID, canvas.get_attribute('aria-describedby'))
        self.assertIn('ζ = 0.1', described.get_attribute('textContent'))
        self.assertEqual(self.driver.find_element(By.ID, 'console').get_attribute('role'), 'region')
        for button in self.driver.find_elements(By.CSS_SELECTOR, '#keys button'):
            self.assertRegex(button.text, '[\u3000-\u9fff]', button.get_attribute('data-key'))
        self.script("""window.longest = 0;
            new PerformanceObserver((list) => list.getEntries().forEach((e) => {
              window.longest = Math.max(window.longest, e.duration); })).observe({type: 'longtask'});
            window.announced = [];
            const status = document.getElementById('status');
            new MutationObserver(() => window.announced.push(status.textContent))
              .observe(status, {childList: true, characterData: true, subtree: true});""")
        self.wait_until(lambda: self.script('return document.body.dataset.mapWorkers'), 'the map workers')
        self.canvas_keys('g')
        self.assertEqual(canvas.get_attribute('aria-busy'), 'true')
        self.work_done()
        self.assertEqual(canvas.get_attribute('aria-busy'), 'false')
        self.assertEqual(self.script('return window.announced'), ['計算中…', '計算が終わりました'],
                         'the start and the end, not every step')
        self.assertIn('領域図', described.get_attribute('textContent'))
        print('\nlongest main-thread task while the map is computed: %.0f ms' % self.script('return window.longest'),
              file=sys.stderr)
        since = time.time() - 1
        self.driver.find_element(By.ID, 'map-csv').click()
        csv = self.downloaded('regime-map.csv', since).decode()
        self.assertEqual(csv, self.script('return UTF8ToString(Module.ccall("fvFileText", "number", ["string"], ["regime-map.csv"]))'))
        # The map's picture, with the motion held still so that the canvas stays as saved.
        self.script('Module.ccall("fvStopPlayback", null, [], [])')
        self.canvas_keys('p')
        pictures = lambda: [n for n in os.listdir(self.downloads) if n.startswith('frictionvib-') and n.endswith('.png')]
        name = self.wait_until(pictures, 'the map picture')[0]
        self.assertEqual(self.differing_share(self.downloaded(name, since)), 0.0)
        os.remove(os.path.join(self.downloads, name))  # the picture test looks for its own
        # Installable and offline: a manifest with an icon, and after one visit the page
        # opens from its own copy when the server is gone.
        own = Server()
        try:
            self.driver.get(own.url)
            self.wait_for_passes(1)
            manifest = self.driver.execute_async_script("""const done = arguments[0];
                fetch(document.querySelector('link[rel=manifest]').href).then((r) => r.json()).then(done);""")
            self.assertTrue(manifest['icons'])
            self.driver.execute_async_script("""const done = arguments[0];
                navigator.serviceWorker.ready.then(() => caches.open('frictionvib'))
                  .then((c) => c.keys()).then(done);""")
            self.wait_until(lambda: self.driver.execute_async_script("""const done = arguments[0];
                caches.open('frictionvib').then((c) => c.keys()).then((k) => done(k.length >= 6));"""),
                'the offline copy')
        finally:
            own.httpd.shutdown()
            own.httpd.server_close()
        self.driver.refresh()
        self.wait_for_passes(1)
        self.assertEqual(self.console(), desktop(DEFAULTS))

    def test_screen_readers_hear_values_refusals_results_and_the_picture_first(self):
        self.open_page()
        # Landmarks, and the picture among the first stops of the keyboard.
        self.assertEqual(self.script("return document.querySelectorAll('header h1, main #canvas').length"), 2)
        stops = self.script("""return Array.from(document.querySelectorAll(
            'a[href], button, input, select, summary, [tabindex]'))
            .filter((e) => !e.disabled && e.tabIndex >= 0 && e.getClientRects().length > 0)
            .map((e) => e.id);""")
        self.assertLess(stops.index('canvas'), 3, stops)
        # A slider says its value and unit; a field is named by its label alone.
        self.slide('omf', 500)
        value = self.driver.find_element(By.ID, 'omf').get_attribute('value')
        self.assertEqual(self.driver.find_element(By.ID, 'omf-slider').get_attribute('aria-valuetext'),
                         value + ' rad/s')
        self.assertEqual(self.driver.find_element(By.ID, 'omf').accessible_name, '振動数ωf[rad/s]')
        # The readouts are said once the passes have ended, in a polite live region.
        announce = self.driver.find_element(By.ID, 'announce')
        self.assertEqual(announce.get_attribute('aria-live'), 'polite')
        self.wait_until(lambda: 'z = ' in announce.get_attribute('textContent'), 'the readouts said')
        self.driver.execute_async_script("""const done = arguments[0];
            window.said = [];
            const a = document.getElementById('announce');
            new MutationObserver(() => window.said.push(a.textContent))
              .observe(a, {childList: true, characterData: true, subtree: true});
            const slider = document.getElementById('Fric-slider');
            const passes = () => Number(document.body.dataset.passes);
            (async () => {
              for (const position of [300, 350, 400]) {
                const before = passes();
                slider.value = String(position);
                slider.dispatchEvent(new Event('input'));
                while (passes() === before) await new Promise((r) => setTimeout(r, 5));
              }
              done();
            })();""")
        time.sleep(1)
        self.assertEqual(len(self.script('return window.said')), 1, 'three passes, said once')
        # A refused field is invalid and described by its note.
        self.fill({'m': '-1'})
        self.driver.find_element(By.ID, 'start').click()
        field = self.driver.find_element(By.ID, 'm')
        self.wait_until(lambda: field.get_attribute('aria-invalid') == 'true', 'm refused')
        self.assertEqual(field.get_attribute('aria-describedby'), 'm-note')
        self.assertTrue(self.driver.find_element(By.ID, 'm-note').text)
        self.fill({'m': '1'})
        self.click_pass('start')
        self.assertEqual(field.get_attribute('aria-invalid'), 'false')

    def test_before_the_module_loads_sliders_and_input_wait_for_the_first_pass(self):
        slow = Server(wasm_delay=2.0)
        self.driver.get_log('browser')  # the earlier pages' messages
        try:
            # A page without a system in its address waits for the reader: no program
            # loaded, its first picture shown, the page in the reader's language.
            self.driver.get(slow.url + '?lang=en')
            self.assertEqual(self.script("return performance.getEntriesByType('resource')"
                                         ".filter((e) => e.name.includes('frictionvib')).length"), 0)
            self.assertIn('poster-en.png', self.script("return document.getElementById('canvas').style.backgroundImage"))
            self.assertTrue(self.driver.find_element(By.TAG_NAME, 'h1').is_displayed())
            self.driver.get(slow.url + '?lang=en&omf=1.5&Fric=0.2')
            self.assertEqual(self.passes(), 0)
            self.assertEqual(self.script('return document.documentElement.lang'), 'en')
            self.assertIn('Forced vibration', self.driver.find_element(By.TAG_NAME, 'h1').text)
            # The sliders stand at their fields' values, the address's among them.
            for key, position in [('omf', 739), ('Fric', 100), ('m', 500)]:
                self.assertAlmostEqual(int(self.driver.find_element(By.ID, key + '-slider').get_attribute('value')),
                                       position, delta=1, msg=key)
            # A slider moved now throws nothing, and its value is the first pass's.
            self.script("""const s = document.getElementById('K-slider');
                           s.value = '750'; s.dispatchEvent(new Event('input'));""")
            self.assertEqual(self.driver.find_element(By.ID, 'K').get_attribute('value'), '3.16')
            self.wait_for_passes(1)
            self.assertEqual(self.script('return Module.ccall("fvInputValue", "number", ["string"], ["K"])'), 3.16)
            self.assertEqual(self.script('return Module.ccall("fvInputValue", "number", ["string"], ["omf"])'), 1.5)
            errors = [e for e in self.driver.get_log('browser') if e['level'] == 'SEVERE']
            self.assertEqual(errors, [])
        finally:
            slow.httpd.shutdown()
            slow.httpd.server_close()

    # The WebGL state queries a frame may make: the buffer bindings the browser's
    # emulation of immediate mode restores, which the browser answers from its own
    # records; none of the state the program set (line width, viewport), which waits for
    # the GPU process.
    GL_QUERIES = '''window.glQueries = new Set();
        const own = WebGLRenderingContext.prototype.getParameter;
        WebGLRenderingContext.prototype.getParameter = function (name) {
          window.glQueries.add(name);
          return own.call(this, name);
        };'''
    BUFFER_BINDINGS = {0x8894, 0x8895}  # ARRAY_BUFFER_BINDING, ELEMENT_ARRAY_BUFFER_BINDING

    def test_frames_ask_webgl_nothing_the_program_set(self):
        added = self.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': self.GL_QUERIES})
        try:
            self.open_page()
            self.script('window.glQueries.clear()')
            time.sleep(0.5)  # frames of the playing motion
            self.canvas_keys('tYg')  # scales, text, and the regime map's cells
            self.work_done()
            self.assertGreater(self.script('return Module.ccall("fvPlaying", "number", [], [])'), 0)
            asked = set(self.script('return Array.from(window.glQueries)'))
            self.assertLessEqual(asked, self.BUFFER_BINDINGS, [hex(q) for q in asked])
        finally:
            self.driver.execute_cdp_cmd('Page.removeScriptToEvaluateOnNewDocument',
                                        {'identifier': added['identifier']})

    def motion_extent(self, frames):
        """Largest |y| over frames frames of the motion from its start, the playback held."""
        return self.script("""Module.ccall('fvStopPlayback', null, [], []);
            let largest = Math.abs(Module.ccall('fvReadout', 'number', ['string'], ['y']));
            for (let k = 0; k < arguments[0]; ++k) {
              Module.ccall('fvKey', 'number', ['number'], ['s'.charCodeAt(0)]);
              largest = Math.max(largest, Math.abs(Module.ccall('fvReadout', 'number', ['string'], ['y'])));
            }
            return largest;""", frames)

    def test_steady_start_shows_the_settled_amplitude_from_the_first_period(self):
        # Light damping (zeta = 0.05) at z = 0.8: from rest the motion takes many periods
        # to settle; a period is 2 pi / 0.8 s, 79 frames of 0.1 s.
        query = 'lambda=0.1&start=steady'
        self.driver.get(self.server.url + '?' + query)
        self.wait_for_passes(1)
        self.assertTrue(self.driver.find_element(By.CSS_SELECTOR, 'input[value=steady]').is_selected())
        amplitude = float(self.driver.find_element(By.ID, 'amplitude-value').text)
        steady = self.motion_extent(80)
        self.assertAlmostEqual(steady, amplitude, delta=0.01 * amplitude)
        # A slider's pass starts in the new steady motion too.
        self.slide('omf', 400)
        amplitude = float(self.driver.find_element(By.ID, 'amplitude-value').text)
        period = 2 * 3.14159265 / float(self.driver.find_element(By.ID, 'omf').get_attribute('value'))
        self.assertAlmostEqual(self.motion_extent(int(period / 0.1) + 1), amplitude, delta=0.01 * amplitude)
        self.assertIn('start=steady', self.driver.current_url)
        # From rest the same system is far from it over the first period.
        self.driver.find_element(By.CSS_SELECTOR, 'input[value=rest]').click()
        self.wait_until(lambda: 'start=rest' in self.driver.current_url, 'the start from rest')
        from_rest = self.motion_extent(int(period / 0.1) + 1)
        self.assertGreater(abs(from_rest - amplitude), 0.1 * amplitude)

    def test_each_experiment_keeps_its_promise(self):
        self.open_page()
        buttons = self.driver.find_elements(By.CSS_SELECTOR, '#try .try')
        self.assertEqual(len(buttons), 4)
        for k, button in enumerate(buttons):
            before = self.passes()
            button.click()
            self.wait_for_passes(before + 1)
            self.wait_until(lambda: self.driver.find_element(By.ID, 'try-next').text, 'what to change next')
            self.assertTrue(self.driver.find_element(By.CSS_SELECTOR, 'input[value=steady]').is_selected())
            shows_map = '領域図' in self.driver.find_element(By.ID, 'canvas-now').get_attribute('textContent')
            self.assertEqual(shows_map, button.get_attribute('data-view') == 'map', k)
            first = float(self.driver.find_element(By.ID, 'amplitude-value').text)
            self.fill(json.loads(button.get_attribute('data-change')))
            self.click_pass('start')
            then = self.driver.find_element(By.ID, 'amplitude-value').text
            promise = button.get_attribute('data-promise')
            if promise == 'falls':
                self.assertLess(float(then), 0.9 * first, k)
            elif promise == 'rises':
                self.assertGreater(float(then), 1.1 * first, k)
            else:
                self.assertEqual(self.driver.find_element(By.ID, 'kind-value').text, '静止', k)
            if shows_map and k + 1 < len(buttons):
                self.canvas_keys('g')  # back to the motion for the next
                self.work_done()

    # --- comparisons ----------------------------------------------------------------------

    # --- the reader's language ---------------------------------------------------------

    # The page's fixed texts that the language changes (the dynamic ones are compared
    # with the desktop's console and checked by their words).
    STATIC_TEXTS = '''
        const texts = (doc) => {
          const found = [doc.title];
          for (const e of doc.querySelectorAll('h1, legend, label.field, .hint, #start, #keys button')) {
            found.push(e.textContent);
          }
          for (const e of doc.querySelectorAll('[title], [aria-label]')) {
            found.push(e.getAttribute('title') || e.getAttribute('aria-label'));
          }
          return found;
        };'''

    def static_texts(self):
        return self.script(self.STATIC_TEXTS + 'return texts(document);')

    def open_language(self, query=''):
        self.driver.get(self.server.url + query)
        self.wait_for_passes(1)

    def test_language_menu_address_and_saved_choice(self):
        self.script('localStorage.clear()')
        self.open_language('?lang=en')
        self.assertEqual(self.script('return document.documentElement.lang'), 'en')
        menu = self.script("return Array.from(document.getElementById('lang').options, "
                           "(o) => [o.value, o.textContent])")
        self.assertEqual(menu[:2], [['ja', '日本語'], ['en', 'English']])
        self.assertEqual(self.console(), desktop(DEFAULTS, '--lang', 'en'))
        words = ' '.join(self.static_texts()) + self.driver.find_element(By.ID, 'status').text
        self.assertNotRegex(words, '[\u3000-\u9fff\uff00-\uffef]')
        self.assertIn('Forced vibration', self.driver.find_element(By.TAG_NAME, 'h1').text)
        self.assertIn('Computed from (1)', self.driver.find_element(By.ID, 'status').text)
        self.assertIn('Keys:', self.driver.find_element(By.ID, 'canvas').get_attribute('aria-label'))
        # The menu: back to Japanese, every fixed text as index.html has it, the choice
        # in the address and kept for the next visit.
        self.driver.find_element(By.CSS_SELECTOR, '#lang option[value="ja"]').click()
        static = self.driver.execute_async_script(self.STATIC_TEXTS + '''
            const done = arguments[arguments.length - 1];
            fetch('index.html').then((r) => r.text()).then((html) =>
              done(texts(new DOMParser().parseFromString(html, 'text/html'))));''')
        self.assertEqual(self.static_texts(), static)
        self.assertEqual(self.script('return document.documentElement.lang'), 'ja')
        self.assertIn('lang=ja', self.driver.current_url)
        self.driver.find_element(By.CSS_SELECTOR, '#lang option[value="en"]').click()
        self.open_language()
        self.assertEqual(self.script("return document.getElementById('lang').value"), 'en')
        self.assertEqual(self.console(), desktop(DEFAULTS, '--lang', 'en'))
        self.open_language('?lang=ja')  # the address before the saved choice
        self.assertEqual(self.console(), desktop(DEFAULTS))
        self.open_language('?lang=xx')  # no such catalog: the saved choice
        self.assertEqual(self.script('return document.documentElement.lang'), 'en')
        self.script('localStorage.clear()')

    def test_browser_languages_choose_when_nothing_else_does(self):
        self.driver.get(self.server.url)
        self.script('localStorage.clear()')
        agent = self.script('return navigator.userAgent')
        try:
            for accepted, expected in [('en-GB,ja', 'en'), ('fr,de', 'ja'), ('de,en-US', 'en')]:
                self.driver.execute_cdp_cmd('Network.setUserAgentOverride',
                                            {'userAgent': agent, 'acceptLanguage': accepted})
                self.open_language()
                self.assertEqual(self.script('return document.documentElement.lang'), expected,
                                 accepted)
        finally:
            self.driver.execute_cdp_cmd('Network.setUserAgentOverride',
                                        {'userAgent': agent, 'acceptLanguage': 'ja'})

    def assert_same_table(self, text, expected, what):
        rows, expected_rows = text.splitlines(), expected.splitlines()
        self.assertEqual(len(rows), len(expected_rows), what)
        header = next((r.split(',') for r in expected_rows if not r.startswith('#')), [])
        for row, expected_row in zip(rows, expected_rows):
            cells, expected_cells = row.split(','), expected_row.split(',')
            self.assertEqual(len(cells), len(expected_cells), what)
            for k, (cell, expected_cell) in enumerate(zip(cells, expected_cells)):
                compare = close_error if k < len(header) and header[k] in ERROR_NAMES else close
                try:
                    same = compare(float(cell), float(expected_cell))
                except ValueError:
                    same = cell == expected_cell
                self.assertTrue(same, '%s: %r != %r in\n%s\n%s' % (what, cell, expected_cell, row, expected_row))

    def assert_same_json(self, value, expected, what):
        if what.split('.')[-1] in ERROR_NAMES and value is not None and expected is not None:
            self.assertTrue(close_error(float(value), float(expected)), '%s: %r != %r' % (what, value, expected))
        elif isinstance(expected, dict):
            self.assertEqual(list(value), list(expected), what)
            for key in expected:
                self.assert_same_json(value[key], expected[key], what + '.' + key)
        elif isinstance(expected, (int, float)) and not isinstance(expected, bool):
            self.assertTrue(close(float(value), float(expected)), '%s: %r != %r' % (what, value, expected))
        else:
            self.assertEqual(value, expected, what)


if __name__ == '__main__':
    SITE, PROGRAM = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    PAGE_TABLES = os.path.join(os.path.dirname(PROGRAM), 'fvpagetables')
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)
