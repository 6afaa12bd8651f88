#include "shell/job_recording.h"

#include "calibration/calibration_end_form.h"
#include "calibration/calibration_screen.h"
#include "ecu/live_block.h"
#include "emission/final_test_screen.h"
#include "files/last_read.h"
#include "jobs/job_panel.h"
#include "link/link.h"
#include "map/aqui_map_form.h"
#include "map/map_screen.h"
#include "tuning/map_export.h"
#include "ui/app_context.h"
#include "ui/dialogs.h"
#include "ui/screens.h"
#include "vehicles/job_images.h"

#include <QDateTime>
#include <QLineEdit>

namespace {
QStringList bankTexts(const CalibrationEndForm *form) {
    QStringList texts;
    for (int f = 0; f < calibration::FieldCount; ++f)
        texts.append(form->result(static_cast<calibration::Field>(f))->text());
    return texts;
}
} // namespace

JobRecording::JobRecording(AppContext &app, JobPanel &panel, QObject *parent)
    : QObject(parent), m_app(app), m_panel(panel) {
    Screens &s = app.screens;
    // After LastRead took the read's bytes (it is connected first).
    connect(&app.link, &Link::fullReadCompleted, this, &JobRecording::recordFirstRead);
    connect(&panel, &JobPanel::jobChanged, this, &JobRecording::recordFirstRead);
    app.restorePointMade = [this](const QString &path) {
        record([&](RecordStore &store, qint64 job) {
            return store.addRestorePoint(job, {QDateTime::currentDateTime(), path});
        });
    };
    // Every write the ECU acknowledged (a whole upload, a page's block, a
    // chain of them, a trim): the configuration as the ECU now holds it.
    for (void (Link::*acknowledged)() :
         {&Link::uploadCompleted, &Link::writeAcknowledged, &Link::chainAcknowledged})
        connect(&app.link, acknowledged, this, &JobRecording::recordWritten);
    connect(s.calibrationScreen, &CalibrationScreen::resultsShown, this,
            [this](calibration::Kind kind) { recordCalibration(int(kind)); });
    connect(s.mapScreen, &MapScreen::proposalWritten, this, &JobRecording::recordMap);
    connect(s.finalTestScreen, &FinalTestScreen::resultsTransferred, this,
            &JobRecording::recordFinalTest);
}

template <typename Write> void JobRecording::record(Write write) {
    const qint64 job = m_panel.currentJob();
    if (job == 0 || !m_panel.store().isOpen())
        return;
    // The ECU is not affected by a record that could not be kept; the
    // fitter is told once what is missing from the job.
    if (!write(m_panel.store(), job))
        m_app.dialogs.warning(QStringLiteral("Not recorded in the job: %1 The ECU is not affected.")
                                  .arg(m_panel.store().error()));
    m_panel.recorded();
}

void JobRecording::recordWritten() {
    const QByteArray file = jobimages::memoryFileOf(m_app.link.image);
    record([&](RecordStore &store, qint64 job) {
        return store.setLastWritten(job, file, QDateTime::currentDateTime());
    });
}

void JobRecording::recordFirstRead() {
    const LastRead &read = LastRead::of(m_app.link);
    if (!read.known())
        return;
    const qint64 vehicle = m_panel.currentVehicle();
    record([&](RecordStore &store, qint64 job) {
        return store.setFirmware(vehicle, read.bytes().at(ecu::liveblock::Firmware)) &&
               store.setFirstRead(job, jobimages::memoryFileOf(read.bytes()),
                                  QDateTime::currentDateTime());
    });
}

void JobRecording::recordCalibration(int kind) {
    CalibrationEntry entry{QDateTime::currentDateTime(), kind,
                           bankTexts(m_app.screens.calibrationEndBank1),
                           bankTexts(m_app.screens.calibrationEndBank2)};
    // A car with one bank leaves bank 2's results at their "0".
    if (entry.bank2.count(QStringLiteral("0")) == entry.bank2.size())
        entry.bank2.clear();
    record([&](RecordStore &store, qint64 job) { return store.addCalibration(job, entry); });
}

void JobRecording::recordMap(const QList<int> &entries) {
    const MapEntry entry{QDateTime::currentDateTime(),
                         mapexport::bandSummary(m_app.screens.mapAcquisition->bandStats()),
                         entries};
    record([&](RecordStore &store, qint64 job) { return store.addMap(job, entry); });
}

void JobRecording::recordFinalTest(const QStringList &texts) {
    const FinalTestEntry entry{QDateTime::currentDateTime(), texts};
    record([&](RecordStore &store, qint64 job) { return store.addFinalTest(job, entry); });
}
