// The questions about the state that every front end asks.
#include "state/state.h"

namespace fv {

bool chartCurrent(const State& s) {
    return chartCurrent(s.chart, s.derived);
}

bool exactDotsCurrent(const State& s) {
    return s.session.exactDotsReady && sameSystem(s.session.exactDots.system, closedFormSystem(s));
}

bool regimeMapCurrent(const State& s) {
    return s.session.regimeMapReady &&
           sameRegimeSystem(regimeSystemOf(s.session.regimeMap), regimeSystem(s.derived));
}

} // namespace fv
