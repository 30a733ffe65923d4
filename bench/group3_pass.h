// Benchmark support: what a group (3) pass computes once the friction force has been
// read, for the current zeta, Yf, Yc and givenRatio, as the dialogue computes it.
#pragma once

#include "analysis/continuous.h"
#include "analysis/range.h"
#include "control/dialogue.h"
#include "control/params.h"
#include "freqchar/curves.h"
#include "freqchar/stickslip.h"

inline void group3Pass() {
    fv::ratioStep = 0.0025;
    fv::sweepCount = 1200;
    fv::sweepContinuousAmplitude(fv::ratioStep, fv::sweepCount, fv::continuousCurve);
    fv::continuousAmplitude(fv::givenRatio, &fv::YZA);
    fv::sweepStickSlipAmplitude(fv::ratioStep, fv::sweepCount, fv::stickSlipCurve);
    fv::trimContinuousCurve(fv::continuousCurve, fv::stickSlipCurve, fv::sweepCount,
                            &fv::continuousRange);
    double theta = 0.0;
    double beta = 0.0;
    fv::YZB = fv::stickSlipAmplitude(fv::givenRatio, &theta, &beta);
    fv::computeFamily();
}
