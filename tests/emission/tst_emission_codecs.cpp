// The emission schedule's codings, the test clock and the final test's
// result block, against the bytes they leave in the image.
#include "emission/result_block.h"
#include "emission/schedule_codec.h"
#include "emission/test_clock.h"
#include "link/memory_image.h"

#include <QTest>

using schedule::Column;
Q_DECLARE_METATYPE(schedule::Column)

class TestEmissionCodecs : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void enteredValue_data();
    void enteredValue();
    void encodeStoresBytes_data();
    void encodeStoresBytes();
    void decodeShowsValues_data();
    void decodeShowsValues();
    void initialiseFillsEveryEntry();
    void clockTick_data();
    void clockTick();
    void scrollFollowsBelowGraphEnd_data();
    void scrollFollowsBelowGraphEnd();
    void resultsDecode_data();
    void resultsDecode();
    void resultsEncode_data();
    void resultsEncode();
    void resultsRefusalLeavesImage_data();
    void resultsRefusalLeavesImage();
};

void TestEmissionCodecs::enteredValue_data() {
    QTest::addColumn<Column>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("time at limit") << Column::Time << "9999" << 9999;
    QTest::newRow("time above limit") << Column::Time << "12345" << 9999;
    QTest::newRow("time beyond 32 bits") << Column::Time << "99999999999999999999" << 9999;
    QTest::newRow("time half down to even") << Column::Time << "12.5" << 12;
    QTest::newRow("time half up to even") << Column::Time << "13.5" << 14;
    QTest::newRow("idle at limit") << Column::Idle << "510" << 510;
    QTest::newRow("idle above limit") << Column::Idle << "511" << 510;
    QTest::newRow("load at limit") << Column::Load << "255" << 255;
    QTest::newRow("load above limit") << Column::Load << "256" << 255;
    QTest::newRow("state at limit") << Column::State << "1" << 1;
    QTest::newRow("state above limit") << Column::State << "2" << 1;
    QTest::newRow("empty is zero") << Column::Load << "" << 0;
    QTest::newRow("pasted minus") << Column::Load << "-7" << 0;
}

void TestEmissionCodecs::enteredValue() {
    QFETCH(Column, column);
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(schedule::enteredValue(text, column), value);
}

void TestEmissionCodecs::encodeStoresBytes_data() {
    QTest::addColumn<Column>("column");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("address");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("time 9999 entry 0")
        << Column::Time << 0 << 9999 << 0xA47 << QByteArray("\x27\x0F");
    QTest::newRow("time 256 entry 49")
        << Column::Time << 49 << 256 << 0xAA9 << QByteArray("\x01\x00", 2);
    QTest::newRow("time 255") << Column::Time << 3 << 255 << 0xA4D << QByteArray("\x00\xFF", 2);
    QTest::newRow("idle 333 halves to even")
        << Column::Idle << 0 << 333 << 0xAAB << QByteArray("\xA6");
    QTest::newRow("idle 335 halves to even")
        << Column::Idle << 1 << 335 << 0xAAC << QByteArray("\xA8");
    QTest::newRow("idle 510") << Column::Idle << 49 << 510 << 0xADC << QByteArray("\xFF");
    QTest::newRow("load 255") << Column::Load << 0 << 255 << 0xADD << QByteArray("\xFF");
    QTest::newRow("load last entry") << Column::Load << 49 << 7 << 0xB0E << QByteArray("\x07");
    QTest::newRow("state 1 first") << Column::State << 0 << 1 << 0xB0F << QByteArray("\x01");
    QTest::newRow("state last entry") << Column::State << 49 << 1 << 0xB40 << QByteArray("\x01");
}

void TestEmissionCodecs::encodeStoresBytes() {
    QFETCH(Column, column);
    QFETCH(int, entry);
    QFETCH(int, value);
    QFETCH(int, address);
    QFETCH(QByteArray, bytes);
    MemoryImage image;
    image.set(address - 1, 0x5A);
    image.set(address + int(bytes.size()), 0x5A);
    schedule::encode(image, column, entry, value);
    for (int k = 0; k < bytes.size(); ++k)
        QCOMPARE(int(image.at(address + k)), int(quint8(bytes.at(k))));
    // The neighbours belong to other cells and stay as they were.
    QCOMPARE(int(image.at(address - 1)), 0x5A);
    QCOMPARE(int(image.at(address + int(bytes.size()))), 0x5A);
}

void TestEmissionCodecs::decodeShowsValues_data() {
    QTest::addColumn<Column>("column");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("address");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("shown");
    QTest::newRow("time high first")
        << Column::Time << 1 << 0xA49 << QByteArray("\x27\x0F") << 9999;
    QTest::newRow("time 256 not 255")
        << Column::Time << 2 << 0xA4B << QByteArray("\x01\x01") << 257;
    QTest::newRow("idle doubled") << Column::Idle << 0 << 0xAAB << QByteArray("\xA6") << 332;
    QTest::newRow("idle full byte") << Column::Idle << 5 << 0xAB0 << QByteArray("\xFF") << 510;
    QTest::newRow("load as it is") << Column::Load << 4 << 0xAE1 << QByteArray("\xC8") << 200;
    QTest::newRow("state as it is") << Column::State << 49 << 0xB40 << QByteArray("\x01") << 1;
}

void TestEmissionCodecs::decodeShowsValues() {
    QFETCH(Column, column);
    QFETCH(int, entry);
    QFETCH(int, address);
    QFETCH(QByteArray, bytes);
    QFETCH(int, shown);
    MemoryImage image;
    for (int k = 0; k < bytes.size(); ++k)
        image.set(address + k, quint8(bytes.at(k)));
    QCOMPARE(schedule::decode(image, column, entry), shown);
}

void TestEmissionCodecs::initialiseFillsEveryEntry() {
    MemoryImage image;
    schedule::initialise(image);
    // First and last entries, as literals: 25 s = 00 19, 1201 s = 04 B1.
    QCOMPARE(int(image.at(0xA47)), 0x00);
    QCOMPARE(int(image.at(0xA48)), 0x19);
    QCOMPARE(int(image.at(0xAA9)), 0x04);
    QCOMPARE(int(image.at(0xAAA)), 0xB1);
    for (int address = 0xAAB; address <= 0xADC; ++address)
        QCOMPARE(int(image.at(address)), 80);
    for (int address = 0xADD; address <= 0xB0E; ++address)
        QCOMPARE(int(image.at(address)), 120);
    for (int address = 0xB0F; address <= 0xB40; ++address)
        QCOMPARE(int(image.at(address)), 1);
    QCOMPARE(int(image.at(0xA46)), 0);
    QCOMPARE(int(image.at(0xB41)), 0);
}

void TestEmissionCodecs::clockTick_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("next");
    QTest::newRow("start") << "0"
                           << "1";
    QTest::newRow("graph end") << "1199"
                               << "1200";
    QTest::newRow("past the graph") << "1200"
                                    << "1201";
    QTest::newRow("blanks around") << " 41 "
                                   << "42";
    QTest::newRow("not a number restarts") << "abc"
                                           << "1";
    QTest::newRow("trailing letters restart") << "12x"
                                              << "1";
    QTest::newRow("empty restarts") << ""
                                    << "1";
}

void TestEmissionCodecs::clockTick() {
    QFETCH(QString, text);
    QFETCH(QString, next);
    QCOMPARE(testclock::tick(text), next);
}

void TestEmissionCodecs::scrollFollowsBelowGraphEnd_data() {
    QTest::addColumn<double>("seconds");
    QTest::addColumn<bool>("follows");
    QTest::newRow("0") << 0.0 << true;
    QTest::newRow("1199") << 1199.0 << true;
    QTest::newRow("1200") << 1200.0 << false;
    QTest::newRow("5000") << 5000.0 << false;
}

void TestEmissionCodecs::scrollFollowsBelowGraphEnd() {
    QFETCH(double, seconds);
    QFETCH(bool, follows);
    QCOMPARE(testclock::scrollFollows(seconds), follows);
}

void TestEmissionCodecs::resultsDecode_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("field"); // 0 = Text1 .. 11 = Text12, 12 = TxCycle
    QTest::addColumn<QString>("text");
    QTest::newRow("Text1 magnitude") << 0xB53 << 12 << 0 << "12";
    QTest::newRow("Text1 flag") << 0xB4D << 1 << 0 << "-0";
    QTest::newRow("Text6 magnitude") << 0xB58 << 255 << 5 << "255";
    QTest::newRow("Text7 magnitude") << 0xB47 << 9 << 6 << "9";
    QTest::newRow("Text12 flag") << 0xB46 << 1 << 11 << "-0";
    QTest::newRow("flag 2 is not negative") << 0xB41 << 2 << 6 << "0";
    QTest::newRow("cycles") << 0xB59 << 200 << 12 << "200";
}

void TestEmissionCodecs::resultsDecode() {
    QFETCH(int, address);
    QFETCH(int, value);
    QFETCH(int, field);
    QFETCH(QString, text);
    MemoryImage image;
    image.set(address, quint8(value));
    QCOMPARE(results::decode(image).at(std::size_t(field)), text);
}

void TestEmissionCodecs::resultsEncode_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("signAddress");
    QTest::addColumn<int>("sign");
    QTest::addColumn<int>("magnitude");
    QTest::newRow("Text1 -12") << 0 << "-12" << 0xB4D << 1 << 12;
    QTest::newRow("Text6 255") << 5 << "255" << 0xB52 << 0 << 255;
    QTest::newRow("Text7 -255") << 6 << "-255" << 0xB41 << 1 << 255;
    QTest::newRow("Text12 -0") << 11 << "-0" << 0xB46 << 0 << 0;
    QTest::newRow("Text3 -0.4 rounds to 0") << 2 << "-0.4" << 0xB4F << 0 << 0;
    QTest::newRow("Text4 -2.5 halves to even") << 3 << "-2.5" << 0xB50 << 1 << 2;
}

void TestEmissionCodecs::resultsEncode() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(int, signAddress);
    QFETCH(int, sign);
    QFETCH(int, magnitude);
    MemoryImage image;
    for (int a = 0xB41; a <= 0xB59; ++a)
        image.set(a, 0x33);
    results::Texts texts;
    texts.fill(QStringLiteral("0"));
    texts.at(std::size_t(field)) = text;
    texts.at(results::CycleText) = QStringLiteral("7");
    QVERIFY(!results::encode(texts, image).has_value());
    QCOMPARE(int(image.at(signAddress)), sign);
    QCOMPARE(int(image.at(signAddress + 6)), magnitude);
    QCOMPARE(int(image.at(0xB59)), 7);
    QCOMPARE(int(image.at(0xB5A)), 0); // past the block
}

void TestEmissionCodecs::resultsRefusalLeavesImage_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");
    QTest::newRow("Text2 256") << 1 << "256"
                               << "Text2";
    QTest::newRow("Text9 -256") << 8 << "-256"
                                << "Text9";
    QTest::newRow("Text5 255.5 rounds up") << 4 << "255.5"
                                           << "Text5";
    QTest::newRow("cycles -1") << 12 << "-1"
                               << "TxCycle";
    QTest::newRow("cycles 256") << 12 << "256"
                                << "TxCycle";
}

void TestEmissionCodecs::resultsRefusalLeavesImage() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, named);
    MemoryImage image;
    image.set(0xB59, 9);
    image.set(0xB53, 4);
    results::Texts texts;
    texts.fill(QStringLiteral("-3"));
    texts.at(results::CycleText) = QStringLiteral("1");
    texts.at(std::size_t(field)) = text;
    const auto refusal = results::encode(texts, image);
    QVERIFY(refusal.has_value());
    QCOMPARE(refusal->field, named);
    QVERIFY(results::refusalText(*refusal).startsWith(named + QStringLiteral(" = ") + text));
    QCOMPARE(int(image.at(0xB59)), 9);
    QCOMPARE(int(image.at(0xB53)), 4);
    QCOMPARE(int(image.at(0xB4D)), 0);
}

QTEST_GUILESS_MAIN(TestEmissionCodecs)
#include "tst_emission_codecs.moc"
