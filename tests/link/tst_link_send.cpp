// Sending with the one-line hold-back, opening and losing the port.
#include "link/link.h"
#include "support/fake_serial_port.h"
#include "support/frame_helpers.h"

#include <QSignalSpy>
#include <QTest>

class TestLinkSend : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void idleLinkSendsAtOnce();
    void busyLinkHoldsOneLineTheNewestWins();
    void heldLineIsForcedOutAfterTwoTicks();
    void heldLineSurvivesAClosedPort();
    void pollFollowsEveryReplyWithTheHeldLineFirst();
    void closedPortDropsTheLineAndAsksForAPort();
    void openFailures_data();
    void openFailures();
    void unpluggedAdapterIsReportedOnce_data();
    void unpluggedAdapterIsReportedOnce();
    void otherWriteErrorsOnlySetTheStatus();
    void quietSendLeavesTheReportToTheCaller_data();
    void quietSendLeavesTheReportToTheCaller();

  private:
    FakeSerialPort *port = nullptr;
    Link *link = nullptr;
};

void TestLinkSend::init() {
    delete link;
    delete port;
    port = new FakeSerialPort;
    link = new Link(port);
    QVERIFY(link->OpenPort());
}

void TestLinkSend::idleLinkSendsAtOnce() {
    link->SendLine("@R0000183\r");
    QCOMPARE(port->written, QByteArrayList{"@R0000183\r"});
    QVERIFY(!link->ControlTimer3.isActive());
}

void TestLinkSend::busyLinkHoldsOneLineTheNewestWins() {
    link->state.LinkBusy = true;
    link->SendLine("@F00016\r");
    link->SendLine("@F0081E\r");
    QVERIFY(port->written.isEmpty());
    QCOMPARE(link->state.PendingLine, QByteArray("@F0081E\r"));
    QVERIFY(link->ControlTimer3.isActive());
    // Even with the link idle again, a line is never sent past a held one.
    link->state.LinkBusy = false;
    link->SendLine("@F0091F\r");
    QVERIFY(port->written.isEmpty());
    QCOMPARE(link->state.PendingLine, QByteArray("@F0091F\r"));
}

void TestLinkSend::heldLineIsForcedOutAfterTwoTicks() {
    link->state.LinkBusy = true;
    link->SendLine("@F00016\r");
    link->ControlTimer3_Timer();
    QVERIFY(port->written.isEmpty());
    link->ControlTimer3_Timer(); // second tick: the link is taken as free
    QCOMPARE(port->written, QByteArrayList{"@F00016\r"});
    QCOMPARE(link->state.PendingLine, QByteArray());
    QVERIFY(!link->ControlTimer3.isActive());
}

void TestLinkSend::heldLineSurvivesAClosedPort() {
    link->state.LinkBusy = true;
    link->SendLine("@F0071D\r");
    link->ClosePort();
    for (int i = 0; i < 5; ++i)
        link->ControlTimer3_Timer();
    QVERIFY(port->written.isEmpty());
    QCOMPARE(link->state.PendingLine, QByteArray("@F0071D\r"));
    QVERIFY(link->ControlTimer3.isActive());
    QVERIFY(link->OpenPort());
    link->ControlTimer3_Timer();
    QCOMPARE(port->written, QByteArrayList{"@F0071D\r"});
}

void TestLinkSend::pollFollowsEveryReplyWithTheHeldLineFirst() {
    link->state.PollingOn = true;
    port->feed(dataFrame(0x000, {1}));
    QCOMPARE(port->written, QByteArrayList{"@R000378C\r"});
    port->written.clear();

    // A line held back goes out after the next reply, with an extra CR,
    // instead of the poll.
    link->state.LinkBusy = true;
    link->SendLine("@F00016\r");
    port->feed(dataFrame(0x000, {2}));
    QCOMPARE(port->written, QByteArrayList{"@F00016\r\r"});
    QVERIFY(link->state.PendingLine.isEmpty());
    QVERIFY(!link->ControlTimer3.isActive());
}

void TestLinkSend::closedPortDropsTheLineAndAsksForAPort() {
    link->ClosePort();
    QSignalSpy wanted(link, &Link::connectionWanted);
    link->SendLine("@R0000183\r");
    QCOMPARE(wanted.count(), 1);
    QVERIFY(port->written.isEmpty());
    QVERIFY(link->state.PendingLine.isEmpty());
}

void TestLinkSend::openFailures_data() {
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << int(SerialPort::OpenResult::NotFound)
                             << " Serial Port non-existent ";
    QTest::newRow("busy") << int(SerialPort::OpenResult::InUse) << " Serial Port already in use ";
    QTest::newRow("no permission")
        << int(SerialPort::OpenResult::NoPermission)
        << " No permission to open the serial port: add your user to the dialout group "
           "(sudo usermod -aG dialout $USER), then log in again ";
    QTest::newRow("other") << int(SerialPort::OpenResult::Failed) << QString();
}

void TestLinkSend::openFailures() {
    QFETCH(int, result);
    QFETCH(QString, message);
    link->ClosePort();
    port->nextOpen = SerialPort::OpenResult(result);
    QSignalSpy status(link, &Link::statusText);
    QSignalSpy warnings(link, &Link::warning);
    QSignalSpy wanted(link, &Link::connectionWanted);
    QVERIFY(!link->OpenPort());
    QVERIFY(!link->state.PortIsOpen);
    QCOMPARE(status.last().at(0).toString(), QStringLiteral(" Not Connect "));
    QCOMPARE(warnings.count(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(warnings.at(0).at(0).toString(), message);
    QCOMPARE(wanted.count(), 1);
}

void TestLinkSend::unpluggedAdapterIsReportedOnce_data() {
    QTest::addColumn<bool>("whileWriting");
    QTest::addColumn<bool>("duringRead");
    QTest::newRow("idle, port notices") << false << false;
    QTest::newRow("write fails") << true << false;
    QTest::newRow("during a whole-memory read") << false << true;
}

void TestLinkSend::unpluggedAdapterIsReportedOnce() {
    QFETCH(bool, whileWriting);
    QFETCH(bool, duringRead);
    QSignalSpy warnings(link, &Link::warning);
    QSignalSpy status(link, &Link::statusText);
    QSignalSpy stopped(link, &Link::fullReadStopped);
    if (duringRead)
        link->StartFullRead();
    if (whileWriting) {
        port->nextWrite = SerialPort::WriteResult::DeviceGone;
        link->SendLine("@R000378C\r");
    } else {
        port->unplug();
    }
    port->unplug(); // a second notice changes nothing
    QCOMPARE(warnings.count(), 1);
    QCOMPARE(warnings.at(0).at(0).toString(), QStringLiteral(" Adapter Serial not connect "));
    QCOMPARE(status.last().at(0).toString(), QStringLiteral(" Non Connecter "));
    QVERIFY(!link->state.PortIsOpen);
    QCOMPARE(stopped.count(), duringRead ? 1 : 0);
    QVERIFY(!link->TimerDownload.isActive());
}

void TestLinkSend::otherWriteErrorsOnlySetTheStatus() {
    QSignalSpy warnings(link, &Link::warning);
    QSignalSpy status(link, &Link::statusText);
    port->nextWrite = SerialPort::WriteResult::Failed;
    link->SendLine("@R000378C\r");
    QCOMPARE(warnings.count(), 0);
    QCOMPARE(status.last().at(0).toString(), QStringLiteral(" Non Connecter "));
    QVERIFY(link->state.PortIsOpen);
}

void TestLinkSend::quietSendLeavesTheReportToTheCaller_data() {
    QTest::addColumn<int>("write");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("stillOpen");
    QTest::newRow("written") << int(SerialPort::WriteResult::Written) << int(Link::SendError::None)
                             << true;
    QTest::newRow("failed") << int(SerialPort::WriteResult::Failed) << int(Link::SendError::Failed)
                            << true;
    QTest::newRow("adapter gone") << int(SerialPort::WriteResult::DeviceGone)
                                  << int(Link::SendError::DeviceGone) << false;
}

void TestLinkSend::quietSendLeavesTheReportToTheCaller() {
    QFETCH(int, write);
    QFETCH(int, error);
    QFETCH(bool, stillOpen);
    QSignalSpy warnings(link, &Link::warning);
    QSignalSpy status(link, &Link::statusText);
    QSignalSpy wanted(link, &Link::connectionWanted);
    port->nextWrite = SerialPort::WriteResult(write);
    QCOMPARE(int(link->trySendLine("@R000378C\r")), error);
    QCOMPARE(link->state.PortIsOpen, stillOpen);
    QCOMPARE(warnings.count() + status.count() + wanted.count(), 0);
    // The next plain send reports as before.
    port->nextWrite = SerialPort::WriteResult::Failed;
    link->OpenPort();
    link->SendLine("@R000378C\r");
    QCOMPARE(status.last().at(0).toString(), QStringLiteral(" Non Connecter "));
}

QTEST_GUILESS_MAIN(TestLinkSend)
#include "tst_link_send.moc"
