// One system's pass as the program's first dialogue pass computes it (groups 1 to 3 on
// a fresh state), and what the export and the regime map write of it, as arrays: every
// number is the double the file's text reads back to, and an empty cell is NaN.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "export/tables.h"
#include "interrupt.h"

namespace py = pybind11;

namespace fvpy {

namespace {

constexpr int pairCount = fv::familySize + 1; // the entered damping ratio and the family
constexpr double missing = std::numeric_limits<double>::quiet_NaN();

// A pass's values: the chart is large (22 curves), so the whole pass is on the heap.
struct Pass {
    fv::PhysicalSystem input;
    fv::Derived derived;
    fv::Chart chart;
};

// Groups (1) to (3) as a dialogue pass from group (1) on a fresh state.
std::unique_ptr<Pass> runPass(const SystemValues& values) {
    auto p = std::make_unique<Pass>(); // value-initialized: a fresh state's zeros
    p->input = physicalSystem(values);
    fv::deriveFirstPass(p->input, &p->derived, &p->chart);
    return p;
}

// A number as a CSV cell reads back: itself where finite, else an empty cell.
double cell(double value) {
    return std::isfinite(value) ? value : missing;
}

// An amplitude as the chart draws it: where finite and not negative.
double amplitudeCell(double value) {
    return std::isfinite(value) && value >= 0.0 ? value : missing;
}

template <typename T> py::array_t<T> toArray(const std::vector<T>& values) {
    py::array_t<T> a(static_cast<py::ssize_t>(values.size()));
    std::copy(values.begin(), values.end(), a.mutable_data());
    return a;
}

// summary.json's text, as the export writes it.
std::string summaryText(const SystemValues& values) {
    std::unique_ptr<Pass> p;
    {
        py::gil_scoped_release unlocked;
        p = runPass(values);
    }
    const fv::Summary s = fv::summarize(p->input, p->derived, p->chart);
    return fv::summaryJson(s);
}

// frequency.csv's columns: curve, zeta, z, continuous_m, stickslip_m.
py::dict frequencyColumns(const SystemValues& values) {
    std::unique_ptr<Pass> p;
    {
        py::gil_scoped_release unlocked;
        p = runPass(values);
    }
    const fv::Chart& c = p->chart;
    struct Pair {
        const char* label;
        double zeta;
        const fv::AmplitudeCurve* continuous;
        const fv::AmplitudeCurve* stickSlip;
    } pairs[pairCount];
    pairs[0] = {"entered", p->derived.zeta, &c.continuousCurve, &c.stickSlipCurve};
    for (int k = 0; k < fv::familySize; ++k) {
        pairs[k + 1] = {"family", fv::zetaTable[k], &c.continuousCurves[k], &c.stickSlipCurves[k]};
    }
    std::vector<std::string> curve;
    std::vector<double> zeta, z, continuous, stickSlip;
    const int points = std::min(c.sweepCount + 1, fv::curveCapacity);
    for (const Pair& pair : pairs) {
        for (int i = 0; i < points; ++i) {
            curve.emplace_back(pair.label);
            zeta.push_back(cell(pair.zeta));
            z.push_back(cell(pair.stickSlip->ratio[i]));
            continuous.push_back(amplitudeCell(pair.continuous->amplitude[i]));
            stickSlip.push_back(amplitudeCell(pair.stickSlip->amplitude[i]));
        }
    }
    py::dict columns;
    columns["curve"] = py::module_::import("numpy").attr("array")(curve);
    columns["zeta"] = toArray(zeta);
    columns["z"] = toArray(z);
    columns["continuous_m"] = toArray(continuous);
    columns["stickslip_m"] = toArray(stickSlip);
    return columns;
}

// time.csv's columns: t_s, y_m, v_m_s, force_N, friction_N.
py::dict timeColumns(const SystemValues& values, double seconds, int steps) {
    std::vector<fv::ResponseSample> rows;
    bool complete = false;
    {
        py::gil_scoped_release unlocked;
        const fv::PhysicalSystem in = physicalSystem(values);
        fv::Derived d = {};
        fv::deriveMotion(in, &d);
        complete = steps == fv::stepsPerFrame ? fv::timeResponse(in, d, seconds, &rows)
                                              : fv::timeResponseEvery(in, d, seconds, steps, &rows);
    }
    if (!complete) {
        throw std::bad_alloc(); // MemoryError in Python
    }
    std::vector<double> t, y, v, force, friction;
    for (const fv::ResponseSample& r : rows) {
        t.push_back(cell(r.t));
        y.push_back(cell(r.y));
        v.push_back(cell(r.v));
        force.push_back(cell(r.force));
        friction.push_back(cell(r.friction));
    }
    py::dict columns;
    columns["t_s"] = toArray(t);
    columns["y_m"] = toArray(y);
    columns["v_m_s"] = toArray(v);
    columns["force_N"] = toArray(force);
    columns["friction_N"] = toArray(friction);
    return columns;
}

// The --regime-map CSV's columns for the system's damping ratio, row by row of the map.
py::dict regimeColumns(const SystemValues& values, unsigned threads) {
    auto map = std::make_unique<fv::RegimeMap>();
    fv::Derived d = {};
    fv::deriveMotion(physicalSystem(values), &d);
    const fv::RegimeSystem sys = fv::regimeSystem(d);
    map->zeta = sys.zeta;
    map->staticRatio = sys.staticRatio;
    // As computeRegimeMap, row by row and cell by cell, each part not begun once Ctrl-C
    // is pressed (every part is computed on its own: the same map).
    runInterruptibly([&](const std::atomic<bool>& cancel) {
        fv::parallelFor(
            fv::regimeRows,
            [&](long row) {
                if (!cancel.load(std::memory_order_relaxed)) {
                    fv::computeRegimeChartRow(sys, static_cast<int>(row), map.get());
                }
            },
            threads);
        fv::parallelFor(
            static_cast<long>(fv::regimeRows) * fv::regimeColumns,
            [&](long k) {
                if (!cancel.load(std::memory_order_relaxed)) {
                    fv::computeRegimeCell(sys, static_cast<int>(k / fv::regimeColumns),
                                          static_cast<int>(k % fv::regimeColumns), map.get());
                }
            },
            threads);
    });
    std::vector<double> z, ratio, exact, chart, error;
    std::vector<int> stops;
    std::vector<bool> converged, atRest, grows;
    for (int r = 0; r < fv::regimeRows; ++r) {
        for (int c = 0; c < fv::regimeColumns; ++c) {
            const fv::RegimeCell& cellValues = map->cells[r][c];
            z.push_back(cell(fv::regimeRatio(c)));
            ratio.push_back(cell(fv::regimeFrictionRatio(r)));
            stops.push_back(cellValues.stopsPerCycle);
            exact.push_back(cell(cellValues.amplitudeExact));
            chart.push_back(cell(cellValues.amplitudeChart));
            converged.push_back(cellValues.converged);
            atRest.push_back(cellValues.atRest);
            grows.push_back(cellValues.grows);
            error.push_back(cell(cellValues.error));
        }
    }
    auto flags = [](const std::vector<bool>& v) {
        py::array_t<bool> a(static_cast<py::ssize_t>(v.size()));
        std::copy(v.begin(), v.end(), a.mutable_data());
        return a;
    };
    py::dict columns;
    columns["z"] = toArray(z);
    columns["friction_ratio"] = toArray(ratio);
    columns["stops_per_cycle"] = toArray(stops);
    columns["amplitude_exact"] = toArray(exact);
    columns["amplitude_chart"] = toArray(chart);
    columns["converged"] = flags(converged);
    columns["at_rest"] = flags(atRest);
    columns["grows"] = flags(grows);
    columns["error"] = toArray(error);
    return columns;
}

} // namespace

void registerPass(py::module_& m) {
    m.def("summary_json", &summaryText, py::arg("system"),
          "summary.json's text for the system's first pass.");
    m.def("frequency", &frequencyColumns, py::arg("system"),
          "frequency.csv's columns for the system's first pass.");
    m.def("time_response", &timeColumns, py::arg("system"), py::arg("seconds"),
          py::arg("steps") = fv::stepsPerFrame,
          "time.csv's columns: a sample every steps integration steps (a frame: 0.1 s).");
    m.def("steps_per_sample", &fv::stepsPerSample, py::arg("dt"),
          "Integration steps between samples dt seconds apart, 0 where dt is none.");
    m.attr("time_step_s") = fv::timeStep;
    m.attr("max_sample_s") = fv::maxSampleSeconds;
    m.def("regime_map", &regimeColumns, py::arg("system"), py::arg("threads") = 0u,
          "The regime map's columns for the system's damping ratio.");
}

} // namespace fvpy
