"""The built page on a private loopback port, as any static server would serve it, and
its first pass in a browser, for the benchmarks that open it."""
import functools
import http.server
import socketserver
import threading
import time

FIRST_PASS_SECONDS = 60  # the longest a page may take to load and run its first pass


def serve(site):
    """Serves the folder site; returns the server and its address ("http://127.0.0.1:PORT/")."""
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass
    Quiet.extensions_map = dict(Quiet.extensions_map, **{'.wasm': 'application/wasm'})
    # A thread a request: Lighthouse and the page ask for several files at once.
    httpd = socketserver.ThreadingTCPServer(('127.0.0.1', 0), functools.partial(Quiet, directory=site))
    httpd.daemon_threads = True
    threading.Thread(target=httpd.serve_forever, daemon=True).start()
    return httpd, 'http://127.0.0.1:%d/' % httpd.server_address[1]


def wait_for_first_pass(driver):
    """Makes the reader's first move (which starts the program; a page that has started
    already ignores it) and waits for the first pass."""
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    ActionChains(driver).move_to_element(driver.find_element(By.TAG_NAME, 'h1')).perform()
    deadline = time.monotonic() + FIRST_PASS_SECONDS
    while int(driver.execute_script('return document.body.dataset.passes || 0')) < 1:
        if time.monotonic() > deadline:
            raise SystemExit('the page did not load')
        time.sleep(0.05)
