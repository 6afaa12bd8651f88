// Sending in order behind a busy link, opening and losing the port.
#include "pages/data_table.h"
#include "support/fake_link.h"
#include "support/frame_helpers.h"

#include <QSignalSpy>
#include <QTest>

using Open = SerialPort::OpenResult;
using Write = SerialPort::WriteResult;

class TestLinkSend : public QObject, FakeLink {
    Q_OBJECT

    // A reply that has started to arrive keeps the link busy.
    void holdBack(const QByteArray &line) {
        port->feed("@W00");
        link->SendLine(line);
    }

  private Q_SLOTS:
    void init() { QVERIFY(reset()); }

    // Lines wait in order behind a busy link; only a poll replaces a poll waiting
    // last. Each goes out once the link is free or two ticks have passed.
    void busyLinkQueuesLinesInOrder() {
        const QByteArray poll = frames::MonitorPoll.toByteArray();
        holdBack("@F00016\r");
        for (const QByteArray &line : {poll, poll, QByteArray("@F0081E\r"), poll})
            link->SendLine(line);
        link->ControlTimer3_Timer();
        QVERIFY(port->written.isEmpty());
        for (int tick = 0; tick < 6; ++tick)
            link->ControlTimer3_Timer();
        QCOMPARE(port->written,
                 (QByteArrayList{"@F00016\r", "@R000378C\r", "@F0081E\r", "@R000378C\r"}));
        QVERIFY(link->state.PendingLines.isEmpty() && !link->ControlTimer3.isActive());
    }

    // Closing the port drops the waiting lines at once and ends the read that
    // owned them: nothing goes out on the port opened next.
    void closingDropsWaitingLinesAndEndsTheirTransfer() {
        QSignalSpy stopped(link, &Link::fullReadStopped);
        holdBack("@F0071D\r");
        link->StartFullRead();
        link->ClosePort();
        QVERIFY(stopped.count() == 1 && !link->state.FullReadActive);
        QVERIFY(link->OpenPort());
        for (int i = 0; i < 5; ++i)
            link->ControlTimer3_Timer();
        QVERIFY(port->written.isEmpty());
    }

    // Waiting lines go out one per reply, with an extra CR, ahead of the poll;
    // the echo of a poll is no reply.
    void pollFollowsEveryReplyWithTheWaitingLinesFirst() {
        for (int i = 0; i < 4; ++i)
            ask(0x000, 1);
        link->poll.start();
        port->feed(frames::MonitorPoll.toByteArray());
        QVERIFY(port->written.isEmpty() && link->state.LinkBusy);
        port->feed(dataFrame(0x000, {1}));
        QCOMPARE(std::exchange(port->written, {}), QByteArrayList{"@R000378C\r"});
        holdBack("@F00016\r");
        link->SendLine("@F0081E\r");
        port->feed(dataFrame(0x000, {2}).mid(4));
        port->feed(dataFrame(0x000, {3}));
        port->feed(dataFrame(0x000, {4}));
        QCOMPARE(port->written, (QByteArrayList{"@F00016\r\r", "@F0081E\r\r", "@R000378C\r"}));
        QCOMPARE(link->image.at(0x000), quint8(4));
    }

    void openFailures_data() {
        columns<int, QString>("result", "warning");
        row("missing", int(Open::NotFound), QString(" Serial Port non-existent "));
        row("busy", int(Open::InUse), QString(" Serial Port already in use "));
        row("no permission", int(Open::NoPermission),
            QString(" No permission to open the serial port: add your user to the dialout group "
                    "(sudo usermod -aG dialout $USER), then log in again "));
        row("other", int(Open::Failed), QString());
    }
    // A port that does not open asks for another, as does every (dropped) line sent meanwhile.
    void openFailures() {
        const auto [result, warning] = fetch<int, QString>("result", "warning");
        link->ClosePort();
        port->nextOpen = Open(result);
        QSignalSpy status(link, &Link::statusText);
        QSignalSpy warned(link, &Link::warning);
        QSignalSpy wanted(link, &Link::connectionWanted);
        QVERIFY(!link->OpenPort());
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
        columns<int, bool>("write", "duringRead"); // write -1: the port notices by itself
        row("write fails", int(Write::DeviceGone), false);
        row("during a whole-memory read", -1, true);
        row("other write error", int(Write::Failed), false);
    }
    void lostAdapter() {
        const auto [write, duringRead] = fetch<int, bool>("write", "duringRead");
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
    }

    // A quiet send (the port search's) reports nothing; the next plain one reports again.
    void quietSendLeavesTheReportToTheCaller_data() {
        columns<int, int>("write", "error");
        row("failed", int(Write::Failed), int(Link::SendError::Failed));
        row("adapter gone", int(Write::DeviceGone), int(Link::SendError::DeviceGone));
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
