#include "presentation/language_load.h"

#include "files/config_file.h"
#include "files/language_file.h"
#include "link/link.h"
#include "presentation/language_status.h"
#include "presentation/language_targets.h"
#include "ui/app_context.h"
#include "ui/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef GASECU_SOURCE_LANGUAGES
#define GASECU_SOURCE_LANGUAGES ""
#endif

namespace language {

QString shippedDirectory(const QString &programDir) {
    const QString app = QCoreApplication::applicationDirPath();
    // Installed (bin/../share), next to the program, then the source tree
    // for a tool run from its build directory.
    for (const QString &dir :
         {app + QStringLiteral("/../share/gasecu/languages"), app + QStringLiteral("/languages"),
          QStringLiteral(GASECU_SOURCE_LANGUAGES)}) {
        if (!dir.isEmpty() && QFileInfo(dir).isDir())
            return QDir::cleanPath(dir);
    }
    return programDir;
}

bool LoadLanguageFile(AppContext &app, bool fromConfig, const QString &configuredPath) {
    QString path = configuredPath;
    if (!fromConfig) {
        const QString start =
            QDir(shippedDirectory(app.ProgramDir)).filePath(QStringLiteral("Default.lng"));
        path =
            app.dialogs.openFile(QStringLiteral(" Load file ECM "),
                                 QStringLiteral("File ECM(*.lng)|*.lng|All File (*.*)|*.*"), start);
    }
    // Only a path with a folder part names a file; a relative one is taken
    // from the start directory.
    if (!path.contains(QLatin1Char('/')) && !path.contains(QLatin1Char('\\')))
        return false;
    const QString file = QDir(app.ProgramDir).filePath(path);

    QStringList texts;
    switch (readFile(file, texts)) {
    case ReadResult::Missing:
        app.dialogs.warning(QStringLiteral(" file non-existent "));
        return false;
    case ReadResult::BadHeader: {
        // The translator learns where the line broke.
        const QString where = fault(file);
        app.dialogs.warning(
            QStringLiteral(" Noncorrect File error ") +
            (where.isEmpty() ? QString() : QLatin1Char('\n') + where + QLatin1Char(' ')));
        return false;
    }
    case ReadResult::Read:
        break;
    }

    // The other settings of prconfig.txt stay as they are; without a
    // readable one the port in use is kept with the language.
    ConfigFile config(app.ProgramDir);
    if (config.ReadConfigFile() != ConfigFile::ReadResult::Read)
        config.ConfigValues[1] = QString::number(app.link.state.PortNumber);
    config.ConfigValues[2] = path;
    // Said when the fitter chose the language; at start the file was just
    // read and a folder that cannot be written is no news.
    QString error;
    if (!config.WriteConfigFile(&error) && !fromConfig)
        app.dialogs.warning(QStringLiteral(" Language not remembered: ") + error +
                            QLatin1Char(' '));

    const ShownStatus status = shownStatus(app);
    applyTexts(app, texts);
    restoreStatus(app, status);
    return true;
}

} // namespace language
