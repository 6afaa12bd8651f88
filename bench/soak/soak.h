#pragma once

#include <functional>

// One figure a line, "name value".
using FigureSink = std::function<void(const char *name, double value)>;

// Cycles through live polling, whole-memory reads, page writes and whole
// uploads against a noisy line for the given time. False when the rig
// could not start.
bool runSoak(const FigureSink &figure, double minutes, unsigned seed);

// Unplugs the adapter while idle, polling, reading and uploading, measures
// the tool's CPU while it is out, plugs it back in and reads again.
bool runUnplugCycles(const FigureSink &figure, int cycles, unsigned seed);
