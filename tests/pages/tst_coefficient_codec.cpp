// The coefficient tables' codec: addresses, names, axis, decode, encode and
// the 0..255 clamp.
#include "link/memory_image.h"
#include "pages/coefficient_codec.h"

#include <QTest>

using Table = CoefficientCodec::Table;

class TestCoefficientCodec : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void fieldMap_data();
    void fieldMap();
    void everyFieldRoundTrips();
    void decodeShowsTheDecimalByte();
    void encode_data();
    void encode();
    void corrected_data();
    void corrected();
};

void TestCoefficientCodec::fieldMap_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("address");
    QTest::addColumn<QString>("axis");
    QTest::newRow("CP1") << 0 << "TxTbCP1" << 0x810 << "0.1";
    QTest::newRow("CP10") << 9 << "TxTbCP10" << 0x819 << "1";
    QTest::newRow("CP11") << 10 << "TxTbCP11" << 0x81A << "1.1";
    QTest::newRow("CP20") << 19 << "TxTbCP20" << 0x823 << "2";
    QTest::newRow("CG1") << 20 << "TxTbCG1" << 0x824 << "5";
    QTest::newRow("CG5") << 24 << "TxTbCG5" << 0x828 << "25";
    QTest::newRow("CG20") << 39 << "TxTbCG20" << 0x837 << "100";
}

void TestCoefficientCodec::fieldMap() {
    QFETCH(int, field);
    QFETCH(QString, name);
    QFETCH(int, address);
    QFETCH(QString, axis);
    QCOMPARE(CoefficientCodec::fieldName(field), name);
    QCOMPARE(CoefficientCodec::address(field), address);
    QCOMPARE(
        CoefficientCodec::axisLabel(CoefficientCodec::table(field), CoefficientCodec::entry(field)),
        axis);
}

// Every one of the 40 bytes, at three values, comes back as it went in.
void TestCoefficientCodec::everyFieldRoundTrips() {
    for (int value : {0, 137, 255}) {
        MemoryImage image;
        QStringList texts;
        for (int field = 0; field < CoefficientCodec::FieldCount; ++field)
            texts.append(QString::number((value + field) % 256));
        CoefficientCodec::encode(texts, image);
        for (int field = 0; field < CoefficientCodec::FieldCount; ++field)
            QCOMPARE(int(image.at(0x810 + field)), (value + field) % 256);
        QCOMPARE(CoefficientCodec::decode(image), texts);
        QCOMPARE(int(image.at(0x80F)), 0); // neighbours untouched
        QCOMPARE(int(image.at(0x838)), 0);
    }
}

void TestCoefficientCodec::decodeShowsTheDecimalByte() {
    MemoryImage image;
    image.set(0x810, 0x64);
    image.set(0x837, 0xFF);
    const QStringList texts = CoefficientCodec::decode(image);
    QCOMPARE(texts.size(), 40);
    QCOMPARE(texts.first(), QStringLiteral("100"));
    QCOMPARE(texts.last(), QStringLiteral("255"));
    QCOMPARE(texts.at(1), QStringLiteral("0"));
}

void TestCoefficientCodec::encode_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("byte");
    QTest::newRow("whole") << "100" << 100;
    QTest::newRow("empty stores 0") << "" << 0;
    QTest::newRow("garbage stores 0") << "abc" << 0;
    QTest::newRow("half to even down") << "12.5" << 12;
    QTest::newRow("half to even up") << "13.5" << 14;
    QTest::newRow("beyond the top is held") << "300" << 255;
    QTest::newRow("below zero is held") << "-4" << 0;
}

void TestCoefficientCodec::encode() {
    QFETCH(QString, text);
    QFETCH(int, byte);
    MemoryImage image;
    QStringList texts(40, QStringLiteral("1"));
    texts[24] = text; // TxTbCG5
    CoefficientCodec::encode(texts, image);
    QCOMPARE(int(image.at(0x828)), byte);
}

void TestCoefficientCodec::corrected_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fixed"); // empty: stands as typed
    QTest::newRow("in range") << "128"
                              << "";
    QTest::newRow("lower bound stays") << "0"
                                       << "";
    QTest::newRow("upper bound stays") << "255"
                                       << "";
    QTest::newRow("above") << "300"
                           << "255";
    QTest::newRow("far above") << "99999"
                               << "255";
    QTest::newRow("below") << "-1"
                           << "0";
    QTest::newRow("empty stays") << ""
                                 << "";
}

void TestCoefficientCodec::corrected() {
    QFETCH(QString, text);
    QFETCH(QString, fixed);
    const std::optional<QString> result = CoefficientCodec::corrected(text);
    QCOMPARE(result.value_or(QString()), fixed);
    if (result) // a correction passes the same check
        QVERIFY(!CoefficientCodec::corrected(*result));
}

QTEST_APPLESS_MAIN(TestCoefficientCodec)
#include "tst_coefficient_codec.moc"
