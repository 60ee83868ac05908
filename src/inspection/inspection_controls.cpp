#include "inspection/inspection_controls.h"

#include "l10n/l10n.h"

#include <QLabel>
#include <QPushButton>

namespace tagsmith::inspection {

QRect flippedFrame(const QRect& fromBottomLeft, int containerHeight) {
    return {fromBottomLeft.x(), containerHeight - fromBottomLeft.y() - fromBottomLeft.height(), fromBottomLeft.width(),
            fromBottomLeft.height()};
}

QFont inspectionFont(int size, QFont::Weight weight) {
    QFont font;
    font.setPixelSize(size);
    font.setWeight(weight);
    return font;
}

QLabel* inspectionLabel(const QString& text, const QRect& frame, QWidget* parent, int size, bool bold) {
    auto* label = new QLabel(L10n::source(text), parent);
    // Statuses carry texts from outside (device and network errors), never markup.
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(frame);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(inspectionFont(size, bold ? QFont::DemiBold : QFont::Normal));
    return label;
}

QPushButton* inspectionButton(const QString& title, const QRect& frame, QWidget* view, std::function<void()> action) {
    auto* button = new QPushButton(L10n::source(title), view);
    button->setGeometry(frame);
    QObject::connect(button, &QPushButton::clicked, button, [action = std::move(action)] { action(); });
    return button;
}

} // namespace tagsmith::inspection
