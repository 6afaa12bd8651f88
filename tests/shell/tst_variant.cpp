// The build variants: each preset's options, applied at start-up, decide the
// caption, the first form and which optional controls the fitter sees.
#include "monitor/monitor_screen.h"
#include "monitor/monitor_widgets.h"
#include "pages/level_page.h"
#include "support/fake_dialogs.h"
#include "support/window_session.h"
#include "ui/form.h"
#include "ui/menu.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(Variant)

namespace {
// Shown within its form (forms themselves are hidden until navigated to).
bool visible(QWidget *w) {
    QWidget *top = w;
    while (top->parentWidget() && !qobject_cast<Form *>(top))
        top = top->parentWidget();
    return w->isVisibleTo(top);
}
} // namespace

class TestVariant : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    FakeDialogs dialogs;
    WindowSession session;
    std::unique_ptr<MainWindow> &window = session.window;

  private Q_SLOTS:
    void cleanup() { session.reset(); }

    // GasTimesShown, ExtendedCalibration, Brand, EmissionTools, BatteryPageHidden
    void presetShowsItsControls_data() {
        QTest::addColumn<Variant>("variant");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("firstForm");
        QTest::newRow("described") << Variant{0, 0, 0, 0, 1} << " Morvane Group 3.01"
                                   << "FnEntete";
        QTest::newRow("brand1") << Variant{0, 0, 1, 0, 1} << " Kelvra 3.01"
                                << "FnEntete2";
        QTest::newRow("brand2") << Variant{0, 0, 2, 0, 1} << " Pelgaro "
                                << "FnProgStart";
        QTest::newRow("workshop") << Variant{1, 1, 0, 1, 0} << " Morvane Group 3.01"
                                  << "FnEntete";
    }
    void presetShowsItsControls() {
        QFETCH(Variant, variant);
        QFETCH(QString, firstForm);
        session.start(dialogs, dir.path(), variant);
        QTEST(window->windowTitle(), "caption");
        QStringList shown;
        for (Form *f : window->findChildren<Form *>()) {
            if (f->isShown())
                shown.append(f->objectName());
        }
        QCOMPARE(shown, QStringList{firstForm});

        const bool workshop = variant.EmissionTools != 0;
        Menu &menu = window->menu();
        MonitorScreen *monitor = window->screens().FnMoniteur;
        for (QWidget *w : std::initializer_list<QWidget *>{
                 menu.BtEmi, menu.BtMap, menu.BtMemoire, menu.BtEmission, monitor->EmiStart,
                 monitor->TxTemps, monitor->Label17, monitor->Label18,
                 window->screens().FnParametres2->BtPageSuivante})
            QVERIFY2(visible(w) == workshop, qPrintable(w->objectName()));
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(visible(monitor->TextG[i]), workshop);
            QCOMPARE(visible(monitor->BarG[i]), workshop);
            QVERIFY(visible(monitor->TextE[i]));
        }
    }

    // Out-of-range options keep the caption and the controls as they were
    // built, except the battery page's button, which any non-zero hides.
    void unknownValuesChangeNothing() {
        session.start(dialogs, dir.path(), Variant{2, 2, 3, 0, 7});
        QCOMPARE(window->windowTitle(), QString());
        QVERIFY(visible(window->screens().FnMoniteur->TextG[0]));
        QVERIFY(!visible(window->screens().FnParametres2->BtPageSuivante));
        QVERIFY(!visible(window->menu().BtMap));
    }
};

QTEST_MAIN(TestVariant)
#include "tst_variant.moc"
