#pragma once

#include <QString>

struct AppContext;

namespace language {

// The folder of the language files installed with the tool; the language
// dialog opens there.
QString shippedDirectory(const QString &programDir);

// LoadLanguageFile. fromConfig: the path is the configured one (start-up),
// otherwise the fitter picks a file. A path without a folder part (a
// cancelled dialog, an empty or bare configured name) changes nothing
// silently; a missing file or a wrong header is reported and changes
// nothing. A file read keeps its path in prconfig.txt and its texts go to
// every caption, list and message that takes them. True when applied.
bool LoadLanguageFile(AppContext &app, bool fromConfig, const QString &configuredPath = {});

} // namespace language
