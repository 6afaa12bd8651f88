#include "presentation/memory_files.h"

#include "ecu/memory_map.h"
#include "files/last_read.h"
#include "files/memory_file.h"
#include "files/records.h"
#include "files/restore_points.h"
#include "link/link.h"
#include "presentation/refresh.h"
#include "transfer/prog_start_form.h"
#include "transfer/transfer_form.h"
#include "ui/app_context.h"
#include "ui/dialogs.h"
#include "ui/menu.h"
#include "ui/screens.h"
#include "ui/status_strip.h"

#include "ui/captions.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString DefaultName = QStringLiteral("Default.fra");

bool fileExists(const QString &path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

// Keeps what the ECU holds as a restore point, then writes the image's
// configuration into it. Nothing is written without a restore point.
void uploadAfterRestorePoint(AppContext &app) {
    LastRead &ecu = LastRead::of(app.link);
    QString error;
    ecu.restorePoint = RestorePoints().save(ecu.bytes(), QDateTime::currentDateTime(), &error);
    if (ecu.restorePoint.isEmpty()) {
        app.dialogs.warning(captions::text(captions::RestorePointNotSaved) + error +
                            QLatin1Char(' '));
        return;
    }
    if (app.restorePointMade)
        app.restorePointMade(ecu.restorePoint);
    Link &link = app.link;
    link.StartUpload(2);
}

// The image no longer shows what the ECU held at the last read (a file was
// loaded, a page edited): the ECU is read again, then the file's
// configuration goes back into the image and is written, after the firmware
// check against the ECU just read. A read that fails, is closed or is
// replaced by another writes nothing.
void readAgainThenUpload(AppContext &app) {
    Link &link = app.link;
    const MemoryImage toWrite = link.image;
    auto *watch = new QObject(&link);
    const auto finish = [&app, &link, watch, toWrite](const QString &failure) {
        QObject::disconnect(&link, nullptr, watch, nullptr);
        QObject::disconnect(app.screens.readProgress, nullptr, watch, nullptr);
        watch->deleteLater();
        for (int a = memory_file::FirstAddress; a <= memory_file::LastAddress; ++a)
            link.image.set(a, toWrite.at(a));
        RefreshScreens(app);
        RebuildTables(app);
        if (!failure.isEmpty()) {
            app.dialogs.warning(failure);
            return;
        }
        if (!ecu::firmwareMatches(link.image)) {
            app.dialogs.warning(QStringLiteral(" FIREWAR ERROR "), QStringLiteral("ERROR"));
            return;
        }
        uploadAfterRestorePoint(app);
    };
    const QString notRead =
        QStringLiteral(" The ECU was not read again before the upload: nothing written ");
    QObject::connect(&link, &Link::fullReadCompleted, watch, [finish] { finish({}); });
    QObject::connect(&link, &Link::fullReadTimedOut, watch, [finish, notRead] { finish(notRead); });
    QObject::connect(&link, &Link::fullReadStopped, watch, [finish, notRead] { finish(notRead); });
    QObject::connect(app.screens.readProgress, &DownloadForm::closedByUser, watch,
                     [finish, notRead] { finish(notRead); });
    link.StartFullRead();
    QObject::connect(&link, &Link::fullReadStarted, watch, [finish, notRead] { finish(notRead); });
}
} // namespace

void SaveMemoryFile(AppContext &app) {
    Link &link = app.link;
    const QString path = app.dialogs.savePath(
        QStringLiteral("Save File ECM"), QStringLiteral("File ECM(*.fra)|*.fra|All file (*.*)|*.*"),
        DefaultName);
    ecu::stampFirmware(link.image);
    if (path.isEmpty())
        return;
    // A folder, device or fifo is never replaced: refused before asking.
    QString error;
    if (!records::replaceable(path, &error)) {
        app.dialogs.warning(captions::text(captions::FileNotSaved) + error + QLatin1Char(' '));
        return;
    }
    if (fileExists(path) &&
        !app.dialogs.question(link.messages[4], link.messages[3], Dialogs::Icon::Warning))
        return;
    // Replaced in one step once the new text is complete: a failed write
    // leaves the old file as it was.
    if (!memory_file::writeAtomically(path, memory_file::format(link.image), &error))
        app.dialogs.warning(captions::text(captions::FileNotSaved) + error + QLatin1Char(' '));
    else
        app.dialogs.information(captions::text(captions::FileSaved) +
                                QDir::toNativeSeparators(path) + QLatin1Char(' '));
}

bool LoadMemoryFile(AppContext &app) {
    Link &link = app.link;
    const QString path = app.dialogs.openFile(
        QStringLiteral(" Load file ECM "),
        QStringLiteral("File ECM(*.fra)|*.fra|All File (*.*)|*.*"), DefaultName);
    if (path.isEmpty())
        return false;
    if (!fileExists(path)) {
        app.dialogs.warning(link.messages[1]);
        return false;
    }
    const memory_file::Parsed parsed = memory_file::read(path);
    if (!parsed.ok) {
        app.dialogs.warning(link.messages[2]);
        return false;
    }
    // Whether the image showed what the ECU held before the file came in.
    const bool ecuKnown = LastRead::of(link).matches(link.image);
    memory_file::apply(parsed, &link.image);
    app.etat.setFileText(link.messages[8] + QFileInfo(path).fileName());
    if (!link.state.DataLoaded) {
        link.setDataLoaded(true);
        app.screens.startForm->hideForm();
        app.menu.setButtonsEnabled(Menu::dataButtons(), true);
    }
    if (!ecu::firmwareMatches(link.image)) {
        app.dialogs.warning(QStringLiteral(" FIREWAR ERROR "), QStringLiteral("ERROR"));
        return true;
    }
    if (!app.dialogs.question(link.messages[5] + QLatin1Char('?'), link.messages[6],
                              Dialogs::Icon::Warning))
        return true;
    // Never overwrite an ECU without a way back, and the way back holds
    // what the ECU holds.
    if (ecuKnown)
        uploadAfterRestorePoint(app);
    else
        readAgainThenUpload(app);
    return true;
}
