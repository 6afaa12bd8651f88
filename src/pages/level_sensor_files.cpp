// Sensor files behind the level page's "Charger" and "Sauvegarder": the
// seven settings as texts, never the ECU's bytes. A loaded file only fills
// the fields; the fitter writes them to the ECU with the page's own button.
#include "files/sensor_file.h"
#include "link/link.h"
#include "pages/level_page.h"
#include "ui/app_context.h"
#include "ui/dialogs.h"

#include "ui/captions.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString BadFile = QStringLiteral(" Error in the file Sensor ");
} // namespace

void LevelPage::SenosorLoad_Click() {
    const QString path = m_app.dialogs.openFile(
        QStringLiteral(" Load file sensore "),
        QStringLiteral("File ECM(*.sen)|*.sen|All File (*.*)|*.*"), sensorfile::DefaultName);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return; // cancelled, or no such file
    const std::optional<sensorfile::Settings> texts = sensorfile::read(path);
    if (!texts) {
        m_app.dialogs.warning(BadFile);
        return;
    }
    setSettingTexts(*texts); // each text runs the validation
}

void LevelPage::SensorSave_Click() {
    const QString path = m_app.dialogs.savePath(
        QStringLiteral("Save File sensor"),
        QStringLiteral("File ECM(*.sen)|*.sen|All file (*.*)|*.*"), sensorfile::DefaultName);
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path) &&
        !m_app.dialogs.question(m_app.link.messages[4], m_app.link.messages[3],
                                Dialogs::Icon::Warning))
        return; // the old file stays as it was
    QString error;
    if (!sensorfile::write(path, settingTexts(), &error))
        m_app.dialogs.warning(captions::text(captions::FileNotSaved) + error + QLatin1Char(' '));
    else
        m_app.dialogs.information(captions::text(captions::FileSaved) +
                                  QDir::toNativeSeparators(path) + QLatin1Char(' '));
}
