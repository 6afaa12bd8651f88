#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>

class Link;
class QLineEdit;

// Marks the fields the fitter typed into and did not write yet: a coloured
// background and a tooltip. A page refreshed from the image calls clear().
// Following a link, a clear() that the page's own write follows (a write in
// flight once the click is handled) keeps the fields marked, "awaiting", until
// the ECU acknowledges the write; unacknowledged, they say so until the next
// refresh.
class EditMarks : public QObject {
    Q_OBJECT
  public:
    static inline const QColor Colour{0xFF, 0xD8, 0x9A};
    static inline const QString Tip = QStringLiteral("Edited, not yet written to the ECU");
    static inline const QString AwaitingTip =
        QStringLiteral("Written, awaiting the ECU's acknowledgement");
    static inline const QString RefusedTip =
        QStringLiteral("Not acknowledged by the ECU: write it again");

    explicit EditMarks(QObject *parent = nullptr) : QObject(parent) {}

    void watch(QLineEdit *field);
    void follow(const Link &link);
    void clear();
    static bool isMarked(const QLineEdit *field);

  private:
    static void setMarked(QLineEdit *field, bool marked, const QString &tip = Tip);
    void awaitAcknowledgement(const QList<QPointer<QLineEdit>> &fields);
    void acknowledged();
    void refused();

    QList<QLineEdit *> m_fields;
    const Link *m_link = nullptr;
    QList<QPointer<QLineEdit>> m_awaiting;
};
