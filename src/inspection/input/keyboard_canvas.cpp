#include "inspection/input/keyboard_canvas.h"

#include "inspection/input/keyboard_layout.h"
#include "inspection/inspection_colors.h"
#include "inspection/inspection_controls.h"
#include "l10n/l10n.h"

#include <QPainter>

#include <numeric>

namespace tagsmith::inspection::input {

namespace {

constexpr double kKeyHeight = 49;
constexpr double kRowPitch = 58;
constexpr double kKeyGap = 5;
constexpr double kCornerRadius = 7;
constexpr int kLabelSize = 13;

QColor systemBlue() {
    return QColor(0, 122, 255);
}
QColor systemGreen() {
    return QColor(52, 199, 89);
}
QColor labelColor() {
    return QColor(0, 0, 0, 217);
}

} // namespace

const QString KeyboardCanvas::kInitialLatest = QStringLiteral("请按下被测机的实体键盘。");

KeyboardCanvas::KeyboardCanvas(QWidget* parent)
    : QWidget(parent), m_rows(input::rows(KeyboardLayout::ansi)), m_latest(L10n::source(kInitialLatest)) {
    setFocusPolicy(Qt::ClickFocus);
}

void KeyboardCanvas::setRows(KeyRows rows) {
    m_rows = std::move(rows);
    update();
}

void KeyboardCanvas::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(inspectionFont(kLabelSize));
    for (int index = 0; index < m_rows.size(); ++index)
        paintRow(painter, m_rows[index], index);
}

void KeyboardCanvas::paintRow(QPainter& painter, const KeyRow& row, int rowIndex) const {
    if (row.isEmpty())
        return;
    const double units = std::accumulate(row.begin(), row.end(), 0.0,
                                         [](double sum, const InspectionKey& key) { return sum + key.width; });
    const double unit = (width() - kKeyGap * double(row.size() - 1)) / units;
    double x = 0;
    for (const InspectionKey& key : row) {
        paintKey(painter, key, QRectF(x, kRowPitch * rowIndex, key.width * unit, kKeyHeight));
        x += key.width * unit + kKeyGap;
    }
}

void KeyboardCanvas::paintKey(QPainter& painter, const InspectionKey& key, const QRectF& frame) const {
    const bool held = m_progress.held.contains(key.code);
    const bool seen = m_progress.seen.contains(key.code);
    painter.setPen(Qt::NoPen);
    painter.setBrush(held ? systemBlue() : seen ? systemGreen() : colors::quaternaryLabel());
    painter.drawRoundedRect(frame, kCornerRadius, kCornerRadius);
    painter.setPen(held || seen ? QColor(Qt::white) : labelColor());
    painter.drawText(frame, Qt::AlignCenter, key.label);
}

} // namespace tagsmith::inspection::input
