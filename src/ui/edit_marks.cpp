#include "ui/edit_marks.h"

#include <QLineEdit>
#include <QVariant>

namespace {
const char *const MarkedProperty = "editMarked";
const char *const TipProperty = "tipBeforeEdit";
} // namespace

void EditMarks::watch(QLineEdit *field) {
    m_fields.append(field);
    // Only typing marks a field: texts set by the tool itself are the image's.
    connect(field, &QLineEdit::textEdited, this, [field] { setMarked(field, true); });
}

void EditMarks::clear() {
    for (QLineEdit *field : std::as_const(m_fields))
        setMarked(field, false);
}

bool EditMarks::isMarked(const QLineEdit *field) {
    return field->property(MarkedProperty).toBool();
}

void EditMarks::setMarked(QLineEdit *field, bool marked) {
    if (isMarked(field) == marked)
        return;
    field->setProperty(MarkedProperty, marked);
    QPalette palette = field->palette();
    if (marked) {
        field->setProperty(TipProperty, field->toolTip());
        palette.setColor(QPalette::Base, Colour);
        field->setToolTip(Tip);
    } else {
        palette.setColor(QPalette::Base,
                         field->parentWidget()
                             ? field->parentWidget()->palette().color(QPalette::Base)
                             : QPalette().color(QPalette::Base));
        field->setToolTip(field->property(TipProperty).toString());
    }
    field->setPalette(palette);
}
