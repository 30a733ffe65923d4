// The exact motion of one system from any state as numpy arrays: its trajectory with
// events, its Poincaré section, its period map with the Jacobian, its steady motion with
// the Floquet multipliers, and sweeps of the forcing frequency. Long work answers Ctrl-C.
#include <pybind11/complex.h>
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <vector>

#include "core.h"
#include "interrupt.h"

namespace py = pybind11;

namespace fvpy {

namespace {

using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;

const char* eventName(fv::EventKind kind) {
    switch (kind) {
    case fv::EventKind::stop:
        return "stop";
    case fv::EventKind::breakaway:
        return "breakaway";
    case fv::EventKind::turn:
        return "turn";
    }
    return "";
}

// The motion interruptibly; a cancelled one raises KeyboardInterrupt before this returns.
fv::MotionTrajectory trajectoryOf(const SystemValues& values, const std::vector<double>& times,
                                  double tEnd) {
    fv::MotionTrajectory m;
    const fv::PhysicalSystem in = physicalSystem(values);
    runInterruptibly([&](const std::atomic<bool>& cancel) {
        m = fv::motionTrajectory(in, times, tEnd, &cancel);
    });
    return m;
}

// t, y, v, friction at the times, and events: time, kind, y.
py::dict trajectoryColumns(const SystemValues& values, const Doubles& times, double tEnd) {
    const std::vector<double> at(times.data(), times.data() + times.size());
    const fv::MotionTrajectory m = trajectoryOf(values, at, tEnd);
    py::dict columns = stateColumns(m.points);
    const auto n = static_cast<py::ssize_t>(m.events.size());
    py::array_t<double> time(n), y(n);
    std::vector<std::string> kinds;
    for (py::ssize_t k = 0; k < n; ++k) {
        const fv::MotionEvent& e = m.events[static_cast<std::size_t>(k)];
        time.mutable_at(k) = e.t;
        y.mutable_at(k) = e.y;
        kinds.emplace_back(eventName(e.kind));
    }
    py::dict events;
    events["time"] = time;
    events["kind"] = py::module_::import("numpy").attr("array")(kinds, "U9");
    events["y"] = y;
    columns["events"] = events;
    columns["complete"] = m.complete;
    return columns;
}

// The state at the start of periods 0 .. periods: t, y, v, friction.
py::dict poincareColumns(const SystemValues& values, long periods) {
    const fv::PhysicalSystem in = physicalSystem(values);
    const double tEnd = fv::forcingPeriod(in) * static_cast<double>(periods);
    fv::MotionTrajectory m = trajectoryOf(values, {}, tEnd);
    m.periodStarts.resize(std::min(m.periodStarts.size(), static_cast<std::size_t>(periods) + 1));
    py::dict columns = stateColumns(m.periodStarts);
    columns["complete"] = m.complete;
    return columns;
}

py::tuple periodMap(const SystemValues& values, double y, double v) {
    fv::PeriodStep step;
    {
        py::gil_scoped_release unlocked;
        step = fv::periodStep(physicalSystem(values), y, v);
    }
    py::array_t<double> state(2), jacobian({2, 2});
    state.mutable_at(0) = step.y;
    state.mutable_at(1) = step.v;
    for (py::ssize_t i = 0; i < 2; ++i) {
        for (py::ssize_t j = 0; j < 2; ++j) {
            jacobian.mutable_at(i, j) = step.jacobian[i][j];
        }
    }
    return py::make_tuple(state, jacobian, step.events, step.valid);
}

py::dict steadyValues(const fv::SteadyMotion& m) {
    py::dict d;
    d["stops_per_cycle"] = m.steady.stopsPerCycle;
    d["amplitude_exact"] = m.steady.amplitude;
    d["converged"] = m.steady.converged;
    d["at_rest"] = m.steady.atRest;
    d["grows"] = m.steady.grows;
    d["stuck_fraction"] = m.steady.stuckFraction;
    d["error"] = m.steady.error;
    d["y"] = m.y;
    d["v"] = m.v;
    py::array_t<std::complex<double>> mu(2);
    mu.mutable_at(0) = m.mu[0];
    mu.mutable_at(1) = m.mu[1];
    d["multipliers"] = mu;
    return d;
}

py::dict steadyFrom(const SystemValues& values, double y, double v) {
    fv::SteadyMotion m;
    {
        py::gil_scoped_release unlocked;
        m = fv::steadyMotion(physicalSystem(values), y, v);
    }
    return steadyValues(m);
}

// The sweep's columns, point by point in the order of the ratios.
py::dict sweepColumns(const SystemValues& values, const std::vector<double>& ratios) {
    std::vector<fv::SweepPoint> points;
    const fv::PhysicalSystem in = physicalSystem(values);
    runInterruptibly(
        [&](const std::atomic<bool>& cancel) { points = fv::sweepRatios(in, ratios, &cancel); });
    const auto n = static_cast<py::ssize_t>(points.size());
    SteadyArrays steady(n);
    py::array_t<double> z(n), y(n), v(n);
    py::array_t<bool> jumped(n);
    py::array_t<std::complex<double>> mu({n, static_cast<py::ssize_t>(2)});
    for (py::ssize_t k = 0; k < n; ++k) {
        const fv::SweepPoint& p = points[static_cast<std::size_t>(k)];
        const fv::ExactSteady& e = p.motion.steady;
        z.mutable_at(k) = p.z;
        steady.amplitude.mutable_at(k) = e.amplitude;
        steady.stuck.mutable_at(k) = e.stuckFraction;
        steady.error.mutable_at(k) = e.error;
        steady.stops.mutable_at(k) = e.stopsPerCycle;
        steady.converged.mutable_at(k) = e.converged;
        steady.atRest.mutable_at(k) = e.atRest;
        steady.grows.mutable_at(k) = e.grows;
        y.mutable_at(k) = p.motion.y;
        v.mutable_at(k) = p.motion.v;
        jumped.mutable_at(k) = p.jumped;
        mu.mutable_at(k, 0) = p.motion.mu[0];
        mu.mutable_at(k, 1) = p.motion.mu[1];
    }
    py::dict columns;
    columns["z"] = z;
    steadyColumns(steady, columns);
    columns["y"] = y;
    columns["v"] = v;
    columns["multipliers"] = mu;
    columns["jumped"] = jumped;
    return columns;
}

} // namespace

void registerDynamics(py::module_& m) {
    m.attr("max_trajectory_periods") = fv::maxTrajectoryPeriods;
    m.attr("sweep_jump_fraction") = fv::sweepJumpFraction;
    m.def("forcing_period",
          [](const SystemValues& values) { return fv::forcingPeriod(physicalSystem(values)); });
    m.def("trajectory", &trajectoryColumns, py::arg("system"), py::arg("times"), py::arg("t_end"),
          "The exact motion at the times (ascending) and its events.");
    m.def("poincare", &poincareColumns, py::arg("system"), py::arg("periods"),
          "The exact state at the start of each forcing period.");
    m.def("period_map", &periodMap, py::arg("system"), py::arg("y"), py::arg("v"),
          "One forcing period from (y, v): the state, its Jacobian, events, valid.");
    m.def("steady", &steadyFrom, py::arg("system"), py::arg("y"), py::arg("v"),
          "The steady motion from (y, v) with its Floquet multipliers.");
    m.def("sweep", &sweepColumns, py::arg("system"), py::arg("ratios"),
          "Steady motions at the ratios in order, each from the last settled state.");
}

} // namespace fvpy
