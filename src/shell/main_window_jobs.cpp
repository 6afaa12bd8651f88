// The job panel in the ready area and the recording into its job. The
// panel stands behind the screens; Ctrl+J (or the right-click menu of the
// Load and Save buttons) hides them to bring it forward.
#include "jobs/job_panel.h"
#include "link/link.h"
#include "shell/job_recording.h"
#include "shell/main_window.h"
#include "ui/menu.h"

#include <QAction>
#include <QMdiArea>
#include <QPushButton>

void MainWindow::wireJobs() {
    m_jobPanel = new JobPanel(*m_app);
    m_jobPanel->placeBehind(m_area->viewport());
    new JobRecording(*m_app, *m_jobPanel, this);
    // Shown once data is loaded: the first read, or a memory file loaded
    // (after the Load button's own handler ran).
    connect(&m_link, &Link::firstDataLoaded, m_jobPanel, [this] { m_jobPanel->setReady(true); });
    connect(m_menu->Charger, &QPushButton::clicked, m_jobPanel, [this] {
        if (m_link.state.DataLoaded)
            m_jobPanel->setReady(true);
    });
    auto *action = new QAction(QStringLiteral("Job and history"), this);
    action->setObjectName(QStringLiteral("ActJob"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    action->setShortcutContext(Qt::ApplicationShortcut);
    connect(action, &QAction::triggered, this, [this] {
        if (m_jobPanel->isVisible() || m_link.state.DataLoaded)
            m_navigation->showReadyArea();
    });
    addAction(action);
    // Beside the compare on the buttons' right-click menu (wired before).
    for (QPushButton *b : {m_menu->Charger, m_menu->Sauvegarder}) {
        b->addAction(action);
        b->setToolTip(b->toolTip() + QStringLiteral("; job and history (Ctrl+J)"));
    }
}
