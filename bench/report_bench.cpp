#include "report_bench.h"

#include "ecu-sim/default_config.h"
#include "report/report_writer.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The simulator's configuration as the tool's image.
MemoryImage simulatorImage() {
    ecusim::EcuMemory memory;
    ecusim::applyDefaultImage(memory);
    MemoryImage image;
    for (int a = 0; a < MemoryImage::Size; ++a)
        image.set(a, memory.at(a));
    return image;
}

ReportData fullJob() {
    ReportData data;
    data.workshopName = QStringLiteral("Bench workshop");
    data.image = simulatorImage();
    MemoryImage first = data.image;
    first.set(0x803, 30);
    data.firstRead = first;
    data.printedAt = QDateTime::currentDateTime();
    Vehicle car;
    car.plate = QStringLiteral("AB-123-CD");
    data.vehicle = car;
    JobRecord record;
    for (int kind = 0; kind < 2; ++kind) {
        CalibrationEntry calibration;
        calibration.kind = kind;
        for (int f = 0; f < 20; ++f)
            calibration.bank1 << QString::number(2.5 + f / 7.0);
        calibration.bank2 = calibration.bank1;
        record.calibrations << calibration;
    }
    MapEntry map;
    for (int band = 1; band <= 20; ++band) {
        map.bands << QStringList{QString::number(band),         QString::number(band * 5),
                                 QString::number(band * 5 + 5), QStringLiteral("3.10"),
                                 QStringLiteral("4"),           QStringLiteral("3.20"),
                                 QStringLiteral("5"),           QStringLiteral("+3.2")};
        map.applied << 100 + band;
    }
    record.maps << map;
    FinalTestEntry test;
    for (int n = 0; n < 13; ++n)
        test.texts << QString::number(n - 6);
    record.finalTests << test;
    data.job = record;
    return data;
}

} // namespace

bool benchReport(Figures &figures, int runs) {
    const ReportData data = fullJob();
    QTemporaryDir dir;
    QList<double> seconds;
    for (int i = 0; i < runs; ++i) {
        QString error;
        QElapsedTimer t;
        t.start();
        if (!report::write(data, dir.filePath(QStringLiteral("report.pdf")), &error)) {
            std::fprintf(stderr, "gasecu-bench: the report was not written: %s\n",
                         qPrintable(error));
            return false;
        }
        seconds << double(t.nsecsElapsed()) / 1e9;
    }
    figures.add(QStringLiteral("report_seconds"), QStringLiteral("s"), seconds, Limit::atMost(2));
    return true;
}
