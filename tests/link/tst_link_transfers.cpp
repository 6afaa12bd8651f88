// Whole-memory reads and uploads, the chained-write sequencer, time-outs.
#include "link/link.h"
#include "support/fake_serial_port.h"
#include "support/frame_helpers.h"

#include <QSignalSpy>
#include <QTest>

namespace {
// The ECU's answer to one read request, filled with the block's index.
QByteArray answer(const QByteArray &request, int fill) {
    const BlockRange r = blockRange(request);
    return filledFrame(r.address, r.count, fill);
}
} // namespace

class TestLinkTransfers : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void fullReadRequestsSixteenBlocksInOrder_data();
    void fullReadRequestsSixteenBlocksInOrder();
    void corruptedBlockIsAskedForAgain();
    void fullReadTimesOutAfterThreeTicks();
    void closingTheProgressStopsTheRead();
    void uploadWritesOneBlockPerReply();
    void uploadTimesOut();
    void sequencerChains_data();
    void sequencerChains();

  private:
    FakeSerialPort *port = nullptr;
    Link *link = nullptr;
};

void TestLinkTransfers::init() {
    delete link;
    delete port;
    port = new FakeSerialPort;
    link = new Link(port);
    link->state.PortNumber = 2;
    QVERIFY(link->OpenPort());
}

void TestLinkTransfers::fullReadRequestsSixteenBlocksInOrder_data() {
    QTest::addColumn<bool>("polling");
    QTest::newRow("quiet line") << false;
    QTest::newRow("with polling on") << true;
}

void TestLinkTransfers::fullReadRequestsSixteenBlocksInOrder() {
    QFETCH(bool, polling);
    link->state.PollingOn = polling;
    QSignalSpy progress(link, &Link::fullReadProgress);
    QSignalSpy completed(link, &Link::fullReadCompleted);
    QSignalSpy first(link, &Link::firstDataLoaded);
    link->StartFullRead();
    QByteArrayList requests;
    for (int reply = 0; reply < BlockCount; ++reply) {
        // Answer the last block request sent; the poll's answer comes too.
        QByteArray request;
        for (const QByteArray &line : std::as_const(port->written)) {
            if (line != frames::MonitorPoll)
                request = line;
        }
        QVERIFY2(!request.isEmpty(), "a block was requested");
        requests.append(request.chopped(1));
        port->written.clear();
        QCOMPARE(completed.count(), 0);
        port->feed(answer(request, reply + 1));
    }
    QCOMPARE(completed.count(), 1);
    QCOMPARE(first.count(), 1);
    QVERIFY(!link->state.FullReadActive);
    QVERIFY(!link->TimerDownload.isActive());
    QCOMPARE(progress.last().at(0).toInt(), BlockCount);
    const QByteArrayList expected(link->blocks.begin(), link->blocks.begin() + BlockCount);
    QCOMPARE(requests, expected);
    // Each block landed at its own address; entry 9 re-read entry 2's block.
    QCOMPARE(link->image.at(0x000), quint8(1));
    QCOMPARE(link->image.at(0x803), quint8(10));
    QCOMPARE(link->image.at(0xA79), quint8(16));

    // A second read does not count as the first load again.
    link->StartFullRead();
    for (int reply = 0; reply < BlockCount; ++reply)
        port->feed(answer(link->blocks[0], 1));
    QCOMPARE(completed.count(), 2);
    QCOMPARE(first.count(), 1);
}

void TestLinkTransfers::corruptedBlockIsAskedForAgain() {
    link->StartFullRead();
    port->feed(answer(link->blocks[0], 1));
    QCOMPARE(port->written.last(), link->blocks[1] + '\r');
    QByteArray bad = answer(link->blocks[1], 2);
    bad.replace(9, 2, "zz");
    port->written.clear();
    port->feed(bad);
    QCOMPARE(port->written, QByteArrayList{link->blocks[1] + '\r'});
    QCOMPARE(link->state.FullReadIndex, 2);
    for (int i = 0; i < 2; ++i)
        port->feed(bad);
    QVERIFY(link->state.FullReadActive);
    QSignalSpy timedOut(link, &Link::fullReadTimedOut);
    port->feed(bad); // the fourth corrupted answer in a row gives up
    QCOMPARE(timedOut.count(), 1);
    QVERIFY(!link->state.FullReadActive);
}

void TestLinkTransfers::fullReadTimesOutAfterThreeTicks() {
    QSignalSpy timedOut(link, &Link::fullReadTimedOut);
    link->StartFullRead();
    link->TimerDownload_Timer();
    link->TimerDownload_Timer();
    port->feed(answer(link->blocks[0], 1)); // an answer restarts the count
    link->TimerDownload_Timer();
    link->TimerDownload_Timer();
    QCOMPARE(timedOut.count(), 0);
    link->TimerDownload_Timer();
    QCOMPARE(timedOut.count(), 1);
    QVERIFY(!link->state.FullReadActive);
    QVERIFY(!link->TimerDownload.isActive());
    QCOMPARE(link->noCommunicationText(), QStringLiteral("No communication on COM2"));
    QVERIFY(!link->state.DataLoaded);
}

void TestLinkTransfers::closingTheProgressStopsTheRead() {
    link->StartFullRead();
    link->AbandonFullRead();
    port->written.clear();
    port->feed(answer(link->blocks[0], 5));
    QCOMPARE(link->image.at(0x000), quint8(5)); // the block in flight still lands
    QVERIFY(port->written.isEmpty());           // but nothing more is asked
    QVERIFY(!link->TimerDownload.isActive());
}

void TestLinkTransfers::uploadWritesOneBlockPerReply() {
    for (int a = 0x801; a < 0xA7A; ++a)
        link->image.set(a, static_cast<quint8>(a));
    QSignalSpy completed(link, &Link::uploadCompleted);
    link->StartUpload(2);
    QCOMPARE(port->written, QByteArrayList{frames::writeFrame(link->blocks[1], link->image)});
    for (int index = 2; index < BlockCount; ++index) {
        port->written.clear();
        port->feed(ackFrame());
        QCOMPARE(port->written, QByteArrayList{frames::writeFrame(
                                    link->blocks[static_cast<std::size_t>(index)], link->image)});
    }
    port->written.clear();
    QCOMPARE(completed.count(), 0);
    port->feed(ackFrame()); // the reply to entry 15 ends the upload
    QCOMPARE(completed.count(), 1);
    QVERIFY(port->written.isEmpty());
    QCOMPARE(link->state.UploadStep, 0);
    QVERIFY(!link->UPLoadTimer.isActive());
}

void TestLinkTransfers::uploadTimesOut() {
    QSignalSpy timedOut(link, &Link::uploadTimedOut);
    link->StartUpload(13);
    for (int i = 0; i < 3; ++i)
        link->UPLoadTimer_Timer();
    QCOMPARE(timedOut.count(), 1);
    QCOMPARE(link->state.UploadStep, 0);
    port->written.clear();
    port->feed(ackFrame());
    QVERIFY(port->written.isEmpty());
}

void TestLinkTransfers::sequencerChains_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<int>("monitorResumes");
    QTest::newRow("1") << 1 << QByteArrayList{"@WA4106"} << 0;
    QTest::newRow("3") << 3 << QByteArrayList{"@WA4401", "@W80102"} << 1;
    QTest::newRow("5") << 5 << QByteArrayList{"@W83902", "@WA4401", "@W80102"} << 1;
    QTest::newRow("6") << 6 << QByteArrayList{"@W80701", "@WA4101"} << 1;
}

void TestLinkTransfers::sequencerChains() {
    QFETCH(int, start);
    QFETCH(QByteArrayList, writes);
    QFETCH(int, monitorResumes);
    QSignalSpy resumed(link, &Link::monitorTimerWanted);
    link->StartSequence(start);
    for (const QByteArray &descriptor : std::as_const(writes)) {
        port->written.clear();
        port->feed(ackFrame());
        QCOMPARE(port->written, QByteArrayList{frames::writeFrame(descriptor, link->image)});
    }
    QCOMPARE(link->state.UploadStep, 0);
    port->written.clear();
    port->feed(ackFrame());
    QVERIFY(port->written.isEmpty());
    QCOMPARE(resumed.count(), monitorResumes);
}

QTEST_GUILESS_MAIN(TestLinkTransfers)
#include "tst_link_transfers.moc"
