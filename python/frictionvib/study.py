"""A parameter study: python3 -m frictionvib.study IN.csv OUT.csv [options], or from
Python, run(table, client=None, chunk=1000) on a pandas DataFrame or a dict of arrays.

Reads one system a row (the program's parameters: m,lambda,K,F,omf,Fric and optionally
Fs,y0,v0, as its table lists them) and
writes the input columns followed by the derived values and the exact steady state at
the entered ratio, in input order, on all cores or on a Dask cluster (--scheduler).
Exit status: 0 done (bad rows reported and left out), 1 a bad row under --strict or a
failure (the output is then not written), 2 a wrong option or an unreadable input.
"""

import argparse
import os
import sys
import tempfile

import numpy as np

from . import _core
from .cluster import run_cluster, run_local, run_on_client
from .rows import OPTIONAL, ORDER, REQUIRED, StudyInputError, read_rows

DEFAULT_CHUNK_ROWS = 1000   # rows a cluster task: a tenth of a second or so of work
CONNECT_TIMEOUT_S = 30      # for the scheduler to answer


# The computed columns as run() gives them: integers and flags as such, every other value
# a float (an empty cell NaN).
INTEGER_COLUMNS = ("exact_stops_per_cycle",)
FLAG_COLUMNS = ("exact_converged", "exact_at_rest")
COLUMNS = tuple(_core.study_columns.split(","))


def _table_columns(table):
    """The table's columns as float arrays of one length, by the program's names."""
    try:
        names = list(table.keys())
    except AttributeError:
        raise ValueError("table must be a pandas DataFrame or a dict of arrays") from None
    missing = [n for n in REQUIRED if n not in names]
    if missing:
        raise ValueError(f"table: no column {', '.join(missing)} (needs {','.join(REQUIRED)}"
                         f"[,{','.join(OPTIONAL)}])")
    columns = {}
    for name in ORDER:
        if name not in names:
            continue
        a = np.asarray(table[name])
        if a.dtype == bool or not (np.issubdtype(a.dtype, np.floating)
                                   or np.issubdtype(a.dtype, np.integer)):
            raise ValueError(f"table: column {name} must hold numbers, not {a.dtype}")
        columns[name] = a.astype(np.float64).reshape(-1)
    lengths = {len(a) for a in columns.values()}
    if len(lengths) > 1:
        raise ValueError("table: the columns are not of one length")
    return columns, lengths.pop()


def _systems(columns, count):
    """Each row's values in the table's order; a row the model means nothing by is
    refused with its index and the rule it breaks."""
    systems = []
    for i in range(count):
        values = [float(columns[n][i]) if n in columns and not (
            n in OPTIONAL and np.isnan(columns[n][i])) else 0.0 for n in ORDER]
        refusal = _core.refusal(values)
        if refusal:
            raise ValueError(f"table row {i}: {refusal}")
        systems.append(values)
    return systems


def _parse(cells):
    """The computed cells of every row as columns of numbers."""
    texts = [c.split(",") for c in cells]
    out = {}
    for k, name in enumerate(COLUMNS):
        cells_k = [t[k] for t in texts]
        if name in INTEGER_COLUMNS:
            out[name] = np.array([int(c) for c in cells_k], dtype=np.int64)
        elif name in FLAG_COLUMNS:
            out[name] = np.array([c == "1" for c in cells_k], dtype=bool)
        else:
            out[name] = np.array([float(c) if c else np.nan for c in cells_k])
    return out


def run(table, client=None, chunk=DEFAULT_CHUNK_ROWS, progress=False):
    """The study of every row of table: a pandas DataFrame or a dict of arrays with the
    program's columns m [kg], lambda [N/(m/s)], K [N/m], F [N], omf [rad/s], Fric [N] and
    optionally Fs [N], y0 [m], v0 [m/s] (NaN or left out: 0, and Fs not given). Returns
    the same kind of table: the input columns, then omega0 [rad/s], zeta [-], z [-], Yf [m],
    Yc [m], YZA [m], YZB [m] (NaN where none), exact_amplitude_m [m],
    exact_stops_per_cycle (int), exact_stuck_fraction [-], exact_converged and
    exact_at_rest (bool) -- the numbers the command line writes, read back. On this
    machine's cores, or on a Dask distributed client in tasks of chunk rows, each on one
    thread. A row the model means nothing by raises ValueError naming it; Ctrl-C stops
    the study with KeyboardInterrupt (on a cluster, its tasks are cancelled)."""
    if isinstance(chunk, bool) or not isinstance(chunk, int) or chunk < 1:
        raise ValueError(f"chunk must be a positive number of rows, not {chunk!r}")
    columns, count = _table_columns(table)
    systems = _systems(columns, count)
    if client is None:
        cells = run_local(systems, progress=progress)
    else:
        cells = run_on_client(client, systems, chunk, progress=progress)
    computed = _parse(cells)
    try:
        import pandas
    except ImportError:
        pandas = None
    if pandas is not None and isinstance(table, pandas.DataFrame):
        result = table.copy()
        for name, values in computed.items():
            result[name] = values
        return result
    result = {name: np.asarray(table[name]) for name in table.keys()}
    result.update(computed)
    return result


def parse_arguments(argv):
    p = argparse.ArgumentParser(prog="python3 -m frictionvib.study",
                                description="Exact steady states of many systems, row by row.")
    p.add_argument("input", help=f"CSV, one system a row: {','.join(REQUIRED)}"
                                 f"[,{','.join(OPTIONAL)}]")
    p.add_argument("output", help="CSV written: the input columns and the results")
    p.add_argument("--scheduler", metavar="tcp://HOST:PORT",
                   help="run on the Dask distributed cluster of this scheduler")
    p.add_argument("--chunk", type=int, default=DEFAULT_CHUNK_ROWS, metavar="N",
                   help=f"rows a cluster task (default {DEFAULT_CHUNK_ROWS})")
    p.add_argument("--strict", action="store_true",
                   help="stop with status 1 at any bad row, writing nothing")
    args = p.parse_args(argv)
    if args.chunk < 1:
        p.error(f"--chunk: {args.chunk} is not a positive number of rows")
    return args


def write_atomically(path, text):
    """The whole file or none: written beside it, then renamed over it."""
    folder = os.path.dirname(os.path.abspath(path))
    fd, temporary = tempfile.mkstemp(prefix=".fv-study-", dir=folder)
    try:
        with os.fdopen(fd, "w", encoding="utf-8", newline="") as f:
            f.write(text)
            f.flush()
            os.fsync(f.fileno())
        os.replace(temporary, path)
    except BaseException:
        os.unlink(temporary)
        raise


def main(argv=None):
    args = parse_arguments(argv)
    try:
        header, rows, bad = read_rows(args.input)
    except StudyInputError as e:
        print(f"study: {e}", file=sys.stderr)
        return 2
    for line, reason in bad:
        print(f"study: {args.input}:{line}: {reason}", file=sys.stderr)
    if bad and args.strict:
        print(f"study: {len(bad)} bad row(s); nothing written (--strict)", file=sys.stderr)
        return 1
    systems = [row.values for row in rows]
    try:
        if args.scheduler:
            cells = run_cluster(systems, args.scheduler, args.chunk, CONNECT_TIMEOUT_S)
        else:
            cells = run_local(systems)
    except (OSError, TimeoutError) as e:
        print(f"study: the cluster at {args.scheduler}: {e}", file=sys.stderr)
        return 1
    lines = [",".join(header) + "," + _core.study_columns]
    lines += [row.text + "," + c for row, c in zip(rows, cells)]
    try:
        write_atomically(args.output, "\n".join(lines) + "\n")
    except OSError as e:
        print(f"study: cannot write {args.output}: {e}", file=sys.stderr)
        return 1
    if bad:
        print(f"study: {len(bad)} bad row(s) left out", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
