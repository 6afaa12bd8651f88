#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;

// The map drive's bands as bars of the gas mean against the petrol mean in
// percent, above the zero line when gas runs longer, below when shorter:
// what the correction table has to take back. Solid grey above, hatched
// below, so the chart reads the same printed in black and white.
namespace bandchart {

// bands: mapexport::bandSummary rows (the gap in percent last, "-" for
// none). unit: the device pixels of one millimetre.
void draw(QPainter &painter, const QRectF &area, const QList<QStringList> &bands,
          const QString &title, double unit);

} // namespace bandchart
