#pragma once

#include <QString>

struct AppContext;

// The status strip through a change of language. The file's "not
// connected" text goes into the strip as the texts are applied; while the
// port is open that is wrong, so the strip is given back the state it showed
// (dialogue, no dialogue on the port) in the new language's words.
namespace language {

struct ShownStatus {
    int message = 0; // the link message the strip starts with (10, 11), or 0
    QString rest;    // what follows that message: the port number
    QString text;    // the strip's whole text
};

ShownStatus shownStatus(const AppContext &app);
// After the texts are applied: with the port open, the same state again.
void restoreStatus(AppContext &app, const ShownStatus &before);

} // namespace language
