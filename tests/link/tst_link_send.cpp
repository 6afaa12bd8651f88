// Sending with the one-line hold-back, opening and losing the port.
#include "support/fake_link.h"
#include "support/frame_helpers.h"

#include <QSignalSpy>
#include <QTest>

using Open = SerialPort::OpenResult;
using Write = SerialPort::WriteResult;

class TestLinkSend : public QObject, FakeLink {
    Q_OBJECT

    void holdBack(const QByteArray &line) {
        const_cast<LinkState &>(link->state).LinkBusy = true;
        link->SendLine(line);
    }

  private Q_SLOTS:
    void init() { QVERIFY(reset()); }

    // A busy link holds one line, the newest, and never sends past it, even idle again.
    void busyLinkHoldsOneLineTheNewestWins() {
        holdBack("@F00016\r");
        link->SendLine("@F0081E\r");
        const_cast<LinkState &>(link->state).LinkBusy = false;
        link->SendLine("@F0091F\r");
        QVERIFY(port->written.isEmpty());
        QCOMPARE(link->state.PendingLines, QByteArrayList{"@F0091F\r"});
    }

    // The second tick takes the link as free; a closed port keeps the line.
    void heldLineIsForcedOutAfterTwoTicks() {
        holdBack("@F00016\r");
        link->ControlTimer3_Timer();
        QVERIFY(port->written.isEmpty());
        link->ControlTimer3_Timer();
        QCOMPARE(std::exchange(port->written, {}), QByteArrayList{"@F00016\r"});
        QVERIFY(link->state.PendingLines.isEmpty() && !link->ControlTimer3.isActive());

        holdBack("@F0071D\r");
        link->ClosePort();
        for (int i = 0; i < 5; ++i)
            link->ControlTimer3_Timer();
        QVERIFY(port->written.isEmpty() && link->ControlTimer3.isActive());
        QVERIFY(link->OpenPort());
        link->ControlTimer3_Timer();
        QCOMPARE(port->written, QByteArrayList{"@F0071D\r"});
    }

    // A held line goes out after the next reply, with an extra CR, instead of the
    // poll; the echo of a poll is no reply.
    void pollFollowsEveryReplyWithTheHeldLineFirst() {
        link->poll.start();
        port->feed(frames::MonitorPoll.toByteArray());
        QVERIFY(port->written.isEmpty() && link->state.LinkBusy);
        port->feed(dataFrame(0x000, {1}));
        QCOMPARE(std::exchange(port->written, {}), QByteArrayList{"@R000378C\r"});
        holdBack("@F00016\r");
        port->feed(dataFrame(0x000, {2}));
        QCOMPARE(port->written, QByteArrayList{"@F00016\r\r"});
        QVERIFY(link->state.PendingLines.isEmpty() && !link->ControlTimer3.isActive());
    }

    void openFailures_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("warning");
        QTest::newRow("missing") << int(Open::NotFound) << " Serial Port non-existent ";
        QTest::newRow("busy") << int(Open::InUse) << " Serial Port already in use ";
        QTest::newRow("no permission")
            << int(Open::NoPermission)
            << " No permission to open the serial port: add your user to the dialout group "
               "(sudo usermod -aG dialout $USER), then log in again ";
        QTest::newRow("other") << int(Open::Failed) << QString();
    }
    // A port that does not open asks for another, as does every (dropped) line sent meanwhile.
    void openFailures() {
        QFETCH(int, result);
        QFETCH(QString, warning);
        link->ClosePort();
        port->nextOpen = Open(result);
        QSignalSpy status(link, &Link::statusText);
        QSignalSpy warned(link, &Link::warning);
        QSignalSpy wanted(link, &Link::connectionWanted);
        QVERIFY(!link->OpenPort() && !link->state.PortIsOpen);
        QCOMPARE(status.last().at(0).toString(), QStringLiteral(" Not Connect "));
        QCOMPARE(warned.count(), warning.isEmpty() ? 0 : 1);
        QCOMPARE(warned.value(0).value(0).toString(), warning);
        QCOMPARE(wanted.count(), 1);
        link->SendLine("@R0000183\r");
        QCOMPARE(wanted.count(), 2);
        QVERIFY(port->written.isEmpty() && link->state.PendingLines.isEmpty());
    }

    // An unplugged adapter is reported once; another write error only sets the status.
    void lostAdapter_data() {
        QTest::addColumn<int>("write"); // -1: the port notices by itself
        QTest::addColumn<bool>("duringRead");
        QTest::newRow("write fails") << int(Write::DeviceGone) << false;
        QTest::newRow("during a whole-memory read") << -1 << true;
        QTest::newRow("other write error") << int(Write::Failed) << false;
    }
    void lostAdapter() {
        QFETCH(int, write);
        QFETCH(bool, duringRead);
        const bool gone = write != int(Write::Failed);
        QSignalSpy warned(link, &Link::warning);
        QSignalSpy status(link, &Link::statusText);
        QSignalSpy stopped(link, &Link::fullReadStopped);
        if (duringRead)
            link->StartFullRead();
        if (write >= 0) {
            port->nextWrite = Write(write);
            link->SendLine("@R000378C\r");
        } else {
            port->unplug();
        }
        if (gone)
            port->unplug(); // a second notice changes nothing
        QCOMPARE(warned.count(), gone ? 1 : 0);
        QCOMPARE(warned.value(0).value(0).toString(),
                 gone ? QStringLiteral(" Adapter Serial not connect ") : QString());
        QCOMPARE(status.last().at(0).toString(), QStringLiteral(" Non Connecter "));
        QCOMPARE(link->state.PortIsOpen, !gone);
        QCOMPARE(stopped.count(), duringRead ? 1 : 0);
        QVERIFY(!link->TimerDownload.isActive());
    }

    // A quiet send (the port search's) reports nothing; the next plain one reports again.
    void quietSendLeavesTheReportToTheCaller_data() {
        QTest::addColumn<int>("write");
        QTest::addColumn<int>("error");
        QTest::newRow("written") << int(Write::Written) << int(Link::SendError::None);
        QTest::newRow("failed") << int(Write::Failed) << int(Link::SendError::Failed);
        QTest::newRow("adapter gone") << int(Write::DeviceGone) << int(Link::SendError::DeviceGone);
    }
    void quietSendLeavesTheReportToTheCaller() {
        QFETCH(int, write);
        QSignalSpy warnings(link, &Link::warning);
        QSignalSpy status(link, &Link::statusText);
        QSignalSpy wanted(link, &Link::connectionWanted);
        port->nextWrite = Write(write);
        QTEST(int(link->trySendLine("@R000378C\r")), "error");
        QCOMPARE(link->state.PortIsOpen, write != int(Write::DeviceGone));
        QCOMPARE(warnings.count() + status.count() + wanted.count(), 0);
        port->nextWrite = Write::Failed;
        link->OpenPort();
        link->SendLine("@R000378C\r");
        QCOMPARE(status.last().at(0).toString(), QStringLiteral(" Non Connecter "));
    }
};

QTEST_GUILESS_MAIN(TestLinkSend)
#include "tst_link_send.moc"
