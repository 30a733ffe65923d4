// The clear view and the right half's panels as scenes: the same content as the classic
// picture with numbered axes, labelled curves, line styles that tell the kinds of motion
// apart, and text from the catalogs in the reader's language.
#pragma once

#include "picture/scene.h"

namespace fv {

// The whole clear picture of the state.
Scene clearPicture(const State& s);

// The panel the right half shows (phase plane or energy) on a white ground, to be drawn
// over the classic picture's right half; empty where no panel is shown.
Scene panelPicture(const State& s);

// The parts, each drawn into the clear view's layout.
void addStripChart(Scene* scene, const State& s);
void addMechanism(Scene* scene, const State& s);
void addFrequencyChart(Scene* scene, const State& s);
void addRegimeMap(Scene* scene, const State& s);
void addPhasePlane(Scene* scene, const State& s);
void addEnergy(Scene* scene, const State& s);

// The clear view's layout [window units]: the strip chart on the left, the right half's
// chart, and where the legends below them start.
constexpr Box leftChartBox = {-0.80, -0.40, -0.20, 0.80};
constexpr Box rightChartBox = {0.17, -0.40, 0.94, 0.80};
constexpr double legendTopY = -0.66;
constexpr double legendRowStep = 0.068;

// The catalog's text in the reader's language.
std::string shown(const State& s, const char* text);

} // namespace fv
