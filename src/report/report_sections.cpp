#include "report/report_sections.h"

#include "ecu/memory_image.h"
#include "report/band_chart.h"
#include "report/report_sheet.h"
#include "report/report_texts.h"
#include "settings/config_compare.h"
#include "settings/ntc_table.h"
#include "tuning/calibration_results.h"

#include <QPainter>

namespace reportsections {

using namespace reporttext;

namespace {

// "123 456 km": thousands set apart by a blank, as every language reads
// them; nothing for a number not given.
QString number(int value, const char *unit = "") {
    if (value <= 0)
        return {};
    QString digits = QString::number(value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, u' ');
    return digits + (*unit ? QLatin1Char(' ') + QString::fromUtf8(unit) : QString());
}

void notRecorded(Sheet &sheet, const ReportData &data) {
    sheet.paragraph(text(data, NotRecorded), 9, true);
}

// A bank's end-form texts as the form groups them: per kind and side the
// petrol and gas times, their difference, the gas time, and what the
// calibration calculated.
QList<QStringList> bankRows(const ReportData &data, const QStringList &texts) {
    using namespace calibration;
    auto t = [&texts](Field f) { return texts.value(f); };
    const QString none;
    return {
        {label(data, CalibrationLabels, Idle), label(data, CalibrationLabels, Minimum), t(TxMinER),
         t(TxMinGR), t(TxNewRalenti), t(TxTIGR1), t(TxApp1), none},
        {QString(), label(data, CalibrationLabels, Mean), t(TxMoyenER), t(TxMoyenGR),
         t(TxDiffMoyen), t(TxTIGR2), t(TxApp2), none},
        {label(data, CalibrationLabels, Load), label(data, CalibrationLabels, Minimum), t(TxMinEC),
         t(TxMinGC), t(TxNewRalentiC), t(TxTIGR3), none, t(TxCCHP1)},
        {QString(), label(data, CalibrationLabels, Mean), t(TxMoyenEC), t(TxMoyenGC),
         t(TxDiffMoyenC), t(TxTIGR4), t(TxRCHP1), none},
    };
}

QString pageName(const ReportData &data, ecu::Page page) {
    switch (page) {
    case ecu::Page::MainParameters:
        return text(data, Parameters);
    case ecu::Page::Monitor:
        return text(data, Monitor);
    case ecu::Page::LevelSensor:
        return text(data, LevelSensor);
    case ecu::Page::Battery:
        return text(data, Battery);
    case ecu::Page::Lambda:
        return text(data, Lambda);
    case ecu::Page::MemoryFile:
        return text(data, MemoryFile);
    }
    return {};
}

} // namespace

QString dateText(const QDateTime &at) {
    return at.isValid() ? at.toString(QStringLiteral("dd/MM/yyyy HH:mm")) : QStringLiteral("-");
}

void header(Sheet &sheet, const ReportData &data) {
    QStringList workshop;
    if (!data.workshopName.trimmed().isEmpty())
        workshop << data.workshopName.trimmed();
    if (!data.workshopAddress.trimmed().isEmpty())
        workshop << data.workshopAddress.trimmed();
    if (!workshop.isEmpty()) {
        sheet.paragraph(workshop.takeFirst(), 11);
        for (const QString &line : workshop)
            sheet.paragraph(line, 8.5, true);
        sheet.space(2);
    }
    sheet.title(text(data, Title), text(data, Printed).arg(dateText(data.printedAt)));
}

void vehicle(Sheet &sheet, const ReportData &data) {
    sheet.heading(text(data, VehicleTitle));
    if (!data.vehicle) {
        notRecorded(sheet, data);
        return;
    }
    const ::Vehicle &v = *data.vehicle;
    auto l = [&data](int i) { return label(data, VehicleLabels, i); };
    sheet.facts({{l(Plate), v.plate},
                 {l(Vin), v.vin, 2},
                 {l(Make), v.make},
                 {l(Model), v.model},
                 {l(Year), v.year > 0 ? QString::number(v.year) : QString()},
                 {l(Capacity), number(v.capacityCc, "cm³")},
                 {l(Cylinders), number(v.cylinders)},
                 {l(Power), number(v.powerKw, "kW")},
                 {l(Odometer), number(v.odometerKm, "km")}},
                6);
    sheet.subheading(text(data, GasKit));
    auto k = [&data](int i) { return label(data, KitLabels, i); };
    sheet.facts({{k(Reducer), v.reducer},
                 {k(Injectors), v.injectors},
                 {k(Nozzle), v.nozzle},
                 {k(Tank), v.tank},
                 {k(EcuFirmware), v.firmware >= 0 ? QString::number(v.firmware) : QString()}},
                5);
}

void job(Sheet &sheet, const ReportData &data) {
    sheet.heading(text(data, JobTitle));
    if (!data.job) {
        notRecorded(sheet, data);
        return;
    }
    const ::Job &j = data.job->job;
    auto l = [&data](int i) { return label(data, JobLabels, i); };
    sheet.facts({{l(JobDate), dateText(j.date)},
                 {l(Kind), label(data, JobKinds, static_cast<int>(j.kind))},
                 {l(Fitter), j.fitter},
                 {l(Customer), j.customer}},
                4);
    if (!j.notes.trimmed().isEmpty()) {
        sheet.paragraph(l(Notes), 7.5, true);
        sheet.paragraph(j.notes.trimmed(), 9);
    }
}

void dates(Sheet &sheet, const ReportData &data) {
    sheet.heading(text(data, Dates));
    auto l = [&data](int i) { return label(data, DateLabels, i); };
    const ::Job *j = data.job ? &data.job->job : nullptr;
    sheet.facts({{label(data, JobLabels, JobDate), j ? dateText(j->date) : QStringLiteral("-")},
                 {l(FirstReadAt), j ? dateText(j->firstReadAt) : QStringLiteral("-")},
                 {l(LastWrittenAt), j ? dateText(j->lastWrittenAt) : QStringLiteral("-")},
                 {l(FirmwareByte), fields::text(ecu::field::Firmware, data.image)}},
                4);
    if (!data.source.isEmpty())
        sheet.facts({{l(Source), data.source}}, 1);
}

void calibrations(Sheet &sheet, const ReportData &data) {
    sheet.heading(text(data, Calibration));
    if (!data.job || data.job->calibrations.isEmpty()) {
        notRecorded(sheet, data);
        return;
    }
    auto l = [&data](int i) { return label(data, CalibrationLabels, i); };
    QList<Sheet::Column> columns = {{0.1}, {0.12}};
    for (int c = 0; c < 6; ++c)
        columns.append({0.13, Qt::AlignRight});
    for (const CalibrationEntry &entry : data.job->calibrations) {
        sheet.subheading(l(entry.kind == 1 ? LoadCalibration : IdleCalibration) +
                         QStringLiteral("   ") + dateText(entry.at));
        const QStringList banks[] = {entry.bank1, entry.bank2};
        for (int b = 0; b < 2; ++b) {
            if (banks[b].isEmpty())
                continue;
            sheet.table(columns,
                        {text(data, b == 0 ? Bank1 : Bank2), QString(), l(PetrolTime), l(GasTime),
                         l(TimeDifference), l(GasInjection), l(CalculatedIdle), l(CalculatedLoad)},
                        bankRows(data, banks[b]));
        }
    }
}

void maps(Sheet &sheet, const ReportData &data) {
    if (data.job && !data.job->maps.isEmpty())
        sheet.need(sheet.mm(85));
    sheet.heading(text(data, MapBands));
    if (!data.job || data.job->maps.isEmpty()) {
        notRecorded(sheet, data);
        return;
    }
    auto l = [&data](int i) { return label(data, MapLabels, i); };
    const QList<Sheet::Column> columns = {{0.08, Qt::AlignRight}, {0.14, Qt::AlignRight},
                                          {0.15, Qt::AlignRight}, {0.11, Qt::AlignRight},
                                          {0.15, Qt::AlignRight}, {0.11, Qt::AlignRight},
                                          {0.14, Qt::AlignRight}, {0.12, Qt::AlignRight}};
    for (const MapEntry &entry : data.job->maps) {
        // The date, the chart and the table's head on one page.
        sheet.need(sheet.mm(75));
        sheet.subheading(dateText(entry.at) + QStringLiteral("   ") +
                         l(entry.applied.isEmpty() ? NotApplied : Applied));
        const QRectF area = sheet.take(sheet.mm(52));
        bandchart::draw(sheet.painter(), area, entry.bands, l(Gap), sheet.mm(1));
        QList<QStringList> rows;
        for (int i = 0; i < entry.bands.size(); ++i) {
            const QStringList &b = entry.bands[i];
            rows.append({b.value(0), b.value(1) + QStringLiteral(" - ") + b.value(2), b.value(3),
                         b.value(4), b.value(5), b.value(6), b.value(7),
                         i < entry.applied.size() ? QString::number(entry.applied[i])
                                                  : QStringLiteral("-")});
        }
        sheet.table(columns,
                    {l(Band), l(Depression), l(PetrolMean), l(Crossings), l(GasMean), l(Crossings),
                     l(Gap), l(Applied)},
                    rows);
    }
}

void finalTests(Sheet &sheet, const ReportData &data) {
    sheet.heading(text(data, FinalTest));
    if (!data.job || data.job->finalTests.isEmpty()) {
        notRecorded(sheet, data);
        return;
    }
    auto l = [&data](int i) { return label(data, FinalTestLabels, i); };
    QList<Sheet::Column> columns = {{0.16}};
    QStringList header = {QString()};
    for (int n = 1; n <= 6; ++n) {
        columns.append({0.14, Qt::AlignRight});
        header << QString::number(n);
    }
    for (const FinalTestEntry &entry : data.job->finalTests) {
        sheet.subheading(dateText(entry.at));
        // Text1..Text6 are the idle values, Text7..Text12 the load ones.
        QStringList idle = {l(TestIdle)}, load = {l(TestLoad)};
        for (int n = 0; n < 6; ++n) {
            idle << entry.texts.value(n);
            load << entry.texts.value(6 + n);
        }
        sheet.table(columns, header, {idle, load, {l(Cycles), entry.texts.value(12)}});
    }
}

void changes(Sheet &sheet, const ReportData &data) {
    sheet.heading(text(data, Changes));
    if (!data.firstRead) {
        sheet.paragraph(text(data, NoFirstRead), 9, true);
        return;
    }
    const QList<compare::Difference> found = compare::differences(*data.firstRead, data.image);
    if (found.isEmpty()) {
        sheet.paragraph(text(data, NoDifference));
        return;
    }
    QList<QStringList> rows;
    for (const compare::Difference &d : found)
        rows.append({d.text()});
    sheet.table({{1.0}}, {}, rows, 9);
}

void settings(Sheet &sheet, const ReportData &data) {
    sheet.heading(text(data, Settings));
    const QList<Sheet::Column> columns = {{0.37}, {0.13}, {0.37}, {0.13}};
    for (ecu::Page page : {ecu::Page::MainParameters, ecu::Page::Monitor, ecu::Page::LevelSensor,
                           ecu::Page::Battery, ecu::Page::Lambda, ecu::Page::MemoryFile}) {
        QList<const fields::Field *> shown;
        for (const fields::Field *f : compare::settings()) {
            if (f->page == page)
                shown << f;
        }
        if (shown.isEmpty())
            continue;
        // Down the left half first, then down the right.
        const int half = (static_cast<int>(shown.size()) + 1) / 2;
        QList<QStringList> rows;
        for (int i = 0; i < half; ++i) {
            QStringList row;
            for (int k : {i, i + half}) {
                if (k < shown.size())
                    row << QString::fromUtf8(shown[k]->caption)
                        << fields::text(*shown[k], data.image);
            }
            rows << row;
        }
        sheet.subheading(pageName(data, page));
        sheet.table(columns, {}, rows);
    }
}

void tables(Sheet &sheet, const ReportData &data) {
    sheet.heading(text(data, Tables));
    for (const compare::Table &t : compare::tables()) {
        const QString unit = QString::fromUtf8(t.unit);
        sheet.subheading(QString::fromUtf8(t.caption) +
                         (unit.isEmpty() ? QString() : QStringLiteral(" (") + unit + u')'));
        auto value = [&](int i) {
            const quint8 b = data.image.at(t.range.address + i);
            return QString::number(t.isSigned ? ntc::signedValue(b) : b);
        };
        if (t.range.length <= 20) {
            // Short tables: each entry under its place on the page's axis.
            const int per = 10;
            QList<Sheet::Column> columns(per, {1.0 / per, Qt::AlignRight});
            for (int start = 0; start < t.range.length; start += per) {
                QStringList axis, values;
                for (int i = start; i < std::min(start + per, t.range.length); ++i) {
                    axis << t.axis(i);
                    values << value(i);
                }
                sheet.table(columns, axis, {values}, 7.5);
            }
            continue;
        }
        // Long tables: sixteen entries a row, the row led by its first entry.
        const int per = 16;
        QList<Sheet::Column> columns = {{0.08, Qt::AlignRight}};
        QStringList header = {text(data, Entry)};
        for (int c = 0; c < per; ++c) {
            columns.append({0.92 / per, Qt::AlignRight});
            header << QStringLiteral("+%1").arg(c);
        }
        // The page numbers its entries from 0 or 1, as the axis text says.
        const QString first = t.axis(0);
        const int base = first.section(u' ', -1).toInt();
        QList<QStringList> rows;
        for (int start = 0; start < t.range.length; start += per) {
            QStringList row = {QString::number(start + base)};
            for (int i = start; i < std::min(start + per, t.range.length); ++i)
                row << value(i);
            rows << row;
        }
        sheet.table(columns, header, rows, 7);
    }
}

} // namespace reportsections
