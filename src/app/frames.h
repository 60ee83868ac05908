#pragma once

#include "inspection/inspection_controls.h"

#include <QLabel>
#include <QWidget>

namespace tagsmith::app {

// Places a widget by a frame measured from its parent's lower-left corner.
template <typename Widget> Widget* placed(Widget* widget, int x, int y, int width, int height) {
    widget->setGeometry(inspection::flippedFrame(QRect(x, y, width, height), widget->parentWidget()->height()));
    return widget;
}

// A wrapping, top-left aligned label in the system font at a size in points.
inline QLabel* wrappingLabel(const QString& text, int size, QWidget* parent, QFont::Weight weight = QFont::Normal) {
    auto* label = new QLabel(text, parent);
    // Statuses carry texts from outside (file names, peer and relay errors), never markup.
    label->setTextFormat(Qt::PlainText);
    label->setFont(inspection::inspectionFont(size, weight));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace tagsmith::app
