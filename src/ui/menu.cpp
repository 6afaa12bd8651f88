#include "ui/menu.h"

#include "ui/geometry.h"

#include <QHBoxLayout>
#include <QPushButton>

Menu::Menu(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Menu"));
    setFixedHeight(MenuBarHeight);
    setAutoFillBackground(true);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(4);
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
    for (QPushButton *b : std::as_const(m_buttons))
        row->addWidget(b, 1);
}

QPushButton *Menu::add(const char *name, const char *caption) {
    auto *b = new QPushButton(QString::fromLatin1(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
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
