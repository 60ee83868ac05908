#include "inspection/input/color_test_view.h"
#include "inspection/input/full_screen_test_window.h"
#include "inspection/input/screen_inspection.h"
#include "inspection/inspection_results.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>

using namespace tagsmith::inspection;
using namespace tagsmith::inspection::input;

namespace {

class ScreenPage : public testing::Test {
protected:
    ScreenPage() {
        page.setResults(results);
        page.view()->show();
        QApplication::setActiveWindow(page.view());
    }
    ~ScreenPage() override { page.stop(); }

    InspectionResult item() const { return (*results)[InspectionItem::screen]; }
    ColorTestView* colours() const { return page.testView(); }
    bool cursorHidden() const {
        return QGuiApplication::overrideCursor() != nullptr &&
               QGuiApplication::overrideCursor()->shape() == Qt::BlankCursor;
    }

    std::shared_ptr<InspectionResults> results = std::make_shared<InspectionResults>();
    ScreenInspection page;
};

TEST_F(ScreenPage, EscAfterFiveColoursLeavesThePassLocked) {
    page.start();
    ASSERT_NE(page.testWindow(), nullptr);
    EXPECT_TRUE(page.testWindow()->isVisible());
    EXPECT_TRUE(colours()->exitHintVisible());
    EXPECT_EQ(item(), (InspectionResult{InspectionState::running, "正在检测…", false, false}));

    for (int click = 0; click < 4; ++click)
        QTest::mouseClick(colours(), Qt::LeftButton);
    QTest::keyClick(colours(), Qt::Key_Escape);
    EXPECT_EQ(page.testWindow(), nullptr);
    EXPECT_FALSE(cursorHidden());
    EXPECT_EQ(item(), (InspectionResult{InspectionState::pending, "已显示 5 / 16 种测试色", false, false}));
    EXPECT_EQ(page.statusLabel()->text(), QStringLiteral("已显示 5 / 16 种测试色。请根据观察结果人工确认。"));
    EXPECT_FALSE(results->confirm(InspectionItem::screen, true));
}

TEST_F(ScreenPage, LosingTheApplicationFocusClosesTheTest) {
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(item(), InspectionResults()[InspectionItem::screen]) << "no test, nothing to report";

    page.start();
    const QPointer<FullScreenTestWindow> window = page.testWindow();
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(page.testWindow(), nullptr);
    EXPECT_FALSE(cursorHidden());
    EXPECT_EQ(item().state, InspectionState::pending);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "the window is released";
}

TEST_F(ScreenPage, ASecondStartKeepsTheTestAndClosingTheWindowEndsItLikeEsc) {
    page.start();
    FullScreenTestWindow* window = page.testWindow();
    QTest::keyClick(colours(), Qt::Key_Right);
    page.start();
    EXPECT_EQ(page.testWindow(), window);
    page.testWindow()->close();
    EXPECT_EQ(page.testWindow(), nullptr);
    EXPECT_FALSE(cursorHidden());
    EXPECT_EQ(item().detail, QStringLiteral("已显示 2 / 16 种测试色"));
}

} // namespace
