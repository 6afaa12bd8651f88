#pragma once

#include "pages/parameter_page.h"
#include "settings/lambda_codec.h"

#include <array>

class NumericEdit;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;

// FnParametres6: the closed-loop mixture correction driven by the lambda
// sensor. The page decodes and encodes its own block.
class LambdaPage : public ParameterPage {
    Q_OBJECT
  public:
    explicit LambdaPage(AppContext &app, QWidget *parent = nullptr);

    // Shows the lambda settings decoded from the image.
    void Affiche();
    // The units beside the fields.
    void Convertion();
    void DeltaNegatif_Click() { Affiche(); }
    // Encodes the page and writes it; a field that cannot be stored is named
    // in a message and nothing is written.
    void BoutonCentrale_Click() override;

    NumericEdit *field(lambda::Field f) const { return m_fields.at(static_cast<std::size_t>(f)); }
    lambda::Texts texts() const;

    QLabel *TXTR01, *TXTR02, *TXTR03, *TXTR04;
    QLabel *TXTP01, *TXTP02, *TXTP03, *TXTP04;
    QLabel *TXTMEMORISE;
    QCheckBox *DeltaNegatif;

  private:
    QGroupBox *makeMixture(bool rich);
    QGroupBox *makeEmission();
    void addRow(QGridLayout *grid, int row, const QString &caption, lambda::Field f,
                QLabel *unit = nullptr);
    QLabel *unitLabel(const QString &name, const QString &text, QWidget *parent);

    std::array<NumericEdit *, lambda::FieldCount> m_fields{};
};
