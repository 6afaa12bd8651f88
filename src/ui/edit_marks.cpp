#include "ui/edit_marks.h"

#include "link/link.h"

#include <QLineEdit>
#include <QTimer>
#include <QVariant>

namespace {
const char *const MarkedProperty = "editMarked";
const char *const TipProperty = "tipBeforeEdit";
} // namespace

void EditMarks::watch(QLineEdit *field) {
    m_fields.append(field);
    // Only typing marks a field: texts set by the tool itself are the image's.
    connect(field, &QLineEdit::textEdited, this, [this, field] {
        m_awaiting.removeAll(field);
        setMarked(field, false);
        setMarked(field, true);
    });
}

void EditMarks::follow(const Link &link) {
    m_link = &link;
    for (auto done : {&Link::writeAcknowledged, &Link::chainAcknowledged, &Link::uploadCompleted})
        connect(&link, done, this, &EditMarks::acknowledged);
    for (auto failed :
         {&Link::writeFailed, &Link::chainFailed, &Link::uploadTimedOut, &Link::uploadStopped})
        connect(&link, failed, this, &EditMarks::refused);
}

void EditMarks::clear() {
    QList<QPointer<QLineEdit>> cleared;
    for (QLineEdit *field : std::as_const(m_fields)) {
        if (isMarked(field))
            cleared.append(field);
        setMarked(field, false);
    }
    m_awaiting.clear();
    // The page's write goes out after its refresh, in the same click.
    if (m_link && !cleared.isEmpty())
        QTimer::singleShot(0, this, [this, cleared] { awaitAcknowledgement(cleared); });
}

void EditMarks::awaitAcknowledgement(const QList<QPointer<QLineEdit>> &fields) {
    if (!m_link->writeInFlight())
        return;
    for (const QPointer<QLineEdit> &field : fields) {
        if (field && !isMarked(field)) {
            setMarked(field, true, AwaitingTip);
            m_awaiting.append(field);
        }
    }
}

void EditMarks::acknowledged() {
    for (const QPointer<QLineEdit> &field : std::as_const(m_awaiting))
        if (field)
            setMarked(field, false);
    m_awaiting.clear();
}

void EditMarks::refused() {
    for (const QPointer<QLineEdit> &field : std::as_const(m_awaiting))
        if (field)
            field->setToolTip(RefusedTip);
    m_awaiting.clear();
}

bool EditMarks::isMarked(const QLineEdit *field) {
    return field->property(MarkedProperty).toBool();
}

void EditMarks::setMarked(QLineEdit *field, bool marked, const QString &tip) {
    if (isMarked(field) == marked)
        return;
    field->setProperty(MarkedProperty, marked);
    QPalette palette = field->palette();
    if (marked) {
        field->setProperty(TipProperty, field->toolTip());
        palette.setColor(QPalette::Base, Colour);
        field->setToolTip(tip);
    } else {
        palette.setColor(QPalette::Base,
                         field->parentWidget()
                             ? field->parentWidget()->palette().color(QPalette::Base)
                             : QPalette().color(QPalette::Base));
        field->setToolTip(field->property(TipProperty).toString());
    }
    field->setPalette(palette);
}
