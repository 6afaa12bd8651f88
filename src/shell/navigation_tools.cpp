// The menu buttons of the emission tools: the emission test screen and the
// memory viewer.
#include "emission/emission_screen.h"
#include "link/link.h"
#include "pages/lambda_page.h"
#include "presentation/refresh.h"
#include "shell/navigation.h"
#include "transfer/memory_viewer.h"
#include "ui/app_context.h"
#include "ui/screens.h"

// The emission screen follows the live poll like the monitor, and leaves the
// lambda page, whose emission settings go with it, where it is. It opens
// even without a port: the schedule is edited in the image.
void Navigation::BtEmi_Click() {
    Screens &s = m_app.screens;
    calibrationGuardAndStop();
    RefreshScreens(m_app);
    calibrationReset();
    for (Form *screen : s.screenSet()) {
        if (screen != s.lambdaPage)
            screen->hideForm();
    }
    m_app.link.poll.startWatchdog();
    m_app.link.poll.clearSilence();
    if (mapPutInTaB)
        mapPutInTaB();
    portCheck(" Serial Port not select ");
    s.emissionScreen->showForm();
}

// The viewer only reads the image: no poll, no calibration guard.
void Navigation::BtMemoire_Click() {
    m_app.screens.memoryViewer->showForm();
}
