#include "app/screenshot_tour.h"

#include "link/link.h"
#include "monitor/chart_window.h"
#include "monitor/monitor_screen.h"
#include "monitor/record_strip.h"
#include "shell/connection_form.h"
#include "shell/info_form.h"
#include "shell/main_window.h"
#include "shell/navigation.h"
#include "transfer/prog_start_form.h"
#include "transfer/transfer_form.h"
#include "ui/menu.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>

ScreenshotTour::ScreenshotTour(MainWindow &window, QString directory)
    : m_window(window), m_dir(std::move(directory)) {}

bool ScreenshotTour::waitFor(const std::function<bool()> &condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

bool ScreenshotTour::shoot(const QString &name, QWidget *window) {
    QCoreApplication::processEvents();
    const QString path = QDir(m_dir).filePath(name + QStringLiteral(".png"));
    const QPixmap picture = window ? window->grab() : m_window.grab();
    if (!picture.save(path)) {
        std::fprintf(stderr, "gasecu: cannot write %s\n", qPrintable(path));
        return false;
    }
    m_saved.append(path);
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool ScreenshotTour::shootRecording() {
    QTemporaryDir logs;
    RecordStrip *strip = m_window.screens().monitorScreen->Recording;
    strip->startRecording(logs.filePath(QStringLiteral("drive.csv")));
    waitFor([] { return false; }, 3000);
    bool ok = shoot(QStringLiteral("60-monitor-recording"));
    strip->BtChart_Click();
    waitFor([] { return false; }, 6000);
    ok = shoot(QStringLiteral("61-chart"), strip->chart()) && ok;
    strip->chart()->close();
    strip->stopRecording();
    return ok;
}

bool ScreenshotTour::run() {
    if (!QDir().mkpath(m_dir)) {
        std::fprintf(stderr, "gasecu: cannot create %s\n", qPrintable(m_dir));
        return false;
    }
    Screens &s = m_window.screens();
    Link &link = m_window.app().link;
    bool ok = shoot(QStringLiteral("01-information"));

    InfoForm *info = s.information->isShown() ? s.information : s.informationBrand1;
    if (info->isShown())
        info->Command1_Click();
    if (!link.state.PortIsOpen) {
        std::fprintf(stderr, "gasecu: the port could not be opened\n");
        shoot(QStringLiteral("02-no-port"));
        return false;
    }
    ok = shoot(QStringLiteral("02-start")) && ok;

    s.startForm->BoutonPC_Click();
    waitFor([&] { return link.state.FullReadIndex >= 8 || !link.state.FullReadActive; }, 10000);
    ok = shoot(QStringLiteral("03-download")) && ok;
    if (!waitFor([&] { return link.state.DataLoaded; }, 20000)) {
        std::fprintf(stderr, "%s\n", qPrintable(link.noCommunicationText()));
        return false;
    }
    ok = shoot(QStringLiteral("04-ready")) && ok;

    // The monitor after a few answers of the live poll.
    Navigation &nav = m_window.navigation();
    int answers = 0;
    const auto counting =
        QObject::connect(&link, &Link::dataDecoded, &link, [&answers] { ++answers; });
    nav.Moniteur_Click();
    link.SendLine(link.poll.frame());
    waitFor([&] { return answers >= 4; }, 10000);
    ok = shoot(QStringLiteral("05-monitor")) && ok;
    QObject::disconnect(counting);
    ok = shootRecording() && ok;

    const char *pages[] = {"06-parameters", "07-level", "08-coefficients", "09-ntc", "10-battery"};
    for (int page = 0; page < 5; ++page) {
        m_window.app().CurrentPage = page;
        nav.Parametres_Click();
        waitFor([] { return false; }, 700); // let a live page take a few answers
        ok = shoot(QString::fromLatin1(pages[page])) && ok;
    }
    nav.BtEmission_Click();
    ok = shoot(QStringLiteral("11-lambda")) && ok;
    if (!m_window.menu().BtEmi->isHidden())
        ok = emissionTools() && ok;
    ok = calibrationShots() && ok;
    ok = mapTour() && ok;
    ok = shootCompare() && ok;

    // The connection form with the log of a search that found the ECU.
    nav.Connection_Click();
    auto *connection = static_cast<ConnectionForm *>(s.connection);
    connection->Command4_Click();
    waitFor([&] { return !connection->search.isSearching() && !link.state.FullReadActive; }, 20000);
    connection->showForm();
    ok = shoot(QStringLiteral("20-connection")) && ok;
    connection->hideForm();
    ok = shootJobs() && ok;
    return ok;
}
