#pragma once

#include <QString>

// The emission test clock: elapsed seconds kept as the text of the TIME
// field, and the time graph that spans the first 1,200 of them.
namespace testclock {

inline constexpr int GraphSeconds = 1200;

// The clock's text one second later. A text that is not a whole number
// (typed over, pasted) restarts the clock from 0, so the tick never fails.
QString tick(const QString &text);

// The time scroll bar follows the clock up to 1,199 s; past that the clock
// keeps counting on its own.
bool scrollFollows(double seconds);

} // namespace testclock
