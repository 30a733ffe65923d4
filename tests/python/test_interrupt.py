"""Ctrl-C stops long work: SIGINT to a real interpreter in the middle of each long call
raises KeyboardInterrupt there, and the interpreter goes on computing. The time it took
is printed; the benchmark bench/python_interrupt.py measures it, a test only asserts
that the call ends and raises."""

import os
import signal
import subprocess
import sys
import time

import pytest

from conftest import REPO

PYTHONPATH = os.environ.get("PYTHONPATH", str(REPO / "build" / "python"))
ANSWER_TIMEOUT_S = 60  # generous: the call answers within a fraction of a second
START_DELAY_S = 1.0  # into the call before the signal

SETUP = """
import sys, time, numpy as np
import frictionvib
system = frictionvib.System(1, 0.05, 1, 1, 0.9, 0.2)
"""
CALLS = {
    "exact_steady": "frictionvib.exact_steady(np.linspace(0, 0.2, 300000), 0.9, 0.3)",
    "regime_map": "[frictionvib.regime_map(system) for _ in range(100)]",
    "sweep": "frictionvib.sweep(system, np.linspace(0.01, 3, 200000))",
    "trajectory": "frictionvib.trajectory(system, 1.3e7, t=[0.0])",
    "study": "frictionvib.study.run({'m': np.ones(300000), 'lambda': np.full(300000, 0.1), "
             "'K': np.ones(300000), 'F': np.ones(300000), 'omf': np.linspace(0.1, 3, 300000), "
             "'Fric': np.full(300000, 0.2)})",
}
SCRIPT = SETUP + """
print("ready", flush=True)
try:
    {call}
    print("finished", flush=True)
except KeyboardInterrupt:
    print("interrupted", flush=True)
    t = frictionvib.steady(system)["amplitude_exact"]  # usable afterwards
    print("usable" if t > 0 else "broken", flush=True)
"""


@pytest.mark.parametrize("name", sorted(CALLS))
def test_ctrl_c_raises_keyboard_interrupt_and_leaves_the_interpreter_usable(name):
    process = subprocess.Popen([sys.executable, "-c", SCRIPT.format(call=CALLS[name])],
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                               env=dict(os.environ, PYTHONPATH=PYTHONPATH))
    try:
        assert process.stdout.readline().strip() == "ready"
        time.sleep(START_DELAY_S)
        assert process.poll() is None, f"{name} ended before the signal"
        sent = time.monotonic()
        process.send_signal(signal.SIGINT)
        answer = process.stdout.readline().strip()
        print(f"{name}: KeyboardInterrupt after {time.monotonic() - sent:.3f} s")
        process.wait(timeout=ANSWER_TIMEOUT_S)  # a few lines: no pipe fills up
        rest, errors = process.stdout.read(), process.stderr.read()
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
    assert answer == "interrupted", errors
    assert rest.strip() == "usable" and process.returncode == 0, errors
