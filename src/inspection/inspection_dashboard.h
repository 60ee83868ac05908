#pragma once

#include "inspection/inspection_item.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;

namespace tagsmith::inspection {

class InspectionCard;
class InspectionResults;

// The overview of all nine items: title, count line, legend and a 3 × 3 grid
// of cards in item order.
class InspectionDashboard : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kSize{632, 592};

    // open is called when the operator asks for an item's page.
    InspectionDashboard(std::shared_ptr<InspectionResults> results, std::function<void(InspectionItem)> open,
                        QWidget* parent = nullptr);

    void refresh();

    QLabel* summary() const { return m_summary; }
    const QList<InspectionCard*>& cards() const { return m_cards; }

private:
    void buildHeader();
    void buildCards(const std::function<void(InspectionItem)>& open);

    std::shared_ptr<InspectionResults> m_results;
    QLabel* m_summary = nullptr;
    QList<InspectionCard*> m_cards;
};

} // namespace tagsmith::inspection
