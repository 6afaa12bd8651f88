// Whole-memory reads and uploads, the chained-write sequencer, time-outs.
#include "support/fake_link.h"
#include "support/frame_helpers.h"

#include <QSignalSpy>
#include <QTest>

// The ECU's answer to one read request, filled with one value.
static QByteArray answer(const QByteArray &request, int fill) {
    const BlockRange r = blockRange(request);
    return filledFrame(r.address, r.count, fill);
}

class TestLinkTransfers : public QObject, FakeLink {
    Q_OBJECT

  private Q_SLOTS:
    void init() { QVERIFY(reset()); }

    // Each reply asks for the next block while the polls go on.
    void fullReadRequestsSixteenBlocksInOrder() {
        link->poll.start();
        QSignalSpy progress(link, &Link::fullReadProgress);
        QSignalSpy completed(link, &Link::fullReadCompleted);
        QSignalSpy first(link, &Link::firstDataLoaded);
        link->StartFullRead();
        QByteArrayList requests;
        for (int reply = 0; reply < BlockCount; ++reply) {
            QByteArrayList lines = std::exchange(port->written, {});
            lines.removeAll(frames::MonitorPoll.toByteArray());
            QVERIFY2(!lines.isEmpty(), "a block was requested");
            requests.append(lines.last().chopped(1));
            port->feed(answer(requests.last(), reply + 1));
        }
        QVERIFY(completed.count() == 1 && first.count() == 1);
        QVERIFY(!link->state.FullReadActive && !link->TimerDownload.isActive());
        QCOMPARE(progress.last().at(0).toInt(), BlockCount);
        QCOMPARE(requests, QByteArrayList(link->blocks.begin(), link->blocks.begin() + BlockCount));
        // Only the first read counts as the first load.
        link->StartFullRead();
        for (int reply = 0; reply < BlockCount; ++reply)
            port->feed(answer(link->blocks[0], 1));
        QCOMPARE(completed.count(), 2);
        QCOMPARE(first.count(), 1);
    }

    void corruptedBlockIsAskedForAgain() {
        link->StartFullRead();
        port->feed(answer(link->blocks[0], 1));
        QByteArray bad = answer(link->blocks[1], 2);
        bad.replace(9, 2, "zz");
        port->written.clear();
        port->feed(bad);
        QCOMPARE(port->written, QByteArrayList{link->blocks[1] + '\r'});
        QSignalSpy timedOut(link, &Link::fullReadTimedOut);
        port->feed(bad);
        port->feed(bad);
        QVERIFY(link->state.FullReadActive);
        port->feed(bad); // the fourth corrupted answer in a row gives up
        QVERIFY(timedOut.count() == 1 && !link->state.FullReadActive);
    }

    void transfersTimeOutAfterThreeTicks() {
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
        QVERIFY(!link->state.FullReadActive && !link->TimerDownload.isActive());
        QSignalSpy uploadTimedOut(link, &Link::uploadTimedOut);
        link->StartUpload(13);
        link->UPLoadTimer_Timer();
        link->UPLoadTimer_Timer();
        QCOMPARE(uploadTimedOut.count(), 0);
        link->UPLoadTimer_Timer();
        QVERIFY(uploadTimedOut.count() == 1 && link->state.UploadStep == 0);
    }

    void closingTheProgressStopsTheRead() {
        link->StartFullRead();
        link->AbandonFullRead();
        port->written.clear();
        port->feed(answer(link->blocks[0], 5));
        QCOMPARE(link->image.at(0x000), quint8(5)); // the block in flight still lands
        QVERIFY(port->written.isEmpty() && !link->TimerDownload.isActive());
    }

    void sequencerChains_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QByteArrayList>("writes"); // of a zero image
        QTest::addColumn<int>("monitorResumes");
        QTest::newRow("1") << 1 << QByteArrayList{"@WA4106000000000000E3\r"} << 0;
        QTest::newRow("5") << 5
                           << QByteArrayList{"@W8390200005D\r", "@WA44010001\r", "@W80102000052\r"}
                           << 1;
        QTest::newRow("6") << 6 << QByteArrayList{"@W8070100F7\r", "@WA410100FE\r"} << 1;
    }
    void sequencerChains() {
        QFETCH(int, start);
        QFETCH(QByteArrayList, writes);
        QSignalSpy resumed(link, &Link::chainAcknowledged);
        link->StartSequence(start);
        port->written.clear();
        for (const QByteArray &frame : std::as_const(writes)) {
            port->feed(ackFrame());
            QCOMPARE(std::exchange(port->written, {}), QByteArrayList{frame});
        }
        QCOMPARE(link->state.UploadStep, 0);
        port->feed(ackFrame()); // the last reply sends nothing more
        QVERIFY(port->written.isEmpty());
        QTEST(int(resumed.count()), "monitorResumes");
    }
};

QTEST_GUILESS_MAIN(TestLinkTransfers)
#include "tst_link_transfers.moc"
