"""The built page on a private loopback port, as any static server would serve it, for
the benchmarks that open it in a browser."""
import functools
import http.server
import socketserver
import threading


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
