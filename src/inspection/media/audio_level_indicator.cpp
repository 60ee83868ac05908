#include "inspection/media/audio_level_indicator.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace tagsmith::inspection::media {

namespace {

QColor levelColor(double value) {
    if (value >= AudioLevelIndicator::kCritical)
        return QColor(0xd7, 0x30, 0x2f);
    if (value >= AudioLevelIndicator::kWarning)
        return QColor(0xf2, 0xa6, 0x1f);
    return QColor(0x34, 0xa8, 0x53);
}

} // namespace

AudioLevelIndicator::AudioLevelIndicator(QWidget* parent) : QWidget(parent) {}

void AudioLevelIndicator::setValue(double value) {
    const double bounded = std::clamp(value, 0.0, kMaximum);
    if (bounded == m_value)
        return;
    m_value = bounded;
    update();
}

void AudioLevelIndicator::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = track.height() / 2;
    QPainterPath outline;
    outline.addRoundedRect(track, radius, radius);
    painter.fillPath(outline, palette().color(QPalette::Base));
    painter.setClipPath(outline);
    painter.fillRect(QRectF(track.topLeft(), QSizeF(track.width() * m_value / kMaximum, track.height())),
                     levelColor(m_value));
    painter.setClipping(false);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawPath(outline);
}

} // namespace tagsmith::inspection::media
