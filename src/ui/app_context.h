#pragma once

#include <QString>

#include <functional>

class Dialogs;
class Etat;
class Link;
class Menu;
struct Screens;

// What every form reaches: the link, the dialogs, the menu bar, the status
// strip, the other forms, and the shell's own state.
struct AppContext {
    Link &link;
    Dialogs &dialogs;
    Menu &menu;
    Etat &etat;
    Screens &screens;
    QString ProgramDir;              // the directory current at program start
    int CurrentPage = 0;             // the parameter page the Parameters button reopens
    bool CalibrationRunning = false; // an automatic calibration is in progress

    // The passes over every screen that a screen starts without knowing the
    // others (the shell fills them in): every page's edited values encoded
    // into the image, and every screen's controls refreshed from it.
    std::function<void()> uploadEditedValues{};
    std::function<void()> refreshScreens{};

    // A restore point just kept before a write, for the fitter's job (the
    // shell fills it in; unset, nothing is recorded).
    std::function<void(const QString &path)> restorePointMade{};
};
