#include "presentation/memory_files.h"

#include "files/memory_file.h"
#include "files/records.h"
#include "files/restore_points.h"
#include "link/link.h"
#include "transfer/prog_start_form.h"
#include "ui/app_context.h"
#include "ui/dialogs.h"
#include "ui/menu.h"
#include "ui/screens.h"
#include "ui/status_strip.h"

#include <QFileInfo>

namespace {
const QString DefaultName = QStringLiteral("Default.fra");

bool fileExists(const QString &path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}
} // namespace

void SaveMemoryFile(AppContext &app) {
    Link &link = app.link;
    const QString path = app.dialogs.saveFile(
        QStringLiteral("Save File ECM"), QStringLiteral("File ECM(*.fra)|*.fra|All file (*.*)|*.*"),
        DefaultName);
    link.image.set(memory_file::LastAddress, link.image.at(0x000));
    if (path.isEmpty())
        return;
    // A folder, device or fifo is never replaced: refused before asking.
    QString error;
    if (!records::replaceable(path, &error)) {
        app.dialogs.warning(QStringLiteral(" File not saved: ") + error + QLatin1Char(' '));
        return;
    }
    if (fileExists(path) &&
        !app.dialogs.question(link.messages[4], link.messages[3], Dialogs::Icon::Warning))
        return;
    // Replaced in one step once the new text is complete: a failed write
    // leaves the old file as it was.
    if (!memory_file::writeAtomically(path, memory_file::format(link.image), &error))
        app.dialogs.warning(QStringLiteral(" File not saved: ") + error + QLatin1Char(' '));
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
    const MemoryImage lastRead = link.image;
    memory_file::apply(parsed, &link.image);
    app.etat.setFileText(link.messages[8] + QFileInfo(path).fileName());
    if (!link.state.DataLoaded) {
        link.setDataLoaded(true);
        app.screens.FnProgStart->hideForm();
        app.menu.setButtonsEnabled(Menu::dataButtons(), true);
    }
    if (link.image.at(memory_file::LastAddress) != link.image.at(0x000)) {
        app.dialogs.warning(QStringLiteral(" FIREWAR ERROR "), QStringLiteral("ERROR"));
        return true;
    }
    if (!app.dialogs.question(link.messages[5] + QLatin1Char('?'), link.messages[6],
                              Dialogs::Icon::Warning))
        return true;
    // Never overwrite an ECU without a way back.
    QString error;
    if (RestorePoints().save(lastRead, QDateTime::currentDateTime(), &error).isEmpty()) {
        app.dialogs.warning(QStringLiteral(" Restore point not saved, nothing written: ") + error +
                            QLatin1Char(' '));
        return true;
    }
    link.StartUpload(2);
    return true;
}
