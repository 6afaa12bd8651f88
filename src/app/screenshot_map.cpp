// The map screen in the tour: an acquisition over a stretch of the
// simulator's road cycle (started with --drive), first on petrol, then on
// gas after the screen's own fuel switch, so both curves are drawn.
#include "app/screenshot_tour.h"

#include "link/link.h"
#include "map/aqui_map_form.h"
#include "map/band_graph.h"
#include "map/map_screen.h"
#include "shell/main_window.h"
#include "shell/navigation.h"

#include <cstdio>

bool ScreenshotTour::mapTour() {
    Screens &s = m_window.screens();
    Link &link = m_window.app().link;
    // The map keeps the live poll it finds: the monitor's, as on the road.
    m_window.navigation().Moniteur_Click();
    m_window.navigation().BtMap_Click();
    s.FnMAP->StarMapAqui_Click();
    if (!waitFor([&] { return s.FnAquiMap->filledBands(MapAcquisition::Column::Petrol) >= 6; },
                 60000))
        std::fprintf(stderr, "gasecu: few petrol bands (is the simulator driving?)\n");
    s.FnMAP->SwitchCommutateur_Click();
    waitFor([&] { return link.image.at(0x002) == 3; }, 20000);
    if (!waitFor([&] { return s.FnAquiMap->filledBands(MapAcquisition::Column::Gas) >= 6; }, 60000))
        std::fprintf(stderr, "gasecu: few gas bands\n");
    return shoot(QStringLiteral("40-map"));
}
