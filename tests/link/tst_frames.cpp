// Fixed frames and their checksums, the block table, write frames, hex fields.
#include "ecu/memory_image.h"
#include "link/block_table.h"
#include "link/frames.h"
#include "link/hex.h"
#include "pages/data_table.h"

#include <QTest>

class TestFrames : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void literalFramesFollowTheChecksumRule_data() {
        QTest::addColumn<QByteArray>("frame");
        for (QByteArrayView f :
             {frames::MonitorPoll, frames::PortTest, frames::FinalTestRead, frames::ClearAlarms,
              frames::SwitchToGas, frames::SwitchToPetrol, frames::ResetEcu})
            QTest::newRow(f.toByteArray().constData()) << f.toByteArray();
        const BlockTable table = makeBlockTable();
        for (int i = 0; i < BlockTableSize; ++i)
            QTest::addRow("block %d", i) << table[static_cast<std::size_t>(i)] + '\r';
    }
    void literalFramesFollowTheChecksumRule() {
        QFETCH(QByteArray, frame);
        const QByteArray body = frame.chopped(1);
        QVERIFY(frame.endsWith('\r') && frames::checksumMatches(body));
        QCOMPARE(body.toUpper(), body);
    }

    void blockTable() {
        const BlockTable table = makeBlockTable();
        QCOMPARE(table[16], QByteArray("@RA7933A9"));
        const int expected[][2] = {{0x000, 52}, {0x803, 11}, {0x801, 56}, {0xA15, 36}, {0xA39, 14},
                                   {0x8A7, 55}, {0x8DE, 55}, {0x915, 36}, {0x939, 55}, {0x801, 56},
                                   {0x970, 55}, {0x9A7, 55}, {0x9DE, 55}, {0x839, 55}, {0x870, 55},
                                   {0xA47, 51}, {0xA79, 51}, {0xAAB, 51}, {0xADD, 51}, {0xB0F, 51},
                                   {0xB41, 25}};
        for (int i = 0; i < BlockTableSize; ++i) {
            const BlockRange r = blockRange(table[std::size_t(i)]);
            QCOMPARE(QList<int>({r.address, r.count}),
                     QList<int>({expected[i][0], expected[i][1]}));
        }
        // The second live poll is sent as the ECU has always received it, even
        // though its checksum field does not follow the rule.
        QCOMPARE(frames::checksum("@R03710"), QByteArray("8D"));
        QCOMPARE(frames::SecondLivePoll, QByteArrayView("@R0371091\r"));
    }

    void writeFrameFromImage_data() {
        columns<QByteArray, QByteArray>("descriptor", "expected");
        row("one byte", QByteArray("@WA4101"), QByteArray("@WA41010503\r"));
        row("block table entry", QByteArray("@R8030B9F"),
            QByteArray("@W8030B00FF0102030405060708FF40\r"));
    }
    void writeFrameFromImage() {
        const auto [descriptor] = fetch<QByteArray>("descriptor");
        MemoryImage image;
        image.set(0xA41, 0x05);
        for (int i = 0; i <= 9; ++i) // FF 01 .. 08 FF
            image.set(0x804 + i, quint8(i % 9 ? i : 0xFF));
        QTEST(frames::writeFrame(descriptor, image), "expected");
    }

    void writeFrameRefusesBadDescriptors() {
        MemoryImage image;
        QVERIFY(frames::writeFrame("@W80", image).isEmpty());
        QVERIFY(frames::writeFrame("@Wfff01", image).isEmpty());
        QVERIFY(frames::writeFrame("@WFFF02", image).isEmpty()); // would reach 0x1000
        QCOMPARE(frames::writeFrame("@WFFF01", image), QByteArray("@WFFF01002A\r"));
    }

    void wordToHex_data() {
        columns<int, QString>("value", "text");
        row("0", 0, QString("0000"));
        row("32767", 32767, QString("7FFF"));
    }
    void wordToHex() {
        const auto [value, text] = fetch<int, QString>("value", "text");
        QCOMPARE(hex::WordToHex(value), text);
        QCOMPARE(hex::byteHex(value), text.right(2).toLatin1());
    }

    void imageIsBoundsChecked() {
        MemoryImage image;
        image.set(0x1000, 7);
        QCOMPARE(image.at(0x1000), quint8(7));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, image.at(0x1001));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, image.set(-1, 0));
    }
};

QTEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
