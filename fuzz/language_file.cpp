// Any file content through the language-file loader. A file it reads gives
// exactly texts 0..200, and a file it refuses leaves the texts as they were.
#include "files/language_file.h"
#include "scratch_file.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString path = scratchDir().filePath(QStringLiteral("Default.lng"));
    writeScratch(path, data, size);
    const QStringList before{QStringLiteral("untouched")};
    QStringList texts = before;
    switch (language::readFile(path, texts)) {
    case language::ReadResult::Read:
        if (texts.size() != language::TextCount)
            abort();
        break;
    case language::ReadResult::Missing:
    case language::ReadResult::BadHeader:
        if (texts != before)
            abort();
        break;
    }
    return 0;
}
