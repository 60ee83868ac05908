#pragma once

#include <QColor>

// The inspection views' palette. The collector runs in the light appearance,
// so the system colours are fixed here once instead of being read from a
// platform palette that differs between machines.
namespace tagsmith::inspection::colors {

// The two verdict colours: the pass and fail states and the decision buttons.
inline QColor verdictGreen() {
    return QColor::fromRgbF(0.055f, 0.46f, 0.31f);
}
inline QColor verdictRed() {
    return QColor::fromRgbF(0.76f, 0.19f, 0.24f);
}

inline QColor secondaryLabel() {
    return QColor(0, 0, 0, 128);
}
inline QColor quaternaryLabel() {
    return QColor(0, 0, 0, 26);
}
inline QColor indigo() {
    return QColor(88, 86, 214);
}
inline QColor orange() {
    return QColor(255, 149, 0);
}
inline QColor controlBackground() {
    return QColor(255, 255, 255);
}
inline QColor keyboardFocus() {
    return QColor(10, 130, 255, 128);
}

// The colour at the given opacity; the colour's own alpha is replaced, not scaled.
inline QColor withAlpha(QColor color, float alpha) {
    color.setAlphaF(alpha);
    return color;
}

// base moved toward other by fraction, component by component.
inline QColor blended(const QColor& base, const QColor& other, float fraction) {
    const auto mix = [fraction](float a, float b) { return a + (b - a) * fraction; };
    return QColor::fromRgbF(mix(base.redF(), other.redF()), mix(base.greenF(), other.greenF()),
                            mix(base.blueF(), other.blueF()), mix(base.alphaF(), other.alphaF()));
}

} // namespace tagsmith::inspection::colors
