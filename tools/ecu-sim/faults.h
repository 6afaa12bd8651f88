#pragma once

#include <QByteArray>
#include <QList>
#include <QRandomGenerator>
#include <QString>

#include <array>
#include <functional>
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

// Replies that overlap on the line: an ECU still answering a request the tool already gave up on,
// or answering one request twice; and acknowledgements that do not say what happened.
enum class OverlapKind {
    Late,    // the reply leaves lateMs() later than it would: the tool asks again meanwhile
    Twice,   // the reply goes out a second time right behind itself
    DropAck, // a write or function is carried out but its acknowledgement is lost
    NoWrite, // a write is acknowledged but its bytes are not kept (a worn memory cell)
};
constexpr int OverlapKindCount = 4;

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
    void set(OverlapKind kind, FaultRule rule) { overlapRules_[std::size_t(kind)] = rule; }
    FaultRule rule(OverlapKind kind) const { return overlapRules_[std::size_t(kind)]; }
    void clear();

    // Whether the fault hits the reply being sent now; a "next N" rule counts this reply.
    bool fires(FaultKind kind);
    bool fires(OverlapKind kind);

    // How much later a reply hit by OverlapKind::Late leaves.
    void setLateMs(int ms) { lateMs_ = qMax(0, ms); }
    int lateMs() const { return lateMs_; }
    // Replies an earlier program left in flight, sent to every new client before its answers.
    void setStaleReplies(int n) { staleReplies_ = qMax(0, n); }
    int staleReplies() const { return staleReplies_; }
    QRandomGenerator &rng() { return rng_; }
    QString describe() const;

  private:
    std::array<FaultRule, FaultKindCount> rules_{};
    std::array<FaultRule, OverlapKindCount> overlapRules_{};
    int lateMs_ = 0;
    int staleReplies_ = 0;
    QRandomGenerator rng_;
};

const char *faultKindName(FaultKind kind);
std::optional<FaultKind> faultKindFromName(const QString &name);
const char *overlapKindName(OverlapKind kind);
std::optional<OverlapKind> overlapKindFromName(const QString &name);

// "on" / "always", "off", a probability "0.25", "next 3" or "next3".
std::optional<FaultRule> parseFaultRule(const QString &text);

// Command-line form KIND[=VALUE]; "vanish-after=SECONDS" sets vanishAfterMs instead of a rule,
// "stale=N" the replies in flight at every new client, "late=MS[:VALUE]" the delay and the rule
// of the late replies (every reply without a VALUE).
struct FaultOption {
    FaultKind kind = FaultKind::Silent;
    std::optional<OverlapKind> overlap; // the rule is for this kind instead of `kind`
    FaultRule rule;
    int vanishAfterMs = -1;
    int staleReplies = -1;
    int lateMs = -1;
};
std::optional<FaultOption> parseFaultOption(const QString &text, QString *error);
// Sets what the option names; vanish-after is the simulator's own business.
void applyFaultOption(FaultPlan &plan, const FaultOption &option);

// Reply transforms.
QByteArray noiseBytes(QRandomGenerator &rng);
QByteArray lowercaseOneDigit(const QByteArray &reply, QRandomGenerator &rng);
QByteArray corruptChecksum(const QByteArray &reply, QRandomGenerator &rng);
QList<QByteArray> splitReply(const QByteArray &reply, QRandomGenerator &rng);

// One reply an earlier program's request drew, as the ECU sends it: a data frame of the live area
// the monitor polls (0x000, 0x37 bytes) or of a configuration block, or an acknowledgement. `range`
// gives the memory's bytes.
QByteArray staleReply(QRandomGenerator &rng,
                      const std::function<QByteArray(int address, int length)> &range);

} // namespace ecusim
