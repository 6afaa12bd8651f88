#include "ui/acknowledgement.h"

#include "link/link.h"

#include <QObject>

namespace acknowledgement {

void whenAcknowledged(Link &link, Write write, QObject *context, std::function<void()> done) {
    auto *watch = new QObject(context);
    const auto end = [&link, watch] {
        QObject::disconnect(&link, nullptr, watch, nullptr);
        watch->deleteLater();
    };
    const auto succeeded = [end, done] {
        end();
        done();
    };
    if (write == Write::Block) {
        QObject::connect(&link, &Link::writeAcknowledged, watch, succeeded);
        QObject::connect(&link, &Link::writeFailed, watch, end);
        return;
    }
    QObject::connect(&link, &Link::uploadCompleted, watch, succeeded);
    for (auto stopped : {&Link::uploadTimedOut, &Link::uploadStopped, &Link::uploadStarted})
        QObject::connect(&link, stopped, watch, end);
}

} // namespace acknowledgement
