#pragma once

#include <QString>

class QWidget;
struct AppContext;

// The five options that make one build serve one brand and equipment level.
struct Variant {
    int GasTimesShown = 0;       // 1 shows the monitor's gas injection-time column
    int ExtendedCalibration = 0; // 1 shows the load-calibration controls
    int Brand = 0;               // 0, 1 or 2: caption and start screen
    int EmissionTools = 0;       // not 0 shows the emission, map and memory tools
    int BatteryPageHidden = 1;   // not 0 hides the level page's next-page button

    // The values fixed in this build.
    static Variant build();
};

// Brand caption of the main window, with the product's version for the
// brands that show it ("" for an unknown brand).
QString brandCaption(int brand);

// Applies the options once at start-up, in order: caption, emission tools,
// gas times, extended calibration, battery page.
void ApplyVariant(const Variant &variant, AppContext &app, QWidget *mainWindow);
