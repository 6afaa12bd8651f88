#pragma once

#include <functional>

struct AppContext;

// The menu bar's buttons: each brings one screen forward, hides the others,
// sets up the live poll for it, and first makes sure no automatic
// calibration keeps running behind the fitter's back.
class Navigation {
  public:
    explicit Navigation(AppContext &app) : m_app(app) {}

    void connectMenu();

    void Moniteur_Click();
    void Parametres_Click();
    void BtEmission_Click();
    void Connection_Click();
    // Asks for a language file and applies it.
    void Info_Click();
    void BtEmi_Click();
    void BtMemoire_Click();

    // PutInTaB of the map screen, run by BtEmi; set where the map screen is made.
    std::function<void()> mapPutInTaB;
    // navigation_files.cpp: the memory file buttons.
    void Charger_Click();
    void Sauvegarder_Click();
    void BtMap_Click();
    // "Quitter" of the map screen: back to the monitor.
    void FnMAP_Btexit_Click();
    void Calibration_Click();
    // Every screen hidden, so the ready area shows the job panel; a running
    // calibration stops first, as the menu's buttons stop it.
    void showReadyArea();

  private:
    void connectFileButtons();
    void calibrationGuardAndStop();
    void calibrationReset();
    void hideScreens();
    // Runs a file operation with the live poll stopped, then leaves the
    // poll watchdog and polling as they were.
    template <typename Operation> void withPollPaused(Operation operation);
    // Port closed: the message and the connection form; open: polling on.
    void portCheck(const char *message);

    AppContext &m_app;
};
