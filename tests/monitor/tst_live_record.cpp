// The drive log and the chart window in the main window, on an in-memory line.
#include "live/live_log.h"
#include "monitor/chart_window.h"
#include "monitor/monitor_screen.h"
#include "monitor/record_strip.h"
#include "support/fake_link.h"
#include "support/frame_helpers.h"
#include "support/window_bench.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTest>
#include <QValueAxis>

using Bytes = QList<std::pair<int, int>>;

namespace {
QByteArray liveFrame(const Bytes &bytes) {
    std::vector<int> block(0x37, 0);
    for (const auto &[address, value] : bytes)
        block[static_cast<std::size_t>(address)] = value;
    return dataFrame(0x000, block);
}

QList<QByteArray> logLines(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().split('\n') : QList<QByteArray>{};
}
} // namespace

class TestLiveRecord : public QObject {
    Q_OBJECT
    std::unique_ptr<WindowBench> b; // new for every test
    RecordStrip *rec = nullptr;
    QString logPath() const { return b->dir.filePath(QStringLiteral("drive.csv")); }

  private Q_SLOTS:
    void init() {
        b = std::make_unique<WindowBench>();
        b->window.MDIForm1_Load();
        rec = b->window.screens().monitorScreen->Recording;
        QVERIFY(b->link.OpenPort());
    }
    void cleanup() { b.reset(); }

    // A cancelled dialog starts nothing, an unwritable file is said; other blocks
    // are no rows, nothing follows the stop; the chart shows the saved drive.
    void recordAndShowADrive() {
        QTest::mouseClick(rec->BtRecord, Qt::LeftButton);
        QVERIFY(!rec->recording());
        b->dialogs.fileAnswers = {b->dir.filePath(QStringLiteral("no/such/dir/drive.csv"))};
        QTest::mouseClick(rec->BtRecord, Qt::LeftButton);
        QVERIFY(!rec->recording());
        QVERIFY(b->dialogs.texts().first().startsWith(" Cannot write the drive log: "));
        b->dialogs.fileAnswers = {logPath()};
        QTest::mouseClick(rec->BtRecord, Qt::LeftButton);
        QVERIFY(rec->TxRecord->text().contains(QLatin1String("REC 00:00  0 rows")));
        for (int i = 0; i < 5; ++i) {
            answerRead(b->link, b->port, liveFrame({{0x009, 100 + i}, {0x02F, 100}}));
            answerRead(b->link, b->port, filledFrame(0x037, 0x10, 7));
        }
        QTest::mouseClick(rec->BtRecord, Qt::LeftButton);
        QCOMPARE(rec->TxRecord->text(), QStringLiteral("5 rows in drive.csv"));
        answerRead(b->link, b->port, liveFrame({}));
        const QList<QByteArray> lines = logLines(logPath());
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.at(5).split(',').at(3), QByteArray("208"));
        QTest::mouseClick(rec->BtChart, Qt::LeftButton);
        ChartWindow *chart = rec->chart();
        b->dialogs.fileAnswers = {logPath()};
        QTest::mouseClick(chart->BtOpen, Qt::LeftButton);
        QCOMPARE(chart->TxSource->text(), QStringLiteral("drive.csv: 5 rows"));
        QCOMPARE(chart->series(0)->at(4).y(), 208.0); // 104, shown doubled
        // A channel ticked on over the log: its axis fitted to the 1 bar it holds.
        chart->Channel[4]->setChecked(true);
        const auto *pressure = qobject_cast<QValueAxis *>(chart->series(4)->attachedAxes().at(1));
        QVERIFY2(pressure->min() > 0.5 && pressure->min() < 1 && pressure->max() > 1 &&
                     pressure->max() < 1.5,
                 qPrintable(QStringLiteral("%1..%2").arg(pressure->min()).arg(pressure->max())));
        answerRead(b->link, b->port, liveFrame({}));
        QCOMPARE(chart->series(0)->count(), 5);
        QTest::mouseClick(chart->BtLive, Qt::LeftButton);
        QCOMPARE(chart->series(0)->count(), 1);
        // No log: said so, and the chart stays live.
        QVERIFY(!chart->openLog(b->dir.filePath(QStringLiteral("none.csv"))));
        QVERIFY(!chart->showingLog());
        QCOMPARE(b->dialogs.texts().size(), 2);
        QVERIFY(b->dialogs.texts().last().startsWith(" Cannot open the drive log: "));
    }

    void chartKeepsTheLastMinute() {
        QTest::mouseClick(rec->BtChart, Qt::LeftButton);
        ChartWindow *chart = rec->chart();
        QLineSeries *speed = chart->series(0);
        auto add = [&](int from, int to) {
            for (int t = from; t <= to; ++t)
                chart->addSample({.ms = t * 1000, .speed = 1000 + t});
        };
        add(0, 90);
        chart->drawPending();
        QCOMPARE(speed->count(), 61); // 30 s .. 90 s: older points are gone
        QCOMPARE(speed->at(0), QPointF(30, 1030));
        QTest::mouseClick(chart->BtPause, Qt::LeftButton);
        add(91, 95);
        QCOMPARE(speed->at(60), QPointF(90, 1090)); // frozen while paused
        QTest::mouseClick(chart->BtPause, Qt::LeftButton);
        QCOMPARE(speed->at(60), QPointF(95, 1095));             // what came meanwhile is shown
        answerRead(b->link, b->port, liveFrame({{0x009, 50}})); // an answer on the line lands too
        chart->drawPending();
        QCOMPARE(speed->count(), 62);
    }

    // Answers wait for the next drawing, which takes them all at once; a
    // channel not shown is not drawn until it is ticked, then with the last
    // minute.
    void chartDrawsInBatchesAndOnlyShownChannels() {
        QTest::mouseClick(rec->BtChart, Qt::LeftButton);
        ChartWindow *chart = rec->chart();
        QLineSeries *speed = chart->series(0);
        QLineSeries *gasTime = chart->series(2); // not shown at first
        chart->drawPending();
        const qsizetype before = speed->count();
        for (int t = 0; t < 5; ++t)
            chart->addSample({.ms = 1000 + t * 140, .speed = 800 + t});
        QCOMPARE(speed->count(), before);
        chart->drawPending();
        QCOMPARE(speed->count(), before + 5);
        QCOMPARE(speed->at(speed->count() - 1), QPointF(1.56, 804));
        QCOMPARE(gasTime->count(), 0);
        chart->Channel[2]->setChecked(true);
        QCOMPARE(gasTime->count(), before + 5);
        QCOMPARE(gasTime->at(gasTime->count() - 1).x(), 1.56);
        // Its axis fitted to the flat line at 0 rather than left at the
        // empty chart's 0..1.
        const auto *axis = qobject_cast<QValueAxis *>(gasTime->attachedAxes().at(1));
        QVERIFY(axis->min() < 0 && axis->max() > 0 && axis->max() < 0.5);
    }

    // A value axis moved by hand (a zoom) is fitted again at the next drawing,
    // even when the line's span has not changed.
    void chartRefitsAnAxisMovedByHand() {
        QTest::mouseClick(rec->BtChart, Qt::LeftButton);
        ChartWindow *chart = rec->chart();
        for (int t = 0; t < 3; ++t)
            chart->addSample({.ms = t * 140, .speed = 1000 + 100 * t});
        chart->drawPending();
        auto *axis = qobject_cast<QValueAxis *>(chart->series(0)->attachedAxes().at(1));
        QVERIFY(axis);
        const QPair<double, double> fitted{axis->min(), axis->max()};
        QVERIFY(fitted.first <= 1000 && fitted.second >= 1200);
        axis->setRange(0, 1);
        chart->addSample({.ms = 420, .speed = 1100});
        chart->drawPending();
        QCOMPARE((QPair<double, double>{axis->min(), axis->max()}), fitted);
    }
};

QTEST_MAIN(TestLiveRecord)
#include "tst_live_record.moc"
