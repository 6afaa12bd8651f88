#include "ui/numeric_edit.h"

#include "settings/number_format.h"

#include <QAbstractButton>
#include <QKeyEvent>

NumericEdit::NumericEdit(const QString &name, const QString &allowed, QWidget *parent)
    : QLineEdit(parent), m_allowed(allowed) {
    setObjectName(name);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (m_changeHook)
            m_changeHook();
    });
}

double NumericEdit::value() const {
    return number::parse(text());
}

void NumericEdit::setTextIfChanged(const QString &newText) {
    if (text() != newText)
        setText(newText);
}

void NumericEdit::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (m_enterButton)
            m_enterButton->setFocus(Qt::OtherFocusReason);
        if (m_enterAction)
            m_enterAction();
        else if (m_enterButton)
            m_enterButton->click();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool isCharacter = !typed.isEmpty() && typed.at(0).isPrint() &&
                             !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (isCharacter && !m_allowed.isEmpty()) {
        for (QChar c : typed) {
            if (!m_allowed.contains(c)) {
                event->accept(); // dropped without a sound
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

void ValidationGuard::operator()() {
    if (m_running)
        return;
    m_running = true;
    m_procedure();
    m_running = false;
}

void StepButtons::press(int direction) const {
    const double next = number::parse(field->text()) + direction * step;
    field->setText(number::format(next));
    if (pointReplacement)
        field->setText(field->text().replace(QLatin1Char(','), QLatin1Char('.')));
    if (validate)
        validate();
    if (write)
        write();
}
