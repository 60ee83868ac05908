#include "inspection/input/keyboard_inspection.h"
#include "inspection/input/touchpad_inspection.h"
#include "inspection/inspection_dashboard.h"
#include "inspection/inspection_results.h"
#include "inspection/inspection_suite.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTabWidget>

using namespace tagsmith::inspection;
using namespace tagsmith::inspection::input;

namespace {

// The collector's own pages behind the tab switches of the suite.
TEST(InputPagesInTheSuite, TabsSwitchKeyCaptureAndTheTouchpadCanvas) {
    QTabWidget tabs;
    tabs.addTab(new QWidget, QStringLiteral("验机总览"));
    InspectionSuite suite(&tabs);
    tabs.show();
    QApplication::setActiveWindow(&tabs);
    auto* keyboard = dynamic_cast<KeyboardInspection*>(suite.pages().keyboard.get());
    auto* touchpad = dynamic_cast<TouchpadInspection*>(suite.pages().touchpad.get());
    ASSERT_NE(keyboard, nullptr);
    ASSERT_NE(touchpad, nullptr);

    ASSERT_TRUE(suite.selectTab(kTouchpadTab));
    EXPECT_NE(touchpad->testWindow(), nullptr);
    EXPECT_FALSE(keyboard->enabled());

    ASSERT_TRUE(suite.selectTab(kKeyboardTab));
    EXPECT_EQ(touchpad->testWindow(), nullptr);
    EXPECT_TRUE(keyboard->enabled());
    EXPECT_TRUE(keyboard->receive({kKeyDownEvent, 0}));
    EXPECT_EQ((*suite.results())[InspectionItem::keyboard].state, InspectionState::running);

    suite.stop();
    EXPECT_FALSE(keyboard->enabled());
    EXPECT_EQ((*suite.results())[InspectionItem::keyboard].state, InspectionState::running);
    EXPECT_EQ((*suite.results())[InspectionItem::touchpad], InspectionResults()[InspectionItem::touchpad]);
}

} // namespace
