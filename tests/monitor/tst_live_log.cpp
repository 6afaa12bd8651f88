// Drive logs: the header, the row decoded from chosen live bytes, the fuel
// text that stays over an unknown state, and logs read back whole, cut by a
// kill, or not logs at all.
#include "link/memory_image.h"
#include "link/message_table.h"
#include "monitor/live_log.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using Bytes = QList<std::pair<int, int>>;
Q_DECLARE_METATYPE(Bytes)

class TestLiveLog : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void header();
    void rowFields_data();
    void rowFields();
    void writtenRowsReadBack();
    void readBack_data();
    void readBack();
};

void TestLiveLog::header() {
    QCOMPARE(
        live::csvHeader(),
        QByteArray(
            "time_ms,fuel_state,fuel,speed_rpm,petrol_1_ms,petrol_2_ms,petrol_3_ms,petrol_4_ms,"
            "petrol_5_ms,petrol_6_ms,petrol_7_ms,petrol_8_ms,gas_1_ms,gas_2_ms,gas_3_ms,gas_4_ms,"
            "gas_5_ms,gas_6_ms,gas_7_ms,gas_8_ms,vaporiser_temp_c,gas_temp_c,pressure_bar,"
            "lambda_v,alarm_temperature,alarm_pressure,start_on_gas,battery_v,level_immediate,"
            "level_average\n"));
}

void TestLiveLog::rowFields_data() {
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<int>("column");
    QTest::addColumn<QByteArray>("expected");
    auto row = [](const char *name, Bytes bytes, int column, const char *expected) {
        QTest::newRow(name) << bytes << column << QByteArray(expected);
    };
    // Engine speed: stored halved for sequential injection (type 0).
    row("speed sequential", {{0x80D, 0}, {0x008, 0x05}, {0x009, 0xDC}}, 3, "3000");
    row("speed full group", {{0x80D, 1}, {0x008, 0x05}, {0x009, 0xDC}}, 3, "1500");
    // Injection times: 255 x high + low, Int(raw / 3.9) / 100.
    row("petrol 1", {{0x00C, 0x0F}, {0x00D, 0xA0}}, 4, "10.21");
    row("petrol 5 multiplier 255", {{0x014, 4}, {0x015, 0}}, 8, "2.61");
    row("petrol 8 is not gas 1", {{0x01A, 0x00}, {0x01B, 40}}, 11, "0.1");
    row("gas 8", {{0x02A, 0x03}, {0x02B, 0xE8}}, 19, "2.55");
    // Temperatures: two's complement.
    row("vaporiser 127", {{0x02C, 127}}, 20, "127");
    row("vaporiser 128", {{0x02C, 128}}, 20, "-128");
    row("gas temperature 200", {{0x02D, 200}}, 21, "-56");
    // Pressure in hundredths, with no cut above 10 bar (that is the dial's).
    row("pressure 10.5", {{0x02E, 0x04}, {0x02F, 0x1A}}, 22, "10.5");
    row("lambda 1/200 V", {{0x030, 0x00}, {0x031, 0x95}}, 23, "0.745");
    row("temperature alarm", {{0x003, 2}}, 24, "1");
    row("pressure alarm off", {{0x003, 2 | 128}}, 25, "0");
    row("start on gas", {{0x003, 128}}, 26, "1");
    row("battery x 0.075", {{0x037, 160}}, 27, "12");
    row("level immediate", {{0x034, 77}, {0x035, 78}}, 28, "77");
    row("level average", {{0x034, 77}, {0x035, 78}}, 29, "78");
    row("fuel state", {{0x002, 3}}, 1, "3");
    row("fuel text waiting", {{0x002, 1}}, 2, "Gas Waiting");
}

void TestLiveLog::rowFields() {
    QFETCH(Bytes, bytes);
    QFETCH(int, column);
    QFETCH(QByteArray, expected);
    MemoryImage image;
    for (const auto &[address, value] : bytes)
        image.set(address, static_cast<quint8>(value));
    const live::Sample s = live::sampleOf(image, 1234);
    const QByteArray row = live::csvRow(s, live::fuelText(MessageTable{}, s.fuelState, {}));
    QVERIFY(row.endsWith('\n'));
    const QList<QByteArray> fields = row.trimmed().split(',');
    QCOMPARE(fields.size(), 30);
    QCOMPARE(fields.at(0), QByteArray("1234"));
    QCOMPARE(fields.at(column), expected);
}

// Every row is on disk as it is logged: another reader sees them all before
// the log is closed. A fuel text holding the separator is quoted, and a state
// without a text keeps the one before.
void TestLiveLog::writtenRowsReadBack() {
    MessageTable messages;
    messages.set(15, QStringLiteral("Gaz, GPL"));
    QCOMPARE(live::fuelText(messages, 0, {}), QStringLiteral("Gasoline"));
    QCOMPARE(live::fuelText(messages, 2, QStringLiteral("Gasoline")), QStringLiteral("Gasoline"));
    QCOMPARE(live::fuelText(messages, 7, QString()), QString());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("drive.csv"));
    live::LiveLog log(messages);
    QVERIFY(log.open(path));
    MemoryImage image;
    for (int i = 0; i < 5; ++i) {
        image.set(0x002, i < 2 ? 3 : 2);
        image.set(0x009, static_cast<quint8>(100 + i));
        QVERIFY(log.append(live::sampleOf(image, 140 * i)));
    }
    QCOMPARE(log.rows(), 5);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QCOMPARE(lines.size(), 7); // header, five rows, nothing after the last line feed
    QVERIFY(lines.at(1).startsWith("0,3,\"Gaz, GPL\",200,0,"));
    QVERIFY(lines.at(3).startsWith("280,2,\"Gaz, GPL\",204,0,"));
    QString error;
    const auto data = live::readLiveLog(path, &error);
    QVERIFY2(data, qPrintable(error));
    QCOMPARE(data->rows, 5);
    QCOMPARE(data->skipped, 0);
    QCOMPARE(data->values.at(0).back(), 560.0);
    QCOMPARE(data->values.at(3).back(), 208.0); // speed, after the quoted field
    // A file that cannot be made is said so.
    live::LiveLog bad(messages);
    QVERIFY(!bad.open(dir.filePath(QStringLiteral("missing/dir/x.csv"))));
    QVERIFY(!bad.errorString().isEmpty());
    QVERIFY(!bad.append(image));
}

void TestLiveLog::readBack_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("rows"); // -1: not a drive log
    QTest::addColumn<int>("skipped");
    QTest::addColumn<double>("lastSpeed");
    const QByteArray h = live::csvHeader();
    const QByteArray row1 = "0,0,Gasoline,800" + QByteArray(",1.5").repeated(16) +
                            ",80,30,1.2,0.45,0,0,0,12.6,100,101\n";
    const QByteArray row2 = QByteArray(row1).replace("0,0,Gasoline,800", "140,3,Gas,2500");
    QTest::newRow("two rows") << h + row1 + row2 << 2 << 0 << 2500.0;
    QTest::newRow("cut by a kill") << h + row1 + row2 + row2.left(40) << 2 << 1 << 2500.0;
    QTest::newRow("carriage returns")
        << QByteArray(h + row1).replace("\n", "\r\n") << 1 << 0 << 800.0;
    QTest::newRow("short row in the middle") << h + row1 + "150,3,Gas\n" + row2 << 2 << 1 << 2500.0;
    QTest::newRow("header only") << h << 0 << 0 << 0.0;
    QTest::newRow("memory file") << QByteArray("FichierMemoire:00.01.Fin\r\n") << -1 << 0 << 0.0;
    QTest::newRow("empty") << QByteArray() << -1 << 0 << 0.0;
}

void TestLiveLog::readBack() {
    QFETCH(QByteArray, content);
    QFETCH(int, rows);
    QFETCH(int, skipped);
    QFETCH(double, lastSpeed);
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("log.csv")));
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
    f.close();
    QString error;
    const auto data = live::readLiveLog(f.fileName(), &error);
    QCOMPARE(data.has_value(), rows >= 0);
    QVERIFY(rows >= 0 || !error.isEmpty());
    if (rows < 0)
        return;
    QCOMPARE(data->rows, rows);
    QCOMPARE(data->skipped, skipped);
    QCOMPARE(data->column(QStringLiteral("speed_rpm")), 3);
    if (rows > 0) {
        QCOMPARE(data->values.at(3).back(), lastSpeed);
        QVERIFY(std::isnan(data->values.at(2).front())); // the fuel text is no number
    }
}

QTEST_GUILESS_MAIN(TestLiveLog)
#include "tst_live_log.moc"
