#include "link/message_table.h"

void MessageTable::resetDefaults() {
    m_texts = {
        QString(),
        QStringLiteral(" Non-existent file "),
        QStringLiteral(" Noncorrect File error "),
        QStringLiteral("Replace ?"),
        QStringLiteral(" The file that you did select already exists. want to replace it ? "),
        QStringLiteral("PC --> ECM"),
        QStringLiteral("UPLOAD ECM"),
        QStringLiteral("No communication on COM"),
        QStringLiteral("File to charge : "),
        QStringLiteral("File to charge : ECM"),
        QStringLiteral("No Dialogue on COM"),
        QStringLiteral(" Dialogue on COM"),
        QStringLiteral(" Non Connecté "),
        QStringLiteral("Gasoline"),
        QStringLiteral("Gas Waiting"),
        QStringLiteral("Gas"),
    };
}

QString MessageTable::operator[](int index) const {
    if (index < 1 || index >= Count)
        return {};
    return m_texts[static_cast<std::size_t>(index)];
}

void MessageTable::set(int index, const QString &text) {
    if (index >= 1 && index < Count)
        m_texts[static_cast<std::size_t>(index)] = text;
}
