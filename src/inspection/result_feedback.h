#pragma once

#include "inspection/inspection_item.h"

#include <QColor>
#include <QWidget>

#include <memory>

class QLabel;

namespace tagsmith::inspection {

class InspectionDecisionButton;
class InspectionMark;
class InspectionResults;

// The verdict strip on an inspection page: the item's state and the
// operator's pass and fail buttons. Pass stays locked until the page's test
// steps unlock it; fail is always allowed.
class ResultFeedback : public QWidget {
    Q_OBJECT
public:
    ResultFeedback(std::shared_ptr<InspectionResults> results, InspectionItem item, bool showTitle,
                   QWidget* parent = nullptr);

    InspectionItem item() const { return m_item; }
    void refresh();
    void pass();
    void fail();

    InspectionMark* mark() const { return m_mark; }
    QLabel* badge() const { return m_badge; }
    InspectionDecisionButton* good() const { return m_good; }
    InspectionDecisionButton* bad() const { return m_bad; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void build();
    void refreshPassButton(bool canConfirm, bool confirmed);
    void refreshFailButton(bool confirmed);

    std::shared_ptr<InspectionResults> m_results;
    InspectionItem m_item;
    bool m_showTitle;
    InspectionMark* m_mark = nullptr;
    QLabel* m_badge = nullptr;
    InspectionDecisionButton* m_good = nullptr;
    InspectionDecisionButton* m_bad = nullptr;
    QColor m_background;
};

} // namespace tagsmith::inspection
