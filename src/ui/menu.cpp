#include "ui/menu.h"

#include "ui/geometry.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QPushButton>

namespace {
constexpr int Margin = 4;
constexpr int Spacing = 4;
// Room a button's frame and margins leave around its caption, and the
// smallest caption font, in points.
constexpr int CaptionPadding = 10;
constexpr double MinCaptionPoints = 6.5;
} // namespace

Menu::Menu(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Menu"));
    setFixedHeight(MenuBarHeight);
    setAutoFillBackground(true);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(Margin, Margin, Margin, Margin);
    grid->setSpacing(Spacing);
    Moniteur = add("Moniteur", "    Monitor    ");
    Parametres = add("Parametres", " Parameters ");
    Calibration = add("Calibration", " Calibration ");
    BtMap = add("BtMap", "MAP");
    BtEmi = add("BtEmi", "Emission teste");
    BtEmission = add("BtEmission", "Emission");
    BtMemoire = add("BtMemoire", "Memoire");
    Charger = add("Charger", "Load");
    Sauvegarder = add("Sauvegarder", "     Save     ");
    Connection = add("Connection", " Connection ");
    Info = add("Info", "  Language   ");
    quitter = add("quitter", "      Exit      ");
    m_captionFont = Moniteur->font();
    arrange();
}

// A caption changed, a button was shown or hidden, or the bar was resized:
// the layout asks again, and the buttons are arranged for the new widths.
bool Menu::event(QEvent *event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Resize)
        arrange();
    return handled;
}

void Menu::arrange() {
    QList<QPushButton *> shown;
    for (QPushButton *b : std::as_const(m_buttons)) {
        if (!b->isHidden())
            shown.append(b);
    }
    if (shown.isEmpty())
        return;
    // The width each of `perRow` buttons gets, and the widest caption.
    const auto each = [this](int perRow) {
        return (width() - 2 * Margin - Spacing * (perRow - 1)) / perRow - CaptionPadding;
    };
    const auto widest = [&shown](const QFont &f) {
        const QFontMetrics metrics(f);
        int w = 0;
        for (const QPushButton *b : std::as_const(shown))
            w = qMax(w, metrics.horizontalAdvance(b->text().trimmed()));
        return w;
    };
    const int count = int(shown.size());
    const int rows = widest(m_captionFont) <= each(count) ? 1 : 2;
    const int perRow = (count + rows - 1) / rows;
    auto *grid = static_cast<QGridLayout *>(layout());
    if (rows != m_rows || shown != m_placed) {
        for (QPushButton *b : std::as_const(m_buttons))
            grid->removeWidget(b);
        for (int i = 0; i < count; ++i)
            grid->addWidget(shown[i], i / perRow, i % perRow);
        for (int column = 0; column < grid->columnCount(); ++column)
            grid->setColumnStretch(column, column < perRow ? 1 : 0);
        for (int row = 0; row < grid->rowCount(); ++row)
            grid->setRowStretch(row, row < rows ? 1 : 0);
        m_rows = rows;
        m_placed = shown;
    }
    QFont font = m_captionFont;
    while (font.pointSizeF() > MinCaptionPoints && widest(font) > each(perRow))
        font.setPointSizeF(font.pointSizeF() - 0.5);
    for (QPushButton *b : std::as_const(m_buttons)) {
        if (b->font() != font)
            b->setFont(font);
    }
}

QPushButton *Menu::add(const char *name, const char *caption) {
    auto *b = new QPushButton(QString::fromLatin1(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    // Never wider for a long caption: twelve buttons fit the 1024 pixels of
    // the window. A caption's padding blanks are cut first, it is centred.
    b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    b->setFocusPolicy(Qt::NoFocus);
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    m_buttons.append(b);
    return b;
}

const QStringList &Menu::dataButtons() {
    static const QStringList names = {QStringLiteral("Calibration"), QStringLiteral("Moniteur"),
                                      QStringLiteral("Parametres"),  QStringLiteral("Sauvegarder"),
                                      QStringLiteral("BtMap"),       QStringLiteral("BtEmi"),
                                      QStringLiteral("BtMemoire"),   QStringLiteral("BtEmission")};
    return names;
}

const QStringList &Menu::readyButtons() {
    static const QStringList names =
        dataButtons() + QStringList{QStringLiteral("Charger"), QStringLiteral("Connection")};
    return names;
}

QPushButton *Menu::button(const QString &name) const {
    for (QPushButton *b : m_buttons) {
        if (b->objectName() == name)
            return b;
    }
    return nullptr;
}

void Menu::setButtonsEnabled(const QStringList &names, bool enabled) {
    for (const QString &name : names) {
        if (QPushButton *b = button(name))
            b->setEnabled(enabled);
    }
}

QStringList Menu::enabledButtons() const {
    QStringList out;
    for (QPushButton *b : m_buttons) {
        if (b->isEnabled())
            out.append(b->objectName());
    }
    return out;
}
