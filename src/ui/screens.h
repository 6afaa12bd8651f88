#pragma once

#include <QList>

class AquiMapForm;
class BatteryPage;
class CalibrationEndForm;
class CalibrationScreen;
class CalibrationSetForm;
class CoefficientPage;
class DownloadForm;
class EmissionScreen;
class FinalTestScreen;
class Form;
class InfoForm;
class LambdaPage;
class LevelPage;
class MainParametersPage;
class MemoryViewer;
class MapScreen;
class MonitorControls;
class MonitorScreen;
class NtcPage;
class ProgStartForm;
class UploadForm;

// Every form of the tool, created hidden at start-up, so forms and the
// screen refresh can reach each other's controls.
struct Screens {
    InfoForm *information = nullptr;
    InfoForm *informationBrand1 = nullptr;
    ProgStartForm *startForm = nullptr;
    DownloadForm *readProgress = nullptr;
    UploadForm *uploadProgress = nullptr;
    Form *connection = nullptr;

    MonitorScreen *monitorScreen = nullptr;
    MonitorControls *monitorControls = nullptr; // the monitor, as the other live screens see it
    MainParametersPage *mainParametersPage = nullptr;
    LevelPage *levelPage = nullptr;
    CoefficientPage *coefficientPage = nullptr;
    NtcPage *ntcPage = nullptr;
    BatteryPage *batteryPage = nullptr;
    LambdaPage *lambdaPage = nullptr;
    MapScreen *mapScreen = nullptr;
    AquiMapForm *mapAcquisition = nullptr;
    CalibrationScreen *calibrationScreen = nullptr;
    CalibrationSetForm *calibrationSettings = nullptr;
    CalibrationEndForm *calibrationEndBank1 = nullptr; // bank 1
    CalibrationEndForm *calibrationEndBank2 = nullptr; // bank 2, not hidden by the menu

    // Emission tests and the memory viewer: framed forms the menu never hides.
    EmissionScreen *emissionScreen = nullptr;
    FinalTestScreen *finalTestScreen = nullptr;
    MemoryViewer *memoryViewer = nullptr;

    // The parameter page of a CurrentPage number (0..4).
    Form *parameterPage(int page) const;
    // The screens the menu hides when it brings one forward.
    QList<Form *> screenSet() const;
};
