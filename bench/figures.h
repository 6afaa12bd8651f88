#pragma once

#include <QList>
#include <QString>

// The bench's figures: each one a set of repeated measurements, given as
// their median and spread, with the limit it is held to. Printed one a line,
// "name median", and written as JSON for scripts/bench.sh.
struct Limit {
    enum class Kind { None, AtMost, AtLeast };
    Kind kind = Kind::None;
    double value = 0;
    static Limit atMost(double v) { return {Kind::AtMost, v}; }
    static Limit atLeast(double v) { return {Kind::AtLeast, v}; }
};

struct Spread {
    double median = 0;
    double low = 0;
    double high = 0;
    // Half the range: the median is good to about +/- this.
    double halfRange() const { return (high - low) / 2; }
};

// Median, lowest and highest of the samples; all zero when there are none.
Spread spreadOf(QList<double> samples);

struct Figure {
    QString name;
    QString unit;
    QList<double> samples;
    Limit limit;
    Spread spread() const { return spreadOf(samples); }
    // The median against the limit; true when there is none.
    bool withinLimit() const;
};

class Figures {
  public:
    // Prints the figure's line at once.
    void add(const QString &name, const QString &unit, const QList<double> &samples,
             Limit limit = {});
    void add(const QString &name, const QString &unit, double value, Limit limit = {}) {
        add(name, unit, QList<double>{value}, limit);
    }
    const QList<Figure> &all() const { return m_figures; }
    // False when the file cannot be written.
    bool writeJson(const QString &path) const;

  private:
    QList<Figure> m_figures;
};
