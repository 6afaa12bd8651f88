// The job panel in the ready area and the recording into its job.
#include "jobs/job_panel.h"
#include "link/link.h"
#include "shell/job_recording.h"
#include "shell/main_window.h"
#include "ui/menu.h"

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
}
