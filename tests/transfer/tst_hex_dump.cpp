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
        QVERIFY(d.Text5.startsWith(u"0000 41 0D 00 20 7E 7F A0 FF   A.. ~\u25AF\u00A0\u00FF\r\n"));
    }

    // From 32 up every byte shows its Windows-1252 character; the codes
    // without one show as a box, never as the "." of the control codes.
    void highCharacters_data() {
        columns<int, QString>("byte", "shown");
        const std::pair<int, const char16_t *> cases[] = {
            {31, u"."},       {32, u" "},       {126, u"~"},      {127, u"\u25AF"},
            {128, u"\u20AC"}, {129, u"\u25AF"}, {130, u"\u201A"}, {131, u"\u0192"},
            {133, u"\u2026"}, {137, u"\u2030"}, {138, u"\u0160"}, {140, u"\u0152"},
            {141, u"\u25AF"}, {142, u"\u017D"}, {143, u"\u25AF"}, {144, u"\u25AF"},
            {145, u"\u2018"}, {148, u"\u201D"}, {150, u"\u2013"}, {151, u"\u2014"},
            {152, u"\u02DC"}, {153, u"\u2122"}, {156, u"\u0153"}, {157, u"\u25AF"},
            {158, u"\u017E"}, {159, u"\u0178"}, {160, u"\u00A0"}, {233, u"\u00E9"}};
        for (const auto &[byte, shown] : cases)
            row(QByteArray::number(byte).constData(), byte, QString::fromUtf16(shown));
    }
    void highCharacters() {
        const auto [byte, shown] = fetch<int, QString>("byte", "shown");
        QCOMPARE(QString(hexdump::shownCharacter(quint8(byte))), shown);
        // In the dump too, one column a byte.
        MemoryImage image;
        image.set(3, byte);
        const QString line = hexdump::build(image, 0).Text5.section(QStringLiteral("\r\n"), 0, 0);
        QCOMPARE(line.mid(hexdump::CharColumn),
                 QStringLiteral("...") + shown + QStringLiteral("...."));
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
