// Many systems at once: the exact steady state of dimensionless systems (as the regime
// map's cells) and the rows of a parameter study, computed on all cores with the GIL
// released. Each item is computed on its own, so the results do not depend on the number
// of threads.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "common/parallel.h"
#include "core.h"
#include "export/tables.h"
#include "interrupt.h"

namespace py = pybind11;

namespace fvpy {

namespace {

constexpr double missing = std::numeric_limits<double>::quiet_NaN();
constexpr double unitForce = 1.0; // Yf of a dimensionless system, as the regime map's [-]

using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;

// The exact steady states of (zeta[i], z[i], Yc/Yf = ratio[i]) from (x0[i], v0[i]) at the
// start of a forcing period (from rest: as the regime map computes a cell); the arrays
// are flat and of one length. Ctrl-C stops the items not yet begun.
py::dict exactSteadyColumns(const Doubles& zeta, const Doubles& z, const Doubles& ratio,
                            const Doubles& staticBand, const Doubles& x0, const Doubles& v0,
                            unsigned threads) {
    const py::ssize_t n = zeta.size();
    if (z.size() != n || ratio.size() != n || staticBand.size() != n || x0.size() != n ||
        v0.size() != n) {
        throw py::value_error(
            "zeta, z, friction_ratio, static_ratio, x0 and v0 must have one length");
    }
    SteadyArrays out(n);
    const double* zetaIn = zeta.data();
    const double* zIn = z.data();
    const double* ratioIn = ratio.data();
    const double* staticIn = staticBand.data();
    const double* x0In = x0.data();
    const double* v0In = v0.data();
    int* stopsOut = out.stops.mutable_data();
    double* amplitudeOut = out.amplitude.mutable_data();
    double* stuckOut = out.stuck.mutable_data();
    double* errorOut = out.error.mutable_data();
    bool* convergedOut = out.converged.mutable_data();
    bool* atRestOut = out.atRest.mutable_data();
    bool* growsOut = out.grows.mutable_data();
    runInterruptibly([&](const std::atomic<bool>& cancel) {
        fv::parallelFor(
            static_cast<long>(n),
            [&](long i) {
                if (cancel.load(std::memory_order_relaxed)) {
                    return;
                }
                const fv::ExactSteady s = fv::exactSteadyState(
                    {zetaIn[i], zIn[i], unitForce, ratioIn[i], staticIn[i]}, x0In[i], v0In[i]);
                stopsOut[i] = s.stopsPerCycle;
                amplitudeOut[i] = std::isfinite(s.amplitude) ? s.amplitude : missing;
                stuckOut[i] = std::isfinite(s.stuckFraction) ? s.stuckFraction : missing;
                convergedOut[i] = s.converged;
                atRestOut[i] = s.atRest;
                growsOut[i] = s.grows;
                errorOut[i] = std::isfinite(s.error) ? s.error : missing;
            },
            threads);
    });
    return steadyColumns(out);
}

// A number's cell as the program's files write it; empty where it is none.
std::string numberCell(double value, bool present = true) {
    return present ? fv::formatNumber(value) : std::string();
}

// One study row's computed cells: omega0, zeta, z, Yf, Yc, YZA, YZB (empty where the
// closed form has none), then the exact steady state at the entered ratio.
std::string studyCells(const fv::PhysicalSystem& in) {
    fv::Derived d = {};
    fv::deriveEnteredValues(in, &d);
    const fv::ExactSteady s = fv::enteredExactSteady(d);
    std::string row;
    for (double v : {d.omega0, d.zeta, d.givenRatio, d.Yf, d.Yc}) {
        row += numberCell(v) + ",";
    }
    row += numberCell(d.YZA, d.hasYZA) + "," + numberCell(d.YZB, d.hasYZB) + ",";
    row += numberCell(s.amplitude) + "," + std::to_string(s.stopsPerCycle) + "," +
           numberCell(s.stuckFraction) + (s.converged ? ",1" : ",0") + (s.atRest ? ",1" : ",0");
    return row;
}

// The computed cells of every study row; systems[i] holds the eight values of row i.
std::vector<std::string> studyRows(const std::vector<SystemValues>& systems, unsigned threads) {
    std::vector<std::string> rows(systems.size());
    runInterruptibly([&](const std::atomic<bool>& cancel) {
        fv::parallelFor(
            static_cast<long>(systems.size()),
            [&](long i) {
                if (!cancel.load(std::memory_order_relaxed)) {
                    rows[i] = studyCells(physicalSystem(systems[i]));
                }
            },
            threads);
    });
    return rows;
}

} // namespace

void registerBatch(py::module_& m) {
    m.def("exact_steady", &exactSteadyColumns, py::arg("zeta"), py::arg("z"),
          py::arg("friction_ratio"), py::arg("static_ratio"), py::arg("x0"), py::arg("v0"),
          py::arg("threads") = 0u,
          "Exact steady states from (x0, v0) of flat arrays of one length (threads 0: all "
          "cores); Ctrl-C stops them.");
    m.def("study_rows", &studyRows, py::arg("systems"), py::arg("threads") = 0u,
          "The computed cells of parameter-study rows, as CSV text.");
    m.attr("study_columns") = "omega0,zeta,z,Yf,Yc,YZA,YZB,exact_amplitude_m,exact_stops_per_cycle,"
                              "exact_stuck_fraction,exact_converged,exact_at_rest";
}

} // namespace fvpy
