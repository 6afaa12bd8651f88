#include "ui/screens.h"

#include "calibration/calibration_end_form.h"
#include "calibration/calibration_screen.h"
#include "calibration/calibration_set_form.h"
#include "map/map_screen.h"
#include "monitor/monitor_screen.h"
#include "pages/battery_page.h"
#include "pages/coefficient_page.h"
#include "pages/lambda_page.h"
#include "pages/level_page.h"
#include "pages/main_parameters_page.h"
#include "pages/ntc_page.h"

Form *Screens::parameterPage(int page) const {
    switch (page) {
    case 1:
        return levelPage;
    case 2:
        return coefficientPage;
    case 3:
        return ntcPage;
    case 4:
        return batteryPage;
    default:
        return mainParametersPage;
    }
}

QList<Form *> Screens::screenSet() const {
    return {mapScreen,
            monitorScreen,
            connection,
            mainParametersPage,
            levelPage,
            coefficientPage,
            ntcPage,
            batteryPage,
            lambdaPage,
            calibrationScreen,
            calibrationSettings,
            calibrationEndBank1};
}
