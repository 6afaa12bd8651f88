// Any file content through the configuration-file reader. A file it reads
// gives a port number that fits a byte, and writing the fields back and
// reading them again keeps the port and every field that holds no
// separator, comma, quote or line end.
#include "files/config_file.h"
#include "scratch_file.h"

#include <cstdlib>

namespace {
bool survivesWriting(const QString &field) {
    for (QChar c : field) {
        if (c == QLatin1Char(']') || c == QLatin1Char(',') || c == QLatin1Char('"') ||
            c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() > 255)
            return false;
    }
    return field == field.trimmed();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ConfigFile config(scratchDir().path());
    writeScratch(config.path(), data, size);
    if (config.ReadConfigFile() != ConfigFile::ReadResult::Read)
        return 0;
    const int port = config.portNumber();
    if (port < 0 || port > 255)
        abort();
    bool plain = true;
    for (int i = 1; i <= 5; ++i)
        plain = plain && survivesWriting(config.ConfigValues[i]);
    if (!plain)
        return 0;
    const QStringList before = config.ConfigValues.mid(1, 5);
    if (!config.WriteConfigFile())
        abort();
    ConfigFile again(scratchDir().path());
    if (again.ReadConfigFile() != ConfigFile::ReadResult::Read)
        abort();
    if (again.ConfigValues.mid(1, 5) != before || again.portNumber() != port)
        abort();
    return 0;
}
