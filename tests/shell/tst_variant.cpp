// The build variants: each preset's options, applied at start-up, decide the
// caption, the first form and which optional controls the fitter sees.
#include "monitor/monitor_screen.h"
#include "pages/data_table.h"
#include "pages/level_page.h"
#include "shell/info_form.h"
#include "support/fake_dialogs.h"
#include "support/window_session.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/readout_widgets.h"

#include <QFontMetrics>
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

class TestVariant : public QObject, WindowFixture {
    Q_OBJECT

  private Q_SLOTS:
    void cleanup() { session.reset(); }

    // GasTimesShown, ExtendedCalibration, Brand, EmissionTools, BatteryPageHidden
    void presetShowsItsControls_data() {
        columns<Variant, QString, QString>("variant", "caption", "firstForm");
        const char *morvane = " Morvane Group 3.02";
        row("described", Variant{0, 0, 0, 0, 1}, morvane, "FnEntete");
        row("brand1", Variant{0, 0, 1, 0, 1}, " Kelvra 3.02", "FnEntete2");
        row("brand2", Variant{0, 0, 2, 0, 1}, " Pelgaro ", "FnProgStart");
        row("workshop", Variant{1, 1, 0, 1, 0}, morvane, "FnEntete");
        // Each option on its own: the memory tool needs both tools and extended.
        row("tools, extended", Variant{0, 1, 0, 1, 0}, morvane, "FnEntete");
        row("tools, gas times", Variant{1, 0, 0, 1, 0}, morvane, "FnEntete");
    }
    void presetShowsItsControls() {
        const auto [variant, firstForm] = fetch<Variant, QString>("variant", "firstForm");
        session.start(dialogs, dir.path(), variant);
        QTEST(window->windowTitle(), "caption");
        QStringList shown;
        for (Form *f : window->findChildren<Form *>()) {
            if (f->isShown())
                shown.append(f->objectName());
        }
        QCOMPARE(shown, QStringList{firstForm});
        Menu &menu = window->menu();
        const bool fromStart = firstForm == QLatin1String("FnProgStart");
        QCOMPARE(menu.enabledButtons().size(), fromStart ? 4 : 2);
        QCOMPARE(menu.Connection->isEnabled() && menu.Charger->isEnabled(), fromStart);

        const bool tools = variant.EmissionTools != 0, gasTimes = variant.GasTimesShown == 1;
        MonitorScreen *monitor = window->screens().monitorScreen;
        const std::pair<QWidget *, bool> controls[] = {
            {menu.BtEmi, tools},
            {menu.BtMap, tools},
            {monitor->EmiStart, tools},
            {menu.BtMemoire, tools && variant.ExtendedCalibration != 0},
            {monitor->Label17, gasTimes},
            {window->screens().levelPage->BtPageSuivante, variant.BatteryPageHidden == 0}};
        for (const auto &[w, expected] : controls)
            QVERIFY2(visible(w) == expected, qPrintable(w->objectName()));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(visible(monitor->TextG[i]), gasTimes);

        // However many buttons the menu has, the window keeps its 1024
        // pixels and every caption stays readable on its button.
        QCoreApplication::sendPostedEvents();
        QCOMPARE(window->width(), 1024);
        QVERIFY(menu.minimumSizeHint().width() <= 1024);
        for (const QPushButton *b : menu.findChildren<QPushButton *>()) {
            if (b->isHidden())
                continue;
            const QFontMetrics metrics(b->font());
            const int caption = metrics.horizontalAdvance(b->text().trimmed());
            QVERIFY2(caption <= b->width() - 8, qPrintable(b->objectName()));
            QVERIFY2(metrics.height() <= b->height() - 4, qPrintable(b->objectName()));
            QVERIFY2(b->font().pointSizeF() >= 6.5, qPrintable(b->objectName()));
        }
    }

    // The title and the brand's information form carry one version.
    void titleAndInformationAgree_data() {
        columns<int, QString, QString>("brand", "title", "product");
        row("Morvane Group", 0, " Morvane Group 3.02", "K.V.D Interface Version 3.02");
        row("Kelvra", 1, " Kelvra 3.02", "KVD  Interface Version 3.02");
    }
    void titleAndInformationAgree() {
        const auto [brand, title, product] =
            fetch<int, QString, QString>("brand", "title", "product");
        session.start(dialogs, dir.path(), Variant{0, 0, brand, 0, 1});
        QCOMPARE(window->windowTitle(), title);
        const Screens &s = window->screens();
        QCOMPARE((brand == 1 ? s.informationBrand1 : s.information)->productLabel->text(), product);
    }
};

QTEST_MAIN(TestVariant)
#include "tst_variant.moc"
