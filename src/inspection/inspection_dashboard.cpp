#include "inspection/inspection_dashboard.h"

#include "inspection/inspection_card.h"
#include "inspection/inspection_colors.h"
#include "inspection/inspection_controls.h"
#include "inspection/inspection_results.h"

#include <QLabel>

namespace tagsmith::inspection {

namespace {

constexpr int kColumns = 3;
constexpr int kColumnPitch = 214;
constexpr int kRowPitch = 166;

// Card i from the lower-left of the dashboard: three columns, the first items in the top row.
QRect cardFrame(int index) {
    const int rows = kInspectionItemCount / kColumns;
    return {kColumnPitch * (index % kColumns), kRowPitch * (rows - 1 - index / kColumns), InspectionCard::kSize.width(),
            InspectionCard::kSize.height()};
}

} // namespace

InspectionDashboard::InspectionDashboard(std::shared_ptr<InspectionResults> results,
                                         std::function<void(InspectionItem)> open, QWidget* parent)
    : QWidget(parent), m_results(std::move(results)) {
    resize(kSize);
    buildHeader();
    buildCards(open);
    refresh();
}

void InspectionDashboard::buildHeader() {
    QLabel* heading =
        inspectionLabel(QStringLiteral("验机项目"), flippedFrame({0, 557, 620, 35}, kSize.height()), this, 22);
    heading->setFont(inspectionFont(22, QFont::Bold));
    m_summary = inspectionLabel(QString(), flippedFrame({0, 527, 620, 24}, kSize.height()), this, 15, true);
    QLabel* legend = inspectionLabel(QStringLiteral("灰勾＝待完成    绿勾＝通过    红叉＝不通过"),
                                     flippedFrame({0, 498, 620, 24}, kSize.height()), this, 12);
    QPalette palette = legend->palette();
    palette.setColor(QPalette::WindowText, colors::secondaryLabel());
    legend->setPalette(palette);
}

void InspectionDashboard::buildCards(const std::function<void(InspectionItem)>& open) {
    for (InspectionItem item : kAllInspectionItems) {
        auto* card = new InspectionCard(item, m_results, this);
        card->setGeometry(flippedFrame(cardFrame(indexOf(item)), kSize.height()));
        card->open = open;
        m_cards.append(card);
    }
}

void InspectionDashboard::refresh() {
    m_summary->setText(m_results->summary());
    for (InspectionCard* card : m_cards)
        card->refresh();
}

} // namespace tagsmith::inspection
