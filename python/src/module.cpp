// The extension module frictionvib._core: the model's computations as the Python
// package frictionvib calls them. The package checks the arguments; this side converts.
#include <pybind11/stl.h>

#include <cstring>
#include <string>

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
    m.attr("max_duration_s") = fv::maxResponseSeconds;
    m.def(
        "refusal",
        [](const fvpy::SystemValues& values) {
            // The model's message, the parameter named as Python names it.
            const fv::PhysicalSystem in = fvpy::physicalSystem(values);
            const int k = fv::refusedParameter(in);
            if (k < 0) {
                return std::string();
            }
            const fv::SystemParameter& p = fv::systemParameters[k];
            return p.keyword + fv::refusalMessage(in).substr(std::strlen(p.name));
        },
        pybind11::arg("system"),
        "Why the model means nothing by the system's values, or '' where it does.");
    pybind11::list parameters;
    for (const fv::SystemParameter& p : fv::systemParameters) {
        pybind11::dict row;
        row["name"] = p.name;
        row["keyword"] = p.keyword;
        row["unit"] = p.unit;
        row["group"] = p.group;
        row["rule"] = fv::ruleText(p.rule);
        parameters.append(row);
    }
    m.attr("parameters") = parameters;
    fvpy::registerPass(m);
    fvpy::registerBatch(m);
    fvpy::registerOrbit(m);
    fvpy::registerDynamics(m);
}
