#include "presentation/variant.h"

#include "calibration/calibration_screen.h"
#include "monitor/monitor_screen.h"
#include "pages/level_page.h"
#include "presentation/product_version.h"
#include "ui/app_context.h"
#include "ui/menu.h"
#include "ui/screens.h"

#include <QPushButton>
#include <QStringList>
#include <QWidget>

#ifndef GASECU_BRAND
#define GASECU_BRAND 0
#define GASECU_GAS_TIMES_SHOWN 0
#define GASECU_EXTENDED_CALIBRATION 0
#define GASECU_EMISSION_TOOLS 0
#define GASECU_BATTERY_PAGE_HIDDEN 1
#endif

Variant Variant::build() {
    return {GASECU_GAS_TIMES_SHOWN, GASECU_EXTENDED_CALIBRATION, GASECU_BRAND,
            GASECU_EMISSION_TOOLS, GASECU_BATTERY_PAGE_HIDDEN};
}

QString brandCaption(int brand) {
    switch (brand) {
    case 0:
        return QStringLiteral(" Morvane Group ") + productVersion();
    case 1:
        return QStringLiteral(" Kelvra ") + productVersion();
    case 2:
        return QStringLiteral(" Pelgaro ");
    default:
        return {};
    }
}

void ApplyVariant(const Variant &variant, AppContext &app, QWidget *mainWindow) {
    if (variant.Brand >= 0 && variant.Brand <= 2)
        mainWindow->setWindowTitle(brandCaption(variant.Brand));

    const bool tools = variant.EmissionTools != 0;
    for (QPushButton *b : {app.menu.BtEmi, app.menu.BtMap, app.menu.BtMemoire, app.menu.BtEmission})
        b->setVisible(tools);
    app.screens.monitorScreen->applyEmissionTools(variant.EmissionTools);
    app.screens.monitorScreen->applyGasTimesShown(variant.GasTimesShown);

    app.screens.calibrationScreen->applyExtendedCalibration(variant.ExtendedCalibration);
    QPushButton *levelNext = app.screens.levelPage->BtPageSuivante;
    if (variant.ExtendedCalibration == 0) {
        app.menu.BtMemoire->setVisible(false);
        levelNext->setVisible(false);
    } else if (variant.ExtendedCalibration == 1) {
        levelNext->setVisible(true);
    }

    // Last, so it decides the level page's way to the battery page.
    levelNext->setVisible(variant.BatteryPageHidden == 0);
}
