"""frictionvib: forced vibration with Coulomb friction, from Python.

The numbers are the program's own: the same model computes them, and every value is
the double the program's files read back to (an empty cell is NaN). Units are SI: m [kg],
lam [N/(m/s)], K [N/m], F [N], omf [rad/s], Fric [N], Fs [N], times [s], displacements
[m], velocities [m/s], forces [N]; dimensionless arrays (exact_steady) are in Yf = F/K and
tau = omega0 t.

    System(m, lam, K, F, omf, Fric, y0=0.0, v0=0.0, Fs=None)
    summary(system)                    -> dict, as _json.load of --export's summary.json
    frequency(system)                  -> dict of arrays, frequency.csv's columns
    time_response(system, duration, dt=0.1)
                                       -> dict of arrays, time.csv's columns (Runge-Kutta-Gill)
    regime_map(system)                 -> dict of arrays, the --regime-map CSV's columns
    steady_orbit(system, samples)      -> dict of arrays, one period of the exact steady motion
    exact_steady(zeta, z, friction_ratio, static_ratio=None, threads=None, x0=None, v0=None)
                                       -> dict of arrays, the exact steady states
    trajectory(system, t_end, dt=None, t=None)
                                       -> dict of arrays, the exact motion and its events
    steady(system)                     -> dict, the steady motion from the system's (y0, v0)
    period_map(system, state)          -> (state, Jacobian) one forcing period later
    floquet(system)                    -> complex array, the steady motion's multipliers
    sweep(system, z_values, direction) -> dict of arrays, steady motions by continuation
    poincare(system, periods)          -> dict of arrays, the state at each forcing period
    study.run(table, client=None)      -> the parameter study of a table of systems

Long computations (exact_steady, regime_map, trajectory, sweep, poincare, study.run) stop
within a fraction of a second on Ctrl-C with KeyboardInterrupt. Inside a Dask task the
batch calls use one thread (the worker runs one task per core).
"""

import importlib as _importlib
import inspect as _inspect
import json as _json
import numbers as _numbers
import sys as _sys
from typing import Any as _Any
from typing import Dict as _Dict
from typing import Optional as _Optional
from typing import Tuple as _Tuple

import numpy as _np
import numpy.typing as _npt

from . import _core
from ._version import __version__

_Columns = _Dict[str, _Any]  # a dict of numpy arrays (or of such dicts), by column name

__all__ = ["System", "summary", "frequency", "time_response", "regime_map", "steady_orbit",
           "exact_steady", "trajectory", "steady", "period_map", "floquet", "sweep", "poincare",
           "study", "__version__"]

DEFAULT_DURATION_S = 20.0  # the program's default --duration [s]
DEFAULT_SAMPLE_S = 0.1  # the program's frame: the strip chart's sampling interval [s]
MAX_THREADS = 1024  # more than any machine has; the kernel caps the workers itself
MAX_ORBIT_SAMPLES = 10_000_000  # four arrays of 80 MB: far finer than any plot needs
MAX_SAMPLES = 10_000_000  # samples of a trajectory or a time response, as above


def _real(name, value):
    """A parameter as a float; bools and non-numbers are refused."""
    if isinstance(value, bool) or not isinstance(value, (_numbers.Real, _np.floating, _np.integer)):
        raise ValueError(f"{name} must be a real number, not {value!r}")
    return float(value)


# The program's parameter table: a keyword a parameter, in the table's order. The
# dialogue's groups (1) to (3) are required, the initial conditions (4) default to 0 and a
# parameter the program sets by an option to None (not given).
_PARAMETERS = _core.parameters


def _default(p):
    return _inspect.Parameter.empty if 1 <= p["group"] <= 3 else (0.0 if p["group"] == 4 else None)


class System:
    """The physical system, as the program's parameter table names its values (lam for
    lambda), in SI units: m [kg], lam [N/(m/s)], K [N/m], F [N], omf [rad/s], Fric [N],
    y0 [m], v0 [m/s], Fs [N] (None: equal to Fric).

    A system the model means nothing by is refused with ValueError naming the parameter
    and its rule, as the program's files refuse it: m or K <= 0; lam, F or Fric < 0;
    omf = 0; Fs below Fric; any value not finite. (A negative omf is the force of the
    other sign.)
    """

    __slots__ = tuple(p["keyword"] for p in _PARAMETERS)
    __signature__ = _inspect.Signature(
        [_inspect.Parameter(p["keyword"], _inspect.Parameter.POSITIONAL_OR_KEYWORD,
                           default=_default(p)) for p in _PARAMETERS])

    def __init__(self, *args, **kwargs):
        try:
            bound = self.__signature__.bind(*args, **kwargs)
        except TypeError as e:
            raise TypeError(f"System{self.__signature__}: {e}") from None
        bound.apply_defaults()
        for name, value in bound.arguments.items():
            optional = self.__signature__.parameters[name].default is None
            setattr(self, name, None if optional and value is None else _real(name, value))
        refusal = _core.refusal(self.values())
        if refusal:
            raise ValueError(refusal)

    def values(self) -> list:
        """The values in the order of the program's parameter table (None given as 0)."""
        return [0.0 if getattr(self, n) is None else getattr(self, n) for n in self.__slots__]

    def __repr__(self):
        body = ", ".join(f"{n}={getattr(self, n)!r}" for n in self.__slots__)
        return f"System({body})"


def _system(system):
    if not isinstance(system, System):
        raise ValueError(f"expected a frictionvib.System, not {type(system).__name__}")
    return system.values()


def summary(system: "System") -> _Dict[str, _Any]:
    """The summary of the system's first pass, as _json.load of summary._json."""
    return _json.loads(_core.summary_json(_system(system)))


def frequency(system: "System") -> _Columns:
    """frequency.csv's columns: curve, zeta, z, continuous_m, stickslip_m."""
    return _core.frequency(_system(system))


def time_response(system: "System", duration: float = DEFAULT_DURATION_S,
                  dt: float = DEFAULT_SAMPLE_S) -> _Columns:
    """The Runge-Kutta-Gill time response from (y0, v0) at t = 0, as the strip chart
    integrates it (steps of 0.01 s): time.csv's columns t_s [s], y_m [m], v_m_s [m/s],
    force_N [N] (the external force) and friction_N [N] (friction on the mass), a sample
    every dt seconds (a whole number of 0.01 s steps, up to 1000 s; the default 0.1 s is
    the program's frame) over duration seconds (0 to 100,000). A system that is fast
    beside 0.01 s is better followed by trajectory(), which is exact."""
    values = _system(system)
    seconds = _real("duration", duration)
    if not 0.0 <= seconds <= _core.max_duration_s:
        raise ValueError(f"duration must be a number of seconds from 0 to "
                         f"{_core.max_duration_s:g}, not {duration!r}")
    steps = _core.steps_per_sample(_real("dt", dt))
    if steps == 0:
        raise ValueError(f"dt must be a whole number of {_core.time_step_s:g} s steps from "
                         f"{_core.time_step_s:g} to {_core.max_sample_s:g} s, not {dt!r}")
    if seconds / dt > MAX_SAMPLES:
        raise ValueError(f"duration / dt gives more than {MAX_SAMPLES} samples")
    return _core.time_response(values, seconds, steps)


def regime_map(system: "System", threads: _Optional[int] = None) -> _Columns:
    """The regime map of the system's damping ratio: the --regime-map CSV's columns, z [-],
    friction_ratio (Yc/Yf) [-], stops_per_cycle (int), amplitude_exact [m],
    amplitude_chart [m], converged, at_rest, grows (bool) and error [m], row by row of the
    map. On all cores (threads=None: one inside a Dask task; 0: all cores); Ctrl-C stops
    it with KeyboardInterrupt."""
    return _core.regime_map(_system(system), threads=_threads(threads))


def steady_orbit(system: "System", samples: int) -> _Columns:
    """One forcing period of the exact steady motion at the system's ratio, from rest, at
    `samples` equally spaced times (an int from 2 to 10,000,000; both ends of the period
    included):
    a dict of numpy arrays
        t        time from the start of a forcing period [s]
        y        displacement [m]
        v        velocity [m/s]
        friction the friction force on the mass [N]: -Fric sgn(v) while it slides, what
                 holds it (K y - F sin(omf t)) while it sticks.
    Each state is the closed form of the exact motion, not an interpolation. y, v and
    friction are NaN where the motion has no steady state or has not settled; the work of
    a cycle is summary(system)["exact"]["energy"]."""
    values = _system(system)
    if isinstance(samples, bool) or not isinstance(samples, _numbers.Integral) \
            or not _core.min_orbit_samples <= samples <= MAX_ORBIT_SAMPLES:
        raise ValueError(f"samples must be an int from {_core.min_orbit_samples} to "
                         f"{MAX_ORBIT_SAMPLES}, not {samples!r}")
    return _core.steady_orbit(values, int(samples))


def _float_array(name, value):
    try:
        a = _np.asarray(value)
    except Exception as e:  # a ragged list, say
        raise ValueError(f"{name}: not an array of numbers ({e})") from None
    if a.dtype == bool or not (_np.issubdtype(a.dtype, _np.floating)
                               or _np.issubdtype(a.dtype, _np.integer)):
        raise ValueError(f"{name} must hold real numbers, not {a.dtype}")
    return a.astype(_np.float64)


def _threads(threads):
    """Worker threads for a batch: None chooses one inside a Dask task (the worker runs a
    task per core already) and all cores elsewhere."""
    if threads is None:
        return 1 if _in_dask_task() else 0
    if isinstance(threads, bool) or not isinstance(threads, _numbers.Integral) or threads < 0:
        raise ValueError(f"threads must be a whole number from 0 (all cores), not {threads!r}")
    return min(int(threads), MAX_THREADS)


def _in_dask_task():
    distributed = _sys.modules.get("distributed")
    if distributed is None:  # never imported: no task of it is running
        return False
    try:
        distributed.get_worker()
    except ValueError:
        return False
    return True


def exact_steady(zeta: _npt.ArrayLike, z: _npt.ArrayLike, friction_ratio: _npt.ArrayLike,
                 static_ratio: _Optional[_npt.ArrayLike] = None, threads: _Optional[int] = None,
                 x0: _Optional[_npt.ArrayLike] = None,
                 v0: _Optional[_npt.ArrayLike] = None) -> _Columns:
    """Exact steady states of dimensionless systems (Yf = 1, Yc = friction_ratio, time
    tau = omega0 t), as the regime map's cells: arrays broadcast together, computed on all
    cores with the GIL released (threads=None: all cores, one inside a Dask task; 0: all
    cores). Each starts at the start of a forcing period from x0 [Yf] and v0 = dx/dtau [Yf]
    (default: rest at 0). static_ratio is Ys/Yf (None: the static band is the sliding one).
    Returns stops_per_cycle, amplitude_exact [Yf] (NaN where there is none), converged,
    at_rest, grows, stuck_fraction [-] and error (the estimated distance to the steady
    state [Yf]; NaN where there is none), in the broadcast shape. Ctrl-C stops it."""
    arrays = [_float_array(n, v) for n, v in
              (("zeta", zeta), ("z", z), ("friction_ratio", friction_ratio))]
    starts = [_float_array(n, 0.0 if v is None else v) for n, v in (("x0", x0), ("v0", v0))]
    has_static = static_ratio is not None
    if has_static:
        arrays.append(_float_array("static_ratio", static_ratio))
    try:
        arrays = _np.broadcast_arrays(*arrays, *starts)
    except ValueError as e:
        raise ValueError(f"the arrays do not broadcast together: {e}") from None
    starts = arrays[-2:]
    arrays = arrays[:-2]
    for name, a, lowest in (("zeta", arrays[0], "0 or more"), ("z", arrays[1], "above 0"),
                            ("friction_ratio", arrays[2], "0 or more")):
        low = (a <= 0.0) if name == "z" else (a < 0.0)
        bad = ~_np.isfinite(a) | low
        if _np.any(bad):
            raise ValueError(f"{name} must be finite and {lowest}, not {a[bad].flat[0]!r}")
    for name, a in zip(("x0", "v0"), starts):
        if not _np.all(_np.isfinite(a)):
            raise ValueError(f"{name} must be finite")
    if has_static:
        sliding, static = arrays[2], arrays.pop()
        if not _np.all(_np.isfinite(static) & (static >= sliding)):
            raise ValueError("static_ratio (Ys/Yf) must be finite and at least friction_ratio")
    else:
        static = _np.zeros(arrays[0].shape)  # 0: the static band is the sliding one
    workers = _threads(threads)
    shape = arrays[0].shape
    flat = [_np.ascontiguousarray(a).reshape(-1) for a in arrays + [static] + starts]
    columns = _core.exact_steady(*flat, threads=workers)
    return {k: v.reshape(shape) for k, v in columns.items()}


def _times(t_end, dt, t):
    """The sample times [s] of a trajectory: every dt from 0 to t_end, or the times t."""
    end = _real("t_end", t_end)
    if not (_np.isfinite(end) and end >= 0.0):
        raise ValueError(f"t_end must be a finite number of seconds, 0 or more, not {t_end!r}")
    if t is not None and dt is not None:
        raise ValueError("give dt or t, not both")
    if t is not None:
        times = _float_array("t", t).reshape(-1)
        if times.size > MAX_SAMPLES:
            raise ValueError(f"t: more than {MAX_SAMPLES} times")
        if not _np.all(_np.isfinite(times) & (times >= 0.0) & (times <= end)):
            raise ValueError("t must hold finite times from 0 to t_end")
        if _np.any(_np.diff(times) < 0.0):
            raise ValueError("t must be in ascending order")
        return _np.ascontiguousarray(times)
    step = DEFAULT_SAMPLE_S if dt is None else _real("dt", dt)
    if not (_np.isfinite(step) and step > 0.0):
        raise ValueError(f"dt must be a positive number of seconds, not {dt!r}")
    count = int(_np.floor(end / step * (1.0 + 1e-12))) + 1
    if count > MAX_SAMPLES:
        raise ValueError(f"t_end / dt gives more than {MAX_SAMPLES} samples")
    return _np.arange(count) * step


def _periods_of(system, t_end):
    periods = t_end / _core.forcing_period(system.values())
    if periods > _core.max_trajectory_periods:
        raise ValueError(f"the motion spans {periods:.3g} forcing periods, more than "
                         f"{_core.max_trajectory_periods:g}")


def trajectory(system: "System", t_end: float, dt: _Optional[float] = None,
               t: _Optional[_npt.ArrayLike] = None) -> _Columns:
    """The exact motion from the system's own (y0, v0) at t = 0 up to t_end [s]: its state
    every dt seconds (default 0.1 s) or at the given times t [s] (ascending, within
    [0, t_end]), each evaluated in closed form on the stretch it falls on, never
    interpolated. A dict of numpy arrays
        t        time [s]
        y        displacement [m]
        v        velocity [m/s]
        friction the friction force on the mass [N]: -Fric sgn(v) while it slides, what
                 holds it (K y - F sin(omf t)) while it sticks
        events   a dict of arrays over every event up to t_end: time [s], kind ("stop":
                 a slide ends and the mass sticks, "breakaway": a stuck mass slides,
                 "turn": a slide ends and the mass slides back at once) and y [m]
    At most 2,000,000 forcing periods; Ctrl-C stops it with KeyboardInterrupt."""
    values = _system(system)
    times = _times(t_end, dt, t)
    end = float(t_end)
    _periods_of(system, end)
    columns = _core.trajectory(values, times, end)
    if not columns.pop("complete"):
        raise RuntimeError("the exact motion could not be followed to t_end (a forcing period "
                           "beyond the work budget)")
    return columns


def poincare(system: "System", periods: int) -> _Columns:
    """The Poincaré section of the exact motion from the system's own (y0, v0): the state
    at the start of each forcing period, t = k 2 pi / |omf| for k = 0 .. periods (an int
    from 0 to 2,000,000). A dict of arrays t [s], y [m], v [m/s] and friction [N] (as in
    trajectory()). Ctrl-C stops it with KeyboardInterrupt."""
    values = _system(system)
    if isinstance(periods, bool) or not isinstance(periods, _numbers.Integral) \
            or not 0 <= periods <= _core.max_trajectory_periods:
        raise ValueError(f"periods must be an int from 0 to "
                         f"{_core.max_trajectory_periods:g}, not {periods!r}")
    columns = _core.poincare(values, int(periods))
    if not columns.pop("complete"):
        raise RuntimeError("the exact motion could not be followed over every period")
    return columns


def _state(state):
    a = _float_array("state", state).reshape(-1)
    if a.shape != (2,) or not _np.all(_np.isfinite(a)):
        raise ValueError(f"state must be two finite numbers (y [m], v [m/s]), not {state!r}")
    return float(a[0]), float(a[1])


def period_map(system: "System",
               state: _npt.ArrayLike) -> _Tuple[_npt.NDArray[_np.float64], _npt.NDArray[_np.float64]]:
    """One forcing period of the exact motion from state = (y [m], v [m/s]) at the start
    of a forcing period (t = 0 mod 2 pi / |omf|): returns (end, jacobian), end the state
    (y, v) one period later as an array and jacobian the 2 x 2 array d(end)/d(state)
    (units: [[-, s], [1/s, -]]). The Jacobian is exact: the linear flow between events,
    and at each event the jump of the friction force (a saltation matrix); a stop
    collapses the velocity's direction. Where the way of moving changes at the state
    itself (a velocity of exactly 0) it is the derivative of the side the motion takes."""
    values = _system(system)
    y, v = _state(state)
    end, jacobian, _events, valid = _core.period_map(values, y, v)
    if not valid:
        raise RuntimeError("the forcing period could not be integrated (beyond the work budget)")
    return end, jacobian


def steady(system: "System") -> _Dict[str, _Any]:
    """The exact steady motion reached from the system's own (y0, v0) at t = 0, a dict:
    stops_per_cycle, amplitude_exact [m] (NaN where none), converged, at_rest, grows,
    stuck_fraction [-], error [m] (estimated distance to the steady state; NaN where
    none), y [m] and v [m/s] (the settled state at the start of a forcing period; NaN
    where it did not settle) and multipliers (its two Floquet multipliers, complex; NaN
    where it did not settle)."""
    values = _system(system)
    return _core.steady(values, float(system.y0), float(system.v0))


def floquet(system: "System") -> _npt.NDArray[_np.complex128]:
    """The Floquet multipliers of the steady motion reached from the system's own
    (y0, v0): the eigenvalues of the exact Jacobian of the period map at its fixed point,
    a complex numpy array of two, the larger modulus first (NaN where the motion did not
    settle). All inside the unit circle: stable. A motion that stops has a multiplier 0
    (a stop forgets the velocity); one that never stops is not exp(-2 pi zeta / z) (each
    turn scales the velocity's deviation by the ratio of the accelerations)."""
    return steady(system)["multipliers"]


SWEEP_DIRECTIONS = ("up", "down")


def sweep(system: "System", z_values: _npt.ArrayLike, direction: str = "up") -> _Columns:
    """The steady motions of the system at the frequency ratios z_values (omf/omega0,
    positive), swept up (ascending) or down (descending): the first point starts from
    the system's own (y0, v0), every next one from the last settled state, so the sweep
    follows a branch of motion as far as it exists, as a slow change of frequency does.
    A dict of arrays in the order swept: z [-], the keys of exact_steady (amplitude_exact
    and error in metres), y [m] and v [m/s] (settled state at the start of a period),
    multipliers (n x 2 complex) and jumped (the amplitude lies off the branch of the points
    before -- the line through the last two, or the last one after a jump -- by more than
    half the larger of it and the last amplitude: the branch ended). Ctrl-C stops it."""
    values = _system(system)
    if direction not in SWEEP_DIRECTIONS:
        raise ValueError(f"direction must be 'up' or 'down', not {direction!r}")
    z = _float_array("z_values", z_values).reshape(-1)
    if not _np.all(_np.isfinite(z) & (z > 0.0)):
        raise ValueError("z_values must be finite and above 0")
    z = _np.sort(z) if direction == "up" else _np.sort(z)[::-1]
    return _core.sweep(values, [float(x) for x in z])


def __getattr__(name):
    # The study loads pandas and Dask only when asked for.
    if name == "study":
        return _importlib.import_module(".study", __name__)
    raise AttributeError(f"module {__name__!r} has no attribute {name!r}")


def __dir__():
    return sorted(__all__)
