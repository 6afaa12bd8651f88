#include "pages/lambda_page.h"

#include "link/frames.h"
#include "link/link.h"
#include "ui/app_context.h"
#include "ui/dialogs.h"
#include "ui/numeric_edit.h"
#include "ui/page_parts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace pageparts;
using namespace lambda;

namespace {
constexpr int FieldWidth = 64;
}

LambdaPage::LambdaPage(AppContext &app, QWidget *parent)
    : ParameterPage(QStringLiteral("FnParametres6"), QStringLiteral("Lambda"), app, {}, parent) {
    fitScreenArea(this);
    for (int i = 0; i < FieldCount; ++i) {
        // No key filter: what cannot be stored is refused when writing.
        auto *edit =
            new NumericEdit(QString::fromLatin1(info(Field(i)).row.control), QString(), this);
        edit->setFixedWidth(FieldWidth);
        m_fields.at(static_cast<std::size_t>(i)) = edit;
    }
    for (Field f :
         {DelayPauvre, DelayRich, Memorise, RaCoPauvre, RaCoRich, VVlambdaPauvre, VVlambdaRich})
        field(f)->setChangeHook([this] { Convertion(); });

    auto *column = new QVBoxLayout(this);
    QVBoxLayout *inside = parametersFrame(column, QStringLiteral("Teste emission"), this);
    auto *mixtures = new QHBoxLayout;
    mixtures->addWidget(makeMixture(true));
    mixtures->addWidget(makeMixture(false));
    inside->addLayout(mixtures);
    inside->addWidget(makeEmission());
    column->addStretch(1);

    addBottomRow(column);

    connect(DeltaNegatif, &QCheckBox::clicked, this, [this] { DeltaNegatif_Click(); });
}

QLabel *LambdaPage::unitLabel(const QString &name, const QString &text, QWidget *parent) {
    QLabel *l = label(name, text, parent);
    l->setMinimumWidth(90);
    return l;
}

void LambdaPage::addRow(QGridLayout *grid, int row, const QString &caption, Field f, QLabel *unit) {
    QWidget *box = grid->parentWidget();
    const QString name = QString::fromLatin1(info(f).row.control);
    QLabel *text = label(QStringLiteral("Label") + name, caption, box);
    text->setWordWrap(true);
    grid->addWidget(text, row, 0);
    NumericEdit *edit = field(f);
    edit->setParent(box);
    grid->addWidget(edit, row, 1);
    grid->addWidget(label(QStringLiteral("Adr") + name, addressCaption(f), box), row, 2);
    if (unit)
        grid->addWidget(unit, row, 3);
}

QGroupBox *LambdaPage::makeMixture(bool rich) {
    QGroupBox *box =
        rich ? frame(QStringLiteral("FrameRich"), QStringLiteral("Correction melange RICH"), this)
             : frame(QStringLiteral("FramePauvre"), QStringLiteral("Correction du melange PAUVRE"),
                     this);
    auto *grid = new QGridLayout(box);
    grid->setColumnStretch(0, 1);
    const QString side = rich ? QStringLiteral("TXTR0") : QStringLiteral("TXTP0");
    QLabel *units[4];
    for (int k = 0; k < 4; ++k)
        units[k] = unitLabel(side + QString::number(k + 1), QString(), box);
    (rich ? TXTR01 : TXTP01) = units[0];
    (rich ? TXTR02 : TXTP02) = units[1];
    (rich ? TXTR03 : TXTP03) = units[2];
    (rich ? TXTR04 : TXTP04) = units[3];
    addRow(grid, 0, QStringLiteral("Voltage lambda pour Activation"),
           rich ? VVlambdaRich : VVlambdaPauvre, units[0]);
    addRow(grid, 1, QStringLiteral("Delay avant declanchement de la correction"),
           rich ? DelayRich : DelayPauvre, units[1]);
    addRow(grid, 2, QStringLiteral("Correction ralenti"), rich ? RaCoRich : RaCoPauvre, units[2]);
    addRow(grid, 3, QStringLiteral("Correction charge"), rich ? ChCoRich : ChCoPauvre, units[3]);
    return box;
}

QGroupBox *LambdaPage::makeEmission() {
    QGroupBox *box =
        frame(QStringLiteral("FrameEmission"), QStringLiteral("Parametres Emission"), this);
    auto *grid = new QGridLayout(box);
    grid->setColumnMinimumWidth(0, 300);
    grid->setColumnStretch(4, 1);
    TXTMEMORISE = unitLabel(QStringLiteral("TXTMEMORISE"), QStringLiteral(" ( OFF ) "), box);
    addRow(grid, 0, QStringLiteral("RPM sous lequel s'active le system"), RpmAct,
           label(QStringLiteral("LabelRpmUnit"), QStringLiteral("tr/min"), box));
    addRow(grid, 1, QStringLiteral("delay repetebilitée de detection"), DelayRepet);
    addRow(grid, 2, QStringLiteral("Memorise la correction"), Memorise, TXTMEMORISE);
    DeltaNegatif = new QCheckBox(QStringLiteral("Delta négatif"), box);
    DeltaNegatif->setObjectName(QStringLiteral("DeltaNegatif"));
    grid->addWidget(DeltaNegatif, 0, 5, Qt::AlignRight);
    return box;
}

lambda::Texts LambdaPage::texts() const {
    Texts out;
    for (int i = 0; i < FieldCount; ++i)
        out.at(static_cast<std::size_t>(i)) = m_fields.at(static_cast<std::size_t>(i))->text();
    return out;
}

void LambdaPage::Affiche() {
    const Texts decoded = decode(m_app.link.image, DeltaNegatif->isChecked());
    for (Field f : ShowOrder)
        field(f)->setTextIfChanged(decoded.at(static_cast<std::size_t>(f)));
    Convertion();
}

void LambdaPage::Convertion() {
    const Units u = convert(texts());
    setCaption(TXTP01, u.TXTP01);
    setCaption(TXTP02, u.TXTP02);
    setCaption(TXTP03, u.TXTP03);
    setCaption(TXTR01, u.TXTR01);
    setCaption(TXTR02, u.TXTR02);
    setCaption(TXTR03, u.TXTR03);
    setCaption(TXTMEMORISE, u.TXTMEMORISE);
}

void LambdaPage::BoutonCentrale_Click() {
    if (const std::optional<Refusal> refused =
            encode(texts(), DeltaNegatif->isChecked(), m_app.link.image)) {
        m_app.dialogs.warning(refusalText(*refused));
        field(refused->field)->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_app.link.WriteBlock(frames::WriteLambda);
    m_app.link.StartSequence(ChainStep::SwitchOverBlock);
}
