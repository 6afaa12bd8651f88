#include "monitor/gauge_geometry.h"

#include "settings/number_format.h"

#include <cmath>

namespace gauge {

namespace {
constexpr double Pi = 3.1415926;

QPointF polar(QPointF c, double length, double radians) {
    return {c.x() + length * std::cos(radians), c.y() + length * std::sin(radians)};
}
} // namespace

float needleAngle(const Scale &scale, int value) {
    const float a =
        scale.sweep / static_cast<float>(scale.fullScale) * static_cast<float>(value) + scale.start;
    const float end = scale.start + scale.sweep;
    return a > end ? end : a;
}

double scaleAngle(const Scale &scale, double value) {
    return scale.sweep / static_cast<double>(scale.fullScale) * value + scale.start;
}

QPointF centre(double width, double height) {
    return {width / 2.0, number::roundHalfEven(height / 2.0)};
}

Needle needle(const Scale &scale, int value, double width, double height) {
    const double r = needleAngle(scale, value) * Pi / 180.0;
    const QPointF c = centre(width, height);
    return {polar(c, TipLength, r), polar(c, TailLength, r + 3.3), polar(c, TailLength, r + 3.0)};
}

} // namespace gauge
