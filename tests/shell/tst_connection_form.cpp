// The connection form and the ways back to a working line: validating a
// port, the search through the form, the start form closed, the monitor
// watchdog's failing send.
#include "monitor/monitor_screen.h"
#include "pages/data_table.h"
#include "shell/connection_form.h"
#include "shell/info_form.h"
#include "support/fake_dialogs.h"
#include "support/frame_helpers.h"
#include "support/window_session.h"
#include "transfer/prog_start_form.h"
#include "ui/menu.h"
#include "ui/screens.h"
#include "ui/status_strip.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

class TestConnectionForm : public QObject, WindowFixture {
    Q_OBJECT

    ConnectionForm &form() { return *static_cast<ConnectionForm *>(window->screens().connection); }
    // The ports named open, every other port missing.
    void start(const QList<int> &present) {
        session.start(dialogs, dir.path(), Variant::build(), [&](FakeSerialPort &p) {
            p.nextOpen = SerialPort::OpenResult::NotFound;
            for (int n : present)
                p.openByPort[n] = SerialPort::OpenResult::Opened;
        });
    }

  private Q_SLOTS:
    void init() {
        dialogs = FakeDialogs();
        QFile::remove(dir.filePath(QStringLiteral("prconfig.txt")));
    }
    void cleanup() { session.reset(); }

    void validate_data() {
        // typed: what the fitter types instead of picking the last entry; "": it opens
        columns<QList<int>, QString, int, QString>("present", "typed", "portNumber", "message");
        row("port 12", QList<int>{12}, QString(), 12, QString());
        row("port 130", QList<int>{3, 130}, QString(), 130, QString());
        row("no Rs232 tries port 2", QList<int>{}, QString(), 2, " Serial Port non-existent ");
        row("typed, not listed", QList<int>{1}, QString(" com 27 "), 27,
            " Serial Port non-existent ");
        row("typed number", QList<int>{1, 5}, QString("5"), 5, QString());
    }
    void validate() {
        const auto [present, typed, portNumber, message] =
            fetch<QList<int>, QString, int, QString>("present", "typed", "portNumber", "message");
        start(present);
        window->screens().information->unloadForm(); // the fitter closed the start form
        QTest::mouseClick(window->menu().Connection, Qt::LeftButton);
        form().Combo1->setCurrentIndex(form().Combo1->count() - 1);
        if (!typed.isEmpty()) {
            form().Combo1->lineEdit()->selectAll();
            QTest::keyClicks(form().Combo1->lineEdit(), typed);
            QCOMPARE(form().Combo1->currentText(), typed); // the validator let it through
        }
        QTest::mouseClick(form().Command1, Qt::LeftButton);
        QCOMPARE(link->state.PortIsOpen, message.isEmpty());
        QCOMPARE(link->state.PortNumber, portNumber);
        QCOMPARE(dialogs.texts().join(QString()), message);
        QFile config(dir.filePath(QStringLiteral("prconfig.txt")));
        QVERIFY(config.open(QIODevice::ReadOnly));
        QCOMPARE(config.readAll(),
                 QStringLiteral("FichierConfig:]%1]]]]]Fin\r\n").arg(portNumber).toLatin1());
        QCOMPARE(form().isShown(), !message.isEmpty()); // a missing port brings the form back
        QVERIFY(window->screens().startForm->isShown());
    }

    void listAtStartUpAndTheSearchStartsTheRead() {
        start({1, 4});
        QTest::mouseClick(window->menu().Connection, Qt::LeftButton);
        QTest::mouseClick(form().Command4, Qt::LeftButton);
        form().search.TimerTestCom_Timer();
        form().search.TimerTestCom_Timer();
        port->written.clear();
        port->feed(dataFrame(0x000, {0x21}));
        form().search.TimerTestCom_Timer();
        QCOMPARE(port->written, QByteArrayList{"@R0003489\r"}); // the whole read begins
        QVERIFY(link->state.FullReadActive && !form().isShown());
        QCOMPARE(link->state.PortNumber, 4);
        QCOMPARE(form().Combo1->currentText(), QStringLiteral("COM 4")); // Validate keeps it
        QFile config(dir.filePath(QStringLiteral("prconfig.txt")));
        QVERIFY(config.open(QIODevice::ReadOnly));
        QCOMPARE(config.readAll(), QByteArray("FichierConfig:]4]]]]]Fin\r\n"));
    }

    void watchdogReportsAFailingSend_data() {
        columns<int, QString>("write", "message"); // empty: none, and no connection form
        row("write error", int(SerialPort::WriteResult::Failed), QString());
        row("adapter gone", int(SerialPort::WriteResult::DeviceGone),
            " Adapter serial not connect ");
    }
    void watchdogReportsAFailingSend() {
        const auto [write, message] = fetch<int, QString>("write", "message");
        start({1});
        link->setPortNumber(1);
        QVERIFY(link->OpenPort());
        port->nextWrite = SerialPort::WriteResult(write);
        for (int tick = 0; tick < 3; ++tick)
            link->poll.watchdogTick();
        QCOMPARE(window->etat().BarreEtat->text(), QStringLiteral(" --------- "));
        QCOMPARE(dialogs.texts().join(QString()), message);
        QCOMPARE(form().isShown(), !message.isEmpty());
        QVERIFY(!link->poll.isOn());
    }
};

QTEST_MAIN(TestConnectionForm)
#include "tst_connection_form.moc"
