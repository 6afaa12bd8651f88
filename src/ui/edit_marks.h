#pragma once

#include <QColor>
#include <QObject>

class QLineEdit;

// Marks the fields the fitter typed into and did not write yet: a coloured
// background and a tooltip, until the page writes them or shows the image's
// values again. A page refreshed from the image calls clear().
class EditMarks : public QObject {
    Q_OBJECT
  public:
    static inline const QColor Colour{0xFF, 0xD8, 0x9A};
    static inline const QString Tip = QStringLiteral("Edited, not yet written to the ECU");

    explicit EditMarks(QObject *parent = nullptr) : QObject(parent) {}

    void watch(QLineEdit *field);
    void clear();
    static bool isMarked(const QLineEdit *field);

  private:
    static void setMarked(QLineEdit *field, bool marked);
    QList<QLineEdit *> m_fields;
};
