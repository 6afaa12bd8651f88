#pragma once

#include "presentation/variant.h"
#include "shell/navigation.h"
#include "ui/app_context.h"
#include "ui/screens.h"

#include <QMainWindow>

#include <memory>

class CompareWindow;
class Dialogs;
class JobPanel;
class Link;
class QMdiArea;

// MDIForm1: the menu bar on top, the screen area, the status strip below.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // dialogs: nullptr for Qt's own message boxes and file dialogs.
    MainWindow(Link &link, Dialogs *dialogs, const QString &programDir,
               const Variant &variant = Variant::build(), QWidget *parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence, run once when the window is first loaded.
    void MDIForm1_Load();

    AppContext &app() { return *m_app; }
    Menu &menu() const { return *m_menu; }
    Etat &etat() const { return *m_etat; }
    Screens &screens() { return m_screens; }
    Navigation &navigation() { return *m_navigation; }
    QMdiArea *area() const { return m_area; }
    // The configuration compare, made when first opened (Ctrl+D, or the
    // right-click menu of the Load and Save buttons).
    CompareWindow *compareWindow();
    void openCompare();
    // The job panel behind the screens of the ready area.
    JobPanel *jobPanel() const { return m_jobPanel; }

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    void createForms();
    void wireLink();
    void wireMenu();
    void wireCompare();
    void wireJobs();
    void readConfiguration();

    Link &m_link;
    std::unique_ptr<Dialogs> m_ownDialogs;
    Dialogs *m_dialogs;
    Variant m_variant;
    Menu *m_menu;
    Etat *m_etat;
    QMdiArea *m_area;
    Screens m_screens;
    std::unique_ptr<AppContext> m_app;
    std::unique_ptr<Navigation> m_navigation;
    CompareWindow *m_compare = nullptr;
    JobPanel *m_jobPanel = nullptr;
};
