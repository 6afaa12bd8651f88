#include "monitor/record_strip.h"

#include "ecu/live_block.h"
#include "link/link.h"
#include "monitor/chart_window.h"
#include "ui/app_context.h"
#include "ui/captions.h"
#include "ui/dialogs.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {
const QString LogFilter = QStringLiteral("Drive log (*.csv)|*.csv|All File (*.*)|*.*");

QString clockText(qint64 ms) {
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2")
        .arg(s / 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}
} // namespace

RecordStrip::RecordStrip(AppContext &app, QWidget *parent)
    : QFrame(parent), m_app(app), m_log(app.link.messages) {
    setObjectName(QStringLiteral("FrameRecord"));
    auto *line = new QHBoxLayout(this);
    line->setContentsMargins(0, 0, 0, 0);
    BtRecord = new QPushButton(captions::text(captions::Record), this);
    BtRecord->setObjectName(QStringLiteral("BtRecord"));
    BtRecord->setAutoDefault(false);
    TxRecord = new QLabel(this);
    TxRecord->setObjectName(QStringLiteral("TxRecord"));
    TxRecord->setMinimumWidth(150);
    BtChart = new QPushButton(captions::text(captions::Chart), this);
    BtChart->setObjectName(QStringLiteral("BtChart"));
    BtChart->setAutoDefault(false);
    line->addWidget(BtRecord);
    line->addWidget(TxRecord, 1);
    line->addWidget(BtChart);

    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &RecordStrip::showElapsed);
    connect(BtRecord, &QPushButton::clicked, this, &RecordStrip::BtRecord_Click);
    connect(BtChart, &QPushButton::clicked, this, &RecordStrip::BtChart_Click);
    connect(&app.link, &Link::dataDecoded, this, &RecordStrip::onDataDecoded);
    connect(&captions::notifier(), &captions::Notifier::changed, this, [this] {
        BtRecord->setText(captions::text(recording() ? captions::StopRecording : captions::Record));
    });
}

RecordStrip::~RecordStrip() {
    delete m_chart;
}

void RecordStrip::BtRecord_Click() {
    if (recording()) {
        stopRecording();
        return;
    }
    const QString path = m_app.dialogs.savePath(captions::text(captions::SaveDriveLog), LogFilter,
                                                QStringLiteral("drive.csv"));
    if (!path.isEmpty())
        startRecording(path);
}

bool RecordStrip::startRecording(const QString &path) {
    if (!m_log.open(path)) {
        m_app.dialogs.warning(captions::text(captions::CannotWriteLog) + m_log.errorString() +
                              QLatin1Char(' '));
        return false;
    }
    m_path = path;
    BtRecord->setText(captions::text(captions::StopRecording));
    TxRecord->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0); font-weight: bold;"));
    showElapsed();
    m_clock.start();
    return true;
}

void RecordStrip::stopRecording() {
    if (!recording())
        return;
    const int rows = m_log.rows();
    m_log.close();
    m_clock.stop();
    BtRecord->setText(captions::text(captions::Record));
    TxRecord->setStyleSheet({});
    TxRecord->setText(
        captions::text(captions::RecordDone).arg(rows).arg(QFileInfo(m_path).fileName()));
}

void RecordStrip::showElapsed() {
    TxRecord->setText(captions::text(captions::RecordRunning)
                          .arg(clockText(m_log.elapsedMs()))
                          .arg(m_log.rows()));
}

void RecordStrip::onDataDecoded(int address, int count) {
    // The poll answers of the live block: every row the monitor shows.
    if (!recording() || !ecu::liveblock::isLiveAnswer(address, count))
        return;
    if (!m_log.append(m_app.link.image)) {
        const QString error = m_log.errorString();
        stopRecording();
        m_app.dialogs.warning(captions::text(captions::LogStopped) + error + QLatin1Char(' '));
    }
}

ChartWindow *RecordStrip::chart() const {
    return m_chart;
}

void RecordStrip::BtChart_Click() {
    if (!m_chart) {
        m_chart = new ChartWindow(m_app.link, m_app.dialogs);
        m_chart->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    m_chart->show();
    m_chart->raise();
    m_chart->activateWindow();
}
