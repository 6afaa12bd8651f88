// The calibration screens in the tour: an idle calibration running against
// the simulator, its end, the settings and both banks' results.
#include "app/screenshot_tour.h"

#include "calibration/calibration_end_form.h"
#include "calibration/calibration_screen.h"
#include "calibration/calibration_set_form.h"
#include "link/link.h"
#include "shell/main_window.h"
#include "shell/navigation.h"

#include <QLineEdit>
#include <QPushButton>

#include <cstdio>

bool ScreenshotTour::calibrationShots() {
    Screens &s = m_window.screens();
    Link &link = m_window.app().link;
    CalibrationScreen *cal = s.calibrationScreen;
    m_window.navigation().Calibration_Click();
    link.SendLine(link.poll.frame());
    // A short sequence: the engine warms up first (the vaporiser must pass 40 C).
    const char *steps[] = {"5", "60", "5", "60"};
    for (int i = 0; i < 4; ++i)
        s.calibrationSettings->TxCaStep[i]->setText(QString::fromLatin1(steps[i]));
    cal->BtStCalibration->click();
    const bool sampling = waitFor(
        [&] {
            return cal->sequence().phase() == calibration::Phase::SamplingPetrol &&
                   cal->sequence().step() > 30;
        },
        120000);
    bool ok = shoot(QStringLiteral("30-calibration-running")) && sampling;
    if (!waitFor([&] { return !m_window.app().CalibrationRunning; }, 120000)) {
        std::fprintf(stderr, "gasecu: the calibration did not end\n");
        return false;
    }
    waitFor([&] { return link.state.UploadStep == ChainStep::Rest; }, 5000);
    waitFor([] { return false; }, 500); // a few live answers after the end
    ok = shoot(QStringLiteral("31-calibration-idle-done")) && ok;
    // The settings as the fitter finds them.
    const char *defaults[] = {"30", "100", "30", "100"};
    for (int i = 0; i < 4; ++i)
        s.calibrationSettings->TxCaStep[i]->setText(QString::fromLatin1(defaults[i]));
    cal->BtCalibrationSet_Click();
    ok = shoot(QStringLiteral("32-calibration-settings")) && ok;
    s.calibrationSettings->hideForm();
    s.calibrationEndBank1->showForm();
    ok = shoot(QStringLiteral("33-calibration-band1")) && ok;
    s.calibrationEndBank2->showForm();
    ok = shoot(QStringLiteral("34-calibration-band2")) && ok;
    s.calibrationEndBank2->hideForm();
    s.calibrationEndBank1->hideForm();
    return ok;
}
