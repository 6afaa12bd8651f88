// gasecu-file-writer DIR: rewrites the configuration file and a sensor file
// in DIR over and over, each time as a new version whose fields all tell the
// version apart, until it is killed. The crash-safety test kills it.
#include "files/config_file.h"
#include "files/sensor_file.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2)
        return 2;
    const QString dir = args.at(1);
    std::puts("writing");
    std::fflush(stdout);
    for (int version = 1;; ++version) {
        ConfigFile config(dir);
        config.ConfigValues[1] = QString::number(version % 200 + 1);
        // A long path makes the file span several writes.
        config.ConfigValues[2] = QStringLiteral("lng-%1-").arg(version).repeated(400);
        if (!config.WriteConfigFile())
            return 1;
        sensorfile::Settings s;
        s.fill(QString::number(version));
        if (!sensorfile::write(QDir(dir).filePath(sensorfile::DefaultName), s))
            return 1;
    }
}
