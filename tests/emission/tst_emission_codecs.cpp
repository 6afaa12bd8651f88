// The emission schedule's codings, the test clock and the final test's
// result block, against the bytes they leave in the image.
#include "emission/result_block.h"
#include "emission/schedule_codec.h"
#include "emission/test_clock.h"
#include "link/memory_image.h"

#include <QTest>
#include <tuple>

using schedule::Column;

struct Cell {
    Column column;
    int entry, value, address;
    QByteArray bytes;
    int shown;
};
struct Result {
    int field; // 0 = Text1 .. 11 = Text12
    QString text;
    int signAddress, sign, magnitude;
    QString shown;
};
Q_DECLARE_METATYPE(Cell)
Q_DECLARE_METATYPE(Result)

class TestEmissionCodecs : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void enteredValue() {
        const int limits[] = {9999, 510, 255, 1}; // time, idle, load, state
        for (Column c : schedule::Columns) {
            const int top = limits[int(c)];
            QCOMPARE(schedule::enteredValue(QString::number(top), c), top);
            QCOMPARE(schedule::enteredValue(QString::number(top + 1), c), top);
        }
        QCOMPARE(schedule::enteredValue(QStringLiteral("99999999999999999999"), Column::Time),
                 9999);
        QCOMPARE(schedule::enteredValue(QStringLiteral("12.5"), Column::Time), 12); // to even
        QCOMPARE(schedule::enteredValue(QStringLiteral("13.5"), Column::Time), 14);
        QCOMPARE(schedule::enteredValue(QStringLiteral("-7"), Column::Load), 0); // pasted minus
    }

    void scheduleRoundTrip_data() {
        QTest::addColumn<Cell>("c");
        QTest::newRow("time 9999 first") << Cell{Column::Time, 0, 9999, 0xA47, "\x27\x0F", 9999};
        QTest::newRow("time 256 last") << Cell{Column::Time, 49, 256, 0xAA9, {"\x01\x00", 2}, 256};
        QTest::newRow("time 255") << Cell{Column::Time, 3, 255, 0xA4D, {"\x00\xFF", 2}, 255};
        QTest::newRow("idle 333 to even") << Cell{Column::Idle, 0, 333, 0xAAB, "\xA6", 332};
        QTest::newRow("idle 335 to even") << Cell{Column::Idle, 1, 335, 0xAAC, "\xA8", 336};
        QTest::newRow("idle 510 last") << Cell{Column::Idle, 49, 510, 0xADC, "\xFF", 510};
        QTest::newRow("load 255 first") << Cell{Column::Load, 0, 255, 0xADD, "\xFF", 255};
        QTest::newRow("load last") << Cell{Column::Load, 49, 7, 0xB0E, "\x07", 7};
        QTest::newRow("state last") << Cell{Column::State, 49, 1, 0xB40, "\x01", 1};
    }

    // Encode leaves the bytes and nothing else; decode shows them back.
    void scheduleRoundTrip() {
        QFETCH(Cell, c);
        MemoryImage image;
        const int after = c.address + int(c.bytes.size());
        image.set(c.address - 1, 0x5A);
        image.set(after, 0x5A);
        schedule::encode(image, c.column, c.entry, c.value);
        for (int k = 0; k < c.bytes.size(); ++k)
            QCOMPARE(int(image.at(c.address + k)), int(quint8(c.bytes.at(k))));
        QCOMPARE(int(image.at(c.address - 1)), 0x5A);
        QCOMPARE(int(image.at(after)), 0x5A);
        QCOMPARE(schedule::decode(image, c.column, c.entry), c.shown);
    }

    void initialiseFillsEveryEntry() {
        MemoryImage image;
        schedule::initialise(image);
        // 25 s = 00 19 first, 1201 s = 04 B1 last.
        QCOMPARE(int(image.at(0xA47)), 0x00);
        QCOMPARE(int(image.at(0xA48)), 0x19);
        QCOMPARE(int(image.at(0xAA9)), 0x04);
        QCOMPARE(int(image.at(0xAAA)), 0xB1);
        for (int address = 0xAAB; address <= 0xB40; ++address)
            QCOMPARE(int(image.at(address)), address <= 0xADC ? 80 : address <= 0xB0E ? 120 : 1);
        QCOMPARE(int(image.at(0xA46)), 0);
        QCOMPARE(int(image.at(0xB41)), 0);
    }

    void clockTick() {
        const char *cases[][2] = {
            {"0", "1"}, {"1200", "1201"}, {" 41 ", "42"}, {"abc", "1"}, {"12x", "1"}};
        for (const auto &[text, next] : cases)
            QCOMPARE(testclock::tick(QString::fromLatin1(text)), QString::fromLatin1(next));
        QVERIFY(testclock::scrollFollows(1199.0));
        QVERIFY(!testclock::scrollFollows(1200.0));
    }

    void resultsRoundTrip_data() {
        QTest::addColumn<Result>("r");
        QTest::newRow("Text1 -12") << Result{0, "-12", 0xB4D, 1, 12, "-12"};
        QTest::newRow("Text6 255") << Result{5, "255", 0xB52, 0, 255, "255"};
        QTest::newRow("Text7 -255") << Result{6, "-255", 0xB41, 1, 255, "-255"};
        QTest::newRow("Text12 -0") << Result{11, "-0", 0xB46, 0, 0, "0"};
        QTest::newRow("Text4 -2.5 to even") << Result{3, "-2.5", 0xB50, 1, 2, "-2"};
    }

    void resultsRoundTrip() {
        QFETCH(Result, r);
        MemoryImage image;
        for (int a = 0xB41; a <= 0xB59; ++a)
            image.set(a, 0x33);
        results::Texts texts;
        texts.fill(QStringLiteral("0"));
        texts.at(std::size_t(r.field)) = r.text;
        texts.at(results::CycleText) = QStringLiteral("7");
        QVERIFY(!results::encode(texts, image).has_value());
        QCOMPARE(int(image.at(r.signAddress)), r.sign);
        QCOMPARE(int(image.at(r.signAddress + 6)), r.magnitude);
        QCOMPARE(int(image.at(0xB59)), 7);
        QCOMPARE(int(image.at(0xB5A)), 0); // past the block
        QCOMPARE(results::decode(image).at(std::size_t(r.field)), r.shown);
        QCOMPARE(results::decode(image).at(results::CycleText), QStringLiteral("7"));
        // Only a flag of 1 is negative; it shows even on a zero.
        image.set(r.signAddress, 2);
        QCOMPARE(results::decode(image).at(std::size_t(r.field)), QString::number(r.magnitude));
        image.set(r.signAddress, 1);
        image.set(r.signAddress + 6, 0);
        QCOMPARE(results::decode(image).at(std::size_t(r.field)), QStringLiteral("-0"));
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
            QCOMPARE(refusal->field, QString::fromLatin1(named));
            QCOMPARE(results::refusalText(*refusal).section(QStringLiteral(" :"), 0, 0),
                     QString::fromLatin1(named) + QStringLiteral(" = ") + text);
            QCOMPARE(int(image.at(0xB59)), 9);
            QCOMPARE(int(image.at(0xB53)), 4);
            QCOMPARE(int(image.at(0xB4D)), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestEmissionCodecs)
#include "tst_emission_codecs.moc"
