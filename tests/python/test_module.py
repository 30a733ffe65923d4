"""The module's results are the program's own: summary.json, frequency.csv, time.csv and
the --regime-map CSV of the real program, value for value and bit for bit."""

import json
import math

import numpy as np
import pytest

import frictionvib
from conftest import assert_same_bits, read_csv, run_program

# Systems that take each path of the model: stick-slip and continuous red points,
# no stick-slip solution, no steady state (undamped resonance), a mass at rest, no force
# (not-a-number values), over-critical damping and start values that are not zero.
SYSTEMS = {
    "stick-slip": frictionvib.System(1, 0.2, 1, 0.5, 0.5, 0.2, 0.1, 0),
    "near resonance": frictionvib.System(2, 0.05, 8, 1, 2.1, 0.05, 0, 0.3),
    "grows": frictionvib.System(1, 0, 1, 1, 1, 0.1),
    "at rest": frictionvib.System(0.5, 0.1, 2, 1, 0.3, 1.5, 0.2, -0.1),
    "no force": frictionvib.System(1, 0.2, 1, 0, 0.5, 0.2),
    "over-critical": frictionvib.System(3, 20, 5, 2, 4.5, 0.3, -0.05, 0.02),
    "unit force": frictionvib.System(2, 0.3, 4, 4, 1.7, 1.2),
}
DURATIONS_S = (20.0, 3.35)


@pytest.fixture(scope="module", params=sorted(SYSTEMS))
def exported(request, program, tmp_path_factory):
    """A system and the folder of the program's --export of it."""
    system = SYSTEMS[request.param]
    folder = tmp_path_factory.mktemp("export")
    run_program(system, "--export", "out", "--duration", "3.35", cwd=folder)
    return system, folder / "out"


def test_summary_is_summary_json(exported):
    system, out = exported
    with open(out / "summary.json") as f:
        expected = json.load(f)
    assert frictionvib.summary(system) == expected
    # == takes 0.0 for -0.0: compare the numbers' text as well.
    assert json.dumps(frictionvib.summary(system)) == json.dumps(expected)


def test_frequency_is_frequency_csv(exported):
    system, out = exported
    expected = read_csv(out / "frequency.csv")
    actual = frictionvib.frequency(system)
    assert list(actual) == list(expected)
    assert list(actual["curve"]) == list(expected["curve"])
    for name in ("zeta", "z", "continuous_m", "stickslip_m"):
        assert_same_bits(actual[name], expected[name], name)


def test_time_response_is_time_csv(exported):
    system, out = exported
    expected = read_csv(out / "time.csv")
    actual = frictionvib.time_response(system, duration=3.35)
    assert list(actual) == list(expected)
    for name in expected:
        assert_same_bits(actual[name], expected[name], name)
    assert len(frictionvib.time_response(system)["t_s"]) == 201  # 20 s by default


@pytest.mark.parametrize("name", ["stick-slip", "grows"])
def test_regime_map_and_exact_steady_are_the_map_csv(name, program, tmp_path):
    system = SYSTEMS[name]
    run_program(system, "--regime-map", "map", cwd=tmp_path)
    expected = read_csv(tmp_path / "map.csv")
    actual = frictionvib.regime_map(system)
    assert list(actual) == list(expected)
    for column in expected:
        assert_same_bits(actual[column], expected[column], column)
    # The same cells from exact_steady over the map's grid, broadcast from its axes.
    zeta = frictionvib.summary(system)["derived"]["zeta"]
    rows, columns = frictionvib._core.regime_rows, frictionvib._core.regime_columns
    z = expected["z"].reshape(rows, columns)[0]
    ratio = expected["friction_ratio"].reshape(rows, columns)[:, :1]
    cells = frictionvib.exact_steady(zeta, z, ratio)
    assert cells["amplitude_exact"].shape == (rows, columns)
    for column in ("stops_per_cycle", "amplitude_exact", "converged", "at_rest", "grows"):
        assert_same_bits(cells[column].ravel(), expected[column], column)
    assert np.isnan(cells["stuck_fraction"][cells["grows"]]).all()


def test_exact_steady_is_the_summary_exact_and_does_not_depend_on_threads():
    zeta, z, ratio, lone = [], [], [], []
    for system in SYSTEMS.values():
        s = frictionvib.summary(system)
        if s["derived"]["Yf"] != 1.0:
            continue  # exact_steady is in units of Yf: only Yf = 1 compares exactly
        zeta.append(s["derived"]["zeta"])
        z.append(s["derived"]["z"])
        ratio.append(s["derived"]["Yc"])
        lone.append(s["exact"])
    cells = frictionvib.exact_steady(zeta, z, ratio)
    assert len(lone) == 2
    for k, e in enumerate(lone):
        assert cells["stops_per_cycle"][k] == e["stopsPerCycle"]
        expected = e["amplitude_m"] if e["amplitude_m"] is not None else math.nan
        assert_same_bits(cells["amplitude_exact"][k], expected, "amplitude")
        assert bool(cells["converged"][k]) == e["converged"]
    grid = np.meshgrid(np.linspace(0.05, 3, 40), np.linspace(0, 1.2, 7))
    one = frictionvib.exact_steady(0.05, grid[0], grid[1], threads=1)
    every = frictionvib.exact_steady(0.05, grid[0], grid[1])
    for column in one:
        assert_same_bits(one[column], every[column], column)


BAD_CALLS = [
    (lambda: frictionvib.System("1", 0.2, 1, 0.5, 0.5, 0.2), "m must be a real number"),
    (lambda: frictionvib.System(1, None, 1, 0.5, 0.5, 0.2), "lam must be a real number"),
    (lambda: frictionvib.System(1, 0.2, 1, 0.5, 0.5, True), "Fric must be a real number"),
    (lambda: frictionvib.System(1, 0.2, 1, 0.5, 0.5, 0.2, Fs=0.1), "at least Fric"),
    (lambda: frictionvib.System(1, 0.2, 1, 0.5, 0.5, 0.2, Fs=math.nan), "at least Fric"),
    (lambda: frictionvib.summary((1, 0.2, 1, 0.5, 0.5, 0.2, 0, 0)), "expected a frictionvib.System"),
    (lambda: frictionvib.time_response(SYSTEMS["grows"], -1), "duration must be"),
    (lambda: frictionvib.time_response(SYSTEMS["grows"], math.inf), "duration must be"),
    (lambda: frictionvib.time_response(SYSTEMS["grows"], 100000.5), "duration must be"),
    (lambda: frictionvib.exact_steady([0.1, 0.2], [1, 2, 3], 0.2), "do not broadcast"),
    (lambda: frictionvib.exact_steady("a", 1.0, 0.2), "zeta must hold real numbers"),
    (lambda: frictionvib.exact_steady(0.1, [[1], [2, 3]], 0.2), "z: not an array"),
    (lambda: frictionvib.exact_steady(0.1, 1.0, 0.2, static_ratio=0.1), "at least friction_ratio"),
    (lambda: frictionvib.exact_steady(0.1, 1.0, 0.2, threads=-1), "threads must be"),
]


@pytest.mark.parametrize("call,message", BAD_CALLS)
def test_bad_arguments_raise_value_error(call, message):
    with pytest.raises(ValueError, match=message):
        call()


def test_static_friction_equal_to_sliding_is_the_system_without_it():
    with_fs = frictionvib.summary(frictionvib.System(1, 0.2, 1, 0.5, 0.5, 0.2, Fs=0.2))
    without = frictionvib.summary(frictionvib.System(1, 0.2, 1, 0.5, 0.5, 0.2))
    assert with_fs["input"].pop("Fs") == 0.2 and with_fs["derived"].pop("Ys") == 0.2
    assert with_fs == without
    same = frictionvib.exact_steady(0.1, 0.5, 0.4, static_ratio=0.4)
    plain = frictionvib.exact_steady(0.1, 0.5, 0.4)
    for column in plain:
        assert_same_bits(same[column], plain[column], column)


def test_static_friction_above_sliding_as_the_program_writes_it(tmp_path):
    # Fs = 2 Fric: the summary as --static-friction writes it, and a mass the static
    # force holds (Ys/Yf >= 1) although the sliding one would let it move.
    system = frictionvib.System(1, 0.2, 1, 0.5, 0.5, 0.2, Fs=0.4)
    run_program(system, "--export", "out", "--static-friction", "0.4", cwd=tmp_path)
    with open(tmp_path / "out" / "summary.json") as f:
        assert frictionvib.summary(system) == json.load(f)
    held = frictionvib.exact_steady(0.1, 0.5, 0.6, static_ratio=1.2)
    assert bool(held["at_rest"]) and not bool(frictionvib.exact_steady(0.1, 0.5, 0.6)["at_rest"])


def test_meaningless_systems_and_arrays_are_refused_by_name():
    refused = [
        ((0, 0.2, 1, 1, 1, 0.3), "m = 0 kg: must be above 0"),
        ((-1, 0.2, 1, 1, 1, 0.3), "m = -1 kg: must be above 0"),
        ((1, -0.1, 1, 1, 1, 0.3), "lam = -0.1 N/\\(m/s\\): must be 0 or more"),
        ((1, 0.2, 1, 1, 0, 0.3), "omf = 0 rad/s: must not be 0"),
        ((1, 0.2, math.inf, 1, 1, 0.3), "K = inf N/m: not a finite number"),
        ((1, 0.2, 1, 1, 1, 0.3, math.nan), "y0 = nan m: not a finite number"),
    ]
    for values, message in refused:
        with pytest.raises(ValueError, match=message):
            frictionvib.System(*values)
    for zeta, z, ratio, name in ((math.nan, 1, 0.2, "zeta"), (-1, 1, 0.2, "zeta"),
                                 (0.1, 0, 0.2, "z"), (0.1, -1, 0.2, "z"),
                                 (0.1, math.inf, 0.2, "z"), (0.1, 1, -0.5, "friction_ratio")):
        with pytest.raises(ValueError, match=f"^{name} must be finite"):
            frictionvib.exact_steady([0.1, zeta], [1, z], [0.2, ratio])
    # The dialogue's own arithmetic still takes anything, as the program's does.
    odd = [0, -1, math.nan, math.inf, -2, -0.0, math.nan, 1e308, 0]
    assert json.loads(frictionvib._core.summary_json(odd))["input"]["m"] == 0.0
    empty = frictionvib.exact_steady([], [], [])
    assert empty["amplitude_exact"].shape == (0,)


def test_one_verdict_where_the_closed_forms_cannot_hold():
    held = frictionvib.summary(frictionvib.System(1, 0.2, 1, 1, 0.8, 0.3, Fs=3))
    assert (held["givenPointMotion"], held["givenPointAmplitude"]) == ("rest", 0.0)
    assert held["YZA"] is None
    grows = frictionvib.summary(frictionvib.System(1, 0, 1, 1, 1, 0.3))
    assert (grows["givenPointMotion"], grows["givenPointAmplitude"]) == ("grows", None)
    sticks = frictionvib.summary(frictionvib.System(1, 0, 1, 1, 1, 0.8))
    assert sticks["givenPointMotion"] == "stick-slip"
    assert sticks["givenPointAmplitude"] == sticks["exact"]["amplitude_m"]


def test_system_and_study_columns_follow_the_parameter_table():
    import inspect
    from frictionvib import rows
    table = frictionvib._core.parameters
    signature = inspect.signature(frictionvib.System)
    assert list(signature.parameters) == [p["keyword"] for p in table]
    for p in table:
        default = signature.parameters[p["keyword"]].default
        expected = inspect.Parameter.empty if 1 <= p["group"] <= 3 else (0.0 if p["group"] == 4 else None)
        assert default == expected, p["name"]
    assert rows.ORDER == tuple(p["name"] for p in table)
    assert set(rows.REQUIRED) | set(rows.OPTIONAL) == set(rows.ORDER)
    system = frictionvib.System(m=2, lam=0.1, K=3, F=1, omf=1, Fric=0.2, Fs=0.5)
    assert system.values() == [2, 0.1, 3, 1, 1, 0.2, 0.0, 0.0, 0.5]
    with pytest.raises(TypeError, match="System"):
        frictionvib.System(1, 0.2, 1)


# Random systems for the work of a cycle: zeta in [0, 0.5], z in [0.2, 3], Yc/Yf in
# [0, 0.9], every third with a static friction force 1.5 Fric.
ORBIT_SEED = 20240602
ORBIT_SYSTEMS = 50
ORBIT_SAMPLES = 20001  # a turning point within 1e-7 of the amplitude


def random_systems():
    rng = np.random.default_rng(ORBIT_SEED)
    for k in range(ORBIT_SYSTEMS):
        m, K, F = rng.uniform(0.5, 2.0, 3)
        zeta, z, ratio = rng.uniform(0, 0.5), rng.uniform(0.2, 3), rng.uniform(0, 0.9)
        omega0 = math.sqrt(K / m)
        Fric = ratio * F
        yield frictionvib.System(m, 2 * zeta * math.sqrt(m * K), K, F, z * omega0, Fric,
                                 Fs=1.5 * Fric if k % 3 == 2 else None)


def reversals(v):
    """Sign changes of the velocity around the closed orbit, rests left out."""
    signs = np.sign(v[v != 0])
    return int(np.count_nonzero(signs != np.roll(signs, 1))) if signs.size else 0


def test_work_of_a_cycle_balances_on_random_systems():
    settled = 0
    for system in random_systems():
        exact = frictionvib.summary(system)["exact"]
        if not exact["converged"] or exact["atRest"]:
            continue
        settled += 1
        energy, A = exact["energy"], exact["amplitude_m"]
        assert abs(energy["input_J"] - energy["viscous_J"] - energy["friction_J"]) \
            <= 1e-9 * energy["input_J"], system
        orbit = frictionvib.steady_orbit(system, ORBIT_SAMPLES)
        if reversals(orbit["v"]) == 2:  # monotonic between the turning points
            assert energy["friction_J"] == pytest.approx(4 * system.Fric * A, rel=1e-9), system
        omega0 = math.sqrt(system.K / system.m)
        assert orbit["t"][-1] == pytest.approx(2 * math.pi / abs(system.omf), rel=1e-15)
        assert abs(orbit["y"][-1] - orbit["y"][0]) <= 1e-8 * A, system
        assert abs(orbit["v"][-1] - orbit["v"][0]) <= 1e-8 * A * max(omega0, abs(system.omf))
        assert np.max(np.abs(orbit["y"])) == pytest.approx(A, rel=1e-6), system
    assert settled >= ORBIT_SYSTEMS * 4 // 5


def test_exported_summary_has_the_energy(exported):
    system, out = exported
    with open(out / "summary.json") as f:
        exact = json.load(f)["exact"]
    energy = exact["energy"]
    assert list(energy) == ["input_J", "viscous_J", "friction_J"]
    if exact["atRest"]:
        assert energy == {"input_J": 0.0, "viscous_J": 0.0, "friction_J": 0.0}
    elif not exact["converged"]:
        assert list(energy.values()) == [None, None, None]
    else:
        assert energy["input_J"] == pytest.approx(energy["viscous_J"] + energy["friction_J"],
                                                  rel=1e-9)


def test_steady_orbit_arguments_and_forces():
    system = SYSTEMS["stick-slip"]
    for samples in (1, 0, 2.0, True, "3", 10**8):
        with pytest.raises(ValueError, match="^samples must be an int"):
            frictionvib.steady_orbit(system, samples)
    orbit = frictionvib.steady_orbit(system, np.int64(4001))
    assert sorted(orbit) == ["friction", "t", "v", "y"] and orbit["t"].shape == (4001,)
    stuck = orbit["v"] == 0
    assert np.any(stuck) and np.all(np.abs(orbit["friction"][stuck]) <= system.Fric)
    assert np.all(np.abs(orbit["friction"][~stuck]) == system.Fric)
    assert np.all(np.sign(orbit["friction"][~stuck]) == -np.sign(orbit["v"][~stuck]))
    grows = frictionvib.steady_orbit(SYSTEMS["grows"], 5)
    assert np.all(np.isnan(grows["y"])) and np.all(np.isfinite(grows["t"]))
