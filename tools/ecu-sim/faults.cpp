#include "ecu-sim/faults.h"

#include "ecu-sim/protocol.h"

#include <QStringList>

#include <algorithm>

namespace ecusim {

namespace {

constexpr const char *KindNames[FaultKindCount] = {
    "silent", "noise", "split", "lowercase", "badsum", "vanish", "garble", "join", "spell"};

bool isHexLetter(char c) {
    return c >= 'A' && c <= 'F';
}

// Replies end in CC CR: the checksum field starts three characters from the end.
int checksumPos(const QByteArray &reply) {
    return int(reply.size()) - 3;
}

} // namespace

bool FaultPlan::fires(FaultKind kind) {
    FaultRule &r = rules_[std::size_t(kind)];
    switch (r.mode) {
    case FaultRule::Mode::Off:
        return false;
    case FaultRule::Mode::Always:
        return true;
    case FaultRule::Mode::Probability:
        return rng_.generateDouble() < r.probability;
    case FaultRule::Mode::NextN:
        if (r.remaining <= 0)
            return false;
        if (--r.remaining == 0)
            r.mode = FaultRule::Mode::Off;
        return true;
    }
    return false;
}

QString FaultPlan::describe() const {
    QStringList parts;
    for (int k = 0; k < FaultKindCount; ++k) {
        const FaultRule &r = rules_[std::size_t(k)];
        switch (r.mode) {
        case FaultRule::Mode::Off:
            break;
        case FaultRule::Mode::Always:
            parts << QString::fromLatin1(KindNames[k]);
            break;
        case FaultRule::Mode::Probability:
            parts << QStringLiteral("%1=%2").arg(QLatin1String(KindNames[k])).arg(r.probability);
            break;
        case FaultRule::Mode::NextN:
            parts << QStringLiteral("%1=next%2").arg(QLatin1String(KindNames[k])).arg(r.remaining);
            break;
        }
    }
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
    const auto kind = faultKindFromName(name);
    const auto rule = parseFaultRule(value);
    if (!kind || !rule) {
        *error = QStringLiteral("bad fault \"%1\" (silent, noise, split, lowercase, badsum, "
                                "vanish, garble, join, spell, vanish-after=SECONDS; value "
                                "on|off|P|nextN)")
                     .arg(text);
        return std::nullopt;
    }
    out.kind = *kind;
    out.rule = *rule;
    return out;
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

} // namespace ecusim
