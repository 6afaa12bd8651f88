#include "ui/dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

namespace {
QMessageBox::Icon qtIcon(Dialogs::Icon icon) {
    switch (icon) {
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString titleOr(const QString &title) {
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}
} // namespace

void QtDialogs::message(const QString &text, Icon icon, const QString &title) {
    // Shown without a nested event loop: replies keep being processed while
    // the message stands, and the box goes away by itself when closed.
    auto *box = new QMessageBox(qtIcon(icon), titleOr(title), text, QMessageBox::Ok, m_parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->show();
}

bool QtDialogs::question(const QString &text, const QString &title, Icon icon) {
    QMessageBox box(qtIcon(icon), titleOr(title), text, QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    return box.exec() == QMessageBox::Yes;
}

QString Dialogs::savePath(const QString &title, const QString &filter, const QString &defaultName) {
    return withFilterSuffix(saveFile(title, filter, defaultName), filter);
}

QString Dialogs::withFilterSuffix(const QString &path, const QString &filter) {
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty() || name.contains(QLatin1Char('.')))
        return path;
    const QString pattern = filter.section(QLatin1Char('|'), 1, 1).section(QLatin1Char(';'), 0, 0);
    if (!pattern.startsWith(QLatin1String("*.")) || pattern == QLatin1String("*.*"))
        return path;
    return path + pattern.mid(1);
}

QString QtDialogs::qtFilter(const QString &filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out.append(parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return out.join(QStringLiteral(";;"));
}

QString QtDialogs::openFile(const QString &title, const QString &filter,
                            const QString &defaultName) {
    return QFileDialog::getOpenFileName(m_parent, title, defaultName, qtFilter(filter));
}

QString QtDialogs::saveFile(const QString &title, const QString &filter,
                            const QString &defaultName) {
    // The overwrite question is the tool's own, asked by the caller.
    return QFileDialog::getSaveFileName(m_parent, title, defaultName, qtFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}
