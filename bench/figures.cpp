#include "figures.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <cstdio>

Spread spreadOf(QList<double> samples) {
    if (samples.isEmpty())
        return {};
    std::sort(samples.begin(), samples.end());
    const qsizetype n = samples.size();
    const double median = n % 2 == 1 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    return {median, samples.front(), samples.back()};
}

bool Figure::withinLimit() const {
    const double m = spread().median;
    switch (limit.kind) {
    case Limit::Kind::AtMost:
        return m <= limit.value;
    case Limit::Kind::AtLeast:
        return m >= limit.value;
    case Limit::Kind::None:
        break;
    }
    return true;
}

void Figures::add(const QString &name, const QString &unit, const QList<double> &samples,
                  Limit limit) {
    m_figures.append({name, unit, samples, limit});
    const Figure &f = m_figures.back();
    const Spread s = f.spread();
    if (samples.size() > 1)
        std::printf("%s %.4g +/-%.2g (%lld) %s\n", qPrintable(name), s.median, s.halfRange(),
                    static_cast<long long>(samples.size()), qPrintable(unit));
    else
        std::printf("%s %.4g %s\n", qPrintable(name), s.median, qPrintable(unit));
    std::fflush(stdout);
}

bool Figures::writeJson(const QString &path) const {
    QJsonArray list;
    for (const Figure &f : m_figures) {
        const Spread s = f.spread();
        QJsonObject o{{QStringLiteral("name"), f.name},
                      {QStringLiteral("unit"), f.unit},
                      {QStringLiteral("median"), s.median},
                      {QStringLiteral("spread"), s.halfRange()},
                      {QStringLiteral("min"), s.low},
                      {QStringLiteral("max"), s.high},
                      {QStringLiteral("samples"), int(f.samples.size())}};
        if (f.limit.kind != Limit::Kind::None) {
            o.insert(QStringLiteral("limit"), f.limit.value);
            o.insert(QStringLiteral("limit_kind"), f.limit.kind == Limit::Kind::AtMost
                                                       ? QStringLiteral("at_most")
                                                       : QStringLiteral("at_least"));
            o.insert(QStringLiteral("within_limit"), f.withinLimit());
        }
        list.append(o);
    }
    const QJsonObject root{{QStringLiteral("machine"),
                            QJsonObject{{QStringLiteral("cores"), QThread::idealThreadCount()},
                                        {QStringLiteral("system"), QSysInfo::prettyProductName()}}},
                           {QStringLiteral("figures"), list}};
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(QJsonDocument(root).toJson()) > 0;
}
