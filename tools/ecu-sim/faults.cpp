#include "ecu-sim/faults.h"

#include "ecu-sim/protocol.h"

#include <QStringList>

#include <algorithm>

namespace ecusim {

namespace {

constexpr const char *KindNames[FaultKindCount] = {
    "silent", "noise", "split", "lowercase", "badsum", "vanish", "garble", "join", "spell"};
constexpr const char *OverlapNames[OverlapKindCount] = {"late", "twice", "dropack", "nowrite"};

constexpr int MaxStaleReplies = 50;
constexpr int MaxLateMs = 10000;

// Blocks the tool reads from the configuration area, as (address, length).
constexpr std::pair<int, int> ConfigBlocks[] = {
    {0x803, 0x0B}, {0x801, 0x38}, {0xA15, 0x24}, {0xA39, 0x0E}, {0x8A7, 0x37},
    {0x8DE, 0x37}, {0x915, 0x24}, {0x939, 0x37}, {0x970, 0x37}, {0xA79, 0x33}};

bool isHexLetter(char c) {
    return c >= 'A' && c <= 'F';
}

// Replies end in CC CR: the checksum field starts three characters from the end.
int checksumPos(const QByteArray &reply) {
    return int(reply.size()) - 3;
}

bool fireRule(FaultRule &r, QRandomGenerator &rng) {
    switch (r.mode) {
    case FaultRule::Mode::Off:
        return false;
    case FaultRule::Mode::Always:
        return true;
    case FaultRule::Mode::Probability:
        return rng.generateDouble() < r.probability;
    case FaultRule::Mode::NextN:
        if (r.remaining <= 0)
            return false;
        if (--r.remaining == 0)
            r.mode = FaultRule::Mode::Off;
        return true;
    }
    return false;
}

QString describeRule(const char *name, const FaultRule &r) {
    switch (r.mode) {
    case FaultRule::Mode::Off:
        return {};
    case FaultRule::Mode::Always:
        return QString::fromLatin1(name);
    case FaultRule::Mode::Probability:
        return QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(r.probability);
    case FaultRule::Mode::NextN:
        return QStringLiteral("%1=next%2").arg(QLatin1String(name)).arg(r.remaining);
    }
    return {};
}

} // namespace

void FaultPlan::clear() {
    rules_ = {};
    overlapRules_ = {};
    lateMs_ = 0;
    staleReplies_ = 0;
}

bool FaultPlan::fires(FaultKind kind) {
    return fireRule(rules_[std::size_t(kind)], rng_);
}

bool FaultPlan::fires(OverlapKind kind) {
    return fireRule(overlapRules_[std::size_t(kind)], rng_);
}

QString FaultPlan::describe() const {
    QStringList parts;
    for (int k = 0; k < FaultKindCount; ++k)
        parts << describeRule(KindNames[k], rules_[std::size_t(k)]);
    for (int k = 0; k < OverlapKindCount; ++k) {
        QString part = describeRule(OverlapNames[k], overlapRules_[std::size_t(k)]);
        if (!part.isEmpty() && OverlapKind(k) == OverlapKind::Late)
            part += QStringLiteral(" (%1 ms)").arg(lateMs_);
        parts << part;
    }
    if (staleReplies_ > 0)
        parts << QStringLiteral("stale=%1").arg(staleReplies_);
    parts.removeAll(QString());
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QLatin1Char(' '));
}

const char *faultKindName(FaultKind kind) {
    return KindNames[int(kind)];
}

std::optional<FaultKind> faultKindFromName(const QString &name) {
    for (int k = 0; k < FaultKindCount; ++k) {
        if (name.compare(QLatin1String(KindNames[k]), Qt::CaseInsensitive) == 0)
            return FaultKind(k);
    }
    return std::nullopt;
}

const char *overlapKindName(OverlapKind kind) {
    return OverlapNames[int(kind)];
}

std::optional<OverlapKind> overlapKindFromName(const QString &name) {
    for (int k = 0; k < OverlapKindCount; ++k) {
        if (name.compare(QLatin1String(OverlapNames[k]), Qt::CaseInsensitive) == 0)
            return OverlapKind(k);
    }
    return std::nullopt;
}

std::optional<FaultRule> parseFaultRule(const QString &text) {
    const QString t = text.trimmed().toLower();
    if (t.isEmpty() || t == QLatin1String("on") || t == QLatin1String("always"))
        return FaultRule::always();
    if (t == QLatin1String("off"))
        return FaultRule{};
    if (t.startsWith(QLatin1String("next"))) {
        bool ok = false;
        const int n = t.mid(4).trimmed().toInt(&ok);
        if (!ok || n < 1)
            return std::nullopt;
        return FaultRule::next(n);
    }
    bool ok = false;
    const double p = t.toDouble(&ok);
    if (!ok || p < 0.0 || p > 1.0)
        return std::nullopt;
    if (p == 0.0)
        return FaultRule{};
    return p >= 1.0 ? FaultRule::always() : FaultRule::chance(p);
}

std::optional<FaultOption> parseFaultOption(const QString &text, QString *error) {
    const int eq = int(text.indexOf(QLatin1Char('=')));
    const QString name = eq < 0 ? text : text.left(eq);
    const QString value = eq < 0 ? QString() : text.mid(eq + 1);
    FaultOption out;
    if (name == QLatin1String("vanish-after")) {
        bool ok = false;
        const double seconds = value.toDouble(&ok);
        if (!ok || seconds < 0) {
            *error = QStringLiteral("vanish-after needs a number of seconds");
            return std::nullopt;
        }
        out.kind = FaultKind::Vanish;
        out.vanishAfterMs = int(seconds * 1000.0);
        return out;
    }
    const auto bad = [&] {
        *error =
            QStringLiteral("bad fault \"%1\" (silent, noise, split, lowercase, badsum, "
                           "vanish, garble, join, spell, twice, dropack, nowrite, late=MS[:VALUE], "
                           "stale=N, vanish-after=SECONDS; value on|off|P|nextN)")
                .arg(text);
        return std::nullopt;
    };
    if (name == QLatin1String("stale")) {
        bool ok = false;
        const int n = value.toInt(&ok);
        if (value == QLatin1String("off"))
            out.staleReplies = 0;
        else if (!ok || n < 0 || n > MaxStaleReplies)
            return bad();
        else
            out.staleReplies = n;
        return out;
    }
    QString ruleText = value;
    if (name == QLatin1String("late")) {
        const QString ms = value.section(QLatin1Char(':'), 0, 0);
        ruleText = value.section(QLatin1Char(':'), 1);
        bool ok = false;
        out.lateMs = ms.toInt(&ok);
        if (ms == QLatin1String("off")) {
            out.lateMs = 0;
            ruleText = ms;
        } else if (!ok || out.lateMs < 1 || out.lateMs > MaxLateMs) {
            return bad();
        }
    }
    const auto kind = faultKindFromName(name);
    const auto overlap = overlapKindFromName(name);
    const auto rule = parseFaultRule(ruleText);
    if ((!kind && !overlap) || !rule)
        return bad();
    if (kind)
        out.kind = *kind;
    out.overlap = overlap;
    out.rule = *rule;
    return out;
}

void applyFaultOption(FaultPlan &plan, const FaultOption &option) {
    if (option.vanishAfterMs >= 0)
        return;
    if (option.staleReplies >= 0) {
        plan.setStaleReplies(option.staleReplies);
        return;
    }
    if (option.lateMs >= 0)
        plan.setLateMs(option.lateMs);
    if (option.overlap)
        plan.set(*option.overlap, option.rule);
    else
        plan.set(option.kind, option.rule);
}

QByteArray noiseBytes(QRandomGenerator &rng) {
    QByteArray out;
    const int n = 1 + int(rng.bounded(4));
    while (out.size() < n) {
        const char c = char(1 + rng.bounded(127));
        if (c != FrameStart)
            out.append(c);
    }
    return out;
}

QByteArray lowercaseOneDigit(const QByteArray &reply, QRandomGenerator &rng) {
    // Prefer a digit of the fields, then recompute the checksum so that only the case is wrong.
    const int sumAt = checksumPos(reply);
    QList<int> letters;
    for (int i = 2; i < sumAt; ++i) {
        if (isHexLetter(reply.at(i)))
            letters.append(i);
    }
    QByteArray out = reply;
    if (!letters.isEmpty()) {
        const int pos = letters.at(int(rng.bounded(int(letters.size()))));
        out[pos] = char(out.at(pos) - 'A' + 'a');
        return withChecksum(out.left(sumAt));
    }
    for (int i = sumAt; i < sumAt + 2; ++i) {
        if (isHexLetter(out.at(i))) {
            out[i] = char(out.at(i) - 'A' + 'a');
            break;
        }
    }
    return out;
}

QByteArray corruptChecksum(const QByteArray &reply, QRandomGenerator &rng) {
    const int sumAt = checksumPos(reply);
    const quint8 wrong = quint8(checksum(reply.left(sumAt)) + 1 + rng.bounded(255));
    return reply.left(sumAt) + hexByte(wrong) + FrameEnd;
}

QList<QByteArray> splitReply(const QByteArray &reply, QRandomGenerator &rng) {
    if (reply.size() < 2)
        return {reply};
    const int pieces = qMin(int(reply.size()), 2 + int(rng.bounded(2)));
    QList<int> cuts;
    while (cuts.size() < pieces - 1) {
        const int cut = 1 + int(rng.bounded(int(reply.size() - 1)));
        if (!cuts.contains(cut))
            cuts.append(cut);
    }
    std::sort(cuts.begin(), cuts.end());
    QList<QByteArray> out;
    int from = 0;
    for (int cut : cuts) {
        out.append(reply.mid(from, cut - from));
        from = cut;
    }
    out.append(reply.mid(from));
    return out;
}

QByteArray staleReply(QRandomGenerator &rng,
                      const std::function<QByteArray(int address, int length)> &range) {
    // About as often as a tool leaves them behind: polls most, then blocks of a read or an
    // upload's acknowledgements.
    const quint32 pick = rng.bounded(10);
    if (pick < 4)
        return dataFrame(0x000, range(0x000, 0x37));
    if (pick < 8) {
        const auto [address, length] = ConfigBlocks[rng.bounded(quint32(std::size(ConfigBlocks)))];
        return dataFrame(address, range(address, length));
    }
    return acknowledgeFrame();
}

} // namespace ecusim
