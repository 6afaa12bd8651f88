#include "pages/main_parameters_chain.h"

#include "link/frames.h"
#include "link/link.h"
#include "monitor/monitor_screen.h"
#include "ui/app_context.h"
#include "ui/screens.h"

void goToParameterPage(AppContext &app, const PageStep &step) {
    Screens &s = app.screens;
    if (s.FnMoniteur && !s.FnMoniteur->Timer1.isActive())
        s.FnMoniteur->Timer1.start(); // enabling a running watchdog does not restart it
    app.CurrentPage = step.currentPage;
    LinkState &link = app.link.state;
    if (!step.pollFrame.isEmpty()) {
        link.PollFrame = step.pollFrame.toByteArray();
        if (!link.PollFrame.endsWith(frames::Cr))
            link.PollFrame += frames::Cr;
    }
    if (step.pollingOn)
        link.PollingOn = *step.pollingOn;
    for (int page = 0; page <= 4; ++page) {
        Form *form = s.parameterPage(page);
        if (form && form != step.target)
            form->hideForm();
    }
    if (step.target)
        step.target->showForm();
}
