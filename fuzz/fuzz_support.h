// Fuzzing support: reading typed values out of the fuzzer's bytes, a deadline check
// for single calls, and a standard parameter set for passes that start mid-dialogue.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Consumes the fuzzer's bytes front to back; zeros once they run out.
struct ByteReader {
    const uint8_t* data;
    std::size_t size;
    std::size_t pos;
};

inline uint8_t readByte(ByteReader& r) {
    return r.pos < r.size ? r.data[r.pos++] : 0;
}

// Any double: every bit pattern, so zero, subnormal, huge, infinite and not-a-number
// values all occur.
inline double readDouble(ByteReader& r) {
    uint8_t bytes[sizeof(double)] = {};
    for (uint8_t& b : bytes) {
        b = readByte(r);
    }
    double v = 0.0;
    std::memcpy(&v, bytes, sizeof v);
    return v;
}

using FuzzClock = std::chrono::steady_clock;

// Aborts (a finding) when the call that started at start took longer than limit.
inline void checkDuration(FuzzClock::time_point start, double limitSeconds, const char* what) {
    const double seconds = std::chrono::duration<double>(FuzzClock::now() - start).count();
    if (seconds > limitSeconds) {
        std::fprintf(stderr, "%s took %.3f s (limit %.1f s)\n", what, seconds, limitSeconds);
        std::abort();
    }
}
