#pragma once

#include <QColor>
#include <QPixmap>

// The brand's mark, drawn by the program: a flame in a ring.
QPixmap brandLogo(const QColor &color, int size = 72);

// The colour of each brand's mark.
QColor brandColor(int brand);
