#pragma once

#include "inspection/inspection_controls.h"

#include <QWidget>

namespace tagsmith::app {

// Places a widget by a frame measured from its parent's lower-left corner.
template <typename Widget> Widget* placed(Widget* widget, int x, int y, int width, int height) {
    widget->setGeometry(inspection::flippedFrame(QRect(x, y, width, height), widget->parentWidget()->height()));
    return widget;
}

} // namespace tagsmith::app
