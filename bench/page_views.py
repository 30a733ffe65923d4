#!/usr/bin/env python3
"""Screenshots of the page's views (clear frequency chart, phase plane, energy of a cycle,
regime map, classic picture) at a desktop's 1366 x 900 and a phone's 390 x 844, in
headless Chromium, for looking at the picture as readers see it.

Usage: python3 bench/page_views.py SITE_DIR OUT_DIR"""
import functools
import http.server
import os
import socketserver
import sys
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

VIEWS = [('frequency', '', ''), ('phase', '', 'o'), ('energy', '', 'w'), ('map', '', 'g'),
         ('classic', 'picture=classic&', '')]
SIZES = [(1366, 900), (390, 844)]


def main(site, out):
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass
    Quiet.extensions_map = dict(Quiet.extensions_map, **{'.wasm': 'application/wasm'})
    httpd = socketserver.TCPServer(('127.0.0.1', 0), functools.partial(Quiet, directory=site))
    threading.Thread(target=httpd.serve_forever, daemon=True).start()
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
            driver.get('http://127.0.0.1:%d/?%slang=en' % (httpd.server_address[1], query))
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
