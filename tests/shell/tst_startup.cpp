// From program start to a loaded configuration: phases, menu states,
// transfer forms and their messages.
#include "pages/data_table.h"
#include "shell/info_form.h"
#include "support/fake_dialogs.h"
#include "support/frame_helpers.h"
#include "support/window_session.h"
#include "transfer/prog_start_form.h"
#include "transfer/transfer_form.h"
#include "ui/menu.h"
#include "ui/status_strip.h"

#include <QFile>
#include <QLabel>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Sorted.
const QStringList Always = {QStringLiteral("Info"), QStringLiteral("quitter")};
const QStringList Waiting = {QStringLiteral("Charger"), QStringLiteral("Connection"),
                             QStringLiteral("Info"), QStringLiteral("quitter")};

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}
} // namespace

class TestStartup : public QObject, WindowFixture {
    Q_OBJECT

    void start() { session.start(dialogs, dir.path(), Variant{}); }
    void answerFullRead() {
        for (int i = 0; i < BlockCount && link->state.FullReadActive; ++i) {
            const BlockRange r = blockRange(port->written.last().chopped(1));
            port->feed(filledFrame(r.address, r.count, 0x11));
        }
    }

  private Q_SLOTS:
    void init() {
        QFile::remove(dir.filePath(QStringLiteral("prconfig.txt")));
        dialogs = FakeDialogs();
    }
    void cleanup() { session.reset(); }

    void phasesEnableTheRightButtons() {
        start();
        Menu &menu = window->menu();
        Screens &s = window->screens();
        QCOMPARE(sorted(menu.enabledButtons()), Always);
        QCOMPARE(window->etat().BarreEtat->text(), QStringLiteral("No Dialogue on COM"));
        // The connection form listed the ports 1..255 at start-up, each opened
        // and closed again.
        QVERIFY(port->openedPorts.size() == 255 && !port->isOpen());
        port->openedPorts.clear();

        QTest::mouseClick(s.information->Command1, Qt::LeftButton);
        QVERIFY(!s.information->isShown() && s.startForm->isShown());
        QCOMPARE(sorted(menu.enabledButtons()), Waiting);
        QCOMPARE(port->openedPorts, QList<int>{1});
        QCOMPARE(window->etat().BarreEtat->text(), QStringLiteral(" Connection on COM 1"));

        QTest::mouseClick(s.startForm->BoutonPC, Qt::LeftButton);
        answerFullRead();
        QVERIFY(link->state.DataLoaded && !s.readProgress->isShown() && !s.startForm->isShown());
        QCOMPARE(sorted(menu.enabledButtons()), sorted(Menu::readyButtons() + Always));
        QCOMPARE(window->etat().BarreEtat2->text(), QStringLiteral("File to charge : ECM"));
        QCOMPARE(window->etat().BarreEtat->text(), QStringLiteral(" Dialogue on COM1"));
        QVERIFY(dialogs.shown.isEmpty());

        // A later read leaves the menu and the forms alone.
        menu.setButtonsEnabled({QStringLiteral("Moniteur")}, false);
        link->StartFullRead();
        answerFullRead();
        QVERIFY(!menu.Moniteur->isEnabled() && !s.startForm->isShown());
    }

    void configurationFileSetsThePort_data() {
        columns<QByteArray, int, QStringList>("content", "port", "messages");
        row("empty port field", QByteArray("FichierConfig:]]]]]]Fin\r\n"), 0, QStringList());
        row("wrong header", QByteArray("Config:]3]]]]]Fin\r\n"), 1,
            QStringList{" Error in the file config "});
    }
    void configurationFileSetsThePort() {
        const auto [content] = fetch<QByteArray>("content");
        QFile file(dir.filePath(QStringLiteral("prconfig.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        start();
        QTEST(link->state.PortNumber, "port");
        QTEST(dialogs.texts(), "messages");
    }

    // The fitter closes the progress window (answering yes to stop), then
    // loads again and the ECU stays silent.
    void closedOrSilentReadLoadsNothing() {
        start();
        Screens &s = window->screens();
        s.information->Command1_Click();
        s.startForm->BoutonPC_Click();
        s.readProgress->window()->close();
        QVERIFY(!link->state.FullReadActive && !s.readProgress->isShown());
        s.startForm->BoutonPC_Click();
        for (int i = 0; i < 9; ++i) // the first block is asked for three times in all
            link->TimerDownload_Timer();
        QCOMPARE(dialogs.texts(),
                 (QStringList{" Stop reading? The screens keep the values already read; the "
                              "others stay as they were until the next read. ",
                              "No communication on COM1"}));
        QVERIFY(!s.readProgress->isShown() && !link->state.DataLoaded);
        QCOMPARE(sorted(window->menu().enabledButtons()), Waiting);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
