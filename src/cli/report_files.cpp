#include "cli/report_files.h"

#include "cli/cli_common.h"
#include "files/config_file.h"
#include "files/language_file.h"
#include "report/report_source.h"
#include "report/report_writer.h"

#include <QDir>

namespace cli {

std::function<QString(int, const QString &)> toolLanguage() {
    ConfigFile config(QDir::currentPath());
    QStringList texts;
    if (config.ReadConfigFile() != ConfigFile::ReadResult::Read ||
        config.languagePath().trimmed().isEmpty() ||
        language::readFile(config.languagePath(), texts) != language::ReadResult::Read)
        return {};
    return report::languageOf(texts);
}

int writeReport(ReportData data, const QString &path) {
    if (!data.text)
        data.text = toolLanguage();
    QString error;
    if (!report::write(data, path, &error)) {
        printErr(QStringLiteral("gasecu-cli: report not written: ") + error);
        return FileProblem;
    }
    printOut(QStringLiteral("report ") + path);
    return Ok;
}

} // namespace cli
