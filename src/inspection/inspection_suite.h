#pragma once

#include "inspection/inspection_item.h"
#include "inspection/inspection_pages.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <memory>

class QTabWidget;
class QWidget;

namespace tagsmith::inspection {

class InspectionDashboard;
class InspectionResults;
class ResultFeedback;

// Puts the six inspection pages into the collector window's tab view, gives
// them one shared result store, places the verdict strips and the dashboard,
// and keeps the tab-switch rules: the camera and the audio devices are never
// open at once, pages that capture input are switched off when hidden, and
// stop() ends everything at exit. Main thread only.
class InspectionSuite : public QObject {
    Q_OBJECT
public:
    // The dashboard's frame in the overview, from its lower-left corner.
    static constexpr QRect kDashboardFrame{344, 30, 632, 592};

    // tabs must already hold the window's own tabs; the suite appends its six.
    InspectionSuite(QTabWidget* tabs, InspectionPages pages = standardInspectionPages());
    ~InspectionSuite() override;

    const std::shared_ptr<InspectionResults>& results() const { return m_results; }
    InspectionDashboard* dashboard() const { return m_dashboard; }
    QList<ResultFeedback*> feedback() const;
    const InspectionPages& pages() const { return m_pages; }

    // Selects the tab with that identifier; false when there is none.
    bool selectTab(const QString& identifier);
    void stop();

private:
    void crossLinkMediaPages();
    void shareResults();
    void addTabs();
    void placeFeedback();
    void placeStrip(InspectionPage& page, InspectionItem item, const QRect& frameFromBottomLeft, bool showTitle);
    void refreshAll();

    void tabChanged(int index);
    void willSelect(QWidget* next);
    void didSelect(QWidget* next);

    std::shared_ptr<InspectionResults> m_results;
    QList<QPointer<ResultFeedback>> m_feedback;
    QPointer<InspectionDashboard> m_dashboard;
    InspectionPages m_pages;
    QPointer<QTabWidget> m_tabs;
    QPointer<QWidget> m_activeView;
};

} // namespace tagsmith::inspection
