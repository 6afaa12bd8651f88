#include "presentation/language_status.h"

#include "link/link.h"
#include "ui/app_context.h"
#include "ui/status_strip.h"

#include <QLabel>

namespace language {

namespace {
// "No dialogue on COM" and "Dialogue on COM": the strip shows them with the
// port number after them.
constexpr int PortMessages[] = {10, 11};
} // namespace

ShownStatus shownStatus(const AppContext &app) {
    ShownStatus shown{0, QString(), app.etat.BarreEtat->text()};
    qsizetype longest = 0;
    for (int m : PortMessages) {
        const QString prefix = app.link.messages[m];
        if (prefix.size() > longest && shown.text.startsWith(prefix)) {
            longest = prefix.size();
            shown.message = m;
        }
    }
    shown.rest = shown.text.mid(longest);
    return shown;
}

void restoreStatus(AppContext &app, const ShownStatus &before) {
    if (!app.link.state.PortIsOpen)
        return; // not connected: the file's own text is the right one
    if (before.message == 0)
        app.etat.setLinkText(before.text); // the link's own, untranslated texts
    else
        app.etat.setLinkText(app.link.messages[before.message] + before.rest);
}

} // namespace language
