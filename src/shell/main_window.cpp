#include "shell/main_window.h"

#include "calibration/calibration_end_form.h"
#include "calibration/calibration_screen.h"
#include "calibration/calibration_set_form.h"
#include "emission/final_test_screen.h"
#include "files/config_file.h"
#include "files/last_read.h"
#include "link/link.h"
#include "map/aqui_map_form.h"
#include "map/map_screen.h"
#include "monitor/monitor_screen.h"
#include "pages/battery_page.h"
#include "pages/coefficient_page.h"
#include "pages/lambda_page.h"
#include "pages/level_page.h"
#include "pages/main_parameters_page.h"
#include "pages/ntc_page.h"
#include "presentation/language_load.h"
#include "presentation/refresh.h"
#include "presentation/upload.h"
#include "shell/connection_form.h"
#include "shell/info_form.h"
#include "shell/tool_forms.h"
#include "transfer/memory_viewer.h"
#include "transfer/prog_start_form.h"
#include "transfer/transfer_form.h"
#include "ui/brand_logo.h"
#include "ui/dialogs.h"
#include "ui/menu.h"
#include "ui/status_strip.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMdiArea>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

MainWindow::MainWindow(Link &link, Dialogs *dialogs, const QString &programDir,
                       const Variant &variant, QWidget *parent)
    : QMainWindow(parent), m_link(link), m_variant(variant) {
    setObjectName(QStringLiteral("MDIForm1"));
    // The brand's mark on every window of the tool, forms included.
    QApplication::setWindowIcon(QIcon(brandLogo(brandColor(variant.Brand), 32)));
    if (!dialogs) {
        m_ownDialogs = std::make_unique<QtDialogs>(this);
        dialogs = m_ownDialogs.get();
    }
    m_dialogs = dialogs;

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_menu = new Menu(central);
    m_area = new QMdiArea(central);
    m_area->setObjectName(QStringLiteral("ScreenArea"));
    m_area->setBackground(QColor(0x80, 0x80, 0x80));
    m_etat = new Etat(central);
    column->addWidget(m_menu);
    column->addWidget(m_area, 1);
    column->addWidget(m_etat);
    setCentralWidget(central);
    resize(1024, 717);

    m_app = std::make_unique<AppContext>(
        AppContext{m_link, *m_dialogs, *m_menu, *m_etat, m_screens, programDir});
    m_app->uploadEditedValues = [this] { UploadEditedValues(*m_app); };
    m_app->refreshScreens = [this] { RefreshScreens(*m_app); };
    m_navigation = std::make_unique<Navigation>(*m_app);
    createForms();
    wireLink();
    wireMenu();
    wireJobs();
}

MainWindow::~MainWindow() = default;

void MainWindow::createForms() {
    auto framed = [this](Form *form) {
        form->attach(m_area, true);
        return form;
    };
    m_screens.information = new InfoForm(*m_app, 0);
    m_screens.informationBrand1 = new InfoForm(*m_app, 1);
    m_screens.startForm = new ProgStartForm(*m_app);
    m_screens.readProgress = new DownloadForm;
    m_screens.uploadProgress = new UploadForm;
    m_screens.connection = new ConnectionForm(*m_app);
    for (Form *form :
         {static_cast<Form *>(m_screens.information),
          static_cast<Form *>(m_screens.informationBrand1),
          static_cast<Form *>(m_screens.startForm), static_cast<Form *>(m_screens.readProgress),
          static_cast<Form *>(m_screens.uploadProgress), m_screens.connection})
        framed(form);
    m_screens.connection->place(6000, 3900);

    m_screens.monitorScreen = new MonitorScreen(*m_app);
    m_screens.monitorControls = m_screens.monitorScreen;
    m_screens.mainParametersPage = new MainParametersPage(*m_app);
    m_screens.levelPage = new LevelPage(*m_app);
    m_screens.coefficientPage = new CoefficientPage(*m_app);
    m_screens.ntcPage = new NtcPage(*m_app);
    m_screens.batteryPage = new BatteryPage(*m_app);
    m_screens.lambdaPage = new LambdaPage(*m_app);
    m_screens.mapScreen = new MapScreen(*m_app);
    m_screens.calibrationScreen = new CalibrationScreen(*m_app);
    m_screens.calibrationSettings = new CalibrationSetForm(*m_app);
    m_screens.calibrationEndBank1 = new CalibrationEndForm(*m_app, 0);
    m_screens.calibrationEndBank2 = new CalibrationEndForm(*m_app, 1);
    connect(m_screens.calibrationScreen, &CalibrationScreen::switchSettingsRestored,
            m_screens.mainParametersPage, &MainParametersPage::refreshFromImage);
    m_screens.calibrationEndBank2->attach(m_area, false);
    m_screens.calibrationEndBank2->place(0, 950);
    for (Form *screen : m_screens.screenSet()) {
        if (screen == m_screens.connection)
            continue;
        screen->attach(m_area, false);
        screen->place(0, 950);
    }
    createToolForms(*m_app, m_area);
    // The acquisition window: "Start Aquisition" opens it in the column the
    // map screen leaves free.
    m_screens.mapAcquisition = new AquiMapForm(*m_app);
    framed(m_screens.mapAcquisition);
}

void MainWindow::MDIForm1_Load() {
    m_link.ResetLinkState();
    m_app->CurrentPage = 0;
    ApplyVariant(m_variant, *m_app, this);

    // Loading the transfer forms sets their bars to 21 blocks; the link's
    // block count then takes over.
    for (Form *form : {static_cast<Form *>(m_screens.readProgress),
                       static_cast<Form *>(m_screens.uploadProgress)})
        form->hideForm();
    for (Form *screen : m_screens.screenSet())
        screen->hideForm();
    m_screens.readProgress->AXProgress1->setMaximum(BlockCount);
    m_screens.uploadProgress->AXProgress1->setMaximum(BlockCount);

    switch (m_variant.Brand) {
    case 1:
        m_screens.startForm->hideForm();
        m_screens.informationBrand1->showForm();
        break;
    case 2:
        m_screens.startForm->showForm();
        break;
    default:
        m_screens.startForm->hideForm();
        m_screens.information->showForm();
        break;
    }
    readConfiguration();
    m_etat->setLinkText(m_link.messages[10]);
}

void MainWindow::readConfiguration() {
    ConfigFile config(m_app->ProgramDir);
    switch (config.ReadConfigFile()) {
    case ConfigFile::ReadResult::Missing:
        break;
    case ConfigFile::ReadResult::BadHeader:
        m_dialogs->warning(QStringLiteral(" Error in the file config "));
        break;
    case ConfigFile::ReadResult::Read:
        m_link.setPortNumber(config.portNumber());
        language::LoadLanguageFile(*m_app, true, config.languagePath());
        break;
    }
}

void MainWindow::wireLink() {
    Link &link = m_link;
    Screens &s = m_screens;
    // What the ECU held at the last read, for the restore points; made
    // before any other handler of a completed read runs.
    LastRead::of(link);
    // The map acquisition sees every frame before anything else handles it.
    connect(&link, &Link::frameArrived, this, [&s] { s.mapAcquisition->MapAcquisitionStep(); });
    connect(&link, &Link::statusText, m_etat, &Etat::setLinkText);
    connect(&link, &Link::frameProcessed, m_etat, &Etat::toggleActivity);
    connect(&link, &Link::connectionWanted, this, [&s] { s.connection->showForm(); });
    connect(&link, &Link::warning, this, [this](const QString &text) { m_dialogs->warning(text); });
    connect(&link.poll, &LivePoll::pollResent, s.monitorScreen, &MonitorScreen::pollResent);

    // The bar ends with the transfer's last block: 16 for the configuration,
    // 20 when the emission schedule comes with it.
    connect(&link, &Link::fullReadStarted, this, [this, &s] {
        s.readProgress->showForm();
        s.readProgress->AXProgress1->setMaximum(m_link.readEnd());
        s.readProgress->setProgress(0);
    });
    connect(&link, &Link::fullReadProgress, this, [&s](int v) { s.readProgress->setProgress(v); });
    connect(&link, &Link::dataDecoded, this, [this] { RefreshScreens(*m_app); });
    connect(&link, &Link::fullReadCompleted, this, [this, &s] {
        m_etat->setFileText(m_link.messages[9]);
        s.readProgress->hideForm();
        RefreshScreens(*m_app);
        RebuildTables(*m_app);
    });
    connect(&link, &Link::firstDataLoaded, this, [this, &s] {
        s.information->hideForm();
        s.informationBrand1->hideForm();
        s.startForm->hideForm();
        m_menu->setButtonsEnabled(Menu::readyButtons(), true);
    });
    connect(&link, &Link::fullReadTimedOut, this, [this, &s] {
        s.readProgress->hideForm();
        m_dialogs->warning(m_link.noCommunicationText());
    });
    connect(&link, &Link::fullReadStopped, this, [&s] { s.readProgress->hideForm(); });
    connect(s.readProgress, &DownloadForm::closedByUser, &link, &Link::AbandonFullRead);

    connect(&link, &Link::uploadStarted, this, [this, &s] {
        s.uploadProgress->showForm();
        s.uploadProgress->AXProgress1->setMaximum(m_link.uploadEnd());
        s.uploadProgress->setProgress(0);
    });
    connect(&link, &Link::uploadProgress, this, [&s](int v) { s.uploadProgress->setProgress(v); });
    connect(&link, &Link::uploadCompleted, this, [&s] { s.uploadProgress->hideForm(); });
    // A stopped upload says how far it went, that the ECU may hold a mix,
    // and which restore point holds what it held before.
    const auto stoppedText = [this] {
        return m_link.uploadStoppedText(LastRead::of(m_link).restorePoint);
    };
    connect(&link, &Link::uploadTimedOut, this, [this, &s, stoppedText] {
        s.uploadProgress->hideForm();
        m_dialogs->warning(m_link.noCommunicationText() + QLatin1Char('\n') + stoppedText());
    });
    connect(&link, &Link::uploadStopped, this, [this, &s, stoppedText] {
        s.uploadProgress->hideForm();
        m_dialogs->warning(stoppedText());
    });
    connect(s.uploadProgress, &UploadForm::closedByUser, this, [this, stoppedText] {
        const bool uploading = m_link.uploadRunning();
        m_link.AbandonUpload();
        if (uploading)
            m_dialogs->warning(stoppedText());
    });
    // Closing a transfer's progress window asks first; No lets it go on.
    m_screens.readProgress->confirmClose = [this] {
        return !m_link.state.FullReadActive ||
               m_dialogs->question(
                   QStringLiteral(" Stop reading? The screens keep the values already read; "
                                  "the others stay as they were until the next read. "),
                   QStringLiteral("DownLoad"), Dialogs::Icon::Question);
    };
    m_screens.uploadProgress->confirmClose = [this] {
        return !m_link.uploadRunning() ||
               m_dialogs->question(
                   QStringLiteral(" Stop writing? The ECU would hold part of the new "
                                  "configuration and part of the old one. "),
                   QStringLiteral("UP LOAD"), Dialogs::Icon::Question);
    };
    // A write the ECU left unacknowledged after its re-sends: said at once,
    // with what was not written. A closed port says so on its own, and the
    // calibration names the switch-over values it could not put back.
    for (auto failed : {&Link::chainFailed, &Link::writeFailed}) {
        connect(&link, failed, this, [this] {
            if (m_link.state.PortIsOpen && !m_link.unacknowledgedSwitchOver())
                m_dialogs->warning(m_link.unacknowledgedWriteText());
        });
    }
}

void MainWindow::wireMenu() {
    connect(m_menu->quitter, &QPushButton::clicked, this, &QWidget::close);
    m_navigation->connectMenu();
    wireCompare();
}

void MainWindow::closeEvent(QCloseEvent *event) {
    if (!m_screens.calibrationScreen->allowClose()) {
        event->ignore();
        return;
    }
    m_link.ClosePort();
    m_screens.finalTestScreen->unloadForm();
    m_screens.memoryViewer->unloadForm();
    event->accept();
}
