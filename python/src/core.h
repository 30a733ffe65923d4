// The Python module's C++ side: the parts of the module, each registered by its own
// file, and the one conversion of the system the Python side passes in.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <vector>

#include "model/model.h"

namespace fvpy {

// A system's eight values in the order of fv::systemParameters.
using SystemValues = std::array<double, fv::systemParameterCount>;

// The physical system of those values, filled through the table by name.
fv::PhysicalSystem physicalSystem(const SystemValues& values);

// States of a motion (anything with t [s], y [m], v [m/s] and friction [N]) as a dict
// of numpy arrays t, y, v and friction.
template <typename Point> pybind11::dict stateColumns(const std::vector<Point>& points) {
    const auto n = static_cast<pybind11::ssize_t>(points.size());
    pybind11::array_t<double> t(n), y(n), v(n), friction(n);
    for (pybind11::ssize_t k = 0; k < n; ++k) {
        const Point& p = points[static_cast<std::size_t>(k)];
        t.mutable_at(k) = p.t;
        y.mutable_at(k) = p.y;
        v.mutable_at(k) = p.v;
        friction.mutable_at(k) = p.friction;
    }
    pybind11::dict columns;
    columns["t"] = t;
    columns["y"] = y;
    columns["v"] = v;
    columns["friction"] = friction;
    return columns;
}

// The columns of exact steady states, keyed as exact_steady returns them (a sweep adds its
// own beside them): one place for their names and order.
struct SteadyArrays {
    pybind11::array_t<int> stops;
    pybind11::array_t<double> amplitude;
    pybind11::array_t<bool> converged;
    pybind11::array_t<bool> atRest;
    pybind11::array_t<bool> grows;
    pybind11::array_t<double> stuck;
    pybind11::array_t<double> error;
    explicit SteadyArrays(pybind11::ssize_t n)
        : stops(n), amplitude(n), converged(n), atRest(n), grows(n), stuck(n), error(n) {}
};
inline pybind11::dict steadyColumns(const SteadyArrays& a, pybind11::dict columns = {}) {
    columns["stops_per_cycle"] = a.stops;
    columns["amplitude_exact"] = a.amplitude;
    columns["converged"] = a.converged;
    columns["at_rest"] = a.atRest;
    columns["grows"] = a.grows;
    columns["stuck_fraction"] = a.stuck;
    columns["error"] = a.error;
    return columns;
}

// One system's pass: summary, frequency characteristic, time response, regime map.
void registerPass(pybind11::module_& m);

// One cycle of the exact steady motion: its orbit over a forcing period.
void registerOrbit(pybind11::module_& m);

// One system's exact motion from any state: trajectory, period map, steady motion, sweep.
void registerDynamics(pybind11::module_& m);

// Many systems at once, on all cores without the GIL: exact steady states and study rows.
void registerBatch(pybind11::module_& m);

} // namespace fvpy
