// The conversion report: what it prints, in which language, on which pages,
// and that a path it cannot write is refused with nothing left behind.
#include "ecu-sim/default_config.h"
#include "ecu/memory_image.h"
#include "files/language_file.h"
#include "pages/data_table.h"
#include "report/report_writer.h"
#include "settings/field_description.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

MemoryImage defaultImage() {
    ecusim::EcuMemory memory;
    ecusim::applyDefaultImage(memory);
    MemoryImage image;
    for (int a = 0; a < MemoryImage::Size; ++a)
        image.set(a, memory.at(a));
    return image;
}

QString run(const QString &program, const QStringList &arguments) {
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A conversion job: the car read at 35 °C switch-over and 20 ms overlap,
// written back at 40 °C and 25 ms, calibrated, mapped and tested.
ReportData conversion() {
    ReportData data;
    data.workshopName = QStringLiteral("Garage Martin GPL");
    data.workshopAddress = QStringLiteral("12 rue des Lilas\n69003 Lyon");
    data.printedAt = QDateTime(QDate(2026, 12, 7), QTime(16, 40));
    Vehicle v;
    v.plate = QStringLiteral("AB-123-CD");
    v.vin = QStringLiteral("VF1BB0A0H12345678");
    v.make = QStringLiteral("Renault");
    v.model = QStringLiteral("Clio");
    v.year = 2014;
    v.capacityCc = 1149;
    v.cylinders = 4;
    v.powerKw = 55;
    v.odometerKm = 123456;
    v.reducer = QStringLiteral("Tomasetto AT09");
    v.injectors = QStringLiteral("Valtek 30");
    v.nozzle = QStringLiteral("1.9 mm");
    v.tank = QStringLiteral("Toroidal 42 l");
    v.firmware = 15;
    data.vehicle = v;

    MemoryImage before = defaultImage();
    fields::encode(ecu::field::SwitchTemperature, 35, before);
    fields::encode(ecu::field::Overlapping, 20, before);
    data.image = before;
    fields::encode(ecu::field::SwitchTemperature, 40, data.image);
    fields::encode(ecu::field::Overlapping, 25, data.image);
    data.firstRead = before;
    data.source = QStringLiteral("ECU, read 07/12/2026 10:15");

    JobRecord record;
    record.job.date = QDateTime(QDate(2026, 12, 7), QTime(9, 0));
    record.job.fitter = QStringLiteral("Paul");
    record.job.customer = QStringLiteral("Mme Durand");
    record.job.notes = QStringLiteral("Reducer bled; filter changed.");
    record.job.firstReadAt = QDateTime(QDate(2026, 12, 7), QTime(10, 15));
    record.job.lastWrittenAt = QDateTime(QDate(2026, 12, 7), QTime(15, 2));
    CalibrationEntry calibration;
    calibration.at = QDateTime(QDate(2026, 12, 7), QTime(11, 30));
    for (int f = 0; f < 20; ++f)
        calibration.bank1 << QString::number(2 + f / 100.0, 'f', 2); // 2.00, 2.01, ...
    record.calibrations << calibration;
    MapEntry map;
    map.at = QDateTime(QDate(2026, 12, 7), QTime(13, 10));
    for (int k = 1; k <= 20; ++k) {
        const bool seen = k <= 8;
        map.bands << QStringList{QString::number(k),
                                 QString::number(5 * k),
                                 QString::number(5 * k + 5),
                                 seen ? QStringLiteral("3.00") : "-",
                                 seen ? QStringLiteral("41") : "0",
                                 seen ? QString::number(3 + 0.03 * (k - 4), 'f', 2) : "-",
                                 seen ? QStringLiteral("39") : "0",
                                 seen ? QString::asprintf("%+.1f", 1.0 * (k - 4)) : "-"};
        map.applied << 100 + k;
    }
    record.maps << map;
    FinalTestEntry test;
    test.at = QDateTime(QDate(2026, 12, 7), QTime(14, 45));
    test.texts =
        QStringList{"12", "-3", "4", "5", "6", "7", "81", "82", "-83", "84", "85", "86", "9"};
    record.finalTests << test;
    data.job = record;
    return data;
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString englishText;

    QString written(const ReportData &data, const QString &name) {
        const QString path = dir.filePath(name);
        QString error;
        if (!report::write(data, path, &error))
            qWarning() << error;
        return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, "-"});
    }

  private Q_SLOTS:
    void initTestCase() {
        englishText = written(conversion(), QStringLiteral("report.pdf"));
        QVERIFY(!englishText.isEmpty());
    }

    void printsWhatWasDone_data() {
        columns<QString>("pattern");
        for (const char *p :
             {"Garage Martin GPL", "Conversion report", "Printed 07/12/2026 16:40", "AB-123-CD",
              "VF1BB0A0H12345678", "1 149 cm³", "123 456 km", "Tomasetto AT09", "Mme Durand",
              // Settings by page, each with its value and unit.
              R"(Switch-over temperature\s+40 °C)", R"(Fuel overlapping\s+25 ms)",
              R"(Load trim, bank 1\s+\d)", "Level threshold 1/4", "Coolant NTC table",
              // Calibration: idle petrol minimum and mean, the load's calculated value.
              R"(Idle\s+Minimum\s+2\.00\s+2\.02\s+2\.04\s+2\.12\s+2\.16)",
              R"(Load\s+Minimum\s+2\.06\s+2\.08\s+2\.10\s+2\.14\s+2\.18)",
              // Map: band 6 is 2 % richer on gas, correction entry 106 written.
              R"(6\s+30 - 35\s+3\.00\s+41\s+3\.06\s+39\s+\+2\.0\s+106)", "Correction applied",
              // Final test: idle values 1..6, load values, cycles.
              R"(Idle\s+12\s+-3\s+4\s+5\s+6\s+7)", R"(Load\s+81\s+82\s+-83\s+84\s+85\s+86)",
              R"(Cycles\s+9)",
              // What changed, and nothing else.
              "Switch-over temperature 35 °C → 40 °C", "Fuel overlapping 20 ms → 25 ms",
              R"(First read\s+Last written)", "10:15", "15:02", "Page 1 / "})
            row(p, QString::fromUtf8(p));
    }
    void printsWhatWasDone() {
        const auto [pattern] = fetch<QString>("pattern");
        QVERIFY2(englishText.contains(QRegularExpression(pattern)), qPrintable(pattern));
    }

    void listsOnlyTheChanges() { QCOMPARE(englishText.count(QStringLiteral("→")), 2); }

    void pagesAreA4() {
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        const QString info = run(QStringLiteral("pdfinfo"), {path});
        const int pages =
            QRegularExpression(QStringLiteral(R"(Pages:\s+(\d+))")).match(info).captured(1).toInt();
        QVERIFY2(pages >= 2, qPrintable(info));
        QVERIFY(englishText.contains(QStringLiteral("Page %1 / %1").arg(pages)));
        const QString sizes =
            run(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                            QStringLiteral("-l"), QString::number(pages), path});
        QCOMPARE(sizes.count(QStringLiteral("pts (A4)")), pages);
    }

    void nothingToCompareIsSaid() {
        ReportData data = conversion();
        data.firstRead.reset();
        data.job.reset();
        const QString text = written(data, QStringLiteral("plain.pdf"));
        QVERIFY(text.contains(QStringLiteral("No configuration first read")));
        QVERIFY(!text.contains(QStringLiteral("→")));
        QVERIFY(text.contains(QStringLiteral("Not recorded")));
        data.firstRead = data.image;
        QVERIFY(
            written(data, QStringLiteral("same.pdf")).contains(QStringLiteral("No difference")));
    }

    void headingsInTheToolsLanguage() {
        QStringList texts;
        QCOMPARE(language::readFile(GASECU_SOURCE_LANGUAGES "/francais.lng", texts),
                 language::ReadResult::Read);
        ReportData data = conversion();
        data.text = [texts](int n, const QString &english) {
            return texts.value(n).isEmpty() ? english : texts.value(n);
        };
        const QString text = written(data, QStringLiteral("rapport.pdf"));
        for (const char *french : {"Rapport de conversion", "Véhicule", "Kit gaz", "Essai final",
                                   "Plaque", "Calibrage", "Paramètres", "Page 1 / "})
            QVERIFY2(text.contains(QString::fromUtf8(french)), french);
        QVERIFY(!text.contains(QStringLiteral("Conversion report")));
    }

    void refusesWhatItCannotWrite_data() {
        columns<QString>("name");
        row("missing folder", QStringLiteral("missing/report.pdf"));
        row("folder at the path", QStringLiteral("folder.pdf"));
    }
    void refusesWhatItCannotWrite() {
        const auto [name] = fetch<QString>("name");
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder.pdf")));
        const QString path = dir.filePath(name);
        QString error;
        QVERIFY(!report::write(conversion(), path, &error));
        QVERIFY2(error.contains(path), qPrintable(error));
        QVERIFY(!QFileInfo(path).isFile());
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
