// The build variants: each preset's options, applied at start-up, decide the
// caption, the first form and which optional controls the fitter sees.
#include "link/link.h"
#include "monitor/monitor_screen.h"
#include "monitor/monitor_widgets.h"
#include "pages/level_page.h"
#include "shell/main_window.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"
#include "support/window_session.h"
#include "ui/form.h"
#include "ui/menu.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
struct Preset {
    const char *name;
    Variant variant;
    const char *caption;
    const char *firstForm;
};

// GasTimesShown, ExtendedCalibration, Brand, EmissionTools, BatteryPageHidden
const Preset Presets[] = {
    {"described", {0, 0, 0, 0, 1}, " Morvane Group 3.01", "FnEntete"},
    {"brand1", {0, 0, 1, 0, 1}, " Kelvra 3.01", "FnEntete2"},
    {"brand2", {0, 0, 2, 0, 1}, " Pelgaro ", "FnProgStart"},
    {"workshop", {1, 1, 0, 1, 0}, " Morvane Group 3.01", "FnEntete"},
};

bool sameOptions(const Variant &a, const Variant &b) {
    return a.GasTimesShown == b.GasTimesShown && a.ExtendedCalibration == b.ExtendedCalibration &&
           a.Brand == b.Brand && a.EmissionTools == b.EmissionTools &&
           a.BatteryPageHidden == b.BatteryPageHidden;
}
} // namespace

class TestVariant : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void cleanup();
    void thisBuildIsOneOfThePresets();
    void presetShowsItsControls_data();
    void presetShowsItsControls();
    void unknownValuesChangeNothing();

  private:
    void start(const Variant &variant);
    // Shown within its form (forms themselves are hidden until navigated to).
    static bool visible(QWidget *w) {
        QWidget *top = w;
        while (top->parentWidget() && !qobject_cast<Form *>(top))
            top = top->parentWidget();
        return w->isVisibleTo(top);
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    WindowSession session;
    std::unique_ptr<MainWindow> &window = session.window;
};

void TestVariant::cleanup() {
    session.reset();
}

void TestVariant::start(const Variant &variant) {
    session.start(dialogs, dir.path(), variant);
}

void TestVariant::thisBuildIsOneOfThePresets() {
    const Variant built = Variant::build();
    QStringList matching;
    for (const Preset &p : Presets) {
        if (sameOptions(p.variant, built))
            matching.append(QString::fromLatin1(p.name));
    }
    QCOMPARE(matching.size(), 1);
    start(built);
    for (const Preset &p : Presets) {
        if (sameOptions(p.variant, built))
            QCOMPARE(window->windowTitle(), QString::fromLatin1(p.caption));
    }
}

void TestVariant::presetShowsItsControls_data() {
    QTest::addColumn<int>("preset");
    for (int i = 0; i < int(std::size(Presets)); ++i)
        QTest::newRow(Presets[i].name) << i;
}

void TestVariant::presetShowsItsControls() {
    QFETCH(int, preset);
    const Preset &p = Presets[preset];
    start(p.variant);
    const bool workshop = QByteArray(p.name) == "workshop";
    QCOMPARE(window->windowTitle(), QString::fromLatin1(p.caption));
    QStringList shown;
    for (Form *f : window->findChildren<Form *>()) {
        if (f->isShown())
            shown.append(f->objectName());
    }
    QCOMPARE(shown, QStringList{QString::fromLatin1(p.firstForm)});

    Menu &menu = window->menu();
    for (QPushButton *b : {menu.BtEmi, menu.BtMap, menu.BtMemoire, menu.BtEmission})
        QVERIFY2(visible(b) == workshop, qPrintable(b->objectName()));
    for (QPushButton *b : {menu.Moniteur, menu.Parametres, menu.Calibration, menu.Info})
        QVERIFY(visible(b));

    MonitorScreen *monitor = window->screens().FnMoniteur;
    QCOMPARE(visible(monitor->EmiStart), workshop);
    QCOMPARE(visible(monitor->TxTemps), workshop);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(visible(monitor->TextG[i]), workshop);
        QCOMPARE(visible(monitor->BarG[i]), workshop);
        QVERIFY(visible(monitor->TextE[i]));
    }
    QCOMPARE(visible(monitor->Label17), workshop);
    QCOMPARE(visible(monitor->Label18), workshop);
    QCOMPARE(visible(window->screens().FnParametres2->BtPageSuivante), workshop);

    // The calibration form's load-calibration controls, once it exists.
    if (auto *cal = window->findChild<QWidget *>(QStringLiteral("FnCalibration"))) {
        for (const char *name :
             {"Line3", "Shape3", "Line4", "Shape5", "BtStCalibrationCh", "BTuploadCharge"}) {
            if (auto *w = cal->findChild<QWidget *>(QString::fromLatin1(name)))
                QVERIFY2(visible(w) == workshop, name);
        }
        if (auto *w = cal->findChild<QWidget *>(QStringLiteral("BtCalibrationSet")))
            QVERIFY(!visible(w));
    }
}

void TestVariant::unknownValuesChangeNothing() {
    // Out-of-range options keep the caption and the controls as they were
    // built, except the battery page's button, which any non-zero hides.
    Variant odd{2, 2, 3, 0, 7};
    start(odd);
    QCOMPARE(window->windowTitle(), QString());
    MonitorScreen *monitor = window->screens().FnMoniteur;
    QVERIFY(visible(monitor->TextG[0]));
    QVERIFY(!visible(window->screens().FnParametres2->BtPageSuivante));
    QVERIFY(!visible(window->menu().BtMap));
}

QTEST_MAIN(TestVariant)
#include "tst_variant.moc"
