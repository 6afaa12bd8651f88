// The memory viewer's dump: start addresses as typed, the lines it builds,
// and the end of the image.
#include "link/memory_image.h"
#include "transfer/hex_dump.h"

#include <QTest>

class TestHexDump : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void parseAddress_data();
    void parseAddress();
    void firstLines_data();
    void firstLines();
    void lineAddresses_data();
    void lineAddresses();
    void endOfImage_data();
    void endOfImage();
};

void TestHexDump::parseAddress_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<qint64>("address");
    QTest::newRow("decimal") << "2048" << true << qint64(2048);
    QTest::newRow("hex prefix") << "&H800" << true << qint64(0x800);
    QTest::newRow("lower-case prefix") << "&hff" << true << qint64(0xFF);
    QTest::newRow("hex stops at a non-digit") << "&H1G" << true << qint64(1);
    QTest::newRow("hex prefix alone") << "&H" << false << qint64(0);
    QTest::newRow("blanks") << "  12 " << true << qint64(12);
    QTest::newRow("letters read as 0") << "abc" << true << qint64(0);
    QTest::newRow("negative") << "-8" << true << qint64(-8);
    QTest::newRow("half to even") << "10.5" << true << qint64(10);
    QTest::newRow("huge hex stays huge") << "&HFFFFFFFFFFFFFFFFFFFF" << true << (qint64(1) << 40);
}

void TestHexDump::parseAddress() {
    QFETCH(QString, text);
    QFETCH(bool, readable);
    QFETCH(qint64, address);
    const auto a = hexdump::parseAddress(text);
    QCOMPARE(a.has_value(), readable);
    if (readable)
        QCOMPARE(*a, address);
}

void TestHexDump::firstLines_data() {
    QTest::addColumn<qint64>("start");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("fields"); // Text2|Text3|Text4
    QTest::newRow("A = 0") << qint64(0) << "0000 41 0D 00 20 7E 7F A0 FF   A.. ~.\u00A0\u00FF\r\n"
                           << "65|0000|0041";
    QTest::newRow("A = 3") << qint64(3) << "0003 20 7E 7F A0 FF 00 00 00    ~.\u00A0\u00FF...\r\n"
                           << "32|0003|0020";
}

void TestHexDump::firstLines() {
    QFETCH(qint64, start);
    QFETCH(QString, line);
    QFETCH(QString, fields);
    MemoryImage image;
    const quint8 bytes[] = {0x41, 0x0D, 0x00, 0x20, 0x7E, 0x7F, 0xA0, 0xFF};
    for (int k = 0; k < 8; ++k)
        image.set(k, bytes[k]);
    const hexdump::Dump d = hexdump::build(image, start);
    QVERIFY(d.valid);
    QVERIFY(!d.clipped);
    QVERIFY(d.Text5.startsWith(line));
    QCOMPARE(d.Text2 + QLatin1Char('|') + d.Text3 + QLatin1Char('|') + d.Text4, fields);
    QCOMPARE(d.Text5.count(QStringLiteral("\r\n")), 29);
    QCOMPARE(d.bytes.size(), 29 * 8);
}

void TestHexDump::lineAddresses_data() {
    QTest::addColumn<qint64>("start");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("A = 0") << qint64(0) << "0000"
                           << "00E0";
    QTest::newRow("&H800") << qint64(0x800) << "0800"
                           << "08E0";
    QTest::newRow("last full dump") << qint64(0x1000 - 231) << "0F19"
                                    << "0FF9";
}

void TestHexDump::lineAddresses() {
    QFETCH(qint64, start);
    QFETCH(QString, first);
    QFETCH(QString, last);
    MemoryImage image;
    const hexdump::Dump d = hexdump::build(image, start);
    const QStringList lines = d.Text6.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 29);
    QCOMPARE(lines.first(), first);
    QCOMPARE(lines.last(), last);
    QVERIFY(!d.clipped);
    QVERIFY(d.note.isEmpty());
}

void TestHexDump::endOfImage_data() {
    QTest::addColumn<qint64>("start");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("one past the full dump")
        << qint64(0x1000 - 230) << true << 29 << "0FFA 00 00 00 00 00 00 5A      ......Z\r\n";
    QTest::newRow("last byte") << qint64(0x1000) << true << 1
                               << "1000 5A                        Z\r\n";
    QTest::newRow("two bytes before the end")
        << qint64(0xFFE) << true << 1 << "0FFE 00 00 5A                  ..Z\r\n";
    QTest::newRow("past the image") << qint64(0x1001) << false << 0 << "";
    QTest::newRow("negative") << qint64(-1) << false << 0 << "";
}

void TestHexDump::endOfImage() {
    QFETCH(qint64, start);
    QFETCH(bool, valid);
    QFETCH(int, lines);
    QFETCH(QString, lastLine);
    MemoryImage image;
    image.set(0x1000, 0x5A);
    const hexdump::Dump d = hexdump::build(image, start);
    QCOMPARE(d.valid, valid);
    QCOMPARE(d.clipped, valid);
    QVERIFY(!d.note.isEmpty());
    QCOMPARE(int(d.Text5.count(QStringLiteral("\r\n"))), lines);
    QCOMPARE(int(d.Text6.count(QStringLiteral("\r\n"))), lines);
    if (valid)
        QVERIFY(d.Text5.endsWith(lastLine));
    else
        QVERIFY(d.Text2.isEmpty() && d.Text5.isEmpty());
}

QTEST_GUILESS_MAIN(TestHexDump)
#include "tst_hex_dump.moc"
