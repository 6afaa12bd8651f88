#pragma once

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>

class QPainter;
class QPagedPaintDevice;

// The report's pages as a column that flows down: sections ask for room,
// a new page starts when the room is not there, and every page gets its
// footer. Coordinates are the device's pixels; mm() converts.
class Sheet {
  public:
    // footer(page) gives the text at the foot of each page, page from 1.
    Sheet(QPagedPaintDevice &device, QPainter &painter, std::function<QString(int)> footer);

    double mm(double millimetres) const;
    QPainter &painter() { return m_painter; }
    double left() const { return m_left; }
    double width() const { return m_right - m_left; }
    double y() const { return m_y; }
    int page() const { return m_page; }

    QFont font(double points, bool bold = false) const;
    double lineHeight(const QFont &font) const;

    // Room of the given height at the current place (a new page when it is
    // not there); the place moves below it.
    QRectF take(double height);
    void space(double millimetres);
    void newPage();
    // Draws the last page's footer; the sheet is then done.
    void finish();

    void title(const QString &text, const QString &right);
    void heading(const QString &text);
    void subheading(const QString &text);
    // Text wrapped to the width.
    void paragraph(const QString &text, double points = 9, bool grey = false);
    // Values under their small grey labels, in rows of columns; a fact may
    // take more than one column.
    struct Fact {
        QString label;
        QString value;
        int span = 1;
    };
    void facts(const QList<Fact> &facts, int columns);
    // Starts a new page unless the height fits on this one.
    void need(double height);

    struct Column {
        double share; // of the width
        Qt::Alignment align = Qt::AlignLeft;
    };
    // A table with a shaded header row, repeated on each new page.
    void table(const QList<Column> &columns, const QStringList &header,
               const QList<QStringList> &rows, double points = 8.5);

  private:
    void footer();

    QPagedPaintDevice &m_device;
    QPainter &m_painter;
    std::function<QString(int)> m_footer;
    double m_left = 0, m_right = 0, m_top = 0, m_bottom = 0, m_y = 0;
    int m_page = 1;
};
