#include "presentation/upload.h"

#include "link/link.h"
#include "monitor/monitor_screen.h"
#include "pages/battery_page.h"
#include "pages/level_page.h"
#include "pages/main_parameters_page.h"
#include "ui/app_context.h"
#include "ui/screens.h"

// In this order: the switch-over speed's coding depends on the injection
// type the main parameters store first.
void UploadEditedValues(AppContext &app) {
    MemoryImage &image = app.link.image;
    app.screens.mainParametersPage->encodeInto(image);
    app.screens.monitorScreen->encodeInto(image);
    app.screens.levelPage->encodeInto(image);
    app.screens.batteryPage->encodeInto(image);
}
