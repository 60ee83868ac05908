#pragma once

#include <QRect>
#include <QWidget>

namespace tagsmith::app {

// Window layouts are written with the origin at the bottom left (x, y, width,
// height in points); Qt counts from the top left.
inline QRect bottomLeftFrame(const QWidget& parent, int x, int y, int width, int height) {
    return {x, parent.height() - y - height, width, height};
}

template <typename Widget> Widget* placed(Widget* widget, int x, int y, int width, int height) {
    widget->setGeometry(bottomLeftFrame(*widget->parentWidget(), x, y, width, height));
    return widget;
}

} // namespace tagsmith::app
