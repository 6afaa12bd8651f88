#include "presentation/product_version.h"

QString productVersion() {
    return QStringLiteral(GASECU_PRODUCT_VERSION);
}
