#include "report/report_sheet.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {
constexpr double Margin = 16;       // mm, left and right
constexpr double TopMargin = 14;    // mm
constexpr double BottomMargin = 18; // mm, the footer inside it
// What a heading keeps below it on its page: a few lines of what follows.
constexpr double KeepWithHeadingMm = 14;
const QColor Ink(0, 0, 0);
const QColor Grey(90, 90, 90);
const QColor Rule(150, 150, 150);
const QColor Shade(228, 228, 228);
const QColor LightShade(244, 244, 244);
} // namespace

Sheet::Sheet(QPagedPaintDevice &device, QPainter &painter, std::function<QString(int)> footerText)
    : m_device(device), m_painter(painter), m_footer(std::move(footerText)) {
    m_left = mm(Margin);
    m_right = device.width() - mm(Margin);
    m_top = mm(TopMargin);
    m_bottom = device.height() - mm(BottomMargin);
    m_y = m_top;
}

double Sheet::mm(double millimetres) const {
    return millimetres * m_device.logicalDpiY() / 25.4;
}

QFont Sheet::font(double points, bool bold) const {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    // No ligatures: "fi" stays two letters, so the PDF's text reads and
    // searches as typed.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

double Sheet::lineHeight(const QFont &f) const {
    return QFontMetricsF(f, &m_device).height() * 1.25;
}

QRectF Sheet::take(double height) {
    need(height);
    const QRectF r(m_left, m_y, width(), height);
    m_y += height;
    return r;
}

void Sheet::space(double millimetres) {
    m_y = std::min(m_y + mm(millimetres), m_bottom);
}

void Sheet::newPage() {
    footer();
    m_device.newPage();
    ++m_page;
    m_y = m_top;
}

void Sheet::finish() {
    footer();
}

void Sheet::footer() {
    const QFont f = font(7.5);
    m_painter.setFont(f);
    m_painter.setPen(QPen(Rule, mm(0.2)));
    const double y = m_device.height() - mm(BottomMargin) + mm(6);
    m_painter.drawLine(QPointF(m_left, y), QPointF(m_right, y));
    m_painter.setPen(Grey);
    const QRectF r(m_left, y + mm(1), width(), lineHeight(f));
    m_painter.drawText(r, Qt::AlignLeft | Qt::AlignTop, m_footer(m_page).section(u'\t', 0, 0));
    m_painter.drawText(r, Qt::AlignRight | Qt::AlignTop, m_footer(m_page).section(u'\t', 1));
}

void Sheet::title(const QString &text, const QString &right) {
    const QFont big = font(17, true);
    const QRectF r = take(lineHeight(big) * 1.2);
    m_painter.setFont(big);
    m_painter.setPen(Ink);
    m_painter.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
    m_painter.setFont(font(9));
    m_painter.setPen(Grey);
    m_painter.drawText(r, Qt::AlignRight | Qt::AlignVCenter, right);
    m_painter.setPen(QPen(Ink, mm(0.6)));
    m_painter.drawLine(QPointF(m_left, m_y), QPointF(m_right, m_y));
    space(3);
}

void Sheet::heading(const QString &text) {
    space(3);
    const QFont f = font(12, true);
    // A heading is never the last line of a page.
    need(lineHeight(f) + mm(1.5) + mm(2 * KeepWithHeadingMm)); // a subheading may follow
    const QRectF r = take(lineHeight(f) + mm(1.5));
    m_painter.setFont(f);
    m_painter.setPen(Ink);
    m_painter.drawText(r.adjusted(0, 0, 0, -mm(1.5)), Qt::AlignLeft | Qt::AlignBottom, text);
    m_painter.setPen(QPen(Ink, mm(0.3)));
    m_painter.drawLine(r.bottomLeft() - QPointF(0, mm(0.8)), r.bottomRight() - QPointF(0, mm(0.8)));
    space(1);
}

void Sheet::subheading(const QString &text) {
    space(1.5);
    const QFont f = font(9.5, true);
    need(lineHeight(f) + mm(KeepWithHeadingMm));
    const QRectF r = take(lineHeight(f));
    m_painter.setFont(f);
    m_painter.setPen(Ink);
    m_painter.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
}

void Sheet::paragraph(const QString &text, double points, bool grey) {
    const QFont f = font(points);
    m_painter.setFont(f);
    m_painter.setPen(grey ? Grey : Ink);
    for (const QString &line : text.split(u'\n')) {
        const QRectF bound = m_painter.boundingRect(QRectF(0, 0, width(), 1e6),
                                                    Qt::AlignLeft | Qt::TextWordWrap, line);
        const double h = std::max(bound.height(), lineHeight(f));
        const QRectF r = take(h);
        m_painter.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, line);
    }
}

void Sheet::facts(const QList<Fact> &facts, int columns) {
    const QFont labelFont = font(7.5), valueFont = font(9.5);
    const double rowHeight = lineHeight(labelFont) + lineHeight(valueFont) + mm(1);
    const double columnWidth = width() / columns;
    int column = columns;
    QRectF row;
    for (const Fact &fact : facts) {
        if (column + fact.span > columns) {
            row = take(rowHeight);
            column = 0;
        }
        const double x = row.left() + column * columnWidth;
        const double w = fact.span * columnWidth - mm(3);
        column += fact.span;
        m_painter.setFont(labelFont);
        m_painter.setPen(Grey);
        m_painter.drawText(QRectF(x, row.top(), w, lineHeight(labelFont)),
                           Qt::AlignLeft | Qt::AlignVCenter, fact.label);
        m_painter.setFont(valueFont);
        m_painter.setPen(Ink);
        const QString value = fact.value.isEmpty() ? QStringLiteral("-") : fact.value;
        m_painter.drawText(
            QRectF(x, row.top() + lineHeight(labelFont), w, lineHeight(valueFont)),
            Qt::AlignLeft | Qt::AlignVCenter,
            QFontMetricsF(valueFont, &m_device).elidedText(value, Qt::ElideRight, w));
    }
}

void Sheet::need(double height) {
    if (m_y + height > m_bottom && m_y > m_top)
        newPage();
}

void Sheet::table(const QList<Column> &columns, const QStringList &header,
                  const QList<QStringList> &rows, double points) {
    const QFont body = font(points), bold = font(points, true);
    const double rowHeight = lineHeight(body) + mm(0.6);
    const double pad = mm(1.2);
    // The header's words wrap onto as many lines as the widest needs.
    double headerHeight = rowHeight;
    for (int c = 0; c < columns.size() && c < header.size(); ++c) {
        m_painter.setFont(bold);
        const QRectF b = m_painter.boundingRect(
            QRectF(0, 0, columns[c].share * width() - 2 * pad, 1e6), Qt::TextWordWrap, header[c]);
        headerHeight = std::max(headerHeight, b.height() + mm(0.8));
    }
    auto drawRow = [&](const QStringList &cells, bool isHeader, bool shaded) {
        const QRectF r = take(isHeader ? headerHeight : rowHeight);
        if (isHeader || shaded)
            m_painter.fillRect(r, isHeader ? Shade : LightShade);
        m_painter.setFont(isHeader ? bold : body);
        m_painter.setPen(Ink);
        double x = r.left();
        for (int c = 0; c < columns.size(); ++c) {
            const double w = columns[c].share * r.width();
            const QRectF cell(x + pad, r.top(), w - 2 * pad, r.height());
            if (isHeader) {
                m_painter.drawText(cell, columns[c].align | Qt::AlignVCenter | Qt::TextWordWrap,
                                   cells.value(c));
            } else {
                const QString t = QFontMetricsF(m_painter.font(), &m_device)
                                      .elidedText(cells.value(c), Qt::ElideRight, cell.width());
                m_painter.drawText(cell, columns[c].align | Qt::AlignVCenter, t);
            }
            x += w;
        }
        m_painter.setPen(QPen(Rule, mm(0.15)));
        m_painter.drawLine(r.bottomLeft(), r.bottomRight());
    };
    int headerPage = 0;
    auto drawHeader = [&] {
        if (m_y + headerHeight + rowHeight > m_bottom)
            newPage();
        if (!header.isEmpty())
            drawRow(header, true, false);
        headerPage = m_page;
    };
    if (rows.isEmpty())
        drawHeader();
    for (int i = 0; i < rows.size(); ++i) {
        if (m_y + rowHeight > m_bottom)
            newPage();
        if (headerPage != m_page)
            drawHeader();
        drawRow(rows[i], false, i % 2 == 1);
    }
    space(1);
}
