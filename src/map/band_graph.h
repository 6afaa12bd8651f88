#pragma once

#include <QWidget>

#include <array>

// Picture1 of the map screen: the petrol and gas columns of the band table
// drawn as two curves, in the graph's own units (480 x 320, see mapcurve).
// Behind the curves, each band shows the current entry of the gas correction
// table, so the fitter sees which entry to change where the curves part.
class BandGraph : public QWidget {
    Q_OBJECT
  public:
    explicit BandGraph(QWidget *parent = nullptr);

    // DrawBandCurves: clears the picture and draws both columns (values in
    // 0.01 ms, band 1 first; NaN for an empty band, drawn as a gap).
    void drawCurves(const std::array<double, 20> &gas, const std::array<double, 20> &petrol);
    // The correction entries behind the bands (band 1 first).
    void setCorrections(const std::array<int, 20> &entries);

    bool hasCurves() const { return m_drawn; }
    const std::array<double, 20> &gasValues() const { return m_gas; }
    const std::array<double, 20> &petrolValues() const { return m_petrol; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    std::array<double, 20> m_gas{};
    std::array<double, 20> m_petrol{};
    std::array<int, 20> m_corrections{};
    bool m_drawn = false;
};

// A pointer under a row of table fields, at a left position in twips that
// the refresh sets: origin + perEntry x value puts it under the entry of
// that value, so the fitter sees which entry the engine is using now.
class PointerStrip : public QWidget {
    Q_OBJECT
  public:
    PointerStrip(const QString &name, double originTwips, double twipsPerEntry,
                 QWidget *parent = nullptr);

    // The fields the pointer travels under, entry 1 first.
    void setFields(const QList<QWidget *> &fields) { m_fields = fields; }
    int leftTwips() const { return m_left; }
    void setLeftTwips(int twips);

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    double m_origin;
    double m_perEntry;
    int m_left = 0;
    QList<QWidget *> m_fields;
};
