"""frictionvib: forced vibration with Coulomb friction, from Python.

The numbers are the program's own: the same model computes them, and every value is
the double the program's files read back to (an empty cell is NaN).

    System(m, lam, K, F, omf, Fric, y0=0.0, v0=0.0, Fs=None)
    summary(system)                    -> dict, as json.load of --export's summary.json
    frequency(system)                  -> dict of arrays, frequency.csv's columns
    time_response(system, duration)    -> dict of arrays, time.csv's columns
    regime_map(system)                 -> dict of arrays, the --regime-map CSV's columns
    steady_orbit(system, samples)      -> dict of arrays, one period of the exact steady motion
    exact_steady(zeta, z, friction_ratio, static_ratio=None, threads=0)
                                       -> dict of arrays, the exact steady states
"""

import inspect
import json
import numbers

import numpy as np

from . import _core

__all__ = ["System", "summary", "frequency", "time_response", "regime_map", "steady_orbit",
           "exact_steady"]

DEFAULT_DURATION_S = 20.0  # the program's default --duration
MAX_THREADS = 1024  # more than any machine has; the kernel caps the workers itself
MAX_ORBIT_SAMPLES = 10_000_000  # four arrays of 80 MB: far finer than any plot needs


def _real(name, value):
    """A parameter as a float; bools and non-numbers are refused."""
    if isinstance(value, bool) or not isinstance(value, (numbers.Real, np.floating, np.integer)):
        raise ValueError(f"{name} must be a real number, not {value!r}")
    return float(value)


# The program's parameter table: a keyword a parameter, in the table's order. The
# dialogue's groups (1) to (3) are required, the initial conditions (4) default to 0 and a
# parameter the program sets by an option to None (not given).
_PARAMETERS = _core.parameters


def _default(p):
    return inspect.Parameter.empty if 1 <= p["group"] <= 3 else (0.0 if p["group"] == 4 else None)


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
    __signature__ = inspect.Signature(
        [inspect.Parameter(p["keyword"], inspect.Parameter.POSITIONAL_OR_KEYWORD,
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

    def values(self):
        """The values in the order of the program's parameter table (None given as 0)."""
        return [0.0 if getattr(self, n) is None else getattr(self, n) for n in self.__slots__]

    def __repr__(self):
        body = ", ".join(f"{n}={getattr(self, n)!r}" for n in self.__slots__)
        return f"System({body})"


def _system(system):
    if not isinstance(system, System):
        raise ValueError(f"expected a frictionvib.System, not {type(system).__name__}")
    return system.values()


def summary(system):
    """The summary of the system's first pass, as json.load of summary.json."""
    return json.loads(_core.summary_json(_system(system)))


def frequency(system):
    """frequency.csv's columns: curve, zeta, z, continuous_m, stickslip_m."""
    return _core.frequency(_system(system))


def time_response(system, duration=DEFAULT_DURATION_S):
    """time.csv's columns: t_s, y_m, v_m_s, force_N, friction_N, a frame every 0.1 s."""
    values = _system(system)
    seconds = _real("duration", duration)
    if not 0.0 <= seconds <= _core.max_duration_s:
        raise ValueError(f"duration must be a number of seconds from 0 to "
                         f"{_core.max_duration_s:g}, not {duration!r}")
    return _core.time_response(values, seconds)


def regime_map(system):
    """The regime map of the system's damping ratio: the --regime-map CSV's columns
    (stops_per_cycle as integers, converged, at_rest and grows as booleans)."""
    return _core.regime_map(_system(system))


def steady_orbit(system, samples):
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
    if isinstance(samples, bool) or not isinstance(samples, numbers.Integral) \
            or not _core.min_orbit_samples <= samples <= MAX_ORBIT_SAMPLES:
        raise ValueError(f"samples must be an int from {_core.min_orbit_samples} to "
                         f"{MAX_ORBIT_SAMPLES}, not {samples!r}")
    return _core.steady_orbit(values, int(samples))


def _float_array(name, value):
    try:
        a = np.asarray(value)
    except Exception as e:  # a ragged list, say
        raise ValueError(f"{name}: not an array of numbers ({e})") from None
    if a.dtype == bool or not (np.issubdtype(a.dtype, np.floating)
                               or np.issubdtype(a.dtype, np.integer)):
        raise ValueError(f"{name} must hold real numbers, not {a.dtype}")
    return a.astype(np.float64)


def exact_steady(zeta, z, friction_ratio, static_ratio=None, threads=0):
    """Exact steady states from rest of dimensionless systems (Yf = 1, Yc = friction_ratio),
    as the regime map's cells: arrays broadcast together, computed on all cores (threads
    0) with the GIL released. Returns stops_per_cycle, amplitude_exact (in Yf; NaN where
    there is none), converged, at_rest, grows, stuck_fraction and error (the estimated
    distance to the steady state, in Yf; NaN where there is none), in the broadcast shape."""
    arrays = [_float_array(n, v) for n, v in
              (("zeta", zeta), ("z", z), ("friction_ratio", friction_ratio))]
    if static_ratio is not None:
        arrays.append(_float_array("static_ratio", static_ratio))
    try:
        arrays = np.broadcast_arrays(*arrays)
    except ValueError as e:
        raise ValueError(f"the arrays do not broadcast together: {e}") from None
    for name, a, lowest in (("zeta", arrays[0], "0 or more"), ("z", arrays[1], "above 0"),
                            ("friction_ratio", arrays[2], "0 or more")):
        low = (a <= 0.0) if name == "z" else (a < 0.0)
        bad = ~np.isfinite(a) | low
        if np.any(bad):
            raise ValueError(f"{name} must be finite and {lowest}, not {a[bad].flat[0]!r}")
    if static_ratio is not None:
        sliding, static = arrays[2], arrays.pop()
        if not np.all(np.isfinite(static) & (static >= sliding)):
            raise ValueError("static_ratio (Ys/Yf) must be finite and at least friction_ratio")
    else:
        static = np.zeros(arrays[0].shape)  # 0: the static band is the sliding one
    if isinstance(threads, bool) or not isinstance(threads, numbers.Integral) or threads < 0:
        raise ValueError(f"threads must be a whole number from 0 (all cores), not {threads!r}")
    shape = arrays[0].shape
    flat = [np.ascontiguousarray(a).reshape(-1) for a in arrays + [static]]
    columns = _core.exact_steady(*flat, threads=min(int(threads), MAX_THREADS))
    return {k: v.reshape(shape) for k, v in columns.items()}
