// The menu's memory file buttons.
#include "emission/emission_screen.h"
#include "link/link.h"
#include "presentation/memory_files.h"
#include "presentation/refresh.h"
#include "shell/navigation.h"
#include "ui/app_context.h"
#include "ui/menu.h"
#include "ui/screens.h"

#include <QPushButton>

void Navigation::connectFileButtons() {
    Menu &menu = m_app.menu;
    QObject::connect(menu.Charger, &QPushButton::clicked, menu.Charger,
                     [this] { Charger_Click(); });
    QObject::connect(menu.Sauvegarder, &QPushButton::clicked, menu.Sauvegarder,
                     [this] { Sauvegarder_Click(); });
}

template <typename Operation> void Navigation::withPollPaused(Operation operation) {
    LivePoll &poll = m_app.link.poll;
    const bool watchdogWasOn = poll.watchdogActive();
    const bool pollingWasOn = poll.isOn();
    calibrationGuardAndStop();
    poll.stopWatchdog();
    poll.stop();
    calibrationReset();
    operation();
    if (watchdogWasOn)
        poll.startWatchdog();
    if (pollingWasOn)
        poll.start();
    else
        poll.stop();
}

void Navigation::Sauvegarder_Click() {
    withPollPaused([this] { SaveMemoryFile(m_app); });
}

void Navigation::Charger_Click() {
    withPollPaused([this] {
        const bool loaded = LoadMemoryFile(m_app);
        RefreshScreens(m_app);
        RebuildTables(m_app);
        // A memory file carries the whole emission schedule: its grid shows
        // it, and its whole write may now cover every entry.
        if (loaded) {
            m_app.screens.emissionScreen->PutIndexTBemi();
            m_app.screens.emissionScreen->scheduleSetByFitter();
        }
    });
}
