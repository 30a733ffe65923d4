"""A Dask distributed cluster on 127.0.0.1 for the tests and the benchmarks: a scheduler
and workers on free ports, each process in a session of its own, all ended on exit."""

import os
import signal
import socket
import subprocess
import sys
import time

START_TIMEOUT_S = 30  # a scheduler and its workers are up within a few seconds


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class LocalCluster:
    def __init__(self, workers, pythonpath):
        self.env = dict(os.environ, PYTHONPATH=pythonpath)
        self.processes = []
        port = free_port()
        self.address = f"tcp://127.0.0.1:{port}"
        self.scheduler = self._start("distributed.cli.dask_scheduler", "--host", "127.0.0.1",
                                     "--port", str(port), "--no-dashboard")
        self.workers = [self._start("distributed.cli.dask_worker", self.address, "--host",
                                    "127.0.0.1", "--nthreads", "1", "--no-nanny",
                                    "--no-dashboard") for _ in range(workers)]
        self._wait_for_workers(workers)

    def _start(self, module, *args):
        p = subprocess.Popen([sys.executable, "-m", module, *args], env=self.env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                             start_new_session=True)
        self.processes.append(p)
        return p

    def _wait_for_workers(self, count):
        from dask.distributed import Client
        with Client(self.address, timeout=START_TIMEOUT_S) as client:
            client.wait_for_workers(count, timeout=START_TIMEOUT_S)

    def kill_worker(self, k):
        os.killpg(self.workers[k].pid, signal.SIGKILL)
        self.workers[k].wait()

    def close(self):
        for p in reversed(self.processes):
            if p.poll() is None:
                os.killpg(p.pid, signal.SIGKILL)
                p.wait()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
