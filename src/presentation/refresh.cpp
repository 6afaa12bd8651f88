#include "presentation/refresh.h"

#include "calibration/calibration_screen.h"
#include "emission/emission_screen.h"
#include "map/map_screen.h"
#include "monitor/monitor_screen.h"
#include "pages/battery_page.h"
#include "pages/coefficient_page.h"
#include "pages/level_page.h"
#include "pages/main_parameters_page.h"
#include "pages/ntc_page.h"
#include "transfer/memory_viewer.h"
#include "ui/app_context.h"
#include "ui/screens.h"

// The order matters: the gauges follow their captions, the monitor's bar
// colours and lambda captions read the main parameters page refreshed just
// before them, and the map screen copies the monitor's live values between
// the first injection time and the rest, so it shows the previous pass.
void RefreshScreens(AppContext &app) {
    Screens &s = app.screens;
    if (s.monitorScreen->TxTemps->text() != s.emissionScreen->TxTemps->text()) // emission time
        s.monitorScreen->TxTemps->setText(s.emissionScreen->TxTemps->text());
    s.monitorScreen->refreshGauges();          // speed, temperature, pressure, gauges
    s.mainParametersPage->refreshFromImage();  // main parameters
    s.monitorScreen->refreshLive();            // firmware, alarms, trims, first time
    s.mapScreen->refreshCopies();              // the map's copies of the monitor
    s.monitorScreen->refreshTimesAndSensors(); // other times, fuel state, sensors
    s.mapScreen->refreshFuelState();           // nothing after the fuel state changes it
    s.levelPage->refreshFromImage();           // level sensor
    s.mapScreen->refreshTrims();               // the map's trims, while not polling
    s.calibrationScreen->refresh();            // monitor copies, then one calibration step
    s.batteryPage->refreshFromImage();         // battery
    if (s.memoryViewer->followsImage())        // memory viewer, last
        s.memoryViewer->BtShow_Click();
}

void RebuildTables(AppContext &app) {
    app.screens.coefficientPage->PutInTaB();
    app.screens.ntcPage->PutIndexNTCE();
    app.screens.ntcPage->PutIndexNTCG();
}
