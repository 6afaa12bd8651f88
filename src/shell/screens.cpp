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
        return FnParametres2;
    case 2:
        return FnParametres3;
    case 3:
        return FnParametres4;
    case 4:
        return FnParametres5;
    default:
        return FnParametres;
    }
}

QList<Form *> Screens::screenSet() const {
    return {FnMAP,         FnMoniteur,    FnConnection,     FnParametres,
            FnParametres2, FnParametres3, FnParametres4,    FnParametres5,
            FnParametres6, FnCalibration, FnCalibrationSet, FnCalibrationFin};
}
