#pragma once

#include <QByteArrayView>

#include <optional>

class Form;
struct AppContext;

// One step along the chain of parameter pages (the main parameters page,
// the level sensor page, the coefficient tables, the NTC tables and the
// battery page). Every next and previous button of the chain does the same:
// it starts the poll watchdog unless it runs already, so live data keep
// coming while a parameter page is shown, records the page the menu's
// Parameters button reopens, sets the poll frame (a read frame; the poll
// adds the CR) and switches polling on or off where that button does, hides
// every other parameter page and shows its target.
struct PageStep {
    Form *target = nullptr;
    int currentPage = 0;
    QByteArrayView pollFrame; // empty: unchanged
    std::optional<bool> pollingOn;
};

void goToParameterPage(AppContext &app, const PageStep &step);
