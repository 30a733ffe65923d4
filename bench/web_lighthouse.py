"""The page as Lighthouse and axe see it in this machine's headless Chromium: for the
mobile and the desktop profiles, the performance, accessibility and best-practices
scores with total blocking time, time to interactive and layout shift; then axe's
violations of the loaded page. Lighthouse and axe-core are the versions pinned in
bench/package.json (installed by scripts/deps.sh lighthouse).

    bash scripts/web.sh --build-only
    /usr/bin/python3 bench/web_lighthouse.py build-web/site [--runs N]
"""
import argparse
import json
import os
import statistics
import subprocess
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from site_server import serve, wait_for_first_pass  # bench/site_server.py, beside this script


BENCH = os.path.dirname(os.path.abspath(__file__))
LIGHTHOUSE = os.path.join(BENCH, 'node_modules', '.bin', 'lighthouse')
AXE = os.path.join(BENCH, 'node_modules', 'axe-core', 'axe.min.js')
CHROME_FLAGS = '--headless=new --no-sandbox --disable-dev-shm-usage --use-angle=swiftshader --enable-unsafe-swiftshader'
CATEGORIES = ['performance', 'accessibility', 'best-practices']
METRICS = [('total-blocking-time', 'TBT', 'ms'), ('interactive', 'TTI', 's'),
           ('cumulative-layout-shift', 'CLS', ''), ('first-contentful-paint', 'FCP', 's'),
           ('largest-contentful-paint', 'LCP', 's')]


def lighthouse(url, desktop):
    with tempfile.TemporaryDirectory() as folder:
        report = os.path.join(folder, 'report.json')
        command = [LIGHTHOUSE, url, '--output=json', '--output-path=' + report, '--quiet',
                   '--chrome-flags=' + CHROME_FLAGS,
                   '--only-categories=' + ','.join(CATEGORIES)]
        if desktop:
            command.append('--preset=desktop')
        subprocess.run(command, check=True, env=dict(os.environ, CHROME_PATH='/usr/bin/chromium'),
                       stdout=subprocess.DEVNULL, timeout=600)
        with open(report) as f:
            result = json.load(f)
    scores = {c: round(100 * result['categories'][c]['score']) for c in CATEGORIES}
    metrics = {name: result['audits'][audit]['numericValue'] for audit, name, _ in METRICS}
    failed = [a for c in CATEGORIES[1:] for a in (ref['id'] for ref in result['categories'][c]['auditRefs'])
              if result['audits'][a]['score'] is not None and result['audits'][a]['score'] < 1 and
              result['audits'][a]['scoreDisplayMode'] == 'binary']
    return scores, metrics, failed


def axe(url):
    options = webdriver.ChromeOptions()
    for argument in CHROME_FLAGS.split() + ['--window-size=1300,1000']:
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    try:
        found = {}
        for width, height in [(1300, 1000), (390, 844)]:
            driver.set_window_size(width, height)
            driver.get(url)
            wait_for_first_pass(driver)
            with open(AXE) as f:
                driver.execute_script(f.read())
            driver.set_script_timeout(60)
            violations = driver.execute_async_script(
                'const done = arguments[0]; axe.run().then((r) => done(r.violations.map((v) => '
                '[v.id, v.nodes.map((n) => n.target.join(" "))])));')
            found['%dx%d' % (width, height)] = violations
        return found
    finally:
        driver.quit()


def shown(value, unit):
    if unit == 's':
        return '%.1f s' % (value / 1000)
    if unit == 'ms':
        return '%.0f ms' % value
    return '%.3f' % value


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('site')
    parser.add_argument('--runs', type=int, default=1, help='Lighthouse runs per profile (medians)')
    arguments = parser.parse_args()
    if not os.path.exists(LIGHTHOUSE):
        raise SystemExit('no Lighthouse in bench/node_modules: run bash scripts/deps.sh lighthouse')
    httpd, url = serve(arguments.site)
    try:
        for desktop in (False, True):
            runs = [lighthouse(url, desktop) for _ in range(arguments.runs)]
            scores = {c: statistics.median(r[0][c] for r in runs) for c in CATEGORIES}
            metrics = {name: statistics.median(r[1][name] for r in runs) for _, name, _ in METRICS}
            print('%s: %s; %s%s' % (
                'desktop' if desktop else 'mobile',
                ', '.join('%s %d' % (c, scores[c]) for c in CATEGORIES),
                ', '.join('%s %s' % (name, shown(metrics[name], unit)) for _, name, unit in METRICS),
                '; failed audits: ' + ', '.join(sorted(set(a for r in runs for a in r[2])))
                if any(r[2] for r in runs) else ''))
        for size, violations in axe(url).items():
            print('axe at %s: %s' % (size, json.dumps(violations) if violations else 'no violations'))
    finally:
        httpd.shutdown()


if __name__ == '__main__':
    main()
