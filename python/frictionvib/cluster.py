"""Where a study's rows are computed: on the cores of this machine, or in chunks on a
Dask distributed cluster. Either way a chunk's text is the same, so the output is too."""

import sys

from . import _core
from . import _threads  # one core inside a Dask task, all cores elsewhere

LOCAL_CHUNK_ROWS = 2000  # rows between two updates of the progress bar on this machine


def compute_chunk(systems, threads=0):
    """The computed cells of a chunk of rows (eight values each), as CSV text."""
    return _core.study_rows(systems, threads)


class Progress:
    """A one-line progress bar on standard error."""

    WIDTH = 30  # characters of the bar

    def __init__(self, total, stream=sys.stderr):
        self.total, self.done, self.stream = total, 0, stream
        self.show()

    def advance(self, rows):
        self.done += rows
        self.show()

    def show(self):
        part = self.done / self.total if self.total else 1.0
        filled = int(part * self.WIDTH)
        self.stream.write(f"\rstudy [{'#' * filled}{'.' * (self.WIDTH - filled)}] "
                          f"{self.done}/{self.total} rows")
        self.stream.flush()

    def close(self):
        self.stream.write("\n")
        self.stream.flush()


def chunks(systems, size):
    return [systems[i:i + size] for i in range(0, len(systems), size)]


def run_local(systems, progress=True):
    """Every row on all cores of this machine (one core inside a Dask task)."""
    threads = _threads(None)
    bar = Progress(len(systems)) if progress else None
    cells = []
    for chunk in chunks(systems, LOCAL_CHUNK_ROWS):
        cells.extend(compute_chunk(chunk, threads))
        if bar:
            bar.advance(len(chunk))
    if bar:
        bar.close()
    return cells


def run_on_client(client, systems, chunk_rows, progress=True):
    """Every row on the Dask client's cluster, chunk_rows a task. Results are fetched as
    each chunk finishes, so a worker that dies holds none: the scheduler runs the chunks
    it was computing again elsewhere. A chunk's tasks compute on one thread, as the
    workers run one task per core. Ctrl-C (or any failure) cancels the chunks not done."""
    from dask.distributed import as_completed

    parts = chunks(systems, chunk_rows)
    futures = {}
    try:
        for index, part in enumerate(parts):
            future = client.submit(compute_chunk, part, 1, pure=False)
            futures[future] = index
        bar = Progress(len(systems)) if progress else None
        results = [None] * len(parts)
        for future in as_completed(list(futures)):
            index = futures.pop(future)
            results[index] = future.result()
            future.release()
            if bar:
                bar.advance(len(parts[index]))
        if bar:
            bar.close()
    except BaseException:
        if futures:
            client.cancel(list(futures))
        raise
    return [cell for part in results for cell in part]


def run_cluster(systems, address, chunk_rows, connect_timeout_s):
    """Every row on the Dask cluster at address, chunk_rows a task (run_on_client)."""
    from dask.distributed import Client

    with Client(address, timeout=connect_timeout_s) as client:
        return run_on_client(client, systems, chunk_rows)
