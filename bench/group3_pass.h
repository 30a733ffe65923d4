// Benchmark support: what a group (3) pass computes once the friction force has been
// read, for the current zeta, Yf, Yc and givenRatio, as the dialogue computes it (the
// curves always swept anew).
#pragma once

#include "analysis/continuous.h"
#include "control/chart.h"
#include "control/params.h"
#include "freqchar/stickslip.h"

inline void group3Pass() {
    fv::ratioStep = 0.0025;
    fv::sweepCount = 1200;
    fv::chartReady = false;
    static fv::ChartPass chart;
    fv::startChart(&chart);
    fv::continuousAmplitude(fv::givenRatio, fv::currentClosedFormSystem(), &fv::YZA);
    double theta = 0.0;
    double beta = 0.0;
    fv::YZB = fv::stickSlipAmplitude(fv::givenRatio, fv::currentClosedFormSystem(), &theta, &beta);
    fv::finishChart(&chart);
}
