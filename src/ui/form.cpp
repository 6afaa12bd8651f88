#include "ui/form.h"

#include "ui/geometry.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

Form::Form(const QString &name, const QString &caption, QWidget *parent) : QWidget(parent) {
    setObjectName(name);
    setWindowTitle(caption);
}

void Form::attach(QMdiArea *area, bool framed) {
    m_window = new QMdiSubWindow(area);
    m_window->setObjectName(objectName() + QStringLiteral("Window"));
    m_window->setWidget(this);
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    if (framed) {
        m_window->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    } else {
        m_window->setWindowFlags(Qt::SubWindow | Qt::FramelessWindowHint);
    }
    m_window->setWindowTitle(windowTitle());
    m_window->installEventFilter(this);
    m_window->hide();
    area->addSubWindow(m_window);
    m_window->hide();
}

void Form::place(int leftTwips, int topTwips) {
    if (m_window)
        m_window->move(twips(leftTwips), qMax(0, twips(topTwips) - MenuBarHeight));
}

void Form::ensureLoaded() {
    if (m_loaded)
        return;
    m_loaded = true;
    if (m_window)
        m_window->adjustSize();
    Form_Load();
}

void Form::showForm() {
    ensureLoaded();
    if (!m_window) {
        show();
        return;
    }
    m_window->show();
    m_window->raise();
}

void Form::hideForm() {
    ensureLoaded();
    if (m_window)
        m_window->hide();
    else
        hide();
}

void Form::unloadForm() {
    if (m_window)
        m_window->hide();
    if (!m_loaded)
        return;
    m_loaded = false;
    Form_Unload();
}

bool Form::isShown() const {
    return m_window ? m_window->isVisible() : isVisible();
}

bool Form::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_window && event->type() == QEvent::Close) {
        // The title bar's close button unloads the form; the window is kept.
        event->ignore();
        unloadForm();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
