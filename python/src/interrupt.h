// Long computations that Ctrl-C can stop: the work runs on a thread of its own, without
// the GIL, while the calling thread looks at Python's signals every few hundredths of a
// second; a pending KeyboardInterrupt (or any exception a signal handler raises) sets the
// work's cancel flag, waits for the work to let go, and is raised. The interpreter stays
// usable: nothing is left running.
#pragma once

#include <atomic>
#include <functional>

namespace fvpy {

// Runs work(cancel) as above; the work must look at cancel between items. Throws
// pybind11::error_already_set for a signal, and rethrows what the work threw.
void runInterruptibly(const std::function<void(const std::atomic<bool>& cancel)>& work);

} // namespace fvpy
