#include "pages/main_parameters_chain.h"

#include "link/link.h"
#include "ui/app_context.h"
#include "ui/form.h"
#include "ui/screens.h"

void goToParameterPage(AppContext &app, const PageStep &step) {
    Screens &s = app.screens;
    LivePoll &poll = app.link.poll;
    poll.keepWatchdog();
    app.CurrentPage = step.currentPage;
    if (!step.pollFrame.isEmpty())
        poll.setFrame(step.pollFrame);
    if (step.pollingOn)
        *step.pollingOn ? poll.start() : poll.stop();
    for (int page = 0; page <= 4; ++page) {
        Form *form = s.parameterPage(page);
        if (form && form != step.target)
            form->hideForm();
    }
    if (step.target)
        step.target->showForm();
}
