// The exact steady state along the frequency chart's ratio axis: one steady state from
// rest every 0.05 of the ratio, for the dots that the window lays over the curves.
#pragma once

#include "analysis/system.h"
#include "exact/steady.h"

namespace fv {

constexpr int exactDotCount = 60;     // ratios 0.05, 0.10, ..., 3.00
constexpr double exactDotStep = 0.05; // between the dots' ratios [-]

struct ExactDots {
    ClosedFormSystem system;           // what they were computed for
    ExactSteady steady[exactDotCount]; // dot k at ratio (k + 1) * exactDotStep
};

// Ratio of dot k.
double exactDotRatio(int k);

// The dots of sys, computed on all cores; each steady state starts from rest.
void computeExactDots(const ClosedFormSystem& sys, ExactDots* dots);

// Dot k alone, for work that shows its progress (dots->system is not set).
void computeExactDot(const ClosedFormSystem& sys, int k, ExactDots* dots);

} // namespace fv
