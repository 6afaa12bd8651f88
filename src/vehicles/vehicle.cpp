#include "vehicles/vehicle.h"

#include <QStringList>

QString Vehicle::title() const {
    QStringList parts{plate};
    for (const QString &part : {make, model}) {
        if (!part.trimmed().isEmpty())
            parts << part.trimmed();
    }
    return parts.join(u' ');
}
