"""A parameter study: python3 -m frictionvib.study IN.csv OUT.csv [options]

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

from . import _core
from .cluster import run_cluster, run_local
from .rows import OPTIONAL, REQUIRED, StudyInputError, read_rows

DEFAULT_CHUNK_ROWS = 1000   # rows a cluster task: a tenth of a second or so of work
CONNECT_TIMEOUT_S = 30      # for the scheduler to answer


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
