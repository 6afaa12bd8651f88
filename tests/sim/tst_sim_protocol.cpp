// Frames, checksums, the command splitter and the reply transforms of the faults.

#include "ecu-sim/faults.h"
#include "ecu-sim/protocol.h"
#include "sim_test_util.h"

#include <QTest>

using namespace ecusim;

class TstSimProtocol : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void checksumOfToolFrames_data();
    void checksumOfToolFrames();
    void parse_data();
    void parse();
    void dataFrameLayout();
    void splitter_data();
    void splitter();
    void faultRules_data();
    void faultRules();
    void faultTransforms();
};

void TstSimProtocol::checksumOfToolFrames_data() {
    QTest::addColumn<QByteArray>("frame");
    // Frames the service tool sends, each with the checksum it carries.
    for (const char *f :
         {"@R000378C", "@R0000183", "@R0003489", "@R8030B9F", "@R8013896", "@RA15249F",
          "@RA390EB4", "@R8A737AC", "@R8DE37BD", "@R9152497", "@R93937A1", "@R970379C",
          "@R9A737AD", "@R9DE37BE", "@R83937A0", "@R870379B", "@RA4733A4", "@RB4119A3",
          "@F00016",   "@F0071D",   "@F0081E",   "@F0091F"})
        QTest::newRow(f) << QByteArray(f);
}

void TstSimProtocol::checksumOfToolFrames() {
    QFETCH(QByteArray, frame);
    QCOMPARE(withChecksum(frame.left(frame.size() - 2)), frame + '\r');
    QCOMPARE(parseCommand(frame).rejection, Rejection::None);
}

void TstSimProtocol::parse_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<Rejection>("rejection");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("length");

    auto sum = [](const QByteArray &t) { return withChecksum(t).chopped(1); };
    QTest::newRow("read") << sum("@R80138") << Rejection::None << 0x801 << 0x38;
    QTest::newRow("read last byte") << sum("@RFFF01") << Rejection::None << 0xFFF << 1;
    QTest::newRow("second live area literal")
        << QByteArray("@R0371091") << Rejection::None << 0x037 << 16;
    QTest::newRow("same with rule checksum")
        << QByteArray("@R037108D") << Rejection::None << 0x037 << 16;
    QTest::newRow("write") << sum("@WA410105") << Rejection::None << 0xA41 << 1;
    QTest::newRow("bad checksum") << QByteArray("@R000378D") << Rejection::BadChecksum << 0 << 0;
    QTest::newRow("lower-case address") << sum("@Ra4101") << Rejection::BadHex << 0 << 0;
    QTest::newRow("lower-case checksum") << QByteArray("@R000378c") << Rejection::BadHex << 0 << 0;
    QTest::newRow("non-hex field") << sum("@R0G001") << Rejection::BadHex << 0 << 0;
    QTest::newRow("beyond 0xFFF") << sum("@RFFF02") << Rejection::BadRange << 0 << 0;
    QTest::newRow("length 0") << sum("@R80100") << Rejection::BadRange << 0 << 0;
    QTest::newRow("write short of its length")
        << sum("@WA410205") << Rejection::BadFormat << 0 << 0;
    QTest::newRow("read with extra digits") << sum("@R8013800") << Rejection::BadFormat << 0 << 0;
    QTest::newRow("unknown letter") << sum("@X00001") << Rejection::UnknownCommand << 0 << 0;
    QTest::newRow("unknown function") << sum("@F005") << Rejection::UnknownCommand << 0 << 0;
    QTest::newRow("letter only") << QByteArray("@R") << Rejection::BadFormat << 0 << 0;
}

void TstSimProtocol::parse() {
    QFETCH(QByteArray, frame);
    QFETCH(Rejection, rejection);
    const ParsedCommand p = parseCommand(frame);
    QCOMPARE(p.rejection, rejection);
    if (rejection == Rejection::None) {
        QFETCH(int, length);
        QTEST(p.command.address, "address");
        QCOMPARE(p.command.length, length);
        if (p.command.kind == CommandKind::Write)
            QCOMPARE(p.command.data.size(), length);
    }
}

void TstSimProtocol::dataFrameLayout() {
    const QByteArray f = dataFrame(0xA41, QByteArray::fromHex("00ab05ff"));
    QVERIFY(f.startsWith("@WA410400AB05FF"));
    QVERIFY(wellFormedReply(f));
    QCOMPARE(f.size(), 2 + 3 + 2 + 8 + 2 + 1);
    QVERIFY(wellFormedReply(acknowledgeFrame()));
    QVERIFY(acknowledgeFrame().at(1) != 'R'); // the tool advances its write chain on it
}

void TstSimProtocol::splitter_data() {
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<QByteArray>>("frames");
    QTest::addColumn<int>("skipped");
    const QList<QByteArray> poll{"@R000378C"};
    QTest::newRow("whole") << QList<QByteArray>{"@R000378C\r"} << poll << 0;
    QTest::newRow("char by char") << QList<QByteArray>{"@", "R", "0003", "78", "C", "\r"} << poll
                                  << 0;
    QTest::newRow("garbage before") << QList<QByteArray>{"\n\x01zz", "@R000378C\r"} << poll << 4;
    QTest::newRow("two in one chunk")
        << QList<QByteArray>{"@F00016\r@F0081E\r"} << QList<QByteArray>{"@F00016", "@F0081E"} << 0;
    QTest::newRow("second @ restarts") << QList<QByteArray>{"@R00", "@R000378C\r"} << poll << 4;
    QTest::newRow("runaway frame dropped")
        << QList<QByteArray>{"@" + QByteArray(200, 'A'), "\r@R000378C\r"} << poll
        << 202; // all of it, its CR included
}

void TstSimProtocol::splitter() {
    QFETCH(QList<QByteArray>, chunks);
    CommandSplitter s;
    QList<QByteArray> got;
    for (const QByteArray &c : chunks) {
        for (const auto &f : s.feed(c, 0))
            got << f.text;
    }
    QTEST(got, "frames");
    QTEST(s.skipped(), "skipped");
}

void TstSimProtocol::faultRules_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("mode");
    QTest::newRow("kind alone") << "silent" << true << int(FaultRule::Mode::Always);
    QTest::newRow("probability") << "noise=0.1" << true << int(FaultRule::Mode::Probability);
    QTest::newRow("next N") << "badsum=next3" << true << int(FaultRule::Mode::NextN);
    QTest::newRow("off") << "split=off" << true << int(FaultRule::Mode::Off);
    QTest::newRow("vanish-after") << "vanish-after=2.5" << true << int(FaultRule::Mode::Off);
    QTest::newRow("bad kind") << "loud" << false << 0;
    QTest::newRow("probability > 1") << "noise=3" << false << 0;
    QTest::newRow("next 0") << "split=next0" << false << 0;
}

void TstSimProtocol::faultRules() {
    QFETCH(QString, text);
    QString error;
    const auto opt = parseFaultOption(text, &error);
    QTEST(opt.has_value(), "valid");
    if (opt)
        QTEST(int(opt->rule.mode), "mode");
    if (opt && text.startsWith(QLatin1String("vanish-after")))
        QCOMPARE(opt->vanishAfterMs, 2500);
}

void TstSimProtocol::faultTransforms() {
    QRandomGenerator rng(7);
    const QByteArray reply = dataFrame(0x800, QByteArray::fromHex("ABCDEF0123"));
    for (int i = 0; i < 50; ++i) {
        const QByteArray lower = lowercaseOneDigit(reply, rng);
        QCOMPARE(lower.toUpper().chopped(3), reply.chopped(3));
        int lowerCount = 0;
        for (char c : lower)
            lowerCount += (c >= 'a' && c <= 'f');
        QCOMPARE(lowerCount, 1);
        QCOMPARE(lower.mid(lower.size() - 3, 2), hexByte(checksum(lower.chopped(3))));

        const QByteArray bad = corruptChecksum(reply, rng);
        QCOMPARE(bad.chopped(3), reply.chopped(3));
        QVERIFY(!wellFormedReply(bad));

        QCOMPARE(splitReply(reply, rng).join(), reply);
        QVERIFY(splitReply(reply, rng).size() >= 2);
        QVERIFY(!noiseBytes(rng).contains('@'));
    }
}

QTEST_GUILESS_MAIN(TstSimProtocol)
#include "tst_sim_protocol.moc"
