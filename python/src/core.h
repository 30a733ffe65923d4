// The Python module's C++ side: the parts of the module, each registered by its own
// file, and the one conversion of the system the Python side passes in.
#pragma once

#include <pybind11/pybind11.h>

#include "model/model.h"

namespace fvpy {

// A system's eight values in the order of fv::systemParameters.
using SystemValues = std::array<double, fv::systemParameterCount>;

// The physical system of those values, filled through the table by name.
fv::PhysicalSystem physicalSystem(const SystemValues& values);

// One system's pass: summary, frequency characteristic, time response, regime map.
void registerPass(pybind11::module_& m);

// One cycle of the exact steady motion: its orbit over a forcing period.
void registerOrbit(pybind11::module_& m);

// One system's exact motion from any state: trajectory, period map, steady motion, sweep.
void registerDynamics(pybind11::module_& m);

// Many systems at once, on all cores without the GIL: exact steady states and study rows.
void registerBatch(pybind11::module_& m);

} // namespace fvpy
