// Cutting received text into frames and decoding data frames into the image.
#include "support/fake_link.h"
#include "support/frame_helpers.h"

#include <QSignalSpy>
#include <QTest>

class TestLinkReceive : public QObject, FakeLink {
    Q_OBJECT
  private Q_SLOTS:
    void init() { QVERIFY(reset(3)); }

    void chunksAreAssembledIntoOneFrame_data() {
        QTest::addColumn<QByteArrayList>("chunks");
        const QByteArray frame = dataFrame(0x02C, {0x50, 0xF6});
        QTest::newRow("CR in the second event") << QByteArrayList{frame.chopped(1), "\r"};
        QTest::newRow("stray characters first") << QByteArrayList{"xx\x01\r" + frame};
        QTest::newRow("short frame before") << QByteArrayList{"@A\r" + frame};
        QTest::newRow("second @ inside the frame")
            << QByteArrayList{frame.left(4) + "@" + frame.mid(4)};
    }

    void chunksAreAssembledIntoOneFrame() {
        QFETCH(QByteArrayList, chunks);
        QSignalSpy decoded(link, &Link::dataDecoded);
        ask(0x02C, 2);
        for (const QByteArray &chunk : chunks)
            port->feed(chunk);
        QCOMPARE(decoded.count(), 1);
        QCOMPARE(decoded.at(0).at(0).toInt(), 0x02C);
        QCOMPARE(link->image.at(0x02C), quint8(0x50));
        QCOMPARE(link->image.at(0x02D), quint8(0xF6));
        QVERIFY(link->state.RxBuffer.isEmpty() && !link->state.LinkBusy);
    }

    // Only answers to reads sent on this opening of the port reach the image,
    // one answer per read: one left by an earlier program, a second answer to
    // one read or an answer to a read sent before the port was opened again
    // changes nothing, and no poll follows it.
    void answersToNoReadOfOursAreDropped() {
        QSignalSpy decoded(link, &Link::dataDecoded);
        link->poll.start();
        ask(0x02C, 2);
        port->feed(dataFrame(0x02C, {0x50})); // another range than the one asked for
        port->feed(dataFrame(0x02C, {0x50, 0xF6}));
        port->feed(dataFrame(0x02C, {0x51, 0xF7})); // twice
        ask(0x030, 1);
        QVERIFY(link->OpenPort());
        port->feed(dataFrame(0x030, {0x33}));
        QCOMPARE(decoded.count(), 1);
        QCOMPARE((QList<int>{link->image.at(0x02C), link->image.at(0x02D), link->image.at(0x030)}),
                 (QList<int>{0x50, 0xF6, 0}));
        QCOMPARE(port->written, QByteArrayList{"@R000378C\r"}); // after the one answer only
    }

    void rejectedDataFramesLeaveTheImageAndStopPolling_data() {
        QTest::addColumn<QByteArray>("frame");
        QByteArray lower = dataFrame(0x020, {0xAB});
        lower.replace("AB", "ab");
        QByteArray badSum = dataFrame(0x020, {0x12});
        badSum[badSum.size() - 2] = badSum.at(badSum.size() - 2) == '0' ? '1' : '0';
        QTest::newRow("lower-case hex") << lower;
        QTest::newRow("wrong checksum") << badSum;
        QTest::newRow("fewer bytes than announced") << frames::sealed("@W0200412") + '\r';
        QTest::newRow("more bytes than announced") << frames::sealed("@W020011213") + '\r';
        QTest::newRow("beyond 0xFFF") << frames::sealed("@WFFF021213") + '\r';
        QTest::newRow("too short") << QByteArray("@W0201\r");
    }

    void rejectedDataFramesLeaveTheImageAndStopPolling() {
        QFETCH(QByteArray, frame);
        link->image.set(0x020, 0x77);
        link->image.set(0xFFF, 0x66);
        link->poll.start();
        QSignalSpy decoded(link, &Link::dataDecoded);
        QSignalSpy processed(link, &Link::frameProcessed);
        port->feed(frame);
        QCOMPARE(processed.count(), 1);
        QCOMPARE(decoded.count(), 0);
        QCOMPARE((QList<int>{link->image.at(0x020), link->image.at(0x021), link->image.at(0xFFF)}),
                 (QList<int>{0x77, 0, 0x66}));
        QVERIFY(!link->poll.isOn() && port->written.isEmpty()); // and no poll follows
    }

    // Late write acknowledgements (a backlog longer than the time-out) each restart the
    // wait for the block: neither the block nor noise, so nothing is asked again.
    void lateAcknowledgementsDoNotDisturbAWholeRead() {
        link->StartFullRead();
        port->written.clear();
        for (int i = 0; i < 5; ++i) {
            link->TimerDownload_Timer();
            link->TimerDownload_Timer();
            port->feed(ackFrame());
        }
        QCOMPARE(port->written, QByteArrayList());
        port->feed(filledFrame(0x000, 0x34, 7)); // still the block awaited
        QCOMPARE(link->state.FullReadIndex, 2);
    }

    // 1100 characters of noise are dropped; a frame arriving after them is kept.
    void droppedNoiseFreesTheLink() {
        for (const QByteArray &tail : {QByteArray(), QByteArray("@W0300109")}) {
            QVERIFY(reset(3));
            const bool busy = !tail.isEmpty();
            port->feed(QByteArray(1100, 'x') + tail);
            QCOMPARE(link->state.RxBuffer.size(), busy ? 9 : 0);
            QCOMPARE(link->state.LinkBusy, busy);
            link->SendLine("@R0000183\r"); // a free link sends at once, a busy one holds it
            QCOMPARE(port->written.size(), busy ? 0 : 1);
        }
    }
};

QTEST_GUILESS_MAIN(TestLinkReceive)
#include "tst_link_receive.moc"
