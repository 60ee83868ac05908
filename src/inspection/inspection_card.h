#pragma once

#include "inspection/inspection_item.h"

#include <QColor>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;

namespace tagsmith::inspection {

class InspectionMark;
class InspectionResults;

// One dashboard card: the item's mark, title, state and detail, and a button
// that opens the item's page.
class InspectionCard : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kSize{202, 154};

    InspectionCard(InspectionItem item, std::shared_ptr<InspectionResults> results, QWidget* parent = nullptr);

    InspectionItem item() const { return m_item; }
    void refresh();
    void go();

    std::function<void(InspectionItem)> open;

    InspectionMark* mark() const { return m_symbol; }
    QLabel* stateLabel() const { return m_state; }
    QLabel* detailLabel() const { return m_detail; }
    QPushButton* goButton() const { return m_goButton; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void build();

    InspectionItem m_item;
    std::shared_ptr<InspectionResults> m_results;
    InspectionMark* m_symbol = nullptr;
    QLabel* m_state = nullptr;
    QLabel* m_detail = nullptr;
    QPushButton* m_goButton = nullptr;
    QColor m_background;
    QColor m_border;
    int m_borderWidth = 1;
};

} // namespace tagsmith::inspection
