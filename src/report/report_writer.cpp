#include "report/report_writer.h"

#include "files/records.h"
#include "report/report_sections.h"
#include "report/report_sheet.h"
#include "report/report_texts.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace report {

namespace {

constexpr int Resolution = 300; // dots per inch of the page's coordinates

// The whole report as PDF bytes; *pages: how many pages it took. The
// footers say "of pageCount".
QByteArray render(const ReportData &data, int pageCount, int *pages) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(Resolution);
    pdf.setCreator(QStringLiteral("gasecu"));
    const QString title = reporttext::text(data, reporttext::Title);
    const QString car = data.vehicle ? data.vehicle->title() : QString();
    pdf.setTitle(car.isEmpty() ? title : title + QStringLiteral(" - ") + car);

    QPainter painter(&pdf);
    painter.setRenderHint(QPainter::Antialiasing);
    const QString footerLeft = car.isEmpty() ? title : title + QStringLiteral("  -  ") + car;
    const QString pageOf = reporttext::text(data, reporttext::PageOf);
    Sheet sheet(pdf, painter, [&](int page) {
        return footerLeft + u'\t' + pageOf.arg(page).arg(std::max(page, pageCount));
    });

    using namespace reportsections;
    header(sheet, data);
    vehicle(sheet, data);
    job(sheet, data);
    dates(sheet, data);
    calibrations(sheet, data);
    maps(sheet, data);
    finalTests(sheet, data);
    changes(sheet, data);
    settings(sheet, data);
    tables(sheet, data);
    sheet.finish();
    painter.end();
    *pages = sheet.page();
    return bytes;
}

} // namespace

bool write(const ReportData &data, const QString &path, QString *error) {
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (error)
            *error = path + QStringLiteral(": the report was not written: it needs the tool's "
                                           "window system (fonts)");
        return false;
    }
    if (!records::replaceable(path, error))
        return false;
    // Drawn twice: the first time counts the pages the footers name.
    int pages = 0;
    render(data, 0, &pages);
    int drawn = 0;
    const QByteArray pdf = render(data, pages, &drawn);
    return records::writeAtomically(path, pdf, error);
}

} // namespace report
