#pragma once

#include <QString>

namespace ecusim {

// A repeatable road cycle of about 48 s: idle, accelerations, cruising at
// several loads and decelerations with the injection cut. It sets the
// throttle, the load ("Dep", 0..100, what byte 0x02D carries while driving)
// and whether the petrol ECU runs in closed loop (the lambda probe swings
// around 0.45 V) or in open loop (the probe sits at a rail: rich while
// accelerating, lean while the injection is cut). Pure function of the time
// since the cycle started: same time, same state.
class DriveCycle {
  public:
    enum class Loop { Closed, Rich, Lean };

    struct Phase {
        int ms;
        int throttleFrom, throttleTo;
        Loop loop;
        const char *name;
    };

    void reset() { timeMs_ = 0; }
    void advance(int ms) { timeMs_ = (timeMs_ + ms) % lengthMs(); }
    void setTimeMs(int ms) { timeMs_ = ms % lengthMs(); }
    int timeMs() const { return timeMs_; }

    int throttle() const;
    // Load from the throttle, with a slow wander while cruising so that
    // neighbouring bands are visited too.
    double dep() const;
    Loop loop() const;
    bool cutOff() const { return loop() == Loop::Lean; }
    QString phaseName() const;

    static int lengthMs();

  private:
    const Phase &phase(int *startMs) const;
    int timeMs_ = 0;
};

} // namespace ecusim
