// The watch over a long computation: see interrupt.h.
#include "interrupt.h"

#include <pybind11/pybind11.h>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace py = pybind11;

namespace fvpy {

namespace {

// How often the signals are looked at: well within the half second a user waits for
// Ctrl-C to answer, and rare enough to cost nothing [ms].
constexpr std::chrono::milliseconds signalPoll{50};

} // namespace

void runInterruptibly(const std::function<void(const std::atomic<bool>& cancel)>& work) {
    std::atomic<bool> cancel{false};
    std::exception_ptr failure;
    bool signalled = false;
    {
        py::gil_scoped_release unlocked;
        std::mutex mutex;
        std::condition_variable ended;
        bool done = false;
        auto run = [&] {
            try {
                work(cancel);
            } catch (...) {
                failure = std::current_exception();
            }
            const std::lock_guard<std::mutex> lock(mutex);
            done = true;
            ended.notify_all();
        };
        std::thread worker;
        try {
            worker = std::thread(run);
        } catch (const std::system_error&) {
            run(); // no thread to be had: the work runs here, without the watch
        }
        std::unique_lock<std::mutex> lock(mutex);
        while (!ended.wait_for(lock, signalPoll, [&] { return done; })) {
            if (signalled) {
                continue;
            }
            lock.unlock();
            {
                py::gil_scoped_acquire locked;
                if (PyErr_CheckSignals() != 0) {
                    signalled = true; // the exception stays set for the raise below
                    cancel.store(true);
                }
            }
            lock.lock();
        }
        lock.unlock();
        if (worker.joinable()) {
            worker.join();
        }
    }
    if (signalled) {
        throw py::error_already_set();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace fvpy
