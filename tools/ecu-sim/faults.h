#pragma once

#include <QByteArray>
#include <QList>
#include <QRandomGenerator>
#include <QString>

#include <array>
#include <optional>

namespace ecusim {

// Misbehaviours of a worn adapter, a noisy line or a flaky ECU, applied to the replies.
enum class FaultKind {
    Silent,      // the reply is lost
    Noise,       // garbage characters (never "@") in front of the reply
    Split,       // the reply arrives in two or three pieces with a short gap
    Lowercase,   // one hex digit of the reply in lower case
    BadChecksum, // the reply's checksum field is wrong
    Vanish,      // the adapter is pulled out in the middle of the reply
    Garble,      // one character of the reply flipped, dropped or inserted
    Join,        // the reply is held back and arrives glued to the next one
    Spell,       // a silent spell starts: no reply at all for 0.3 to 1.5 s
};
constexpr int FaultKindCount = 9;

struct FaultRule {
    enum class Mode { Off, Always, Probability, NextN };
    Mode mode = Mode::Off;
    double probability = 0;
    int remaining = 0;

    static FaultRule always() { return {Mode::Always, 1.0, 0}; }
    static FaultRule chance(double p) { return {Mode::Probability, p, 0}; }
    static FaultRule next(int n) { return {Mode::NextN, 0, n}; }
};

class FaultPlan {
  public:
    explicit FaultPlan(quint32 seed) : rng_(seed) {}

    void set(FaultKind kind, FaultRule rule) { rules_[std::size_t(kind)] = rule; }
    FaultRule rule(FaultKind kind) const { return rules_[std::size_t(kind)]; }
    void clear() { rules_ = {}; }

    // Whether the fault hits the reply being sent now; a "next N" rule counts this reply.
    bool fires(FaultKind kind);
    QRandomGenerator &rng() { return rng_; }
    QString describe() const;

  private:
    std::array<FaultRule, FaultKindCount> rules_{};
    QRandomGenerator rng_;
};

const char *faultKindName(FaultKind kind);
std::optional<FaultKind> faultKindFromName(const QString &name);

// "on" / "always", "off", a probability "0.25", "next 3" or "next3".
std::optional<FaultRule> parseFaultRule(const QString &text);

// Command-line form KIND[=VALUE]; "vanish-after=SECONDS" sets *vanishAfterMs instead of a rule.
struct FaultOption {
    FaultKind kind = FaultKind::Silent;
    FaultRule rule;
    int vanishAfterMs = -1;
};
std::optional<FaultOption> parseFaultOption(const QString &text, QString *error);

// Reply transforms.
QByteArray noiseBytes(QRandomGenerator &rng);
QByteArray lowercaseOneDigit(const QByteArray &reply, QRandomGenerator &rng);
QByteArray corruptChecksum(const QByteArray &reply, QRandomGenerator &rng);
QList<QByteArray> splitReply(const QByteArray &reply, QRandomGenerator &rng);

} // namespace ecusim
