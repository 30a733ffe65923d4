"""Shared by the Python module's tests: the real program, its files read back, and a
comparison of arrays bit for bit."""

import csv
import os
import pathlib
import subprocess

import numpy as np
import pytest

REPO = pathlib.Path(__file__).resolve().parents[2]
PROGRAM = pathlib.Path(os.environ.get("FRICTIONVIB", REPO / "build" / "frictionvib"))
PROGRAM_TIMEOUT_S = 120  # a pass with its regime map takes a few seconds


def dialogue(system):
    """The program's standard input for a system: the four groups, every value exact."""
    v = system.values()
    return "{!r} {!r} {!r}\n{!r} {!r}\n{!r}\n{!r} {!r}\n".format(*v)


def run_program(system, *options, cwd):
    result = subprocess.run([str(PROGRAM), *options], input=dialogue(system), text=True,
                            capture_output=True, cwd=cwd, timeout=PROGRAM_TIMEOUT_S)
    assert result.returncode == 0, result.stderr
    return result


def read_csv(path, text_columns=("curve",)):
    """A CSV file's columns: numbers as float64 (an empty cell NaN), text as it is."""
    with open(path, newline="") as f:
        rows = list(csv.reader(f))
    header, body = rows[0], rows[1:]
    columns = {}
    for k, name in enumerate(header):
        cells = [r[k] for r in body]
        if name in text_columns:
            columns[name] = np.array(cells)
        else:
            columns[name] = np.array([float(c) if c else np.nan for c in cells])
    return columns


def assert_same_bits(actual, expected, what):
    """Equal doubles, bit for bit (the sign of zero too); NaN where NaN."""
    actual = np.asarray(actual, dtype=np.float64)
    expected = np.asarray(expected, dtype=np.float64)
    assert actual.shape == expected.shape, what
    nan = np.isnan(expected)
    assert np.array_equal(np.isnan(actual), nan), f"{what}: NaN cells differ"
    differ = actual[~nan].view(np.uint64) != expected[~nan].view(np.uint64)
    assert not differ.any(), f"{what}: first differing row {np.flatnonzero(~nan)[differ][0]}"


@pytest.fixture(scope="session")
def program():
    if not PROGRAM.is_file():
        pytest.fail(f"the program is not built: {PROGRAM}")
    return PROGRAM
