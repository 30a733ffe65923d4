// The batch outputs of a first pass, as the options ask for them: the export
// (summary.json, frequency.csv, time.csv), the picture and the regime map. Every file
// goes through the one all-or-none writer, every failure through the one reporter.
#pragma once

#include <string>

#include "app/options.h"
#include "export/interrupt.h"
#include "state/state.h"

namespace fv {

// Writes the three files into dir (created if missing), all or none; time.csv covers
// seconds. Returns 0, or 1 after one line on standard error naming the path and the
// reason. The temporaries are noted in *temporaries while they exist.
int exportFirstPass(State& s, TemporaryFiles* temporaries, const std::string& dir, double seconds);

// Everything the options ask for after the first pass, in order, until one fails:
// 0, or 1 after one line on standard error.
int writeBatchOutputs(State& s, TemporaryFiles* temporaries, const Options& options);

} // namespace fv
