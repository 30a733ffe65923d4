"""The study as a Python call: study.run on a pandas table, on this machine and on a real
distributed.LocalCluster, gives the numbers of the command line's file read back, with
its flags and counts as such; a dict of arrays gives the same; a bad row is named."""

import os

import numpy as np
import pandas
import pytest

import frictionvib.study
from conftest import read_csv
from test_study import study, systems, write_input

ROWS = 400
CHUNK = 37  # several tasks a worker, the last one short


@pytest.fixture(scope="module")
def cli_output(tmp_path_factory):
    folder = tmp_path_factory.mktemp("study")
    write_input(folder / "in.csv", systems(ROWS, 7))
    result = study(folder / "in.csv", folder / "out.csv")
    assert result.returncode == 0, result.stderr
    return folder


def assert_equals_file(result, path):
    expected = read_csv(path)
    assert list(result.keys()) == list(expected.keys())
    for name, column in expected.items():
        got = np.asarray(result[name], dtype=np.float64)
        np.testing.assert_array_equal(got, column, err_msg=name)
    assert np.asarray(result["exact_stops_per_cycle"]).dtype == np.int64
    assert np.asarray(result["exact_converged"]).dtype == bool


def test_run_locally_and_on_a_local_cluster_is_the_command_line(cli_output):
    from distributed import Client, LocalCluster

    table = pandas.read_csv(cli_output / "in.csv", float_precision="round_trip")
    local = frictionvib.study.run(table)
    assert isinstance(local, pandas.DataFrame)
    assert_equals_file(local, cli_output / "out.csv")
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                      dashboard_address=None) as cluster, Client(cluster) as client:
        remote = frictionvib.study.run(table, client=client, chunk=CHUNK)
        # Inside a task a batch runs on one thread: the worker's cores are its tasks'.
        assert client.submit(frictionvib._threads, None, pure=False).result() == 1
    assert_equals_file(remote, cli_output / "out.csv")
    as_dict = frictionvib.study.run({k: table[k].to_numpy() for k in table.columns})
    assert isinstance(as_dict, dict)
    assert_equals_file(as_dict, cli_output / "out.csv")


@pytest.mark.parametrize("table, message", [
    ({"m": [1.0], "lambda": [0.1]}, "no column"),
    ({"m": [1.0, -1.0], "lambda": [0.1, 0.1], "K": [1, 1], "F": [1, 1], "omf": [1, 1],
      "Fric": [0.1, 0.1]}, "row 1: m"),
    ({"m": ["a"], "lambda": [0.1], "K": [1], "F": [1], "omf": [1], "Fric": [0.1]}, "numbers"),
    ([1, 2, 3], "DataFrame"),
])
def test_bad_tables_are_refused(table, message):
    with pytest.raises(ValueError, match=message):
        frictionvib.study.run(table)
    with pytest.raises(ValueError, match="chunk"):
        frictionvib.study.run({}, chunk=0)
