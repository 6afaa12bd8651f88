#pragma once

#include <QPointF>

// The needle of a dial: its angle for an input value and the three corners
// of the thin triangle drawn over the dial face. Angles are in degrees from
// the positive x axis towards the positive y axis (y points down the
// screen), so they turn clockwise; the gap of every dial is at the bottom.
namespace gauge {

struct Scale {
    float start;   // angle of input 0
    float sweep;   // angle from input 0 to full scale
    int fullScale; // input at the end of the scale
};

// Engine speed / 45 (155 = 6975 rpm), vaporiser temperature in degrees C,
// gas pressure in hundredths of a bar (300 = 3 bar).
inline constexpr Scale Speed{130.0f, 280.0f, 155};
inline constexpr Scale Temperature{134.0f, 272.0f, 120};
inline constexpr Scale Pressure{138.0f, 264.0f, 300};

inline constexpr double TipLength = 65.0;
inline constexpr double TailLength = 20.0;

// sweep / fullScale x value + start, in single precision, never past the
// end of the scale (there is no lower stop).
float needleAngle(const Scale &scale, int value);
// The same line for a fraction of an input (the marks of the dial face),
// without the stop.
double scaleAngle(const Scale &scale, double value);

// Centre of a drawing area: half its width, and half its height rounded.
QPointF centre(double width, double height);

struct Needle {
    QPointF tip;   // 65 pixels ahead of the centre
    QPointF tailP; // 20 pixels behind, 3.3 rad from the tip
    QPointF tailQ; // 20 pixels behind, 3.0 rad from the tip
};
Needle needle(const Scale &scale, int value, double width, double height);

} // namespace gauge
