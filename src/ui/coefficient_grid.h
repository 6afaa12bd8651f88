#pragma once

#include "ui/numeric_edit.h"

#include <QWidget>

#include <array>
#include <functional>

class EditMarks;
class Link;
class MemoryImage;
class QAbstractButton;
class QGroupBox;
class QLabel;

// The two correction tables as the fitter edits them: the pressure table
// (TxTbCP1..TxTbCP20 over 0.1..2 bar) and the gas-temperature table
// (TxTbCG1..TxTbCG20 over 5..100 degrees), whole numbers 0..255 in percent
// of the injection time. Used by the coefficient page and the map screen.
class CoefficientGrid : public QWidget {
    Q_OBJECT
  public:
    explicit CoefficientGrid(QWidget *parent = nullptr);

    // n = 1..20.
    NumericEdit *TxTbCP(int n) const { return m_fields.at(static_cast<std::size_t>(n - 1)); }
    NumericEdit *TxTbCG(int n) const { return m_fields.at(static_cast<std::size_t>(19 + n)); }
    const std::array<NumericEdit *, 40> &fields() const { return m_fields; }
    QGroupBox *pressureFrame() const { return m_pressure; }
    QGroupBox *temperatureFrame() const { return m_temperature; }
    // The caption under a table's axis ("<< -- BAR -->>", "<< -- Temperature °C").
    QLabel *pressureAxisCaption() const { return m_pressureAxis; }
    QLabel *temperatureAxisCaption() const { return m_temperatureAxis; }

    // Narrower fields in the grid's own font, for a screen that shares its
    // width; labelWidth keeps the unit column of both tables alike.
    void compact(int fieldWidth, int labelWidth);

    // Edit marks stay on the written fields until the link's acknowledgement.
    void followWrites(const Link &link);

    // Enter in any field focuses this button and runs the write.
    void setWrite(QAbstractButton *button, std::function<void()> write);

    // Image to fields, pressure table first; the fields' edit marks go.
    void PutInTaB(const MemoryImage &image);
    // Fields to image.
    void TaBinMemoire(MemoryImage &image) const;
    // Every field held to 0..255, in field order.
    void TestValeurTableau();

  private:
    QGroupBox *makeTable(int firstField, const QString &name, const QString &caption,
                         const QString &axisCaption);
    QStringList texts() const;

    std::array<NumericEdit *, 40> m_fields{};
    QGroupBox *m_pressure = nullptr;
    QGroupBox *m_temperature = nullptr;
    QLabel *m_pressureAxis = nullptr;
    QLabel *m_temperatureAxis = nullptr;
    ValidationGuard m_validate;
    EditMarks *m_marks;
};
