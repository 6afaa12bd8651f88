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
    InfoForm *FnEntete = nullptr;
    InfoForm *FnEntete2 = nullptr;
    ProgStartForm *FnProgStart = nullptr;
    DownloadForm *FnDownload = nullptr;
    UploadForm *FnUPLoad = nullptr;
    Form *FnConnection = nullptr;

    MonitorScreen *FnMoniteur = nullptr;
    MonitorControls *monitorControls = nullptr; // the monitor, as the other live screens see it
    MainParametersPage *FnParametres = nullptr;
    LevelPage *FnParametres2 = nullptr;
    CoefficientPage *FnParametres3 = nullptr;
    NtcPage *FnParametres4 = nullptr;
    BatteryPage *FnParametres5 = nullptr;
    LambdaPage *FnParametres6 = nullptr;
    MapScreen *FnMAP = nullptr;
    AquiMapForm *FnAquiMap = nullptr;
    CalibrationScreen *FnCalibration = nullptr;
    CalibrationSetForm *FnCalibrationSet = nullptr;
    CalibrationEndForm *FnCalibrationFin = nullptr;  // bank 1
    CalibrationEndForm *FnCalibrationFIN2 = nullptr; // bank 2, not hidden by the menu

    // Emission tests and the memory viewer: framed forms the menu never hides.
    EmissionScreen *FnEmi = nullptr;
    FinalTestScreen *FnFinTeste = nullptr;
    MemoryViewer *FnMemoire = nullptr;

    // The parameter page of a CurrentPage number (0..4).
    Form *parameterPage(int page) const;
    // The screens the menu hides when it brings one forward.
    QList<Form *> screenSet() const;
};
