// Console dialogue: one pass from the chosen group through group (4). Each group
// reads its numbers, recomputes what derives from them and prints the results;
// group (3) rebuilds the frequency characteristic, group (4) resets the view. The
// notice before the family's curves goes out while they are still being computed.
#include "console/dialogue.h"

#include "session/pass.h"

namespace fv {

namespace {

void printHeader(const Console& c) {
    // TRANSLATORS: the console's texts: the symbols, units in brackets and printf
    // conversions (%7.4f) stay as they are; only the words around them are translated.
    consolePrintf(c, tr(c, "\n固体摩擦のある１自由度強制振動の描画"));
    consolePrintf(c, "\nm*ddy/ddt + λ*dy/dt + K = F*sin(ωf*t) ± Fric");
    consolePrintf(c, tr(c, "\n\nキー入力　(1) ばねマスダンパー"));
    consolePrintf(c, tr(c, "\n        　(2) 外力・外力振動数"));
    consolePrintf(c, tr(c, "\n        　(3) 固体摩擦力"));
    consolePrintf(c, tr(c, "\n        　(4) 初期条件"));
}

void springMassDamperGroup(State& s, const Console& c) {
    consolePrintf(c,
                  tr(c, "\n\n(1) マスm[kg]，ダンパーλ[N/(m/s)]，ばね定数K[N/m]　キー入力 m λ K="));
    readNumbers(c, &s.input.m, &s.input.lambda, &s.input.K);
    deriveSpringMassDamper(s);
    consolePrintf(c, tr(c, "\n固有振動数   ω0=%7.4f[rad/s], 減衰比ζ=%7.4f"), s.derived.omega0,
                  s.derived.zeta);
}

void externalForceGroup(State& s, const Console& c) {
    consolePrintf(c, tr(c, "\n\n(2) 強制振動振幅F[N]，振動数ωf[rad/s]　キー入力  F ωf="));
    readNumbers(c, &s.input.F, &s.input.omf);
    deriveExternalForce(s);
    const Derived& d = s.derived;
    consolePrintf(c, tr(c, "\n静撓み  Yf=%7.4f[m]"), d.Yf);
    consolePrintf(c, tr(c, "\n固体摩擦ないときの定常振幅 Ad=%7.4f[m], 位相遅れΦ=%6.2f[deg]"), d.Ad,
                  d.phi / radiansPerDegree);
    if (d.Yf != 0.0) {
        consolePrintf(c, tr(c, "\n       振幅比Ad/As=%7.4f"), d.Ad / d.As);
    }
}

// The amplitudes with a static force above the sliding one: a motion that cannot happen
// under that law is said in words, not given a number.
void staticFrictionAmplitudes(const State& s, const Console& c) {
    const Derived& d = s.derived;
    if (staticBandHoldsMass(d)) {
        consolePrintf(
            c, tr(c, "\n静止摩擦力 Fs が外力の振幅 F 以上なので、静止したマスは動き出さない"));
    }
    if (d.hasYZA) {
        consolePrintf(
            c, tr(c, "\n設定ζ=%6.3f z=%7.4f F=%7.4f Fric=%7.4f 無停止振動定常振幅 YZA=%7.4f"),
            d.zeta, d.givenRatio, s.input.F, s.input.Fric, d.YZA);
    } else {
        consolePrintf(c,
                      tr(c, "\n設定ζ=%6.3f z=%7.4f F=%7.4f Fric=%7.4f 無停止振動定常振幅 YZA: "
                            "この z で止まらずに動き続ける運動はない"),
                      d.zeta, d.givenRatio, s.input.F, s.input.Fric);
    }
    if (d.hasYZB) {
        consolePrintf(c,
                      tr(c, "\n設定ζ=%6.3f z=%7.4f Yf=%7.4f Yc=%7.4f 一時停止振動振幅 YZB=%7.4f"),
                      d.zeta, d.givenRatio, d.Yf, d.Yc, d.YZB);
    } else {
        consolePrintf(c,
                      tr(c, "\n設定ζ=%6.3f z=%7.4f Yf=%7.4f Yc=%7.4f 一時停止振動振幅 YZB: "
                            "この z で一時停止する運動はない"),
                      d.zeta, d.givenRatio, d.Yf, d.Yc);
    }
}

void frictionGroup(State& s, const Console& c) {
    consolePrintf(c, tr(c, "\n\n(3) 固体摩擦力 Fric[N]="));
    readNumbers(c, &s.input.Fric);
    const Derived& d = s.derived;
    ChartPass pass = {};
    beginFriction(s, &pass);
    consolePrintf(c, tr(c, "\n不感帯Yc[m]=%6.3f"), d.Yc);
    if (s.input.Fs > 0.0) {
        // Only with --static-friction: the force that holds a resting mass, and its band.
        consolePrintf(c, tr(c, "\n静止摩擦力 Fs[N]=%7.4f 静止摩擦の不感帯 Ys[m]=%6.3f"), s.input.Fs,
                      d.Ys);
    }
    if (s.input.Fs > 0.0) {
        staticFrictionAmplitudes(s, c);
    } else {
        consolePrintf(
            c, tr(c, "\n設定ζ=%6.3f z=%7.4f F=%7.4f Fric=%7.4f 無停止振動定常振幅 YZA=%7.4f"),
            d.zeta, d.givenRatio, s.input.F, s.input.Fric, d.YZA);
        consolePrintf(c,
                      tr(c, "\n設定ζ=%6.3f z=%7.4f Yf=%7.4f Yc=%7.4f 一時停止振動振幅 YZB=%7.4f"),
                      d.zeta, d.givenRatio, d.Yf, d.Yc, d.YZB);
    }
    consolePrintf(c, tr(c, "\n\n周波数特性計算中．．．．"));
    flushConsole(c);
    finishFriction(s, &pass);
}

void printKeyHelp(const Console& c) {
    consolePrintf(c, tr(c, "\n振動曲線描画表示　赤：応答　緑：外力　青：摩擦抵抗"));
    // TRANSLATORS: the key help has two columns; start the second one at the same place
    // in these three lines. The keys in quotes stay as they are.
    consolePrintf(c,
                  tr(c, "\n\n's'キーで：振動描画継続               'Y' 'y'キーで：縦倍率拡大縮小"));
    consolePrintf(
        c, tr(c, "\n'm'キーで：ばねマス・外力変更         'T' 't'キーで：振動曲線時間軸拡大縮小"));
    consolePrintf(
        c, tr(c, "\n'f'キーで：外力変更                   'z' 'Z'キーで：周波数特性横軸拡大縮小"));
    consolePrintf(c, tr(c, "\n'r'キーで：固体摩擦力変更"));
    consolePrintf(c, tr(c, "\n'j'キーで：初期条件変更"));
    consolePrintf(c, tr(c, "\nESCキーで：終了\n"));
}

void initialConditionGroup(State& s, const Console& c) {
    consolePrintf(c, tr(c, "\n\n(4) 初期条件　y0[m] v0[m/s] = "));
    readNumbers(c, &s.input.y0, &s.input.v0);
    printKeyHelp(c);
    resetTimeResponseAndView(s);
}

} // namespace

int firstGroupOf(char key) {
    return key == 'f' ? 2 : key == 'r' ? 3 : key == 'j' ? 4 : 1;
}

void consoleDialogue(State& s, const Console& console) {
    const int firstGroup = firstGroupOf(s.session.currentKey);
    if (firstGroup == 1) {
        printHeader(console);
        springMassDamperGroup(s, console);
    }
    if (firstGroup <= 2) {
        externalForceGroup(s, console);
    }
    if (firstGroup <= 3) {
        frictionGroup(s, console);
    }
    initialConditionGroup(s, console);
    flushConsole(console);
}

} // namespace fv
