// The monitor's drive log and the chart window inside the real main
// window, on an in-memory line: the rows hold what the monitor shows for
// the same answer, one row per answer of the live block and none for other
// blocks, the Record button's states, and the chart's 60 s window, pause,
// and saved logs.
#include "link/link.h"
#include "monitor/chart_window.h"
#include "monitor/live_log.h"
#include "monitor/monitor_screen.h"
#include "monitor/record_strip.h"
#include "shell/main_window.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"
#include "support/frame_helpers.h"
#include "support/window_bench.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

#include <memory>

using Bytes = QList<std::pair<int, int>>;
Q_DECLARE_METATYPE(Bytes)

namespace {
std::vector<int> liveBlock(const Bytes &bytes) {
    std::vector<int> block(0x37, 0);
    for (const auto &[address, value] : bytes)
        block[static_cast<std::size_t>(address)] = value;
    return block;
}

QList<QByteArray> logLines(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = f.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
} // namespace

class TestLiveRecord : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup() { b.reset(); }
    void rowEqualsTheMonitor_data();
    void rowEqualsTheMonitor();
    void oneRowPerLiveAnswer();
    void cancelledOrUnwritable();
    void chartKeepsTheLastMinute();
    void chartPausesAndResumes();
    void chartOpensASavedLog();

  private:
    std::unique_ptr<WindowBench> b; // new for every test
    MonitorScreen *m = nullptr;
    RecordStrip *rec = nullptr;
    QString logPath() const { return b->dir.filePath(QStringLiteral("drive.csv")); }
    void startRecording() {
        b->dialogs.fileAnswers = {logPath()};
        QTest::mouseClick(rec->BtRecord, Qt::LeftButton);
        QVERIFY(rec->recording());
    }
};

void TestLiveRecord::init() {
    b = std::make_unique<WindowBench>();
    b->window.MDIForm1_Load();
    m = b->window.screens().FnMoniteur;
    rec = m->Recording;
    QVERIFY(b->link.OpenPort());
}

void TestLiveRecord::rowEqualsTheMonitor_data() {
    QTest::addColumn<int>("injectionType");
    QTest::addColumn<Bytes>("bytes");
    QTest::newRow("idle on petrol, sequential")
        << 0 << Bytes{{0x002, 0},    {0x008, 0x01}, {0x009, 0x90}, {0x00C, 0x0F},
                      {0x00D, 0xA0}, {0x014, 4},    {0x02C, 200},  {0x02D, 30},
                      {0x02E, 0x04}, {0x02F, 0x1A}, {0x030, 0},    {0x031, 0x95}};
    QTest::newRow("load on gas, full group")
        << 1 << Bytes{{0x002, 3},   {0x008, 0x0B}, {0x009, 0xB8}, {0x01A, 2},   {0x01B, 7},
                      {0x01C, 9},   {0x01D, 200},  {0x02A, 3},    {0x02B, 232}, {0x02C, 127},
                      {0x02D, 128}, {0x02F, 123},  {0x030, 1},    {0x031, 0}};
    QTest::newRow("waiting for gas") << 1 << Bytes{{0x002, 1}, {0x02C, 40}};
}

void TestLiveRecord::rowEqualsTheMonitor() {
    QFETCH(int, injectionType);
    QFETCH(Bytes, bytes);
    b->link.image.set(0x80D, static_cast<quint8>(injectionType));
    startRecording();
    b->port.feed(dataFrame(0x000, liveBlock(bytes)));
    rec->stopRecording();
    const QList<QByteArray> lines = logLines(logPath());
    QCOMPARE(lines.size(), 2);
    const QStringList columns = live::csvColumns();
    const QList<QByteArray> row = lines.at(1).split(',');
    auto field = [&](const QString &name) {
        return QString::fromUtf8(row.value(columns.indexOf(name)));
    };
    QCOMPARE(field(QStringLiteral("speed_rpm")), m->TextRPM->text());
    QCOMPARE(field(QStringLiteral("fuel")), m->TextGazEtat->text());
    QCOMPARE(field(QStringLiteral("vaporiser_temp_c")), m->TextTPEau->text());
    QCOMPARE(field(QStringLiteral("gas_temp_c")), m->TextTPGaz->text());
    QCOMPARE(field(QStringLiteral("pressure_bar")), m->TextPression->text());
    QCOMPARE(field(QStringLiteral("lambda_v")), m->TextLambda->text());
    for (int c = 0; c < 8; ++c) {
        QCOMPARE(field(live::column::petrol(c + 1)), m->TextE[static_cast<std::size_t>(c)]->text());
        QCOMPARE(field(live::column::gas(c + 1)), m->TextG[static_cast<std::size_t>(c)]->text());
    }
}

void TestLiveRecord::oneRowPerLiveAnswer() {
    QCOMPARE(rec->BtRecord->text(), QStringLiteral("Record"));
    startRecording();
    QCOMPARE(rec->BtRecord->text(), QStringLiteral("Stop"));
    QVERIFY(rec->TxRecord->text().contains(QLatin1String("REC 00:00  0 rows")));
    for (int i = 0; i < 5; ++i) {
        b->port.feed(dataFrame(0x000, liveBlock({{0x009, 100 + i}})));
        // Answers of other blocks are no poll of the live data.
        b->port.feed(filledFrame(0x037, 0x10, 7));
        b->port.feed(filledFrame(0x801, 2, 9));
    }
    QTest::mouseClick(rec->BtRecord, Qt::LeftButton);
    QVERIFY(!rec->recording());
    QCOMPARE(rec->BtRecord->text(), QStringLiteral("Record"));
    QCOMPARE(rec->TxRecord->text(), QStringLiteral("5 rows in drive.csv"));
    const QList<QByteArray> lines = logLines(logPath());
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines.at(0), live::csvHeader().trimmed());
    for (int i = 0; i < 5; ++i)
        QCOMPARE(lines.at(i + 1).split(',').at(3), QByteArray::number(2 * (100 + i)));
    // Nothing more after the stop.
    b->port.feed(dataFrame(0x000, liveBlock({})));
    QCOMPARE(logLines(logPath()).size(), 6);
    QVERIFY(b->dialogs.shown.isEmpty());
}

void TestLiveRecord::cancelledOrUnwritable() {
    QTest::mouseClick(rec->BtRecord, Qt::LeftButton); // the dialog is cancelled
    QVERIFY(!rec->recording());
    QVERIFY(b->dialogs.shown.isEmpty());
    b->dialogs.fileAnswers = {b->dir.filePath(QStringLiteral("no/such/dir/drive.csv"))};
    QTest::mouseClick(rec->BtRecord, Qt::LeftButton);
    QVERIFY(!rec->recording());
    QCOMPARE(b->dialogs.shown.size(), 1);
    QVERIFY(
        b->dialogs.shown.first().text.startsWith(QLatin1String(" Cannot write the drive log: ")));
    QCOMPARE(rec->BtRecord->text(), QStringLiteral("Record"));
}

void TestLiveRecord::chartKeepsTheLastMinute() {
    QTest::mouseClick(rec->BtChart, Qt::LeftButton);
    ChartWindow *chart = rec->chart();
    QVERIFY(chart && chart->isVisible());
    live::Sample s;
    for (int t = 0; t <= 90; ++t) {
        s.ms = t * 1000;
        s.speed = 1000 + t;
        chart->addSample(s);
    }
    // 30 s .. 90 s: the points older than a minute are gone.
    QLineSeries *speed = chart->series(0);
    QCOMPARE(speed->count(), 61);
    QCOMPARE(speed->at(0), QPointF(30, 1030));
    QCOMPARE(chart->timeAxis()->min(), 30.0);
    QCOMPARE(chart->timeAxis()->max(), 90.0);
    // Channels can be hidden; their data stay.
    chart->Channel[0]->setChecked(false);
    QVERIFY(!speed->isVisible());
    QCOMPARE(speed->count(), 61);
    // An answer on the line lands in the chart too.
    b->port.feed(dataFrame(0x000, liveBlock({{0x009, 50}})));
    QCOMPARE(speed->count(), 62);
}

void TestLiveRecord::chartPausesAndResumes() {
    QTest::mouseClick(rec->BtChart, Qt::LeftButton);
    ChartWindow *chart = rec->chart();
    live::Sample s;
    for (int t = 0; t < 10; ++t) {
        s.ms = t * 1000;
        chart->addSample(s);
    }
    QTest::mouseClick(chart->BtPause, Qt::LeftButton);
    QCOMPARE(chart->BtPause->text(), QStringLiteral("Resume"));
    for (int t = 10; t < 20; ++t) {
        s.ms = t * 1000;
        chart->addSample(s);
    }
    QCOMPARE(chart->series(3)->count(), 10); // frozen while paused
    QTest::mouseClick(chart->BtPause, Qt::LeftButton);
    QCOMPARE(chart->BtPause->text(), QStringLiteral("Pause"));
    QCOMPARE(chart->series(3)->count(), 20); // what came meanwhile is shown
}

void TestLiveRecord::chartOpensASavedLog() {
    startRecording();
    for (int i = 0; i < 4; ++i)
        b->port.feed(dataFrame(0x000, liveBlock({{0x009, 10 * (i + 1)}, {0x02F, 100}})));
    rec->stopRecording();
    QTest::mouseClick(rec->BtChart, Qt::LeftButton);
    ChartWindow *chart = rec->chart();
    b->dialogs.fileAnswers = {logPath()};
    QTest::mouseClick(chart->BtOpen, Qt::LeftButton);
    QVERIFY(chart->showingLog());
    QCOMPARE(chart->TxSource->text(), QStringLiteral("drive.csv: 4 rows"));
    QCOMPARE(chart->series(0)->count(), 4);
    QCOMPARE(chart->series(0)->at(3).y(), 80.0); // 40, shown doubled
    QCOMPARE(chart->series(4)->at(0).y(), 1.0);  // pressure, bar
    // A live answer does not disturb the drive on show.
    b->port.feed(dataFrame(0x000, liveBlock({})));
    QCOMPARE(chart->series(0)->count(), 4);
    QTest::mouseClick(chart->BtLive, Qt::LeftButton);
    QVERIFY(!chart->showingLog());
    QCOMPARE(chart->series(0)->count(), 1);
    // Not a log: said so, and the chart stays as it is.
    const QString bad = b->dir.filePath(QStringLiteral("bad.csv"));
    QFile f(bad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("FichierMemoire:00.Fin\r\n");
    f.close();
    QVERIFY(!chart->openLog(bad));
    QVERIFY(!chart->showingLog());
    QVERIFY(b->dialogs.texts().last().startsWith(QLatin1String(" Cannot open the drive log: ")));
}

QTEST_MAIN(TestLiveRecord)
#include "tst_live_record.moc"
