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
    if (s.FnMoniteur->TxTemps->text() != s.FnEmi->TxTemps->text()) // emission time
        s.FnMoniteur->TxTemps->setText(s.FnEmi->TxTemps->text());
    s.FnMoniteur->refreshGauges();          // speed, temperature, pressure, gauges
    s.FnParametres->refreshFromImage();     // main parameters
    s.FnMoniteur->refreshLive();            // firmware, alarms, trims, first time
    s.FnMAP->refreshCopies();               // the map's copies of the monitor
    s.FnMoniteur->refreshTimesAndSensors(); // other times, fuel state, sensors
    s.FnMAP->refreshFuelState();            // nothing after the fuel state changes it
    s.FnParametres2->refreshFromImage();    // level sensor
    s.FnMAP->refreshTrims();                // the map's trims, while not polling
    s.FnCalibration->refresh();             // monitor copies, then one calibration step
    s.FnParametres5->refreshFromImage();    // battery
    if (s.FnMemoire->followsImage())        // memory viewer, last
        s.FnMemoire->BtShow_Click();
}

void RebuildTables(AppContext &app) {
    app.screens.FnParametres3->PutInTaB();
    app.screens.FnParametres4->PutIndexNTCE();
    app.screens.FnParametres4->PutIndexNTCG();
}
