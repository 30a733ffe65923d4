"""Benchmarks of the Python module's exact dynamics: the cost of a trajectory per event,
of the Floquet multipliers and of a period map, how long Ctrl-C takes to stop a long
exact_steady, and the undamped systems at z = 0.5 where two steady motions coexist, as
sweeps up and down see them.

    PYTHONPATH=build/python /usr/bin/python3 bench/python_dynamics.py
"""

import os
import signal
import subprocess
import sys
import time

import numpy as np

import frictionvib

REPEATS = 5
INTERRUPT_SYSTEMS = 300_000
INTERRUPT_TRIALS = 5
DISTINCT = 1e-3  # amplitudes that differ by more than this part are two motions [-]


def best(f, repeats=REPEATS):
    times = []
    for _ in range(repeats):
        t0 = time.perf_counter()
        result = f()
        times.append(time.perf_counter() - t0)
    return min(times), result


def trajectory_cost():
    print("trajectory: time per event (t_end of 10,000 forcing periods, one sample)")
    for name, system in (("continuous (turns)", frictionvib.System(1, 0.1, 1, 1, 0.8, 0.3)),
                         ("stick-slip (stops)", frictionvib.System(1, 0.2, 1, 1, 0.8, 0.9)),
                         ("static Fs > Fric", frictionvib.System(2, 0.3, 3, 1, 0.9, 0.5, Fs=0.8)),
                         ("near resonance", frictionvib.System(1, 0.002, 1, 1, 1.001, 0.05))):
        t_end = 10_000 * 2 * np.pi / system.omf
        seconds, motion = best(lambda: frictionvib.trajectory(system, t_end, t=[0.0]), 3)
        n = motion["events"]["time"].size
        print(f"  {name:20s} {n:7d} events  {seconds * 1e3:8.1f} ms  "
              f"{seconds / max(n, 1) * 1e9:7.0f} ns/event")
    system = frictionvib.System(1, 0.2, 1, 1, 0.8, 0.9)
    seconds, motion = best(lambda: frictionvib.trajectory(system, 1000.0, dt=1e-3))
    print(f"  stick-slip, 1,000,001 samples over 1000 s: {seconds * 1e3:.1f} ms "
          f"({seconds / motion['t'].size * 1e9:.0f} ns/sample)")


def floquet_cost():
    print("floquet / period_map: time per call")
    for name, system in (("continuous", frictionvib.System(1, 0.1, 1, 1, 0.8, 0.3)),
                         ("stick-slip", frictionvib.System(1, 0.2, 1, 1, 0.8, 0.9)),
                         ("light damping", frictionvib.System(1, 0.01, 1, 1, 0.95, 0.05))):
        seconds, mu = best(lambda: frictionvib.floquet(system))
        s = frictionvib.steady(system)
        state = (s["y"], s["v"])
        map_seconds, _ = best(lambda: frictionvib.period_map(system, state), 50)
        print(f"  {name:14s} floquet {seconds * 1e6:9.1f} us (steady state included)  "
              f"period_map {map_seconds * 1e6:6.1f} us  |mu| = {np.round(np.abs(mu), 6)}")


def interrupt_latency():
    script = ("import numpy as np, frictionvib\n"
              "print('ready', flush=True)\n"
              "try:\n"
              f"    frictionvib.exact_steady(np.linspace(0, 0.2, {INTERRUPT_SYSTEMS}), 0.9, 0.3)\n"
              "except KeyboardInterrupt:\n"
              "    print('interrupted', flush=True)\n")
    delays = []
    for _ in range(INTERRUPT_TRIALS):
        p = subprocess.Popen([sys.executable, "-c", script], stdout=subprocess.PIPE, text=True,
                             env=os.environ)
        p.stdout.readline()
        time.sleep(1.0)
        sent = time.monotonic()
        p.send_signal(signal.SIGINT)
        answer = p.stdout.readline().strip()
        delays.append(time.monotonic() - sent)
        p.wait()
        assert answer == "interrupted"
    print(f"Ctrl-C during exact_steady of {INTERRUPT_SYSTEMS} systems: KeyboardInterrupt after "
          f"{min(delays) * 1e3:.0f} to {max(delays) * 1e3:.0f} ms ({INTERRUPT_TRIALS} trials)")


def coexisting():
    """Undamped at z = 0.5: steady states from many starts over a grid of Yc/Yf and Fs/Fric
    (11 x 15 = 165 systems); where two differ, sweeps up and down through z = 0.5."""
    ratios = np.round(np.arange(0.0, 1.01, 0.1), 2)
    statics = np.round(np.linspace(1.0, 2.4, 15), 2)
    starts = [(0, 0), (0.5, 0), (1, 1), (2, -1), (3, 2), (5, 0), (-2, 3), (10, 0), (0, 10),
              (1.3, 0), (-1.3, 0.2), (0.2, -0.1)]
    R, Q = np.meshgrid(ratios, statics, indexing="ij")
    found = []
    for x0, v0 in starts:
        found.append(frictionvib.exact_steady(0.0, 0.5, R[..., None], static_ratio=(R * Q)[..., None],
                                              x0=x0, v0=v0))
    amplitude = np.concatenate([f["amplitude_exact"] for f in found], axis=-1)
    stops = np.concatenate([f["stops_per_cycle"] for f in found], axis=-1)
    converged = np.concatenate([f["converged"] for f in found], axis=-1)
    print(f"coexisting steady motions, zeta = 0, z = 0.5, {R.size} systems "
          f"(Yc/Yf 0..1 x Fs/Fric 1..2.4), {len(starts)} starts each:")
    pairs = []
    for i in range(R.shape[0]):
        for j in range(R.shape[1]):
            a = amplitude[i, j][converged[i, j]]
            kinds = sorted({(round(float(x), 6), int(s)) for x, s in
                            zip(amplitude[i, j][converged[i, j]], stops[i, j][converged[i, j]])})
            if a.size and a.max() - a.min() > 1e-6 * max(a.max(), 1e-12):
                pairs.append((R[i, j], Q[i, j], kinds))
    distinct = [p for p in pairs if max(k[0] for k in p[2]) - min(k[0] for k in p[2]) >
                DISTINCT * max(k[0] for k in p[2])]
    print(f"  {len(pairs)} systems with more than one steady motion (amplitudes or stops "
          f"differ), {len(distinct)} whose amplitudes differ by more than {DISTINCT:g}; "
          f"with Fs = Fric: {sum(1 for p in pairs if p[1] == 1.0)}")
    for r, q, kinds in distinct[:12]:
        print(f"    Yc/Yf {r:.1f} Fs/Fric {q:.1f}: (amplitude [Yf], stops) {kinds}")
    z = np.round(np.arange(0.3, 0.71, 0.05), 3)
    for r, q, _ in distinct[:2]:
        system = frictionvib.System(1, 0, 1, 1, 0.3, r, y0=2.0, Fs=r * q)
        for direction in ("up", "down"):
            s = frictionvib.sweep(system, z, direction)
            print(f"    sweep {direction:4s} Yc/Yf {r:.1f} Fs/Fric {q:.1f} from y0 = 2: "
                  + " ".join(f"{zz:.2f}:{a:.4f}/{k}{'J' if j else ''}" for zz, a, k, j in
                             zip(s["z"], s["amplitude_exact"], s["stops_per_cycle"], s["jumped"])))


if __name__ == "__main__":
    trajectory_cost()
    floquet_cost()
    coexisting()
    interrupt_latency()
