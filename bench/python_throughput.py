"""Throughput of the Python module: exact_steady on one core and on all cores, against
the regime map (7,320 cells) of the same damping ratio, and a parameter study of many
systems on this machine and, with --scheduler, on a Dask cluster.

    PYTHONPATH=build/python /usr/bin/python3 bench/python_throughput.py [--study ROWS]
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

import numpy as np

import frictionvib

ZETA = 0.1  # a damping ratio whose map holds every kind of motion
STUDY_SEED = 29


def rate(count, seconds):
    return f"{count / seconds:,.0f} systems/s ({seconds * 1e3 / count:.3f} ms a system)"


def bench_exact_steady():
    rows, columns = frictionvib._core.regime_rows, frictionvib._core.regime_columns
    z = (np.arange(columns) + 1) * 10 * 0.0025
    ratio = (np.arange(rows) * 0.02)[:, None]
    for label, threads in (("one core", 1), (f"all cores ({os.cpu_count()})", 0)):
        start = time.perf_counter()
        frictionvib.exact_steady(ZETA, z, ratio, threads=threads)
        print(f"exact_steady, map grid, {label}: {rate(rows * columns, time.perf_counter() - start)}")
    start = time.perf_counter()
    frictionvib.regime_map(frictionvib.System(1, 2 * ZETA, 1, 1, 1, 0.1))
    print(f"regime_map (with its chart rows), all cores: "
          f"{rate(rows * columns, time.perf_counter() - start)}")


def study_input(path, n):
    rng = np.random.default_rng(STUDY_SEED)
    m, K = rng.uniform(0.5, 2, n), rng.uniform(0.5, 4, n)
    lam = rng.uniform(0, 0.5, n) * 2 * np.sqrt(m * K)
    F = rng.uniform(0.5, 2, n)
    omf = rng.uniform(0.05, 3, n) * np.sqrt(K / m)
    with open(path, "w") as f:
        f.write("m,lambda,K,F,omf,Fric\n")
        for r in zip(m, lam, K, F, omf, rng.uniform(0, 1.2, n) * F):
            f.write(",".join(repr(float(x)) for x in r) + "\n")


def bench_study(n, scheduler):
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "in.csv")
        study_input(source, n)
        for label, extra in (("this machine", []),) + (
                (("cluster " + scheduler, ["--scheduler", scheduler]),) if scheduler else ()):
            start = time.perf_counter()
            subprocess.run([sys.executable, "-m", "frictionvib.study", *extra, source,
                            os.path.join(folder, "out.csv")], check=True,
                           stderr=subprocess.DEVNULL)
            print(f"study of {n:,} systems, {label}: {rate(n, time.perf_counter() - start)}")


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--study", type=int, default=0, metavar="ROWS")
    p.add_argument("--scheduler")
    args = p.parse_args()
    bench_exact_steady()
    if args.study:
        bench_study(args.study, args.scheduler)


if __name__ == "__main__":
    main()
