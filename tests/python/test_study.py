"""The parameter study: its rows are the module's numbers, bad rows are reported by line,
and a run on a real local Dask cluster, one of whose workers is killed mid-run, writes
the same file as the run on this machine."""

import os
import pathlib
import subprocess
import sys
import threading

import numpy as np
import pytest

import frictionvib
from cluster import LocalCluster
from conftest import REPO

PYTHONPATH = os.environ.get("PYTHONPATH", str(REPO / "build" / "python"))
STUDY_TIMEOUT_S = 50  # the cluster test stays well within a minute
CLUSTER_ROWS = 30000  # a few seconds of work on two workers
CLUSTER_CHUNK = 300
KILL_AFTER_ROWS = 3000


def study(*args, timeout=STUDY_TIMEOUT_S):
    return subprocess.run([sys.executable, "-m", "frictionvib.study", *map(str, args)],
                          capture_output=True, text=True, timeout=timeout,
                          env=dict(os.environ, PYTHONPATH=PYTHONPATH))


def systems(n, seed):
    """n systems over the chart's ratios and the map's friction ratios."""
    rng = np.random.default_rng(seed)
    m, K = rng.uniform(0.5, 2, n), rng.uniform(0.5, 4, n)
    lam = rng.uniform(0, 0.5, n) * 2 * np.sqrt(m * K)
    F = rng.uniform(0.5, 2, n)
    omf = rng.uniform(0.05, 3, n) * np.sqrt(K / m)
    return np.column_stack([m, lam, K, F, omf, rng.uniform(0, 1.2, n) * F])


def write_input(path, rows, header="m,lambda,K,F,omf,Fric"):
    with open(path, "w") as f:
        f.write(header + "\n")
        for r in rows:
            f.write(",".join(repr(float(x)) for x in r) + "\n")


def test_rows_are_the_summary_values(tmp_path):
    rows = list(systems(5, 1)) + [[1, 0, 1, 1, 1, 0.1]]  # the last grows without bound
    write_input(tmp_path / "in.csv", rows)
    result = study(tmp_path / "in.csv", tmp_path / "out.csv")
    assert result.returncode == 0, result.stderr
    lines = (tmp_path / "out.csv").read_text().splitlines()
    assert lines[0] == ("m,lambda,K,F,omf,Fric,omega0,zeta,z,Yf,Yc,YZA,YZB,exact_amplitude_m,"
                        "exact_stops_per_cycle,exact_stuck_fraction,exact_converged,exact_at_rest")
    assert len(lines) == len(rows) + 1
    for line, r in zip(lines[1:], rows):
        s = frictionvib.summary(frictionvib.System(*r))
        d, e = s["derived"], s["exact"]
        expected = [d["omega0"], d["zeta"], d["z"], d["Yf"], d["Yc"], s["YZA"], s["YZB"],
                    e["amplitude_m"], e["stopsPerCycle"], e["stuckFraction"],
                    int(e["converged"]), int(e["atRest"])]
        cells = line.split(",")[6:]
        assert [float(c) if c else None for c in cells] == expected


def test_bad_rows_are_reported_by_line_and_strict_stops(tmp_path):
    (tmp_path / "in.csv").write_text(
        "m,lambda,K,F,omf,Fric,Fs,y0,v0\n"
        "1,0.2,1,0.5,0.5,0.2,,0.1,0\n"
        "1,x,1,0.5,0.5,0.2,,,\n"
        "1,0.2,1,0.5,0.5,0.2,0.1,,\n"
        "1,0.2,1\n"
        "\n"
        "2,0.05,8,1,2.1,0.05,0.05,,\n"
        "1,,1,0.5,0.5,0.2,,,\n")
    result = study(tmp_path / "in.csv", tmp_path / "out.csv")
    assert result.returncode == 0
    for line, reason in ((3, "lambda: 'x' is not a number"), (4, "Fs = 0.1 N: below Fric = 0.2 N"),
                         (5, "3 cells, the header has 9"), (8, "lambda: no value")):
        assert f"in.csv:{line}: {reason}" in result.stderr
    out = (tmp_path / "out.csv").read_text().splitlines()
    assert [o.split(",")[:7] for o in out[1:]] == [
        "1,0.2,1,0.5,0.5,0.2,".split(","), "2,0.05,8,1,2.1,0.05,0.05".split(",")]
    strict = study("--strict", tmp_path / "in.csv", tmp_path / "strict.csv")
    assert strict.returncode == 1 and "nothing written" in strict.stderr
    assert not (tmp_path / "strict.csv").exists()


@pytest.mark.parametrize("content,args,message", [
    (None, [], "No such file"),
    ("", [], "empty, no header"),
    ("m,lambda,K,F,omf\n", [], "missing column Fric"),
    ("m,lambda,K,F,omf,Fric,mu\n", [], "unknown column mu"),
    ("m,lambda,K,F,omf,Fric,m\n", [], "column m given twice"),
    ("m,lambda,K,F,omf,Fric\n", ["--chunk", "0"], "not a positive number"),
])
def test_unreadable_input_and_wrong_options_end_with_status_2(tmp_path, content, args, message):
    if content is not None:
        (tmp_path / "in.csv").write_text(content)
    result = study(*args, tmp_path / "in.csv", tmp_path / "out.csv")
    assert result.returncode == 2 and message in result.stderr
    assert not (tmp_path / "out.csv").exists()


def test_cluster_with_a_worker_killed_writes_the_local_file(tmp_path):
    write_input(tmp_path / "in.csv", systems(CLUSTER_ROWS, 2))
    local = study(tmp_path / "in.csv", tmp_path / "local.csv")
    assert local.returncode == 0, local.stderr
    with LocalCluster(2, PYTHONPATH) as cluster:
        run = subprocess.Popen(
            [sys.executable, "-m", "frictionvib.study", "--scheduler", cluster.address,
             "--chunk", str(CLUSTER_CHUNK), tmp_path / "in.csv", tmp_path / "cluster.csv"],
            stderr=subprocess.PIPE, env=dict(os.environ, PYTHONPATH=PYTHONPATH))
        progressed = threading.Event()
        seen = []

        def watch():  # the progress bar's counts, as they are drawn
            text = b""
            for chunk in iter(lambda: run.stderr.read1(4096), b""):
                text += chunk
                seen.append(chunk)
                counts = text.split(b"\r")[-1].split(b"]")[-1].split(b"/")[0].strip()
                if counts.isdigit() and int(counts) >= KILL_AFTER_ROWS:
                    progressed.set()

        watcher = threading.Thread(target=watch, daemon=True)
        watcher.start()
        assert progressed.wait(STUDY_TIMEOUT_S), b"".join(seen)
        assert run.poll() is None, "the study ended before a worker could be killed"
        cluster.kill_worker(0)
        assert run.wait(STUDY_TIMEOUT_S) == 0, b"".join(seen)
        watcher.join(STUDY_TIMEOUT_S)
        assert cluster.workers[0].returncode != 0 and cluster.workers[1].poll() is None
    assert (tmp_path / "cluster.csv").read_bytes() == (tmp_path / "local.csv").read_bytes()
