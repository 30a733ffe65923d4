"""The exact motion from any state: trajectories against the steady orbit and their own
events, the period map's Jacobian against finite differences of the map itself, the
Floquet multipliers, sweeps that follow a branch until it ends, and the package's face
(its namespace, version and arguments)."""

import math
import re

import numpy as np
import pytest

import frictionvib
from conftest import REPO

# Continuous motion (no stops), stick-slip (two stops a cycle) and static friction above
# sliding friction (breakaway against Fs).
CONTINUOUS = frictionvib.System(1, 0.1, 1, 1, 0.8, 0.3)
STICK_SLIP = frictionvib.System(1, 0.2, 1, 1, 0.8, 0.9)
STATIC = frictionvib.System(2, 0.3, 3, 1, 0.9, 0.5, Fs=0.8)
SETTLE_PERIODS = 200  # all three settle within 1e-10 well before
FD_STEP = 1e-6  # [m] and [m/s]: central differences good to about 1e-9


def test_trajectory_settles_on_the_steady_orbit_and_meets_the_poincare_section():
    for system in (CONTINUOUS, STICK_SLIP, STATIC):
        period = 2 * math.pi / system.omf
        orbit = frictionvib.steady_orbit(system, 41)
        late = SETTLE_PERIODS * period + orbit["t"]
        motion = frictionvib.trajectory(system, late[-1], t=late)
        for key in ("y", "v", "friction"):
            scale = np.max(np.abs(orbit[key])) + 1e-300
            assert np.max(np.abs(motion[key] - orbit[key])) <= 1e-7 * scale, key
        section = frictionvib.poincare(system, 5)
        starts = frictionvib.trajectory(system, 5 * period, t=np.arange(6) * period)
        np.testing.assert_allclose(section["y"], starts["y"], rtol=0, atol=1e-12)
        np.testing.assert_allclose(section["t"], np.arange(6) * period, rtol=1e-15)


def test_trajectory_events_are_where_the_friction_law_says():
    system = frictionvib.System(1, 0.2, 1, 1, 0.8, 0.9, y0=0.5, v0=-0.2)
    motion = frictionvib.trajectory(system, 60.0, dt=0.01)
    events = motion["events"]
    assert set(events["kind"]) == {"stop", "breakaway"}
    assert np.all(np.diff(events["time"]) > 0)
    at = frictionvib.trajectory(system, 60.0, t=events["time"])
    np.testing.assert_allclose(at["y"], events["y"], rtol=0, atol=1e-12)
    # A stop and a breakaway both happen at rest; a breakaway where spring and force
    # reach the friction force.
    assert np.max(np.abs(at["v"])) < 1e-12
    breakaway = events["kind"] == "breakaway"
    held = system.K * events["y"][breakaway] - system.F * np.sin(system.omf *
                                                                  events["time"][breakaway])
    np.testing.assert_allclose(np.abs(held), system.Fric, rtol=1e-9)
    # Between events the velocity keeps its sign, and the friction force opposes it.
    moving = motion["v"] != 0
    np.testing.assert_array_equal(motion["friction"][moving],
                                  -system.Fric * np.sign(motion["v"][moving]))
    assert motion["t"][-1] == 60.0 and motion["t"].size == 6001


def test_turns_without_stops_and_static_breakaway():
    turns = frictionvib.trajectory(CONTINUOUS, 100.0)["events"]
    assert (turns["kind"][1:] == "turn").all()
    static = frictionvib.trajectory(STATIC, 100.0)
    kinds = static["events"]["kind"]
    b = kinds == "breakaway"
    t, y = static["events"]["time"][b], static["events"]["y"][b]
    np.testing.assert_allclose(np.abs(STATIC.K * y - STATIC.F * np.sin(STATIC.omf * t)),
                               STATIC.Fs, rtol=1e-9)


def finite_difference(system, state):
    columns = []
    for k in range(2):
        step = np.zeros(2)
        step[k] = FD_STEP
        plus, _ = frictionvib.period_map(system, state + step)
        minus, _ = frictionvib.period_map(system, state - step)
        columns.append((plus - minus) / (2 * FD_STEP))
    return np.column_stack(columns)


@pytest.mark.parametrize("system", [CONTINUOUS, STICK_SLIP, STATIC,
                                    frictionvib.System(1, 0.05, 2, 1, 2.5, 0.2),
                                    frictionvib.System(1, 3.0, 1, 1, 0.7, 0.1)])
def test_jacobian_is_the_finite_difference_of_the_period_map(system):
    s = frictionvib.steady(system)
    assert s["converged"]
    state = np.array([s["y"], s["v"]])
    end, jacobian = frictionvib.period_map(system, state)
    np.testing.assert_allclose(end, state, atol=1e-9 * s["amplitude_exact"])
    fd = finite_difference(system, state)
    np.testing.assert_allclose(jacobian, fd, atol=1e-6 * np.max(np.abs(fd)))
    mu = frictionvib.floquet(system)
    np.testing.assert_allclose(np.sort_complex(mu), np.sort_complex(np.linalg.eigvals(fd)),
                               atol=1e-6)
    assert np.all(np.abs(mu) < 1)
    # Away from the steady state too.
    other = state + np.array([0.3, -0.2])
    np.testing.assert_allclose(frictionvib.period_map(system, other)[1],
                               finite_difference(system, other), atol=1e-5)


def test_multipliers_of_stops_and_of_turns():
    stops = frictionvib.steady(STICK_SLIP)
    assert stops["stops_per_cycle"] == 2 and np.min(np.abs(stops["multipliers"])) == 0.0
    smooth = frictionvib.steady(CONTINUOUS)
    assert smooth["stops_per_cycle"] == 0
    zeta = CONTINUOUS.lam / (2 * math.sqrt(CONTINUOUS.m * CONTINUOUS.K))
    z = CONTINUOUS.omf / math.sqrt(CONTINUOUS.K / CONTINUOUS.m)
    linear = math.exp(-2 * math.pi * zeta / z)  # the flow alone, without the turns
    assert abs(np.prod(smooth["multipliers"]).real - linear ** 2) > 0.1 * linear ** 2
    # Without friction the turns are no events: the linear flow's multipliers.
    free = frictionvib.System(1, 0.1, 1, 1, 0.8, 0.0)
    np.testing.assert_allclose(np.abs(frictionvib.floquet(free)), linear, rtol=1e-9)
    # No steady motion: NaN.
    assert np.isnan(frictionvib.floquet(frictionvib.System(1, 0, 1, 1, 1, 0.3))).all()


def test_sweep_follows_a_branch_until_it_ends():
    # Undamped, Fs above F: a mass at rest never breaks away, a moving one sticks and
    # slips until, above z = 1, the motion ends at rest for good.
    system = frictionvib.System(1, 0, 1, 1, 0.5, 0.8, y0=2.0, Fs=1.04)
    z = np.round(np.arange(0.1, 3.01, 0.1), 3)
    up = frictionvib.sweep(system, z, "up")
    down = frictionvib.sweep(system, z, "down")
    np.testing.assert_array_equal(up["z"], z)
    np.testing.assert_array_equal(down["z"], z[::-1])
    assert list(up["z"][up["jumped"]]) == [1.0, 1.1]
    assert up["stops_per_cycle"][5] == 2 and up["amplitude_exact"][5] > 1.0
    assert not down["jumped"].any() and (down["amplitude_exact"] == 0).all()
    assert up["multipliers"].shape == (30, 2) and up["multipliers"].dtype == complex
    # Each point is the steady state from the last one's state.
    k = 6
    at = frictionvib.System(1, 0, 1, 1, z[k], 0.8, y0=up["y"][k - 1], v0=up["v"][k - 1],
                            Fs=1.04)
    assert frictionvib.steady(at)["amplitude_exact"] == up["amplitude_exact"][k]


def test_exact_steady_from_a_state_and_steady_of_a_system():
    s = frictionvib.steady(STICK_SLIP)
    Yf = STICK_SLIP.F / STICK_SLIP.K
    omega0 = math.sqrt(STICK_SLIP.K / STICK_SLIP.m)
    zeta = STICK_SLIP.lam / (2 * math.sqrt(STICK_SLIP.m * STICK_SLIP.K))
    again = frictionvib.exact_steady(zeta, STICK_SLIP.omf / omega0, STICK_SLIP.Fric / STICK_SLIP.F,
                                     x0=[0.0, s["y"] / Yf], v0=[0.0, s["v"] / (omega0 * Yf)])
    np.testing.assert_allclose(again["amplitude_exact"] * Yf, s["amplitude_exact"], rtol=1e-9)
    assert again["converged"].all()
    with pytest.raises(ValueError, match="x0"):
        frictionvib.exact_steady(0.1, 1.0, 0.2, x0=np.nan)


def test_time_response_dt_takes_every_frame_it_names():
    every = frictionvib.time_response(CONTINUOUS, 10.0)
    coarse = frictionvib.time_response(CONTINUOUS, 10.0, dt=0.2)
    fine = frictionvib.time_response(CONTINUOUS, 1.0, dt=0.01)
    for key in every:
        np.testing.assert_array_equal(coarse[key], every[key][::2])
        np.testing.assert_array_equal(fine[key][::10], every[key][:11])
    for bad in (0.015, 0.0, -0.1, 2000.0, float("nan")):
        with pytest.raises(ValueError, match="dt"):
            frictionvib.time_response(CONTINUOUS, 1.0, dt=bad)


@pytest.mark.parametrize("call, message", [
    (lambda: frictionvib.trajectory(CONTINUOUS, -1.0), "t_end"),
    (lambda: frictionvib.trajectory(CONTINUOUS, 1.0, t=[0.5, 0.2]), "ascending"),
    (lambda: frictionvib.trajectory(CONTINUOUS, 1.0, t=[2.0]), "t_end"),
    (lambda: frictionvib.trajectory(CONTINUOUS, 1.0, dt=0.1, t=[0.1]), "not both"),
    (lambda: frictionvib.trajectory(CONTINUOUS, 1e9, t=[0.0]), "forcing periods"),
    (lambda: frictionvib.trajectory(CONTINUOUS, 1e6, dt=0.01), "samples"),
    (lambda: frictionvib.poincare(CONTINUOUS, -1), "periods"),
    (lambda: frictionvib.period_map(CONTINUOUS, (1.0,)), "state"),
    (lambda: frictionvib.period_map(CONTINUOUS, (1.0, math.inf)), "state"),
    (lambda: frictionvib.sweep(CONTINUOUS, [1.0], "sideways"), "direction"),
    (lambda: frictionvib.sweep(CONTINUOUS, [0.0, 1.0]), "z_values"),
    (lambda: frictionvib.floquet("system"), "System"),
])
def test_bad_arguments_are_refused_by_name(call, message):
    with pytest.raises(ValueError, match=message):
        call()


def test_namespace_version_and_stubs():
    public = [n for n in dir(frictionvib) if not n.startswith("_")]
    assert set(public) <= set(frictionvib.__all__)
    for leaked in ("json", "math", "np", "numbers", "inspect"):
        assert leaked not in public
    project = re.search(r"project\(frictionvib VERSION ([0-9.]+)",
                        (REPO / "CMakeLists.txt").read_text()).group(1)
    assert frictionvib.__version__ == project
    package = REPO / "python" / "frictionvib"
    assert (package / "py.typed").exists()
    stub = (package / "_core.pyi").read_text()
    for name in dir(frictionvib._core):
        if not name.startswith("_") and callable(getattr(frictionvib._core, name)):
            assert f"def {name}(" in stub, name


def test_sweep_is_keyed_like_exact_steady_and_agrees_with_it():
    # A sweep's columns begin with exact_steady's, in its order, and a point of a sweep
    # is exact_steady's answer from the state the sweep started it in (dimensionless:
    # Yf = F/K = 1 m, Yc = Fric/K, tau = omega0 t, so the states carry over unchanged).
    system = frictionvib.System(1, 0.1, 1, 1, 0.5, 0.3)
    z = np.array([0.6, 0.8, 1.0])
    swept = frictionvib.sweep(system, z, "up")
    direct = frictionvib.exact_steady(0.05, z[1], 0.3, x0=swept["y"][0], v0=swept["v"][0])
    keys = list(direct)
    assert [k for k in swept if k in direct] == keys
    for key in keys:
        np.testing.assert_allclose(np.asarray(swept[key][1], dtype=float),
                                   np.asarray(direct[key], dtype=float).reshape(()),
                                   rtol=1e-12, err_msg=key)
