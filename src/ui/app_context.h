#pragma once

#include <QString>

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
};
