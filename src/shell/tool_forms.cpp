#include "shell/tool_forms.h"

#include "emission/emission_screen.h"
#include "emission/final_test_screen.h"
#include "link/link.h"
#include "monitor/monitor_screen.h"
#include "transfer/memory_viewer.h"
#include "ui/app_context.h"
#include "ui/screens.h"

void createToolForms(AppContext &app, QMdiArea *area) {
    Screens &s = app.screens;
    s.finalTestScreen = new FinalTestScreen(app);
    s.emissionScreen = new EmissionScreen(app);
    s.memoryViewer = new MemoryViewer(app.link.image);
    // "Start" on the monitor starts the emission test's clock too, whether
    // or not its screen was ever opened.
    QObject::connect(s.monitorScreen, &MonitorScreen::emissionStartRequested, s.emissionScreen,
                     &EmissionScreen::EmiStart_Click);
    for (Form *form : {static_cast<Form *>(s.emissionScreen),
                       static_cast<Form *>(s.finalTestScreen), static_cast<Form *>(s.memoryViewer)})
        form->attach(area, true);
    s.finalTestScreen->place(4500, 2400);
    s.memoryViewer->place(3000, 1500);
}
