// The configuration compare's way in: it is not a menu-bar screen, so it
// is offered where a fitter handles configurations, on the right-click menu
// of the Load and Save buttons, and under Ctrl+D from anywhere.
#include "pages/compare_window.h"
#include "shell/main_window.h"
#include "ui/menu.h"

#include <QAction>
#include <QPushButton>

CompareWindow *MainWindow::compareWindow() {
    if (!m_compare)
        m_compare = new CompareWindow(*m_app, this);
    return m_compare;
}

void MainWindow::openCompare() {
    CompareWindow *window = compareWindow();
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::wireCompare() {
    auto *action = new QAction(QStringLiteral("Compare configurations..."), this);
    action->setObjectName(QStringLiteral("ActCompare"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    action->setShortcutContext(Qt::ApplicationShortcut);
    connect(action, &QAction::triggered, this, &MainWindow::openCompare);
    addAction(action);
    for (QPushButton *b : {m_menu->Charger, m_menu->Sauvegarder}) {
        b->addAction(action);
        b->setContextMenuPolicy(Qt::ActionsContextMenu);
        b->setToolTip(QStringLiteral("Right-click: compare configurations (Ctrl+D)"));
    }
}
