// Work spread over the cores: independent items handed out one at a time to a worker
// on every core, so that the result of each item, and of the whole, does not depend on
// the number of threads or on which thread did what.
#pragma once

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace fv {

// Most threads a job starts, whatever the machine says.
constexpr unsigned maxWorkerThreads = 64;

// Whether threads can be started at all: a browser build without shared memory has
// none, and starting one would end the program.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
constexpr bool threadsAvailable = false;
#else
constexpr bool threadsAvailable = true;
#endif

// Workers for count items: one per core, at most one per item (0 asks the machine);
// one where no thread can be started.
inline unsigned workerThreads(long count, unsigned wanted = 0) {
    if (!threadsAvailable) {
        return 1;
    }
    const unsigned cores = wanted != 0 ? wanted : std::max(1u, std::thread::hardware_concurrency());
    const long limit = std::max(1L, std::min<long>(count, maxWorkerThreads));
    return static_cast<unsigned>(std::min<long>(cores, limit));
}

// Calls item(i) for every i in 0..count-1, on the calling thread and up to threads - 1
// helpers (0: one per core), and returns when all are done. When no helper can be
// started the calling thread does everything.
template <typename Item> void parallelFor(long count, Item item, unsigned threads = 0) {
    std::atomic<long> next{0};
    auto work = [&] {
        for (long i = next.fetch_add(1); i < count; i = next.fetch_add(1)) {
            item(i);
        }
    };
    std::vector<std::thread> helpers;
    const unsigned wanted = workerThreads(count, threads);
    for (unsigned k = 1; k < wanted; ++k) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break;
        }
    }
    work();
    for (std::thread& t : helpers) {
        t.join();
    }
}

} // namespace fv
