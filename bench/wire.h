#pragma once

#include <cstdio>

// What the 9600-baud line allows: 960 characters a second both ways.
namespace wire {
constexpr double CharsPerSecond = 960.0;
constexpr double FullReadChars = 1824.0; // a whole-memory read, requests and answers
constexpr double PollChars = 130.0;      // one live poll and its answer
constexpr double PollsPerSecond = CharsPerSecond / PollChars;
// The timestamps of two answers are good to a fraction of a millisecond:
// a rate measured faster than the line by more than this is a wrong
// measurement, not a figure.
constexpr double RateTolerance = 0.005;

inline bool plausiblePollRate(double hz, const char *what) {
    if (hz <= PollsPerSecond * (1 + RateTolerance))
        return true;
    std::fprintf(stderr,
                 "gasecu-bench: %s measured %.3f answers a second, above the %.3f the line "
                 "allows: the measurement is wrong\n",
                 what, hz, PollsPerSecond);
    return false;
}
} // namespace wire
