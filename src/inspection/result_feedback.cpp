#include "inspection/result_feedback.h"

#include "inspection/inspection_colors.h"
#include "inspection/inspection_controls.h"
#include "inspection/inspection_decision_button.h"
#include "inspection/inspection_mark.h"
#include "inspection/inspection_results.h"
#include "l10n/l10n.h"

#include <QLabel>
#include <QPainter>

namespace tagsmith::inspection {

namespace {

constexpr double kCornerRadius = 13;
constexpr QSize kButtonSize(104, 38);
constexpr int kMargin = 4;

const QString kPassTitle = QStringLiteral("✓ 通过");
const QString kPassedTitle = QStringLiteral("✓ 已通过");
const QString kFailTitle = QStringLiteral("不通过");
const QString kFailedTitle = QStringLiteral("✕ 不通过");

} // namespace

ResultFeedback::ResultFeedback(std::shared_ptr<InspectionResults> results, InspectionItem item, bool showTitle,
                               QWidget* parent)
    : QWidget(parent), m_results(std::move(results)), m_item(item), m_showTitle(showTitle) {
    build();
    refresh();
}

void ResultFeedback::build() {
    m_mark = new InspectionMark(this);
    m_badge = new QLabel(this);
    m_badge->setTextFormat(Qt::PlainText);
    m_badge->setFont(inspectionFont(14, QFont::DemiBold));
    m_good = new InspectionDecisionButton(true, L10n::source(kPassTitle), this);
    m_bad = new InspectionDecisionButton(false, L10n::source(kFailTitle), this);
    connect(m_good, &QPushButton::clicked, this, &ResultFeedback::pass);
    connect(m_bad, &QPushButton::clicked, this, &ResultFeedback::fail);
}

void ResultFeedback::resizeEvent(QResizeEvent* /*event*/) {
    const int buttonTop = (height() - kButtonSize.height()) / 2;
    m_bad->setGeometry(QRect(QPoint(width() - kMargin - kButtonSize.width(), buttonTop), kButtonSize));
    m_good->setGeometry(m_bad->geometry().translated(-kButtonSize.width() - kMargin, 0));
    const int markSide = 26;
    m_mark->setGeometry(12, (height() - markSide) / 2, markSide, markSide);
    m_badge->setGeometry(48, 0, m_good->x() - 48 - 8, height());
}

void ResultFeedback::refresh() {
    const InspectionResult result = (*m_results)[m_item];
    const QColor tone = color(result.state);
    m_mark->setState(result.state);
    m_badge->setText((m_showTitle ? title(m_item) + QStringLiteral(" · ") : QString()) + title(result.state));
    QPalette palette = m_badge->palette();
    palette.setColor(QPalette::WindowText, tone);
    m_badge->setPalette(palette);
    refreshPassButton(result.canConfirm, result.state == InspectionState::passed);
    refreshFailButton(result.state == InspectionState::failed);
    m_background = colors::withAlpha(tone, isFinal(result.state) ? 0.09f : 0.035f);
    setAccessibleName(title(m_item) + QStringLiteral("：") + title(result.state));
    update();
}

void ResultFeedback::refreshPassButton(bool canConfirm, bool confirmed) {
    m_good->setEnabled(canConfirm);
    m_good->setConfirmed(confirmed);
    m_good->setText(L10n::source(confirmed ? kPassedTitle : kPassTitle));
    // The guard: a pass needs the page's test steps first, whatever the operator saw.
    m_good->setToolTip(
        L10n::source(canConfirm ? QStringLiteral("根据现场观察确认通过") : QStringLiteral("请先完成该项目的检测步骤")));
}

void ResultFeedback::refreshFailButton(bool confirmed) {
    m_bad->setEnabled(true);
    m_bad->setConfirmed(confirmed);
    m_bad->setText(L10n::source(confirmed ? kFailedTitle : kFailTitle));
}

void ResultFeedback::pass() {
    m_results->confirm(m_item, true);
}

void ResultFeedback::fail() {
    m_results->confirm(m_item, false);
}

void ResultFeedback::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_background);
    painter.drawRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
}

} // namespace tagsmith::inspection
