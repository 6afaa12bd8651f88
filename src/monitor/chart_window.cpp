#include "monitor/chart_window.h"

#include "ecu/live_block.h"
#include "link/link.h"
#include "live/live_log.h"
#include "ui/captions.h"
#include "ui/dialogs.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>

#include <cmath>
#include <iterator>

namespace {
const QString LogFilter = QStringLiteral("Drive log (*.csv)|*.csv|All File (*.*)|*.*");
const QColor Colours[] = {QColor(32, 80, 160), QColor(200, 120, 0),  QColor(0, 150, 60),
                          QColor(190, 0, 0),   QColor(120, 60, 170), QColor(0, 140, 160),
                          QColor(150, 110, 40)};
// Speed, petrol injection and lambda are shown first.
constexpr bool ShownAtFirst[] = {true, true, false, true, false, false, false};

QPushButton *button(const char *name, const QString &text, QWidget *parent) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}
} // namespace

ChartWindow::ChartWindow(Link &link, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window), m_link(link), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("FnChart"));
    buildLayout();
    caption();
    connect(&captions::notifier(), &captions::Notifier::changed, this, &ChartWindow::caption);
    m_clock.start();
    m_redraw.setSingleShot(true);
    m_redraw.setInterval(RedrawMs);
    connect(&m_redraw, &QTimer::timeout, this, &ChartWindow::drawPending);
    connect(&link, &Link::dataDecoded, this, &ChartWindow::onDataDecoded);
    resize(900, 520);
}

void ChartWindow::buildLayout() {
    auto *outer = new QHBoxLayout(this);
    auto *side = new QVBoxLayout;
    m_chart = new QChart;
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_time = new QValueAxis(m_chart);
    m_time->setLabelFormat(QStringLiteral("%.0f"));
    m_chart->addAxis(m_time, Qt::AlignBottom);
    for (int c = 0; c < ChannelCount; ++c) {
        const live::Channel &channel = live::chartChannels()[static_cast<std::size_t>(c)];
        const QString caption = QString::fromUtf8(channel.caption);
        auto *series = new QLineSeries(m_chart);
        series->setName(caption);
        series->setPen(QPen(Colours[c], 1.5));
        m_chart->addSeries(series);
        auto *axis = new QValueAxis(m_chart);
        axis->setLinePenColor(Colours[c]);
        axis->setLabelsColor(Colours[c]);
        m_chart->addAxis(axis, c % 2 == 0 ? Qt::AlignLeft : Qt::AlignRight);
        series->attachAxis(m_time);
        series->attachAxis(axis);
        m_series.at(static_cast<std::size_t>(c)) = series;
        m_axes.at(static_cast<std::size_t>(c)) = axis;

        auto *box = new QCheckBox(caption, this);
        box->setObjectName(QStringLiteral("Channel%1").arg(c));
        box->setChecked(ShownAtFirst[c]);
        connect(box, &QCheckBox::toggled, this, [this, c](bool on) { showChannel(c, on); });
        Channel.at(static_cast<std::size_t>(c)) = box;
        side->addWidget(box);
        series->setVisible(ShownAtFirst[c]);
        axis->setVisible(ShownAtFirst[c]);
    }
    side->addSpacing(12);
    BtPause = button("BtPause", QString(), this);
    BtOpen = button("BtOpen", QString(), this);
    BtLive = button("BtLive", QString(), this);
    BtFit = button("BtFit", QString(), this);
    TxSource = new QLabel(this);
    TxSource->setObjectName(QStringLiteral("TxSource"));
    TxSource->setWordWrap(true);
    for (QWidget *w : {static_cast<QWidget *>(BtPause), static_cast<QWidget *>(BtFit),
                       static_cast<QWidget *>(BtOpen), static_cast<QWidget *>(BtLive),
                       static_cast<QWidget *>(TxSource)})
        side->addWidget(w);
    side->addStretch(1);
    BtLive->setEnabled(false);
    connect(BtPause, &QPushButton::clicked, this, &ChartWindow::BtPause_Click);
    connect(BtOpen, &QPushButton::clicked, this, &ChartWindow::BtOpen_Click);
    connect(BtLive, &QPushButton::clicked, this, &ChartWindow::BtLive_Click);
    connect(BtFit, &QPushButton::clicked, this, &ChartWindow::BtFit_Click);

    m_view = new QChartView(m_chart, this);
    m_view->setObjectName(QStringLiteral("ChartView"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setRubberBand(QChartView::HorizontalRubberBand);
    m_view->viewport()->installEventFilter(this);
    outer->addLayout(side);
    outer->addWidget(m_view, 1);
    fit(0, WindowMs / 1000.0);
}

// The captions in the language loaded; the source line keeps a log's name.
void ChartWindow::caption() {
    setWindowTitle(captions::text(captions::ChartTitle));
    m_time->setTitleText(captions::text(captions::TimeAxis));
    BtPause->setText(captions::text(m_paused ? captions::Resume : captions::Pause));
    BtOpen->setText(captions::text(captions::OpenLog));
    BtLive->setText(captions::text(captions::Live));
    BtFit->setText(captions::text(captions::Fit));
    if (!m_showingLog)
        TxSource->setText(captions::text(captions::LiveSource));
    for (int c = 0; c < ChannelCount; ++c) {
        const QString name = captions::text(captions::Id(captions::ChannelSpeed + c));
        m_series.at(static_cast<std::size_t>(c))->setName(name);
        if (auto *box = findChild<QCheckBox *>(QStringLiteral("Channel%1").arg(c)))
            box->setText(name);
    }
}

void ChartWindow::showChannel(int channel, bool shown) {
    // A hidden channel's live line is not kept up: drawn afresh when ticked,
    // and its axis fitted to the span shown.
    if (shown && !m_showingLog)
        drawChannel(channel);
    m_series.at(static_cast<std::size_t>(channel))->setVisible(shown);
    m_axes.at(static_cast<std::size_t>(channel))->setVisible(shown);
    if (shown)
        fit(m_time->min(), m_time->max());
}

// One channel's live line from the last minute, up to the last answer drawn.
void ChartWindow::drawChannel(int channel) {
    const live::Channel &values = live::chartChannels()[static_cast<std::size_t>(channel)];
    QList<QPointF> points;
    const auto drawn = m_recent.end() - m_undrawn;
    points.reserve(std::distance(m_recent.begin(), drawn));
    for (auto s = m_recent.begin(); s != drawn; ++s)
        points.append({s->ms / 1000.0, values.value(*s)});
    m_series.at(static_cast<std::size_t>(channel))->replace(points);
}

void ChartWindow::onDataDecoded(int address, int count) {
    if (ecu::liveblock::isLiveAnswer(address, count))
        addSample(live::sampleOf(m_link.image, m_clock.elapsed()));
}

void ChartWindow::addSample(const live::Sample &sample) {
    m_recent.push_back(sample);
    ++m_undrawn;
    while (!m_recent.empty() && m_recent.front().ms < sample.ms - WindowMs)
        m_recent.pop_front();
    m_undrawn = qMin(m_undrawn, static_cast<qsizetype>(m_recent.size()));
    // A closed window keeps only the last minute; showEvent draws it.
    if (m_paused || m_showingLog || !isVisible())
        return;
    if (!m_redraw.isActive())
        m_redraw.start();
}

// The answers not drawn yet are appended to the shown channels' lines, the
// points older than a minute dropped, and the axes follow: one repaint for
// the whole batch.
void ChartWindow::drawPending() {
    m_redraw.stop();
    if (m_paused || m_showingLog || m_undrawn == 0)
        return;
    const auto fresh = m_recent.end() - m_undrawn;
    const double t = m_recent.back().ms / 1000.0;
    const double from = t - WindowMs / 1000.0;
    for (int c = 0; c < ChannelCount; ++c) {
        if (!Channel.at(static_cast<std::size_t>(c))->isChecked())
            continue;
        const live::Channel &values = live::chartChannels()[static_cast<std::size_t>(c)];
        QLineSeries *series = m_series.at(static_cast<std::size_t>(c));
        QList<QPointF> points;
        points.reserve(std::distance(fresh, m_recent.end()));
        for (auto s = fresh; s != m_recent.end(); ++s)
            points.append({s->ms / 1000.0, values.value(*s)});
        series->append(points);
        int old = 0;
        while (old < series->count() && series->at(old).x() < from)
            ++old;
        if (old > 0)
            series->removePoints(0, old);
    }
    m_undrawn = 0;
    fit(qMax(0.0, from), qMax(t, WindowMs / 1000.0));
}

// The time span shown, and each channel's axis around what it shows there.
void ChartWindow::fit(double fromS, double toS) {
    m_time->setRange(fromS, toS);
    for (int c = 0; c < ChannelCount; ++c) {
        const QCheckBox *box = Channel.at(static_cast<std::size_t>(c));
        if (box && !box->isChecked())
            continue;
        const QLineSeries *series = m_series.at(static_cast<std::size_t>(c));
        double low = INFINITY;
        double high = -INFINITY;
        for (const QPointF &p : series->points()) {
            if (p.x() >= fromS && p.x() <= toS && std::isfinite(p.y())) {
                low = qMin(low, p.y());
                high = qMax(high, p.y());
            }
        }
        if (!std::isfinite(low)) {
            low = 0;
            high = 1;
        }
        // A flat line gets a little room around it; nice numbers on the scale.
        const double pad = high > low ? (high - low) * 0.08 : qMax(std::abs(high) * 0.05, 0.1);
        QValueAxis *axis = m_axes.at(static_cast<std::size_t>(c));
        // The same span on an axis left as it was set: nothing to lay out again.
        AxisFit &last = m_fitted.at(static_cast<std::size_t>(c));
        const AxisFit wanted{low - pad, high + pad, axis->min(), axis->max()};
        if (wanted.low == last.low && wanted.high == last.high &&
            wanted.shownLow == last.shownLow && wanted.shownHigh == last.shownHigh)
            continue;
        axis->setRange(wanted.low, wanted.high);
        axis->applyNiceNumbers();
        last = {wanted.low, wanted.high, axis->min(), axis->max()};
    }
}

// Live data are rebuilt from the last 60 s, those that came while paused
// included.
void ChartWindow::showLive() {
    m_redraw.stop();
    m_undrawn = 0;
    for (int c = 0; c < ChannelCount; ++c) {
        if (Channel.at(static_cast<std::size_t>(c))->isChecked())
            drawChannel(c);
    }
    const double t = m_recent.empty() ? 0 : m_recent.back().ms / 1000.0;
    fit(qMax(0.0, t - WindowMs / 1000.0), qMax(t, WindowMs / 1000.0));
}

void ChartWindow::BtPause_Click() {
    if (m_showingLog)
        return;
    m_paused = !m_paused;
    BtPause->setText(captions::text(m_paused ? captions::Resume : captions::Pause));
    if (!m_paused)
        showLive();
}

void ChartWindow::BtOpen_Click() {
    const QString path = m_dialogs.openFile(captions::text(captions::OpenDriveLog), LogFilter, {});
    if (!path.isEmpty())
        openLog(path);
}

bool ChartWindow::openLog(const QString &path) {
    QString error;
    const auto log = live::readLiveLog(path, &error);
    if (!log) {
        m_dialogs.warning(captions::text(captions::CannotOpenLog) + error + QLatin1Char(' '));
        return false;
    }
    const std::vector<double> &times = log->values.front();
    for (int c = 0; c < ChannelCount; ++c) {
        const int column =
            log->column(QLatin1String(live::chartChannels()[static_cast<std::size_t>(c)].column));
        QList<QPointF> points;
        if (column >= 0) {
            const std::vector<double> &values = log->values.at(static_cast<std::size_t>(column));
            points.reserve(static_cast<qsizetype>(times.size()));
            for (std::size_t r = 0; r < times.size(); ++r)
                points.append({times[r] / 1000.0, values[r]});
        }
        m_series.at(static_cast<std::size_t>(c))->replace(points);
    }
    m_showingLog = true;
    BtPause->setEnabled(false);
    BtLive->setEnabled(true);
    TxSource->setText(QStringLiteral("%1: %2 rows").arg(QFileInfo(path).fileName()).arg(log->rows));
    BtFit_Click();
    return true;
}

void ChartWindow::BtLive_Click() {
    m_showingLog = false;
    m_paused = false;
    BtPause->setText(captions::text(captions::Pause));
    BtPause->setEnabled(true);
    BtLive->setEnabled(false);
    TxSource->setText(captions::text(captions::LiveSource));
    showLive();
}

void ChartWindow::BtFit_Click() {
    m_chart->zoomReset();
    double last = 0;
    for (int c = 0; c < ChannelCount; ++c) {
        const QLineSeries *series = m_series.at(static_cast<std::size_t>(c));
        if (Channel.at(static_cast<std::size_t>(c))->isChecked() && series->count() > 0)
            last = qMax(last, series->at(series->count() - 1).x());
    }
    const double first = m_showingLog ? 0.0 : qMax(0.0, last - WindowMs / 1000.0);
    fit(first, qMax(last, first + 1.0));
}

void ChartWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!m_paused && !m_showingLog)
        showLive();
}

bool ChartWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_view->viewport() && event->type() == QEvent::Wheel) {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        m_chart->zoom(wheel->angleDelta().y() > 0 ? 1.25 : 0.8);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
