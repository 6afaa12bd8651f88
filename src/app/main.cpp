// gasecu: the service tool.
//   gasecu [--ports-dir DIR] [--port N] [--screenshots DIR]
#include "app/screenshot_tour.h"
#include "link/link.h"
#include "link/qt_serial_port.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>
#include <optional>

namespace {
bool wantsScreenshots(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshots") == 0)
            return true;
    }
    return false;
}
} // namespace

int main(int argc, char **argv) {
    // The screenshot tour renders without a display, and keeps its records
    // and restore points in a data folder of its own.
    std::optional<QTemporaryDir> tourData;
    if (wantsScreenshots(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        tourData.emplace();
        qputenv("XDG_DATA_HOME", tourData->path().toLocal8Bit());
    }
    const QString programDir = QDir::currentPath();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("gasecu"));
    QApplication::setApplicationVersion(QStringLiteral(GASECU_VERSION));
    QCommandLineParser args;
    args.setApplicationDescription(QStringLiteral("Service tool for the gas injection ECU."));
    args.addHelpOption();
    args.addVersionOption();
    args.addOption({QStringLiteral("ports-dir"),
                    QStringLiteral("Port directory holding comN entries."), QStringLiteral("DIR")});
    args.addOption({QStringLiteral("port"),
                    QStringLiteral("Serial port number (overrides prconfig.txt)."),
                    QStringLiteral("N")});
    args.addOption({QStringLiteral("screenshots"),
                    QStringLiteral("Tour every screen and save one PNG each into DIR, then exit."),
                    QStringLiteral("DIR")});
    args.process(app);

    QtSerialPort serial(PortDirectory(args.value(QStringLiteral("ports-dir"))));
    Link link(&serial);
    MainWindow window(link, nullptr, programDir);
    window.MDIForm1_Load();
    if (args.isSet(QStringLiteral("port"))) {
        bool ok = false;
        const int port = args.value(QStringLiteral("port")).toInt(&ok);
        if (ok && port >= 0 && port <= 255)
            link.setPortNumber(port);
    }
    window.show();

    if (args.isSet(QStringLiteral("screenshots"))) {
        ScreenshotTour tour(window, args.value(QStringLiteral("screenshots")));
        return tour.run() ? EXIT_SUCCESS : EXIT_FAILURE;
    }
    return QApplication::exec();
}
