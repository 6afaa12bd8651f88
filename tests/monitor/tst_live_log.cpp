// Drive logs: the row decoded from chosen live bytes, the fuel text that
// stays over an unknown state, and logs read back whole, cut by a kill,
// or not logs at all.
#include "link/memory_image.h"
#include "link/message_table.h"
#include "monitor/live_log.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using Bytes = QList<std::pair<int, int>>;
Q_DECLARE_METATYPE(Bytes)

namespace {
QString fieldOf(const QByteArray &row, const QString &column) {
    const int index = live::csvColumns().indexOf(column);
    return QString::fromUtf8(row.trimmed().split(',').value(index));
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

class TestLiveLog : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void header();
    void rowFields_data();
    void rowFields();
    void fuelTextStaysOverUnknownStates();
    void readBack_data();
    void readBack();
    void rowsAreOnDiskAsTheyAreLogged();
};

void TestLiveLog::header() {
    const QByteArray h = live::csvHeader();
    QVERIFY(h.endsWith('\n'));
    const QList<QByteArray> names = h.trimmed().split(',');
    QCOMPARE(names.size(), 30);
    QCOMPARE(names.first(), QByteArray("time_ms"));
    QCOMPARE(names.at(4), QByteArray("petrol_1_ms"));
    QCOMPARE(names.at(19), QByteArray("gas_8_ms"));
    QCOMPARE(names.last(), QByteArray("level_average"));
}

void TestLiveLog::rowFields_data() {
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("expected");
    auto row = [](const char *name, Bytes bytes, const char *column, const char *expected) {
        QTest::newRow(name) << bytes << QString::fromLatin1(column) << QString::fromUtf8(expected);
    };
    // Engine speed: stored halved for sequential injection (type 0).
    row("speed sequential", {{0x80D, 0}, {0x008, 0x05}, {0x009, 0xDC}}, "speed_rpm", "3000");
    row("speed full group", {{0x80D, 1}, {0x008, 0x05}, {0x009, 0xDC}}, "speed_rpm", "1500");
    // Injection times: 255 x high + low, Int(raw / 3.9) / 100.
    row("petrol 1", {{0x00C, 0x0F}, {0x00D, 0xA0}}, "petrol_1_ms", "10.21");
    row("petrol 5 multiplier 255", {{0x014, 4}, {0x015, 0}}, "petrol_5_ms", "2.61");
    row("gas 8", {{0x02A, 0x03}, {0x02B, 0xE8}}, "gas_8_ms", "2.55");
    row("petrol 8 is not gas 1", {{0x01A, 0x00}, {0x01B, 40}}, "petrol_8_ms", "0.1");
    // Temperatures: two's complement.
    row("vaporiser 127", {{0x02C, 127}}, "vaporiser_temp_c", "127");
    row("vaporiser 128", {{0x02C, 128}}, "vaporiser_temp_c", "-128");
    row("gas temperature 200", {{0x02D, 200}}, "gas_temp_c", "-56");
    // Pressure: hundredths, and no cut above 10 bar (that is the dial's).
    row("pressure 10.5", {{0x02E, 0x04}, {0x02F, 0x1A}}, "pressure_bar", "10.5");
    row("pressure 1.23", {{0x02E, 0x00}, {0x02F, 123}}, "pressure_bar", "1.23");
    row("lambda 1/200 V", {{0x030, 0x00}, {0x031, 0x95}}, "lambda_v", "0.745");
    row("temperature alarm", {{0x003, 2}}, "alarm_temperature", "1");
    row("pressure alarm off", {{0x003, 2 | 128}}, "alarm_pressure", "0");
    row("start on gas", {{0x003, 128}}, "start_on_gas", "1");
    row("battery x 0.075", {{0x037, 160}}, "battery_v", "12");
    row("level immediate", {{0x034, 77}, {0x035, 78}}, "level_immediate", "77");
    row("level average", {{0x034, 77}, {0x035, 78}}, "level_average", "78");
    row("fuel state gas", {{0x002, 3}}, "fuel_state", "3");
    row("fuel text gas", {{0x002, 3}}, "fuel", "Gas");
    row("fuel text waiting", {{0x002, 1}}, "fuel", "Gas Waiting");
}

void TestLiveLog::rowFields() {
    QFETCH(Bytes, bytes);
    QFETCH(QString, column);
    QFETCH(QString, expected);
    MemoryImage image;
    for (const auto &[address, value] : bytes)
        image.set(address, static_cast<quint8>(value));
    MessageTable messages;
    const live::Sample s = live::sampleOf(image, 1234);
    const QByteArray row = live::csvRow(s, live::fuelText(messages, s.fuelState, {}));
    QVERIFY(row.endsWith('\n'));
    QCOMPARE(row.trimmed().split(',').size(), 30);
    QCOMPARE(fieldOf(row, QStringLiteral("time_ms")), QStringLiteral("1234"));
    QCOMPARE(fieldOf(row, column), expected);
}

void TestLiveLog::fuelTextStaysOverUnknownStates() {
    MessageTable messages;
    messages.set(15, QStringLiteral("Gaz, GPL"));
    QCOMPARE(live::fuelText(messages, 0, {}), QStringLiteral("Gasoline"));
    QCOMPARE(live::fuelText(messages, 2, QStringLiteral("Gasoline")), QStringLiteral("Gasoline"));
    QCOMPARE(live::fuelText(messages, 7, QString()), QString());
    // A text holding the separator is quoted, and reads back as one field.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("drive.csv"));
    live::LiveLog log(messages);
    QVERIFY(log.open(path));
    MemoryImage image;
    image.set(0x002, 3);
    image.set(0x009, 1);
    QVERIFY(log.append(live::sampleOf(image, 10)));
    image.set(0x002, 2); // no text: the row keeps the one before
    QVERIFY(log.append(live::sampleOf(image, 20)));
    log.close();
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QCOMPARE(lines.at(1).left(22), QByteArray("10,3,\"Gaz, GPL\",2,0,0,"));
    QCOMPARE(lines.at(2).left(22), QByteArray("20,2,\"Gaz, GPL\",2,0,0,"));
    QString error;
    const auto data = live::readLiveLog(path, &error);
    QVERIFY2(data, qPrintable(error));
    QCOMPARE(data->rows, 2);
    QCOMPARE(data->values.at(3).at(1), 2.0); // speed, after the quoted field
}

void TestLiveLog::readBack_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("isLog");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<double>("lastSpeed");
    const QByteArray h = live::csvHeader();
    QByteArray row1 = "0,0,Gasoline,800" + QByteArray(",1.5").repeated(16) +
                      ",80,30,1.2,0.45,0,0,0,12.6,100,101\n";
    QByteArray row2 = row1;
    row2.replace("0,0,Gasoline,800", "140,3,Gas,2500");
    QTest::newRow("two rows") << h + row1 + row2 << true << 2 << 0 << 2500.0;
    QTest::newRow("cut by a kill") << h + row1 + row2 + row2.left(40) << true << 2 << 1 << 2500.0;
    QTest::newRow("carriage returns")
        << QByteArray(h + row1).replace("\n", "\r\n") << true << 1 << 0 << 800.0;
    QTest::newRow("short row in the middle")
        << h + row1 + "150,3,Gas\n" + row2 << true << 2 << 1 << 2500.0;
    QTest::newRow("header only") << h << true << 0 << 0 << 0.0;
    QTest::newRow("memory file") << QByteArray("FichierMemoire:00.01.Fin\r\n") << false << 0 << 0
                                 << 0.0;
    QTest::newRow("empty") << QByteArray() << false << 0 << 0 << 0.0;
    QTest::newRow("binary") << QByteArray("\x00\xff\x10,\x7f\n", 6) << false << 0 << 0 << 0.0;
}

void TestLiveLog::readBack() {
    QFETCH(QByteArray, content);
    QFETCH(bool, isLog);
    QFETCH(int, rows);
    QFETCH(int, skipped);
    QFETCH(double, lastSpeed);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.csv"));
    writeFile(path, content);
    QString error;
    const auto data = live::readLiveLog(path, &error);
    QCOMPARE(data.has_value(), isLog);
    if (!isLog) {
        QVERIFY(!error.isEmpty());
        return;
    }
    QCOMPARE(data->rows, rows);
    QCOMPARE(data->skipped, skipped);
    const int speed = data->column(QStringLiteral("speed_rpm"));
    QCOMPARE(speed, 3);
    if (rows > 0)
        QCOMPARE(data->values.at(speed).back(), lastSpeed);
    // The fuel text is no number.
    if (rows > 0)
        QVERIFY(std::isnan(data->values.at(2).front()));
}

// Without closing the log, another reader already sees every row.
void TestLiveLog::rowsAreOnDiskAsTheyAreLogged() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("live.csv"));
    MessageTable messages;
    live::LiveLog log(messages);
    QVERIFY(log.open(path));
    MemoryImage image;
    for (int i = 0; i < 5; ++i) {
        image.set(0x009, static_cast<quint8>(100 + i));
        QVERIFY(log.append(live::sampleOf(image, 140 * i)));
    }
    QCOMPARE(log.rows(), 5);
    QString error;
    const auto data = live::readLiveLog(path, &error);
    QVERIFY2(data, qPrintable(error));
    QCOMPARE(data->rows, 5);
    QCOMPARE(data->skipped, 0);
    QCOMPARE(data->values.at(0).back(), 560.0);
    QCOMPARE(data->values.at(3).back(), 208.0); // sequential: shown doubled
    // A file that cannot be made is said so.
    live::LiveLog bad(messages);
    QVERIFY(!bad.open(dir.filePath(QStringLiteral("missing/dir/x.csv"))));
    QVERIFY(!bad.errorString().isEmpty());
    QVERIFY(!bad.append(image));
}

QTEST_GUILESS_MAIN(TestLiveLog)
#include "tst_live_log.moc"
