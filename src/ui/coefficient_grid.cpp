#include "ui/coefficient_grid.h"

#include "ui/edit_marks.h"

#include "ecu/memory_image.h"
#include "settings/coefficient_codec.h"
#include "ui/page_parts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int FieldWidth = 42;

QLabel *axisLabel(const QString &name, const QString &text, QWidget *parent) {
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignCenter);
    return l;
}
} // namespace

CoefficientGrid::CoefficientGrid(QWidget *parent)
    : QWidget(parent), m_validate([this] { TestValeurTableau(); }), m_marks(new EditMarks(this)) {
    setObjectName(QStringLiteral("CoefficientGrid"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    m_pressure =
        makeTable(0, QStringLiteral("FramePression"), QStringLiteral(" Tableau coef pression"),
                  QStringLiteral("<< -- BAR -->>"));
    m_temperature = makeTable(CoefficientCodec::Entries, QStringLiteral("FrameTemperature"),
                              QStringLiteral(" Tableau coef Temperature gaz"),
                              QStringLiteral("<< -- Temperature °C"));
    column->addWidget(m_pressure);
    column->addWidget(m_temperature);
}

QGroupBox *CoefficientGrid::makeTable(int firstField, const QString &name, const QString &caption,
                                      const QString &axisCaption) {
    auto *box = new QGroupBox(caption, this);
    box->setObjectName(name);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(3);
    const bool pressure = firstField == 0;
    const QString stem = pressure ? QStringLiteral("Pression") : QStringLiteral("Temperature");
    const auto table =
        pressure ? CoefficientCodec::Table::Pressure : CoefficientCodec::Table::GasTemperature;

    grid->addWidget(
        axisLabel(QStringLiteral("LabelTI") + stem, QStringLiteral("<< -- % TI -->>"), box), 0, 1,
        1, CoefficientCodec::Entries);
    grid->addWidget(axisLabel(QStringLiteral("LabelUnit") + stem, QStringLiteral("%"), box), 1, 0);
    grid->addWidget(axisLabel(QStringLiteral("LabelZero") + stem, QStringLiteral("0 "), box), 2, 0);
    for (int n = 1; n <= CoefficientCodec::Entries; ++n) {
        const int field = firstField + n - 1;
        auto *edit = new NumericEdit(CoefficientCodec::fieldName(field), keys::Whole, box);
        edit->setFixedWidth(FieldWidth);
        edit->setAlignment(Qt::AlignCenter);
        pageparts::enlarge(edit);
        edit->setMaxLength(5);
        edit->setChangeHook([this] { m_validate(); });
        m_fields.at(static_cast<std::size_t>(field)) = edit;
        m_marks->watch(edit);
        grid->addWidget(edit, 1, n, Qt::AlignCenter);
        grid->addWidget(axisLabel(QStringLiteral("LabelAxe") + stem + QString::number(n),
                                  CoefficientCodec::axisLabel(table, n), box),
                        2, n);
    }
    QLabel *axis = axisLabel(QStringLiteral("LabelAxe") + stem, axisCaption, box);
    (pressure ? m_pressureAxis : m_temperatureAxis) = axis;
    grid->addWidget(axis, 3, 1, 1, CoefficientCodec::Entries);
    return box;
}

void CoefficientGrid::compact(int fieldWidth, int labelWidth) {
    for (NumericEdit *edit : m_fields) {
        edit->setFont(font());
        edit->setFixedWidth(fieldWidth);
        edit->setMinimumHeight(0);
    }
    for (QGroupBox *box : {m_pressure, m_temperature}) {
        auto *grid = static_cast<QGridLayout *>(box->layout());
        grid->setHorizontalSpacing(2);
        grid->setVerticalSpacing(1);
        grid->setColumnMinimumWidth(0, labelWidth);
    }
}

void CoefficientGrid::setWrite(QAbstractButton *button, std::function<void()> write) {
    for (NumericEdit *edit : m_fields) {
        edit->setEnterButton(button);
        edit->setEnterAction(write);
    }
}

QStringList CoefficientGrid::texts() const {
    QStringList out;
    for (const NumericEdit *edit : m_fields)
        out.append(edit->text());
    return out;
}

void CoefficientGrid::followWrites(const Link &link) {
    m_marks->follow(link);
}

void CoefficientGrid::PutInTaB(const MemoryImage &image) {
    const QStringList decoded = CoefficientCodec::decode(image);
    for (int field = 0; field < CoefficientCodec::FieldCount; ++field)
        m_fields.at(static_cast<std::size_t>(field))->setTextIfChanged(decoded.at(field));
    m_marks->clear();
}

void CoefficientGrid::TaBinMemoire(MemoryImage &image) const {
    CoefficientCodec::encode(texts(), image);
}

void CoefficientGrid::TestValeurTableau() {
    for (NumericEdit *edit : m_fields) {
        if (const std::optional<QString> fixed = CoefficientCodec::corrected(edit->text()))
            edit->setText(*fixed);
    }
}
