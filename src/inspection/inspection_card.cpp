#include "inspection/inspection_card.h"

#include "inspection/inspection_colors.h"
#include "inspection/inspection_controls.h"
#include "inspection/inspection_mark.h"
#include "inspection/inspection_results.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace tagsmith::inspection {

namespace {

constexpr double kCornerRadius = 15;

void setTextColor(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

} // namespace

InspectionCard::InspectionCard(InspectionItem item, std::shared_ptr<InspectionResults> results, QWidget* parent)
    : QWidget(parent), m_item(item), m_results(std::move(results)) {
    resize(kSize);
    build();
    refresh();
}

void InspectionCard::build() {
    m_symbol = new InspectionMark(this);
    m_symbol->setGeometry(14, 14, 30, 30);
    QLabel* heading = inspectionLabel(title(m_item), QRect(54, 12, 136, 20), this, 14, true);
    heading->setWordWrap(false);
    m_state = inspectionLabel(QString(), QRect(54, 32, 136, 16), this, 12, true);
    m_detail = inspectionLabel(QString(), QRect(14, 54, 174, 60), this, 12);
    setTextColor(m_detail, colors::secondaryLabel());
    m_goButton =
        inspectionButton(QStringLiteral("前往检测"),
                         flippedFrame(QRect(kSize.width() - 116, 7, 104, 28), kSize.height()), this, [this] { go(); });
}

void InspectionCard::refresh() {
    const InspectionResult result = (*m_results)[m_item];
    const QColor tone = color(result.state);
    const bool final = isFinal(result.state);
    m_symbol->setState(result.state);
    m_state->setText(title(result.state));
    setTextColor(m_state, tone);
    m_detail->setText(result.detail);
    m_background = final ? colors::blended(colors::controlBackground(), tone, 0.075f) : colors::controlBackground();
    m_borderWidth = final ? 2 : 1;
    m_border = colors::withAlpha(tone, final ? 0.48f : 0.18f);
    setAccessibleName(title(m_item) + QStringLiteral("：") + title(result.state));
    update();
}

void InspectionCard::go() {
    if (open)
        open(m_item);
}

void InspectionCard::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double inset = m_borderWidth / 2.0;
    painter.setPen(QPen(m_border, m_borderWidth));
    painter.setBrush(m_background);
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), kCornerRadius, kCornerRadius);
}

} // namespace tagsmith::inspection
