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
    s.FnFinTeste = new FinalTestScreen(app);
    s.FnEmi = new EmissionScreen(app);
    s.FnMemoire = new MemoryViewer(app.link.image);
    // "Start" on the monitor starts the emission test's clock too, whether
    // or not its screen was ever opened.
    QObject::connect(s.FnMoniteur, &MonitorScreen::emissionStartRequested, s.FnEmi,
                     &EmissionScreen::EmiStart_Click);
    for (Form *form : {static_cast<Form *>(s.FnEmi), static_cast<Form *>(s.FnFinTeste),
                       static_cast<Form *>(s.FnMemoire)})
        form->attach(area, true);
    s.FnFinTeste->place(4500, 2400);
    s.FnMemoire->place(3000, 1500);
}
