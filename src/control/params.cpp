// Process-wide parameter set: the single definition of every item declared in
// params.h. All start at zero; the console dialogue gives them their values.
#include "control/params.h"

namespace fv {

double m = 0.0;
double lambda = 0.0;
double K = 0.0;
double F = 0.0;
double omf = 0.0;
double Fric = 0.0;
double y0 = 0.0;
double v0 = 0.0;

double omega0 = 0.0;
double zeta = 0.0;
double Yf = 0.0;
double As = 0.0;
double Ad = 0.0;
double phi = 0.0;
double Yc = 0.0;
double givenRatio = 0.0;
double YZA = 0.0;
double YZB = 0.0;
double givenPointAmplitude = 0.0;

double ratioStep = 0.0;
int sweepCount = 0;
AmplitudeCurve continuousCurve = {};
AmplitudeCurve stickSlipCurve = {};
AmplitudeCurve continuousCurves[familySize] = {};
AmplitudeCurve stickSlipCurves[familySize] = {};
IndexRange continuousRange = {0, 0};
ClosedFormSystem chartSystem = {0.0, 0.0, 0.0};
bool chartReady = false;

double stateY[2] = {0.0, 0.0};
double statePrev[2] = {0.0, 0.0};
double simTime = 0.0;
int timeRingIndex = 0;
double timeCurves[timeRingRows][timeRingLength] = {};

double verticalScale = 0.0;
double curveScale[3] = {0.0, 0.0, 0.0};
double timeAxisScale = 0.0;
int timeRingCapacity = 0;
double freqAxisScale = 0.0;
Point2 mechanismOrigin = {0.0, 0.0};
Point2 timeChartOrigin = {0.0, 0.0};
Point2 freqChartOrigin = {0.0, 0.0};

float frameStartLineWidth = 1.0f;
bool playing = false;
int playbackGeneration = 0;
int nextFrameDueMs = 0;
bool showRegimeMap = false;
bool regimeMapReady = false;
RegimeMap regimeMap = {};
bool showExactDots = false;
bool exactDotsReady = false;
ExactDots exactDots = {};

bool frameCurrent = false;

char currentKey = 0;

ClosedFormSystem currentClosedFormSystem() {
    return {zeta, Yf, Yc};
}

MotionParams currentMotionParams() {
    return {m, lambda, K, F, omf, Fric, omega0};
}

MotionState currentMotion() {
    return {simTime, stateY[0], stateY[1]};
}

void advanceMotion() {
    MotionState s = currentMotion();
    advanceFrame(currentMotionParams(), &s);
    simTime = s.t;
    stateY[0] = s.y;
    stateY[1] = s.v;
}

} // namespace fv
