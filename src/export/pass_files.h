// The files of a pass: summary.json, frequency.csv and time.csv of what the state holds,
// as text. The command line writes them into a folder, the web page hands them to the
// browser.
#pragma once

#include <string>

#include "export/tables.h"
#include "state/state.h"

namespace fv {

constexpr int passFileCount = 3;
inline constexpr const char* passFileNames[passFileCount] = {"summary.json", "frequency.csv",
                                                             "time.csv"};
constexpr double passFileSeconds = 20.0; // time.csv's length unless asked otherwise [s]

// The texts of the files named passFileNames; time.csv covers seconds from the initial
// conditions. False when the time response could not be integrated (no working memory).
bool passFileTexts(const State& s, double seconds, std::string texts[passFileCount]);

} // namespace fv
