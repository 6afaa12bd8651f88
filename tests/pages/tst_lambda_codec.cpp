// The lambda block's own codec: every field both ways, the negative-delta
// convention, the unit captions and the refusals.
#include "link/memory_image.h"
#include "pages/lambda_codec.h"

#include <QTest>

using namespace lambda;

namespace {
Texts texts(std::initializer_list<std::pair<Field, QString>> set) {
    Texts t;
    t.fill(QStringLiteral("0"));
    for (const auto &[f, text] : set)
        t.at(static_cast<std::size_t>(f)) = text;
    return t;
}
} // namespace

class TestLambdaCodec : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void field_data();
    void field();
    void negativeDeltas_data();
    void negativeDeltas();
    void addressCaptions();
    void convertion_data();
    void convertion();
    void refusal_data();
    void refusal();
};

void TestLambdaCodec::field_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("address");
    QTest::addColumn<QList<int>>("bytes");
    QTest::newRow("rich voltage 512") << int(VVlambdaRich) << "512" << 0x882 << QList<int>{2, 0};
    QTest::newRow("rich voltage 1023")
        << int(VVlambdaRich) << "1023" << 0x882 << QList<int>{3, 255};
    QTest::newRow("lean voltage") << int(VVlambdaPauvre) << "41" << 0x884 << QList<int>{0, 41};
    QTest::newRow("rich delay") << int(DelayRich) << "20" << 0x886 << QList<int>{20};
    QTest::newRow("lean delay") << int(DelayPauvre) << "255" << 0x887 << QList<int>{255};
    QTest::newRow("repeat delay") << int(DelayRepet) << "9" << 0x888 << QList<int>{9};
    QTest::newRow("rpm 1500") << int(RpmAct) << "1500" << 0x889 << QList<int>{5, 0xDC};
    QTest::newRow("rpm 32767") << int(RpmAct) << "32767" << 0x889 << QList<int>{0x7F, 0xFF};
    QTest::newRow("lean idle") << int(RaCoPauvre) << "253" << 0x88B << QList<int>{253};
    QTest::newRow("rich idle") << int(RaCoRich) << "50" << 0x88C << QList<int>{50};
    QTest::newRow("lean load") << int(ChCoPauvre) << "7" << 0x88D << QList<int>{7};
    QTest::newRow("rich load") << int(ChCoRich) << "128" << 0x88E << QList<int>{128};
    QTest::newRow("memorise") << int(Memorise) << "1" << 0x88F << QList<int>{1};
}

void TestLambdaCodec::field() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(int, address);
    QFETCH(QList<int>, bytes);
    const auto f = static_cast<Field>(field);
    MemoryImage image;
    QVERIFY(!encode(texts({{f, text}}), false, image));
    for (int i = 0; i < bytes.size(); ++i)
        QCOMPARE(int(image.at(address + i)), bytes[i]);
    QCOMPARE(decode(image, false).at(static_cast<std::size_t>(f)), text);
    for (int a = 0x882; a <= 0x88F; ++a) { // nothing else in the block is set
        if (a < address || a >= address + bytes.size())
            QCOMPARE(int(image.at(a)), 0);
    }
    QCOMPARE(int(image.at(0x881)), 0);
    QCOMPARE(int(image.at(0x890)), 0);
}

void TestLambdaCodec::negativeDeltas_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("unsignedText");
    QTest::newRow("lean idle -3") << int(RaCoPauvre) << "-3" << 0xFD << "253";
    QTest::newRow("rich idle -128") << int(RaCoRich) << "-128" << 0x80 << "128";
    QTest::newRow("lean load 127") << int(ChCoPauvre) << "127" << 0x7F << "127";
    QTest::newRow("rich load -1") << int(ChCoRich) << "-1" << 0xFF << "255";
    QTest::newRow("small negative rounds to 0") << int(ChCoRich) << "-0.3" << 0 << "0";
}

void TestLambdaCodec::negativeDeltas() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(int, byte);
    QFETCH(QString, unsignedText);
    const auto f = static_cast<Field>(field);
    MemoryImage image;
    QVERIFY(!encode(texts({{f, text}}), true, image));
    QCOMPARE(int(image.at(info(f).address)), byte);
    const QString back = decode(image, true).at(static_cast<std::size_t>(f));
    QCOMPARE(back, text == QLatin1String("-0.3") ? QStringLiteral("0") : text);
    QCOMPARE(decode(image, false).at(static_cast<std::size_t>(f)), unsignedText);
}

void TestLambdaCodec::addressCaptions() {
    QCOMPARE(addressCaption(VVlambdaRich), QStringLiteral("( 82 83 )"));
    QCOMPARE(addressCaption(RpmAct), QStringLiteral("( 89 8A )"));
    QCOMPARE(addressCaption(DelayRich), QStringLiteral("( 86 )"));
    QCOMPARE(addressCaption(Memorise), QStringLiteral("( 8F )"));
}

void TestLambdaCodec::convertion_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::newRow("rich 512") << int(VVlambdaRich) << "512"
                              << " ( 2.5 V )";
    QTest::newRow("rich 1023 truncated") << int(VVlambdaRich) << "1023"
                                         << " ( 4.99 V )";
    QTest::newRow("lean 143") << int(VVlambdaPauvre) << "143"
                              << " ( 0.69 V )";
    QTest::newRow("lean delay 20") << int(DelayPauvre) << "20"
                                   << " ( 1 s )";
    QTest::newRow("rich delay 3") << int(DelayRich) << "3"
                                  << " ( 0.15 s )";
    QTest::newRow("rich idle 50") << int(RaCoRich) << "50"
                                  << " ( 1 ms )";
    QTest::newRow("lean idle -3") << int(RaCoPauvre) << "-3"
                                  << " ( -0.06 ms )";
    QTest::newRow("memorise 0") << int(Memorise) << "0"
                                << " ( OFF ) ";
    QTest::newRow("memorise 2") << int(Memorise) << "2"
                                << " ( ON ) ";
    QTest::newRow("memorise text") << int(Memorise) << "x"
                                   << " ( OFF ) ";
}

void TestLambdaCodec::convertion() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    const Units u = convert(texts({{static_cast<Field>(field), text}}));
    const QString captions[] = {u.TXTR01, u.TXTP01, u.TXTR02,     u.TXTP02,
                                u.TXTP03, u.TXTR03, u.TXTMEMORISE};
    bool found = false;
    for (QString c : captions)
        found = found || c.replace(QLatin1Char(','), QLatin1Char('.')) == caption;
    QVERIFY2(found, qPrintable(caption));
}

void TestLambdaCodec::refusal_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("deltaNegatif");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::newRow("byte above") << int(DelayRich) << "256" << false << 0 << 255;
    QTest::newRow("byte below") << int(DelayRepet) << "-1" << false << 0 << 255;
    QTest::newRow("byte not a number") << int(DelayPauvre) << "12a" << false << 0 << 255;
    QTest::newRow("byte empty") << int(DelayPauvre) << "" << false << 0 << 255;
    QTest::newRow("voltage above") << int(VVlambdaPauvre) << "1024" << false << 0 << 1023;
    QTest::newRow("voltage rounds above") << int(VVlambdaPauvre) << "1023.5" << false << 0 << 1023;
    QTest::newRow("rpm above") << int(RpmAct) << "40000" << false << 0 << 32767;
    QTest::newRow("unsigned correction negative") << int(RaCoRich) << "-3" << false << 0 << 255;
    QTest::newRow("signed correction above") << int(ChCoPauvre) << "128" << true << -128 << 127;
    QTest::newRow("signed correction below") << int(RaCoPauvre) << "-129" << true << -128 << 127;
    QTest::newRow("memorise above") << int(Memorise) << "300" << false << 0 << 255;
}

// One field that cannot be stored leaves the whole block as it was.
void TestLambdaCodec::refusal() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(bool, deltaNegatif);
    QFETCH(int, min);
    QFETCH(int, max);
    MemoryImage image;
    for (int a = 0x882; a <= 0x88F; ++a)
        image.set(a, 0x11);
    const MemoryImage before = image;
    Texts t = texts({{static_cast<Field>(field), text}});
    t.at(VVlambdaRich) = QStringLiteral("700"); // fields before it are valid
    const std::optional<Refusal> r = encode(t, deltaNegatif, image);
    QVERIFY(r);
    QCOMPARE(int(r->field), field);
    QCOMPARE(r->min, min);
    QCOMPARE(r->max, max);
    QVERIFY(image.bytes() == before.bytes());
    QVERIFY(refusalText(*r).contains(QString::number(max)));
}

QTEST_APPLESS_MAIN(TestLambdaCodec)
#include "tst_lambda_codec.moc"
