#include "shell/navigation.h"

#include "calibration/calibration_end_form.h"
#include "calibration/calibration_screen.h"
#include "calibration/calibration_set_form.h"
#include "link/frames.h"
#include "link/link.h"
#include "map/map_screen.h"
#include "monitor/monitor_screen.h"
#include "pages/lambda_page.h"
#include "presentation/language_load.h"
#include "presentation/refresh.h"
#include "ui/app_context.h"
#include "ui/dialogs.h"
#include "ui/menu.h"
#include "ui/screens.h"

#include <QPushButton>

void Navigation::connectMenu() {
    Menu &menu = m_app.menu;
    QObject::connect(menu.Moniteur, &QPushButton::clicked, menu.Moniteur,
                     [this] { Moniteur_Click(); });
    QObject::connect(menu.Parametres, &QPushButton::clicked, menu.Parametres,
                     [this] { Parametres_Click(); });
    QObject::connect(menu.BtEmission, &QPushButton::clicked, menu.BtEmission,
                     [this] { BtEmission_Click(); });
    QObject::connect(menu.Connection, &QPushButton::clicked, menu.Connection,
                     [this] { Connection_Click(); });
    QObject::connect(menu.Info, &QPushButton::clicked, menu.Info, [this] { Info_Click(); });
    QObject::connect(menu.BtEmi, &QPushButton::clicked, menu.BtEmi, [this] { BtEmi_Click(); });
    QObject::connect(menu.BtMemoire, &QPushButton::clicked, menu.BtMemoire,
                     [this] { BtMemoire_Click(); });
    connectFileButtons();
    QObject::connect(menu.BtMap, &QPushButton::clicked, menu.BtMap, [this] { BtMap_Click(); });
    QPushButton *mapExit = m_app.screens.mapScreen->Btexit;
    QObject::connect(mapExit, &QPushButton::clicked, mapExit, [this] { FnMAP_Btexit_Click(); });
    mapPutInTaB = [this] { m_app.screens.mapScreen->PutInTaB(); };
    QObject::connect(menu.Calibration, &QPushButton::clicked, menu.Calibration,
                     [this] { Calibration_Click(); });
}

void Navigation::calibrationGuardAndStop() {
    if (!m_app.CalibrationRunning)
        return;
    m_app.dialogs.warning(QStringLiteral(" CALIBRATION STOP "));
    // Stopped before the screens refresh: a step after the write-back would
    // zero the switch-over settings again.
    m_app.screens.calibrationScreen->sequence().abandon();
}

void Navigation::calibrationReset() {
    m_app.CalibrationRunning = false;
    m_app.screens.calibrationScreen->calibrationReset();
}

void Navigation::hideScreens() {
    for (Form *screen : m_app.screens.screenSet())
        screen->hideForm();
}

void Navigation::showReadyArea() {
    calibrationGuardAndStop();
    calibrationReset();
    hideScreens();
}

void Navigation::portCheck(const char *message) {
    if (!m_app.link.state.PortIsOpen) {
        m_app.dialogs.information(QString::fromLatin1(message));
        m_app.screens.connection->showForm();
        return;
    }
    m_app.link.poll.start();
}

void Navigation::Moniteur_Click() {
    Screens &s = m_app.screens;
    m_app.link.poll.setFrame(frames::MonitorPoll);
    s.monitorScreen->RazPrss_Click();
    calibrationGuardAndStop();
    RefreshScreens(m_app);
    calibrationReset();
    hideScreens();
    s.monitorScreen->showForm();
    m_app.link.poll.startWatchdog();
    m_app.link.poll.clearSilence();
    portCheck(" Serial port not select ");
}

void Navigation::Parametres_Click() {
    Screens &s = m_app.screens;
    calibrationGuardAndStop();
    m_app.link.poll.stopWatchdog();
    m_app.CalibrationRunning = false;
    RefreshScreens(m_app);
    hideScreens();
    // The level page watches the live level and the battery page the live
    // battery reading: both keep the poll watchdog running.
    if (m_app.CurrentPage == 4)
        m_app.link.poll.setFrame(frames::SecondLivePoll);
    s.parameterPage(m_app.CurrentPage)->showForm();
    if (m_app.CurrentPage == 1 || m_app.CurrentPage == 4)
        m_app.link.poll.startWatchdog();
    m_app.link.poll.stop();
}

void Navigation::BtEmission_Click() {
    Screens &s = m_app.screens;
    calibrationGuardAndStop();
    m_app.link.poll.stopWatchdog();
    m_app.CalibrationRunning = false;
    m_app.link.poll.stop();
    hideScreens();
    s.lambdaPage->showForm();
    s.lambdaPage->Affiche();
}

void Navigation::Connection_Click() {
    Screens &s = m_app.screens;
    calibrationGuardAndStop();
    s.monitorScreen->hideForm();
    s.connection->showForm();
    m_app.link.poll.stop();
    calibrationReset();
    for (Form *screen : s.screenSet()) {
        if (screen != s.connection)
            screen->hideForm();
    }
    m_app.link.poll.stopWatchdog();
}

void Navigation::Info_Click() {
    language::LoadLanguageFile(m_app, false);
}

void Navigation::BtMap_Click() {
    Screens &s = m_app.screens;
    calibrationGuardAndStop();
    RefreshScreens(m_app);
    calibrationReset();
    hideScreens();
    s.mapScreen->showForm();
    m_app.link.poll.startWatchdog();
    m_app.link.poll.clearSilence();
    s.mapScreen->PutInTaB();
    portCheck(" Serial port not select ");
}

// "Quitter" of the map screen: back to the monitor. It hides the map, the
// connection form, the first four parameter pages and every calibration form,
// both banks' end forms included; the battery and lambda pages stay as they
// are.
void Navigation::FnMAP_Btexit_Click() {
    Screens &s = m_app.screens;
    calibrationGuardAndStop();
    RefreshScreens(m_app);
    calibrationReset();
    for (Form *screen : std::initializer_list<Form *>{
             s.mapScreen, s.connection, s.parameterPage(0), s.parameterPage(1), s.parameterPage(2),
             s.parameterPage(3), s.calibrationScreen, s.calibrationSettings, s.calibrationEndBank1,
             s.calibrationEndBank2})
        screen->hideForm();
    s.monitorScreen->showForm();
    m_app.link.poll.startWatchdog();
    m_app.link.poll.clearSilence();
    portCheck(" Serial port not select ");
}

// Polling on without a port check: the calibration form shows live values.
void Navigation::Calibration_Click() {
    Screens &s = m_app.screens;
    m_app.link.poll.setFrame(frames::MonitorPoll);
    calibrationGuardAndStop();
    RefreshScreens(m_app);
    hideScreens();
    s.calibrationScreen->showForm();
    m_app.link.poll.start();
    m_app.link.poll.startWatchdog();
    m_app.CalibrationRunning = false;
    s.calibrationScreen->resetForMenu();
}
