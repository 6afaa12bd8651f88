#include "vehicles/job.h"

namespace {
const char *const KindNames[] = {"conversion", "service", "repair"};
}

QString kindName(Job::Kind kind) {
    return QString::fromLatin1(KindNames[static_cast<int>(kind)]);
}

int kindFromName(const QString &name) {
    for (int k = 0; k < 3; ++k) {
        if (name.compare(QLatin1String(KindNames[k]), Qt::CaseInsensitive) == 0)
            return k;
    }
    return -1;
}
