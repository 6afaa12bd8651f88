// The memory viewer's dump: start addresses as typed, the lines it builds,
// and the end of the image.
#include "ecu/memory_image.h"
#include "pages/data_table.h"
#include "transfer/hex_dump.h"

#include <tuple>

class TestHexDump : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void parseAddress() {
        const std::tuple<const char *, qint64> cases[] = {
            {"2048", 2048},
            {"&H800", 0x800},
            {"&hff", 0xFF},
            {"&H1G", 1}, // hex stops at a non-digit
            {"abc", 0},
            {"-8", -8},
            {"10.5", 10}, // half to even
            {"&HFFFFFFFFFFFFFFFFFFFF", qint64(1) << 40}};
        for (const auto &[text, address] : cases) {
            const auto a = hexdump::parseAddress(QString::fromLatin1(text));
            QVERIFY2(a.has_value(), text);
            QCOMPARE(*a, address);
        }
        QVERIFY(!hexdump::parseAddress(QStringLiteral("&H")).has_value());
    }

    void firstLine() {
        MemoryImage image;
        const quint8 bytes[] = {0x41, 0x0D, 0x00, 0x20, 0x7E, 0x7F, 0xA0, 0xFF};
        for (int k = 0; k < 8; ++k)
            image.set(k, bytes[k]);
        const hexdump::Dump d = hexdump::build(image, 0);
        QVERIFY(d.valid);
        QVERIFY(d.Text5.startsWith(u"0000 41 0D 00 20 7E 7F A0 FF   A.. ~.\u00A0\u00FF\r\n"));
    }

    void endOfImage_data() {
        columns<qint64, int, bool, QString>("start", "lines", "clipped",
                                            "lastLine"); // 0 lines: none
        row("last full dump", qint64(0x1000 - 231), 29, false,
            "0FF9 00 00 00 00 00 00 00 5A   .......Z\r\n");
        row("one past the full dump", qint64(0x1000 - 230), 29, true,
            "0FFA 00 00 00 00 00 00 5A      ......Z\r\n");
        row("last byte", qint64(0x1000), 1, true, "1000 5A                        Z\r\n");
        row("past the image", qint64(0x1001), 0, false, "");
    }
    void endOfImage() {
        const auto [start, lines, clipped, lastLine] =
            fetch<qint64, int, bool, QString>("start", "lines", "clipped", "lastLine");
        MemoryImage image;
        image.set(0x1000, 0x5A);
        const hexdump::Dump d = hexdump::build(image, start);
        QCOMPARE(d.valid, lines > 0);
        QCOMPARE(d.clipped, clipped);
        QCOMPARE(d.note.isEmpty(), lines == 29 && !clipped);
        QCOMPARE(int(d.Text5.count(QStringLiteral("\r\n"))), lines);
        QCOMPARE(int(d.Text6.count(QStringLiteral("\r\n"))), lines);
        if (lines == 0)
            QVERIFY(d.Text2.isEmpty() && d.Text5.isEmpty());
        else
            QVERIFY(d.Text5.endsWith(lastLine) &&
                    d.Text6.endsWith(lastLine.left(4) + QStringLiteral("\r\n")));
    }
};

QTEST_GUILESS_MAIN(TestHexDump)
#include "tst_hex_dump.moc"
