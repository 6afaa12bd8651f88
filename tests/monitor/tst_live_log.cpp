// Drive logs: the header, rows from chosen live bytes, logs read back.
#include "ecu/memory_image.h"
#include "link/message_table.h"
#include "live/live_log.h"
#include "pages/data_table.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using Bytes = QList<std::pair<int, int>>;
Q_DECLARE_METATYPE(Bytes)

class TestLiveLog : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void rowFields_data() {
        columns<Bytes, QString>("bytes", "expected"); // "column=text|..."
        const auto row = [](const char *name, const Bytes &bytes, const char *expected) {
            ::row(name, bytes, QString::fromLatin1(expected));
        };
        row("speed halved when sequential", {{0x80D, 0}, {0x008, 0x05}, {0x009, 0xDC}}, "3=3000");
        row("injection times",
            {{0x00C, 0x0F}, {0x00D, 0xA0}, {0x014, 4}, {0x01B, 40}, {0x02A, 3}, {0x02B, 0xE8}},
            "4=10.21|8=2.61|11=0.1|12=0|19=2.55");
        row("temperatures two's complement", {{0x02C, 127}, {0x02D, 128}}, "20=127|21=-128");
        row("pressure, lambda 1/200 V", {{0x02E, 0x04}, {0x02F, 0x1A}, {0x031, 0x95}},
            "22=10.5|23=0.745");
        row("temperature alarm, start on gas", {{0x003, 2 | 128}}, "24=1|25=0|26=1");
        row("pressure alarm", {{0x003, 4}}, "24=0|25=1|26=0");
        row("battery x 0.075, levels, fuel waiting",
            {{0x037, 160}, {0x034, 77}, {0x035, 78}, {0x002, 1}},
            "1=1|2=Gas Waiting|27=12|28=77|29=78");
    }
    void rowFields() {
        const auto [bytes, expected] = fetch<Bytes, QString>("bytes", "expected");
        MemoryImage image;
        for (const auto &[address, value] : bytes)
            image.set(address, static_cast<quint8>(value));
        const live::Sample s = live::sampleOf(image, 1234);
        const QByteArray row = live::csvRow(s, live::fuelText(MessageTable{}, s.fuelState, {}));
        const QList<QByteArray> fields = row.trimmed().split(',');
        QCOMPARE(fields.size(), 30);
        QCOMPARE(fields.at(0), QByteArray("1234"));
        QStringList shown;
        for (const QString &e : expected.split(u'|'))
            shown << e.section(u'=', 0, 0) + u'=' + fields.at(e.section(u'=', 0, 0).toInt());
        QCOMPARE(shown.join(u'|'), expected);
    }

    // Rows are on disk before the log is closed; a text holding the separator is
    // quoted; a state without a text keeps the one before.
    void writtenRowsReadBack() {
        MessageTable messages;
        messages.set(15, QStringLiteral("Gaz, GPL"));
        QCOMPARE(live::fuelText(messages, 0, {}), QStringLiteral("Gasoline"));
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
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QCOMPARE(lines.size(), 7); // header, five rows, nothing after the last line feed
        QVERIFY(lines.at(1).startsWith("0,3,\"Gaz, GPL\",200,0,"));
        QVERIFY(lines.at(5).startsWith("560,2,\"Gaz, GPL\",208,0,"));
    }

    void readBack_data() {
        // rows -1: not a drive log
        columns<QByteArray, int, int, double>("content", "rows", "skipped", "lastSpeed");
        const QByteArray h = live::csvHeader();
        const QByteArray row1 = "0,0,Gasoline,800" + QByteArray(",1.5").repeated(16) +
                                ",80,30,1.2,0.45,0,0,0,12.6,100,101\n";
        const QByteArray row2 =
            QByteArray(row1).replace("0,0,Gasoline,800", "140,3,\"Gaz, GPL\",2500");
        QTest::newRow("two rows, a quoted text") << h + row1 + row2 << 2 << 0 << 2500.0;
        QTest::newRow("cut by a kill") << h + row1 + row2 + row2.left(40) << 2 << 1 << 2500.0;
        QTest::newRow("carriage returns")
            << QByteArray(h + row1).replace("\n", "\r\n") << 1 << 0 << 800.0;
        QTest::newRow("short row inside") << h + row1 + "150,3,Gas\n" + row2 << 2 << 1 << 2500.0;
        QTest::newRow("header only") << h << 0 << 0 << 0.0;
        QTest::newRow("memory file")
            << QByteArray("FichierMemoire:00.01.Fin\r\n") << -1 << 0 << 0.0;
    }
    void readBack() {
        const auto [content, rows, skipped, lastSpeed] =
            fetch<QByteArray, int, int, double>("content", "rows", "skipped", "lastSpeed");
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("log.csv")));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(content) == content.size() && f.flush());
        QString error;
        const auto data = live::readLiveLog(f.fileName(), &error);
        QCOMPARE(data ? data->rows : -1, rows);
        QVERIFY(data || !error.isEmpty());
        if (!data)
            return;
        QCOMPARE(data->skipped, skipped);
        QCOMPARE(data->column(QStringLiteral("speed_rpm")), 3);
        if (rows > 0) {
            QCOMPARE(data->values.at(3).back(), lastSpeed);
            QVERIFY(std::isnan(data->values.at(2).front())); // the fuel text is no number
        }
    }
};

QTEST_GUILESS_MAIN(TestLiveLog)
#include "tst_live_log.moc"
