#include "presentation/language_targets.h"

#include "link/link.h"
#include "ui/app_context.h"
#include "ui/captions.h"
#include "ui/menu.h"
#include "ui/status_strip.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalBlocker>

#include <algorithm>
#include <map>

namespace language {

namespace {
using K = Kind;

// clang-format off
constexpr Target Table[] = {
    {2, "Menu", "Moniteur"}, {2, "FnMoniteur", "Frame1"},
    {3, "Menu", "Parametres"}, {3, "FnParametres", "Frame1"}, {3, "FnParametres2", "Frame1"},
    {4, "Menu", "Calibration"}, {4, "FnCalibration", "Frame1"},
    {5, "Menu", "Charger"}, {5, "FnParametres2", "SenosorLoad"},
    {6, "Menu", "Sauvegarder"}, {6, "FnParametres2", "SensorSave"},
    {7, "Menu", "Connection"},
    {8, "Menu", "Info"},
    {9, "Menu", "quitter"},
    {10, "FnMoniteur", "Frame2"}, {10, "FnParametres", "Frame3"}, {10, "FnCalibration", "Frame3"},
    {11, "FnMoniteur", "Frame4"}, {11, "FnMoniteur", "Label13"},
    {12, "FnMoniteur", "Frame3"}, {12, "FnCalibration", "Label15"},
    {13, "FnMoniteur", "Frame5"}, {13, "FnMoniteur", "Frame9", K::CaptionTwo},
    {13, "FnCalibration", "Frame5"},
    {14, "FnMoniteur", "Frame6"},
    {15, "FnMoniteur", "Label1"}, {15, "FnCalibration", "Label1"},
    {16, "FnMoniteur", "Label2"}, {16, "FnCalibration", "Label2"},
    {17, "FnMoniteur", "Label3"}, {17, "FnCalibration", "Label3"},
    {18, "FnMoniteur", "Label4"}, {18, "FnCalibration", "Label4"},
    {19, "FnMoniteur", "Label5"}, {19, "FnParametres", "Label6"}, {19, "FnCalibration", "Label5"},
    {20, "FnMoniteur", "Label27"}, {20, "FnMoniteur", "Label31"},
    {20, "FnCalibration", "Label27"}, {20, "FnCalibration", "Label13"},
    {21, "FnMoniteur", "Label28"}, {21, "FnMoniteur", "Label30"},
    {21, "FnCalibration", "Label28"}, {21, "FnCalibration", "Label17"},
    {22, "FnMoniteur", "Label29"},
    {23, "FnMoniteur", "BoutonCentrale"}, {23, "FnMoniteur", "BoutonCentraleB"},
    {23, "FnParametres", "BoutonCentrale"}, {23, "FnParametres2", "BoutonCentrale"},
    {23, "FnCalibration", "BoutonCentrale"}, {23, "", "", K::Message, 5},
    {24, "FnMoniteur", "SwitchCommutateur"}, {24, "FnCalibration", "SwitchCommutateur"},
    {25, "FnMoniteur", "TxAlarmeTmp"},
    {26, "FnMoniteur", "TxAlarmePress"},
    {27, "FnMoniteur", "TxAldemarage"},
    {28, "FnMoniteur", "BtResetAlarme"},
    {29, "FnParametres", "Frame4"},
    {31, "FnParametres", "Label1"}, {31, "FnParametres", "Label9"},
    {32, "FnParametres", "Label2"}, {32, "FnParametres", "Label11"},
    {33, "FnParametres", "Label3"},
    {34, "FnParametres", "Label10"},
    {35, "FnParametres", "Label4"},
    {36, "FnParametres", "Label5"},
    {37, "FnParametres", "Label27"},
    {38, "FnParametres", "Label7"},
    {39, "FnParametres", "Label8"},
    {40, "FnParametres", "Frame6"},
    {41, "FnParametres", "Label12"},
    {42, "FnParametres", "Label28"},
    {43, "FnParametres", "BoutonPC"}, {43, "FnParametres2", "BoutonPC"},
    {43, "FnProgStart", "BoutonPC"},
    {44, "FnParametres", "BtChangePage"},
    {45, "FnParametres2", "BtPagePreced"},
    {46, "FnParametres2", "Frame5"},
    {47, "FnParametres2", "Label3"},
    {48, "FnParametres2", "Label23"},
    {49, "FnParametres2", "Label5"},
    {50, "FnParametres2", "Label4"},
    {51, "FnParametres2", "Label1"},
    {52, "FnParametres2", "Label2"},
    {53, "FnParametres2", "Label6"},
    {54, "FnParametres2", "Frame3"},
    {55, "FnCalibration", "Label12"},
    {56, "FnCalibration", "BtStCalibration"},
    {57, "FnCalibration", "BTuploadRalenti"},
    {58, "FnCalibration", "BtCalibrationStop"},
    {59, "FnProgStart", "Label1"},
    {60, "", "", K::Message, 1}, {61, "", "", K::Message, 2},
    {62, "", "", K::Message, 3}, {63, "", "", K::Message, 4},
    {64, "", "", K::Message, 6},
    {65, "FnConnection", "", K::FormCaption},
    {66, "FnConnection", "Label1"},
    {67, "FnConnection", "Command1"},
    {68, "", "", K::Message, 7},
    {69, "", "", K::Message, 8}, {69, "Etat", "BarreEtat2"},
    {70, "", "", K::Message, 9},
    {71, "", "", K::Message, 10},
    {72, "", "", K::Message, 12}, {72, "Etat", "BarreEtat"},
    {73, "", "", K::Message, 11},
    {74, "FnParametres", "ComboInjection", K::ComboEntry, 0},
    {75, "FnParametres", "ComboInjection", K::ComboEntry, 1},
    {76, "FnParametres", "ComboInjection", K::ComboEntry, 2},
    {77, "FnParametres", "ComboCommutation", K::ComboEntry, 0},
    {78, "FnParametres", "ComboCommutation", K::ComboEntry, 1},
    {79, "FnParametres", "ComboCommutation", K::ComboEntry, 2}, {79, "FnParametres", "Frame7"},
    {80, "", "", K::Message, 13}, {81, "", "", K::Message, 14}, {82, "", "", K::Message, 15},
};

// The tool's own captions on the screens made at start; the chart and
// compare windows and the record button caption themselves (ui/captions.h).
constexpr int C = captions::FirstText;
constexpr Target Added[] = {
    {C + captions::PressureMemory, "FnMoniteur", "LabelPressMemory"},
    {C + captions::Lowest, "FnMoniteur", "LabelPressLow"},
    {C + captions::Highest, "FnMoniteur", "LabelPressHigh"},
    {C + captions::ResetPressure, "FnMoniteur", "RazPrss"},
    {C + captions::Chart, "FnMoniteur", "BtChart"},
    {C + captions::Band1, "FnCalibration", "LabelBand1"},
    {C + captions::Band2, "FnCalibration", "LabelBand2"},
    {C + captions::Results, "FnCalibration", "BtCalibrationResults"},
    {C + captions::ExportBands, "FnAquiMap", "BtExportBands"},
    {C + captions::ExportLog, "FnAquiMap", "BtExportLog"},
    {C + captions::ClearBands, "FnAquiMap", "BtClearBands"},
    {C + captions::RelativeTest, "FnAquiMap", "Check1"},
    {C + captions::AbsoluteTest, "FnAquiMap", "Check2"},
    {C + captions::Current, "FnMAP", "LabelCurrent"},
    {C + captions::Proposed, "FnMAP", "LabelProposed"},
    {C + captions::Difference, "FnMAP", "LabelDifference"},
    {C + captions::Apply, "FnMAP", "BtApplyProposal"},
    {C + captions::DepressionAxis, "FnMAP", "LabelAxeTemperature"},
};
// clang-format on

QString name(const char *text) {
    return QString::fromLatin1(text);
}

QWidget *findForm(AppContext &app, const QString &form) {
    if (form == QLatin1String("Menu"))
        return &app.menu;
    if (form == QLatin1String("Etat"))
        return &app.etat;
    // The forms live in the main window's screen area; a form shown on its
    // own is a window of the application.
    if (QWidget *found = app.menu.window()->findChild<QWidget *>(form))
        return found;
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    const auto it = std::find_if(windows.begin(), windows.end(),
                                 [&](QWidget *w) { return w->objectName() == form; });
    return it == windows.end() ? nullptr : *it;
}

void setCaption(QWidget *widget, const QString &text) {
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(text);
    else if (auto *box = qobject_cast<QGroupBox *>(widget))
        box->setTitle(text);
    else if (auto *field = qobject_cast<QLineEdit *>(widget))
        field->setText(text);
    else
        widget->setWindowTitle(text);
}

void setFormCaption(QWidget *form, const QString &text) {
    form->setWindowTitle(text);
    if (auto *window = qobject_cast<QMdiSubWindow *>(form->parentWidget()))
        window->setWindowTitle(text);
}

// The list index stays as it was: the refill must not change which entry
// the page shows, and, the lists being signalled only on a pick by the
// fitter, it never writes into the image.
void refill(QComboBox *combo, const QStringList &entries) {
    const QSignalBlocker block(combo);
    const int index = combo->currentIndex();
    combo->clear();
    combo->addItems(entries);
    combo->setCurrentIndex(index < entries.size() ? index : -1);
}
} // namespace

std::span<const Target> targets() {
    return Table;
}

std::span<const Target> addedTargets() {
    return Added;
}

int highestUsedText() {
    return std::max_element(std::begin(Table), std::end(Table),
                            [](const Target &a, const Target &b) { return a.text < b.text; })
        ->text;
}

QList<int> usedTexts() {
    QList<int> used;
    for (const Target &t : Table) {
        if (!used.contains(t.text))
            used.append(t.text);
    }
    std::sort(used.begin(), used.end());
    return used;
}

QWidget *findTarget(AppContext &app, const Target &target) {
    if (target.kind == Kind::Message)
        return nullptr;
    QWidget *form = findForm(app, name(target.form));
    if (!form || target.kind == Kind::FormCaption)
        return form;
    return form->findChild<QWidget *>(name(target.control));
}

QStringList unresolvedTargets(AppContext &app) {
    QStringList missing;
    for (const Target &t : Table) {
        if (t.kind != Kind::Message && !findTarget(app, t))
            missing.append(name(t.form) + QLatin1Char('.') + name(t.control));
    }
    return missing;
}

void applyTexts(AppContext &app, const QStringList &texts) {
    auto text = [&](int k) { return k < texts.size() ? texts[k] : QString(); };
    std::map<QComboBox *, QStringList> lists;
    for (const Target &t : Table) {
        if (t.kind == Kind::Message) {
            app.link.messages.set(t.index, text(t.text));
            continue;
        }
        QWidget *widget = findTarget(app, t);
        if (!widget)
            continue; // a screen this build does not have
        switch (t.kind) {
        case Kind::Caption:
            setCaption(widget, text(t.text));
            break;
        case Kind::CaptionTwo:
            setCaption(widget, text(t.text) + QStringLiteral(" 2 "));
            break;
        case Kind::FormCaption:
            setFormCaption(widget, text(t.text));
            break;
        case Kind::ComboEntry:
            if (auto *combo = qobject_cast<QComboBox *>(widget)) {
                QStringList &entries = lists[combo];
                entries.resize(std::max<qsizetype>(entries.size(), t.index + 1));
                entries[t.index] = text(t.text);
            }
            break;
        case Kind::Message:
            break;
        }
    }
    for (auto &[combo, entries] : lists)
        refill(combo, entries);

    captions::setTexts(texts);
    for (const Target &t : Added) {
        if (QWidget *widget = findTarget(app, t))
            setCaption(widget, captions::text(static_cast<captions::Id>(t.text - C)));
    }
    fitWindows(app);
}

void fitWindows(AppContext &app) {
    auto *area = app.menu.window()->findChild<QMdiArea *>();
    if (!area)
        return;
    for (QMdiSubWindow *window : area->subWindowList()) {
        if (window->windowFlags() & Qt::FramelessWindowHint)
            continue; // a screen fills the area
        const QSize wanted = window->sizeHint().expandedTo(window->minimumSizeHint());
        if (wanted.width() > window->width() || wanted.height() > window->height())
            window->resize(window->size().expandedTo(wanted));
    }
}

} // namespace language
