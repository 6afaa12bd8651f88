// The emission schedule's codings, the test clock and the final test's
// result block, against the bytes they leave in the image.
#include "ecu/memory_image.h"
#include "emission/schedule_codec.h"
#include "emission/test_clock.h"
#include "settings/result_block.h"

#include <QTest>
#include <tuple>

using schedule::Column;

QByteArray slice(const MemoryImage &image, int from, int count) {
    return QByteArray(reinterpret_cast<const char *>(image.bytes().data()) + from, count);
}

class TestEmissionCodecs : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void enteredValue() {
        const std::tuple<const char *, Column, int> cases[] = {
            {"9999", Column::Time, 9999}, {"10000", Column::Time, 9999},
            {"510", Column::Idle, 510},   {"511", Column::Idle, 510},
            {"255", Column::Load, 255},   {"256", Column::Load, 255},
            {"1", Column::State, 1},      {"2", Column::State, 1},
            {"12.5", Column::Time, 12},   {"13.5", Column::Time, 14},
            {"-7", Column::Load, 0},      {"99999999999999999999", Column::Time, 9999}};
        for (const auto &[text, column, value] : cases)
            QCOMPARE(schedule::enteredValue(QString::fromLatin1(text), column), value);
    }

    // Encode leaves the bytes and nothing else; decode shows them back.
    void scheduleRoundTrip() {
        // Column, entry, value, address, bytes, shown.
        const std::tuple<Column, int, int, int, QByteArray, int> cases[] = {
            {Column::Time, 0, 9999, 0xA47, "\x27\x0F", 9999},
            {Column::Time, 49, 256, 0xAA9, {"\x01\x00", 2}, 256},
            {Column::Idle, 0, 333, 0xAAB, "\xA6", 332}, // halves to even, both ways
            {Column::Idle, 1, 335, 0xAAC, "\xA8", 336},
            {Column::Load, 0, 255, 0xADD, "\xFF", 255},
            {Column::Load, 49, 7, 0xB0E, "\x07", 7},
            {Column::State, 49, 1, 0xB40, "\x01", 1}};
        for (const auto &[column, entry, value, address, bytes, shown] : cases) {
            MemoryImage image;
            image.set(address - 1, 0x5A);
            image.set(address + int(bytes.size()), 0x5A);
            schedule::encode(image, column, entry, value);
            QCOMPARE(slice(image, address - 1, int(bytes.size()) + 2), "\x5A" + bytes + "\x5A");
            QCOMPARE(schedule::decode(image, column, entry), shown);
        }
    }

    void clockTick() {
        const char *cases[][2] = {
            {"0", "1"}, {"1200", "1201"}, {" 41 ", "42"}, {"abc", "1"}, {"12x", "1"}};
        for (const auto &[text, next] : cases)
            QCOMPARE(testclock::tick(QString::fromLatin1(text)), QString::fromLatin1(next));
        QVERIFY(testclock::scrollFollows(1199.0));
        QVERIFY(!testclock::scrollFollows(1200.0));
    }

    // Field (Text1..Text12), text, sign address, sign, magnitude, shown back.
    void resultsRoundTrip() {
        const std::tuple<int, const char *, int, int, int, const char *> cases[] = {
            {6, "-255", 0xB41, 1, 255, "-255"}, {3, "-2.5", 0xB50, 1, 2, "-2"}};
        for (const auto &[field, text, signAddress, sign, magnitude, shown] : cases) {
            MemoryImage image;
            results::Texts texts;
            texts.fill(QStringLiteral("0"));
            texts.at(std::size_t(field)) = QString::fromLatin1(text);
            texts.at(results::CycleText) = QStringLiteral("7");
            QVERIFY(!results::encode(texts, image).has_value());
            QCOMPARE(int(image.at(signAddress)), sign);
            QCOMPARE(int(image.at(signAddress + 6)), magnitude);
            QCOMPARE(int(image.at(0xB59)), 7);
            QCOMPARE(int(image.at(0xB5A)), 0); // past the block
            QCOMPARE(results::decode(image).at(std::size_t(field)), QString::fromLatin1(shown));
            // Only a flag of 1 is negative; it shows even on a zero.
            image.set(signAddress, 2);
            QCOMPARE(results::decode(image).at(std::size_t(field)), QString::number(magnitude));
            image.set(signAddress, 1);
            image.set(signAddress + 6, 0);
            QCOMPARE(results::decode(image).at(std::size_t(field)), QStringLiteral("-0"));
        }
    }

    void resultsRefusalLeavesImage() {
        const std::tuple<int, const char *, const char *> cases[] = {{1, "256", "Text2"},
                                                                     {8, "-256", "Text9"},
                                                                     {4, "255.5", "Text5"},
                                                                     {12, "-1", "TxCycle"},
                                                                     {12, "256", "TxCycle"}};
        for (const auto &[field, text, named] : cases) {
            MemoryImage image;
            image.set(0xB59, 9);
            image.set(0xB53, 4);
            results::Texts texts;
            texts.fill(QStringLiteral("-3"));
            texts.at(results::CycleText) = QStringLiteral("1");
            texts.at(std::size_t(field)) = QString::fromLatin1(text);
            const auto refusal = results::encode(texts, image);
            QVERIFY2(refusal.has_value(), text);
            QCOMPARE(results::refusalText(*refusal).section(QStringLiteral(" :"), 0, 0),
                     QString::fromLatin1(named) + QStringLiteral(" = ") + text);
            QCOMPARE(slice(image, 0xB4D, 13), QByteArray::fromHex("00000000000004000000000009"));
        }
    }
};

QTEST_GUILESS_MAIN(TestEmissionCodecs)
#include "tst_emission_codecs.moc"
