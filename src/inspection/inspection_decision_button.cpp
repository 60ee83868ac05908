#include "inspection/inspection_decision_button.h"

#include "inspection/inspection_colors.h"
#include "inspection/inspection_controls.h"

#include <QPainter>

namespace tagsmith::inspection {

namespace {

constexpr double kCornerRadius = 11;
constexpr float kPressedDarkening = 0.16f;

} // namespace

InspectionDecisionButton::InspectionDecisionButton(bool positive, const QString& title, QWidget* parent)
    : QPushButton(title, parent), m_positive(positive) {
    setFont(inspectionFont(14, QFont::DemiBold));
    // A click must not leave a focus ring behind; keyboard navigation still reaches it.
    setFocusPolicy(Qt::TabFocus);
}

void InspectionDecisionButton::setConfirmed(bool confirmed) {
    if (m_confirmed == confirmed)
        return;
    m_confirmed = confirmed;
    update();
}

QColor InspectionDecisionButton::tone() const {
    return m_positive ? colors::verdictGreen() : colors::verdictRed();
}

QColor InspectionDecisionButton::fill() const {
    const QColor base = m_confirmed   ? tone()
                        : isEnabled() ? colors::withAlpha(tone(), 0.09f)
                                      : colors::quaternaryLabel();
    return isDown() ? colors::blended(base, QColor(0, 0, 0, base.alpha()), kPressedDarkening) : base;
}

QColor InspectionDecisionButton::titleColor() const {
    if (m_confirmed)
        return Qt::white;
    return isEnabled() ? tone() : colors::secondaryLabel();
}

void InspectionDecisionButton::paintEvent(QPaintEvent* /*event*/) {
    const QRectF box = QRectF(rect()).adjusted(2, 2, -2, -2);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(m_confirmed ? QPen(Qt::NoPen) : QPen(colors::withAlpha(tone(), 0.25f), 1));
    painter.setBrush(fill());
    painter.drawRoundedRect(box, kCornerRadius, kCornerRadius);
    if (hasFocus()) {
        painter.setPen(QPen(colors::keyboardFocus(), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box, kCornerRadius, kCornerRadius);
    }
    painter.setPen(titleColor());
    painter.setFont(font());
    painter.drawText(box, Qt::AlignCenter, text());
}

} // namespace tagsmith::inspection
