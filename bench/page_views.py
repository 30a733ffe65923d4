#!/usr/bin/env python3
"""Screenshots of the page's views (clear frequency chart, phase plane, energy of a cycle,
regime map, classic picture) at a desktop's 1366 x 900 and a phone's 390 x 844, in
headless Chromium, for looking at the picture as readers see it.

Usage: python3 bench/page_views.py SITE_DIR OUT_DIR"""
import os
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

from site_server import serve  # bench/site_server.py, beside this script

# An address that names the picture starts the program at once, without a reader's touch.
VIEWS = [('frequency', 'picture=clear&', ''), ('phase', 'picture=clear&', 'o'),
         ('energy', 'picture=clear&', 'w'), ('map', 'picture=clear&', 'g'),
         ('classic', 'picture=classic&', '')]
SIZES = [(1366, 900), (390, 844)]


def main(site, out):
    httpd, url = serve(site)
    os.makedirs(out, exist_ok=True)
    for width, height in SIZES:
        options = webdriver.ChromeOptions()
        for argument in ['--headless=new', '--no-sandbox', '--use-angle=swiftshader',
                         '--enable-unsafe-swiftshader', '--disable-dev-shm-usage',
                         '--window-size=%d,%d' % (width, height)]:
            options.add_argument(argument)
        driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        driver.set_window_size(width, height)
        for name, query, keys in VIEWS:
            driver.get('%s?%slang=en' % (url, query))
            deadline = time.monotonic() + 60
            while int(driver.execute_script('return document.body.dataset.passes || 0')) < 1:
                if time.monotonic() > deadline:
                    raise SystemExit('the page did not load')
                time.sleep(0.1)
            time.sleep(2.0)  # two seconds of motion
            driver.execute_script('Module.ccall("fvStopPlayback", null, [], [])')
            for key in keys:
                driver.execute_script('Module.ccall("fvKey", "number", ["number"], [arguments[0]])',
                                      ord(key))
            time.sleep(4.0 if 'g' in keys else 0.5)
            driver.execute_script("document.getElementById('canvas').scrollIntoView()")
            path = os.path.join(out, 'page-%dx%d-%s.png' % (width, height, name))
            driver.save_screenshot(path)
            print(path)
        driver.quit()
    httpd.shutdown()


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
