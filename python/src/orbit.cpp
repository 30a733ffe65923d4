// One cycle of the exact steady motion at the entered ratio as numpy arrays: its orbit
// sampled over a forcing period in seconds, metres, m/s and newtons.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <vector>

#include "core.h"

namespace py = pybind11;

namespace fvpy {

namespace {

// The orbit's columns t, y, v and friction.
py::dict orbitColumns(const SystemValues& values, int samples) {
    std::vector<fv::CyclePoint> points;
    {
        py::gil_scoped_release unlocked;
        const fv::PhysicalSystem in = physicalSystem(values);
        fv::Derived d = {};
        fv::deriveEnteredValues(in, &d);
        points = fv::enteredSteadyOrbit(in, d, samples);
    }
    return stateColumns(points);
}

} // namespace

void registerOrbit(py::module_& m) {
    m.attr("min_orbit_samples") = fv::minOrbitSamples;
    m.def("steady_orbit", &orbitColumns, py::arg("system"), py::arg("samples"),
          "The exact steady orbit over one forcing period: t, y, v, friction.");
}

} // namespace fvpy
