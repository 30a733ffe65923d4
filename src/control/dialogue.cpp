// Console dialogue: one pass from the chosen group through group (4). Each group
// reads its numbers, recomputes what derives from them and prints the results;
// group (3) rebuilds the frequency characteristic, group (4) resets the view.
#include "control/dialogue.h"

#include <cmath>
#include <cstdio>

#include "analysis/continuous.h"
#include "control/chart.h"
#include "control/console.h"
#include "control/params.h"
#include "control/streams.h"
#include "freqchar/stickslip.h"

namespace fv {

namespace {

constexpr double gridRatioStep = 0.0025;           // ratio step of the chart grid
constexpr int gridSweepCount = 1200;               // grid points 0..1200: z from 0 to 3
constexpr double radiansPerDegree = 0.01745329252; // phase lag printed in degrees
constexpr double noStickSlipAmplitude = 100.0;     // red point far off-chart
constexpr double defaultVerticalScale = 1.0;       // window units per metre
constexpr double defaultTimeAxisScale = 0.005;     // window units per sample
constexpr double defaultFreqAxisScale = 0.001;     // window units per ratio step
constexpr Point2 defaultMechanismOrigin = {0.01, 0.0};
constexpr Point2 defaultTimeChartOrigin = {-0.99, 0.0};

void printHeader() {
    consolePrintf("\n固体摩擦のある１自由度強制振動の描画");
    consolePrintf("\nm*ddy/ddt + λ*dy/dt + K = F*sin(ωf*t) ± Fric");
    consolePrintf("\n\nキー入力　(1) ばねマスダンパー");
    consolePrintf("\n        　(2) 外力・外力振動数");
    consolePrintf("\n        　(3) 固体摩擦力");
    consolePrintf("\n        　(4) 初期条件");
}

void springMassDamperGroup() {
    consolePrintf("\n\n(1) マスm[kg]，ダンパーλ[N/(m/s)]，ばね定数K[N/m]　キー入力 m λ K=");
    readNumbers(&m, &lambda, &K);
    omega0 = std::sqrt(K / m);
    zeta = lambda / (2.0 * std::sqrt(m * K));
    consolePrintf("\n固有振動数   ω0=%7.4f[rad/s], 減衰比ζ=%7.4f", omega0, zeta);
}

void externalForceGroup() {
    consolePrintf("\n\n(2) 強制振動振幅F[N]，振動数ωf[rad/s]　キー入力  F ωf=");
    readNumbers(&F, &omf);
    Yf = F / K;
    As = Yf;
    const double stiffness = K - m * (omf * omf);
    Ad = F / std::sqrt(stiffness * stiffness + (lambda * omf) * (lambda * omf));
    phi = std::atan2(lambda * omf, K - m * (omf * omf));
    consolePrintf("\n静撓み  Yf=%7.4f[m]", Yf);
    consolePrintf("\n固体摩擦ないときの定常振幅 Ad=%7.4f[m], 位相遅れΦ=%6.2f[deg]", Ad,
                  phi / radiansPerDegree);
    if (Yf != 0.0) {
        consolePrintf("\n       振幅比Ad/As=%7.4f", Ad / As);
    }
}

// The stick-slip sweeps run on helper threads from the moment Yc is known; the texts
// come out in their order meanwhile, the notice before the rest of the work.
void frictionGroup() {
    consolePrintf("\n\n(3) 固体摩擦力 Fric[N]=");
    readNumbers(&Fric);
    Yc = Fric / K;
    consolePrintf("\n不感帯Yc[m]=%6.3f", Yc);
    ratioStep = gridRatioStep;
    sweepCount = gridSweepCount;
    static ChartPass chart;
    startChart(&chart);
    givenRatio = omf / omega0;
    continuousAmplitude(givenRatio, currentClosedFormSystem(), &YZA);
    consolePrintf("\n設定ζ=%6.3f z=%7.4f F=%7.4f Fric=%7.4f 無停止振動定常振幅 YZA=%7.4f", zeta,
                  givenRatio, F, Fric, YZA);
    double dwellAngle = 0.0;
    double stopPhase = 0.0;
    YZB = stickSlipAmplitude(givenRatio, currentClosedFormSystem(), &dwellAngle, &stopPhase);
    consolePrintf("\n設定ζ=%6.3f z=%7.4f Yf=%7.4f Yc=%7.4f 一時停止振動振幅 YZB=%7.4f", zeta,
                  givenRatio, Yf, Yc, YZB);
    if (YZB < 0.0) {
        YZB = noStickSlipAmplitude;
    }
    consolePrintf("\n\n周波数特性計算中．．．．");
    flushStandardOutput();
    finishChart(&chart);
}

void printKeyHelp() {
    consolePrintf("\n振動曲線描画表示　赤：応答　緑：外力　青：摩擦抵抗");
    consolePrintf("\n\n's'キーで：振動描画継続               'Y' 'y'キーで：縦倍率拡大縮小");
    consolePrintf("\n'm'キーで：ばねマス・外力変更         'T' 't'キーで：振動曲線時間軸拡大縮小");
    consolePrintf("\n'f'キーで：外力変更                   'z' 'Z'キーで：周波数特性横軸拡大縮小");
    consolePrintf("\n'r'キーで：固体摩擦力変更");
    consolePrintf("\n'j'キーで：初期条件変更");
    consolePrintf("\nESCキーで：終了\n");
}

// Every pass restarts the motion from the initial conditions at t = 0 and returns
// the charts to their default scales.
void resetTimeResponseAndView() {
    stateY[0] = y0;
    stateY[1] = v0;
    simTime = 0.0;
    timeRingIndex = 0;
    mechanismOrigin = defaultMechanismOrigin;
    timeChartOrigin = defaultTimeChartOrigin;
    freqChartOrigin = mechanismOrigin;
    verticalScale = defaultVerticalScale;
    curveScale[0] = verticalScale;
    curveScale[2] = verticalScale / K;
    curveScale[1] = curveScale[2];
    timeAxisScale = defaultTimeAxisScale;
    timeRingCapacity = static_cast<int>(1.0 / timeAxisScale);
    freqAxisScale = defaultFreqAxisScale;
}

void initialConditionGroup() {
    consolePrintf("\n\n(4) 初期条件　y0[m] v0[m/s] = ");
    readNumbers(&y0, &v0);
    printKeyHelp();
    resetTimeResponseAndView();
}

} // namespace

void consoleDialogue() {
    const int firstGroup = currentKey == 'f'   ? 2
                           : currentKey == 'r' ? 3
                           : currentKey == 'j' ? 4
                                               : 1;
    if (firstGroup == 1) {
        printHeader();
        springMassDamperGroup();
    }
    if (firstGroup <= 2) {
        externalForceGroup();
    }
    if (firstGroup <= 3) {
        frictionGroup();
    }
    initialConditionGroup();
    flushStandardOutput();
}

} // namespace fv
