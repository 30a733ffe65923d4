// The extension module frictionvib._core: the model's computations as the Python
// package frictionvib calls them. The package checks the arguments; this side converts.
#include <pybind11/stl.h>

#include "core.h"

namespace fvpy {

fv::PhysicalSystem physicalSystem(const SystemValues& values) {
    fv::PhysicalSystem in = {};
    for (int k = 0; k < fv::systemParameterCount; ++k) {
        in.*fv::systemParameters[k].value = values[k];
    }
    return in;
}

} // namespace fvpy

PYBIND11_MODULE(_core, m) {
    m.doc() = "The model of frictionvib: closed forms, exact steady states, regime maps.";
    pybind11::list names;
    for (const fv::SystemParameter& p : fv::systemParameters) {
        names.append(p.name);
    }
    m.attr("parameter_names") = names;
    m.attr("regime_rows") = fv::regimeRows;
    m.attr("regime_columns") = fv::regimeColumns;
    m.attr("max_duration_s") = 100000.0; // as the program's --duration
    m.def(
        "refusal",
        [](const fvpy::SystemValues& values) {
            return fv::refusalMessage(fvpy::physicalSystem(values));
        },
        pybind11::arg("system"),
        "Why the model means nothing by the system's values, or '' where it does.");
    fvpy::registerPass(m);
    fvpy::registerBatch(m);
}
