// The map screen in the tour: an acquisition over a stretch of the
// simulator's road cycle (started with --drive, or switched on here through
// the console pipe named by GASECU_SIM_CONSOLE), first on petrol, then on gas
// after the screen's own fuel switch, so both curves are drawn.
#include "app/screenshot_tour.h"

#include "ecu/live_block.h"
#include "link/link.h"
#include "map/aqui_map_form.h"
#include "map/band_graph.h"
#include "map/map_screen.h"
#include "shell/main_window.h"
#include "shell/navigation.h"

#include <QFile>

#include <cstdio>

bool ScreenshotTour::mapTour() {
    Screens &s = m_window.screens();
    Link &link = m_window.app().link;
    const auto fuel = [&link] { return link.image.at(ecu::liveblock::FuelState); };
    const QString console = qEnvironmentVariable("GASECU_SIM_CONSOLE");
    if (QFile pipe(console); !console.isEmpty() && pipe.open(QIODevice::WriteOnly))
        pipe.write("drive on\n");
    // The map keeps the live poll it finds: the monitor's, as on the road.
    m_window.navigation().Moniteur_Click();
    m_window.navigation().BtMap_Click();
    // The petrol curve first: back to petrol if an earlier stop left gas on.
    if (fuel() != ecu::liveblock::OnPetrol) {
        s.mapScreen->SwitchCommutateur_Click();
        waitFor([&] { return fuel() == ecu::liveblock::OnPetrol; }, 20000);
    }
    s.mapScreen->StarMapAqui_Click();
    if (!waitFor([&] { return s.mapAcquisition->filledBands(MapAcquisition::Column::Petrol) >= 6; },
                 60000))
        std::fprintf(stderr, "gasecu: few petrol bands (is the simulator driving?)\n");
    s.mapScreen->SwitchCommutateur_Click();
    waitFor([&] { return fuel() == ecu::liveblock::OnGas; }, 20000);
    if (!waitFor([&] { return s.mapAcquisition->filledBands(MapAcquisition::Column::Gas) >= 6; },
                 60000))
        std::fprintf(stderr, "gasecu: few gas bands\n");
    s.mapScreen->StopMapAqui_Click();
    // The screen with both curves, its proposal and the acquisition window
    // beside the tables, then that window on its own.
    bool ok = shoot(QStringLiteral("40-map"));
    ok = shoot(QStringLiteral("41-map-acquisition"), s.mapAcquisition) && ok;
    s.mapAcquisition->hideForm();
    // Leave the engine on petrol for what follows.
    s.mapScreen->SwitchCommutateur_Click();
    waitFor([&] { return fuel() == ecu::liveblock::OnPetrol; }, 20000);
    return ok;
}
