#include "inspection/inspection_suite.h"

#include "inspection/inspection_card_view.h"
#include "inspection/inspection_dashboard_view.h"
#include "inspection/inspection_decision_button_widget.h"
#include "inspection/inspection_mark_view.h"
#include "inspection/inspection_results.h"
#include "inspection/recording_pages.h"
#include "inspection/result_feedback_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace tagsmith::inspection;
using tagsmith::test::RecordingPages;

namespace {

const QString kOverviewTab = QStringLiteral("验机总览");

class Suite : public testing::Test {
protected:
    Suite() {
        tabs.resize(1036, 696);
        tabs.addTab(new QWidget, kOverviewTab);
        tabs.tabBar()->setTabData(0, kOverviewTab);
        suite = std::make_unique<InspectionSuite>(&tabs, fakes.pages());
        fakes.calls->clear();
    }

    QStringList switchTabs(const QString& from, const QString& to) {
        EXPECT_TRUE(from == kOverviewTab || suite->selectTab(from));
        fakes.calls->clear();
        EXPECT_TRUE(suite->selectTab(to));
        return *fakes.calls;
    }

    ResultFeedback* strip(InspectionItem item) const {
        for (ResultFeedback* strip : suite->feedback()) {
            if (strip->item() == item)
                return strip;
        }
        return nullptr;
    }

    InspectionCard* card(InspectionItem item) const { return suite->dashboard()->cards().at(indexOf(item)); }

    QTabWidget tabs; // outlives the pages, as the collector window does
    RecordingPages fakes;
    std::unique_ptr<InspectionSuite> suite;
};

TEST_F(Suite, AppendsSixTabsInOrderWithTheirPages) {
    const QList<std::pair<QString, QWidget*>> expected = {
        {kWirelessTab, fakes.wireless->view()}, {kKeyboardTab, fakes.keyboard->view()},
        {kTouchpadTab, fakes.touchpad->view()}, {kScreenTab, fakes.screen->view()},
        {kAudioTab, fakes.audio->view()},       {kCameraTab, fakes.camera->view()},
    };
    ASSERT_EQ(tabs.count(), 7);
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(tabs.tabBar()->tabData(i + 1).toString(), expected[i].first);
        EXPECT_EQ(tabs.tabText(i + 1), expected[i].first);
        EXPECT_EQ(tabs.widget(i + 1), expected[i].second);
    }
    for (const auto* results : {&fakes.wireless->results, &fakes.keyboard->results, &fakes.touchpad->results,
                                &fakes.screen->results, &fakes.audio->results, &fakes.camera->results})
        EXPECT_EQ(*results, suite->results());
}

TEST_F(Suite, FreshDashboardShowsNinePendingCardsInTheGrid) {
    InspectionDashboard* dashboard = suite->dashboard();
    dashboard->show();
    ASSERT_EQ(dashboard->cards().size(), 9);
    for (InspectionItem item : kAllInspectionItems) {
        InspectionCard* shown = card(item);
        EXPECT_EQ(shown->item(), item);
        EXPECT_TRUE(shown->isVisible());
        EXPECT_EQ(shown->mark()->state(), InspectionState::pending);
        EXPECT_EQ(shown->stateLabel()->text(), title(InspectionState::pending));
        EXPECT_EQ(shown->detailLabel()->text(), instruction(item));
    }
    EXPECT_EQ(card(InspectionItem::wifi)->geometry(), QRect(0, 106, 202, 154));
    EXPECT_EQ(card(InspectionItem::screen)->geometry(), QRect(214, 272, 202, 154));
    EXPECT_EQ(card(InspectionItem::camera)->geometry(), QRect(428, 438, 202, 154));
    EXPECT_EQ(suite->results()->counts(), (InspectionCounts{0, 0, 9}));
    EXPECT_EQ(dashboard->summary()->text(), suite->results()->summary());
}

TEST_F(Suite, PlacesTheNineStripsOnTheirPages) {
    struct Placement {
        InspectionItem item;
        QWidget* page;
        QRect frame;
    };
    const Placement expected[] = {
        {InspectionItem::wifi, fakes.wireless->view(), {565, 80, 414, 46}},
        {InspectionItem::bluetooth, fakes.wireless->view(), {565, 323, 414, 46}},
        {InspectionItem::keyboard, fakes.keyboard->view(), {565, 26, 414, 46}},
        {InspectionItem::touchpad, fakes.touchpad->view(), {565, 26, 414, 46}},
        {InspectionItem::screen, fakes.screen->view(), {565, 26, 414, 46}},
        {InspectionItem::camera, fakes.camera->view(), {565, 26, 414, 46}},
        {InspectionItem::leftSpeaker, fakes.audio->view(), {26, 452, 650, 46}},
        {InspectionItem::rightSpeaker, fakes.audio->view(), {26, 504, 650, 46}},
        {InspectionItem::microphone, fakes.audio->view(), {26, 556, 650, 46}},
    };
    const QList<ResultFeedback*> strips = suite->feedback();
    ASSERT_EQ(strips.size(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(strips[i]->item(), expected[i].item) << i;
        EXPECT_EQ(strips[i]->parentWidget(), expected[i].page) << i;
        EXPECT_EQ(strips[i]->geometry(), expected[i].frame) << i;
    }
    EXPECT_EQ(strip(InspectionItem::microphone)->badge()->text(),
              title(InspectionItem::microphone) + QStringLiteral(" · ") + title(InspectionState::pending));
    EXPECT_EQ(strip(InspectionItem::camera)->badge()->text(), title(InspectionState::pending));
}

TEST_F(Suite, PassOnALockedStripDoesNothingWhileFailWorksAtOnce) {
    ResultFeedback* keyboard = strip(InspectionItem::keyboard);
    suite->results()->set(InspectionItem::keyboard, InspectionState::running, QStringLiteral("已识别 3 / 77 个"));
    EXPECT_FALSE(keyboard->good()->isEnabled());
    EXPECT_EQ(keyboard->good()->toolTip(), QStringLiteral("请先完成该项目的检测步骤"));

    keyboard->pass();
    QTest::mouseClick(keyboard->good(), Qt::LeftButton);
    EXPECT_EQ((*suite->results())[InspectionItem::keyboard].state, InspectionState::running);

    QTest::mouseClick(keyboard->bad(), Qt::LeftButton);
    const InspectionResult failed = (*suite->results())[InspectionItem::keyboard];
    EXPECT_EQ(failed.state, InspectionState::failed);
    EXPECT_TRUE(failed.manual);
    EXPECT_TRUE(keyboard->bad()->confirmed());
    EXPECT_EQ(keyboard->bad()->text(), QStringLiteral("✕ 不通过"));
    EXPECT_EQ(card(InspectionItem::keyboard)->mark()->state(), InspectionState::failed);
}

TEST_F(Suite, UnlockedPassIsConfirmedByTheButton) {
    ResultFeedback* screen = strip(InspectionItem::screen);
    suite->results()->set(InspectionItem::screen, InspectionState::needsConfirmation, QStringLiteral("已显示"), true);
    ASSERT_TRUE(screen->good()->isEnabled());
    EXPECT_EQ(screen->good()->toolTip(), QStringLiteral("根据现场观察确认通过"));

    QTest::mouseClick(screen->good(), Qt::LeftButton);
    EXPECT_EQ((*suite->results())[InspectionItem::screen].state, InspectionState::passed);
    EXPECT_TRUE(screen->good()->confirmed());
    EXPECT_EQ(screen->good()->text(), QStringLiteral("✓ 已通过"));
    EXPECT_FALSE(screen->bad()->confirmed());
    EXPECT_EQ(screen->bad()->text(), QStringLiteral("不通过"));
}

TEST_F(Suite, AChangeRefreshesTheMatchingCardStripAndSummaryTogether) {
    suite->results()->set(InspectionItem::rightSpeaker, InspectionState::needsConfirmation,
                          QStringLiteral("测试音播放完成"), true);
    EXPECT_EQ(card(InspectionItem::rightSpeaker)->mark()->state(), InspectionState::needsConfirmation);
    EXPECT_EQ(card(InspectionItem::rightSpeaker)->stateLabel()->text(), title(InspectionState::needsConfirmation));
    EXPECT_EQ(card(InspectionItem::rightSpeaker)->detailLabel()->text(), QStringLiteral("测试音播放完成"));
    EXPECT_EQ(strip(InspectionItem::rightSpeaker)->mark()->state(), InspectionState::needsConfirmation);
    EXPECT_TRUE(strip(InspectionItem::rightSpeaker)->good()->isEnabled());
    EXPECT_EQ(strip(InspectionItem::leftSpeaker)->mark()->state(), InspectionState::pending);

    suite->results()->confirm(InspectionItem::rightSpeaker, true);
    EXPECT_EQ(card(InspectionItem::rightSpeaker)->mark()->state(), InspectionState::passed);
    EXPECT_EQ(card(InspectionItem::rightSpeaker)->accessibleName(),
              title(InspectionItem::rightSpeaker) + QStringLiteral("：") + title(InspectionState::passed));
    EXPECT_EQ(suite->dashboard()->summary()->text(), suite->results()->summary());
    EXPECT_EQ(suite->results()->counts().passed, 1);
}

struct TabSwitch {
    const char* name;
    QString from;
    QString to;
    QStringList calls;
};

class SuiteTabSwitch : public Suite, public testing::WithParamInterface<TabSwitch> {};

TEST_P(SuiteTabSwitch, CallsThePagesInOrder) {
    EXPECT_EQ(switchTabs(GetParam().from, GetParam().to), GetParam().calls);
}

const QString kOff = QStringLiteral("keyboard.enabled=false");
const QString kClear = QStringLiteral("keyboard.clearHeldKeys");

INSTANTIATE_TEST_SUITE_P(
    InspectionSuite, SuiteTabSwitch,
    testing::Values(TabSwitch{"CameraToAudioStopsTheCameraFirst",
                              kCameraTab,
                              kAudioTab,
                              {QStringLiteral("camera.stop"), kOff, kClear, QStringLiteral("audio.refreshRoutes")}},
                    TabSwitch{"AudioToCameraStopsOnlyTheAudio",
                              kAudioTab,
                              kCameraTab,
                              {QStringLiteral("audio.stop"), kOff, kClear}},
                    TabSwitch{"AudioToKeyboardStopsBothMediaPages",
                              kAudioTab,
                              kKeyboardTab,
                              {QStringLiteral("camera.stop"), QStringLiteral("audio.stop"),
                               QStringLiteral("keyboard.enabled=true"), kClear}},
                    TabSwitch{"KeyboardToWirelessDisablesKeyCapture",
                              kKeyboardTab,
                              kWirelessTab,
                              {QStringLiteral("camera.stop"), kOff, kClear}},
                    TabSwitch{"OverviewToTouchpadStartsTheCanvas",
                              kOverviewTab,
                              kTouchpadTab,
                              {QStringLiteral("camera.stop"), kOff, kClear, QStringLiteral("touchpad.start")}},
                    TabSwitch{"TouchpadToScreenStopsTheCanvas",
                              kTouchpadTab,
                              kScreenTab,
                              {QStringLiteral("camera.stop"), kOff, kClear, QStringLiteral("touchpad.stop")}}),
    [](const testing::TestParamInfo<TabSwitch>& info) { return info.param.name; });

TEST_F(Suite, KeyboardTabGivesTheCanvasTheFocus) {
    tabs.show();
    QApplication::setActiveWindow(&tabs);
    ASSERT_TRUE(suite->selectTab(kKeyboardTab));
    EXPECT_TRUE(fakes.keyboard->enabled);
    EXPECT_TRUE(fakes.keyboard->canvas()->hasFocus());
    ASSERT_TRUE(suite->selectTab(kScreenTab));
    EXPECT_FALSE(fakes.keyboard->enabled);
}

TEST_F(Suite, GoOnASpeakerCardSelectsTheAudioTab) {
    tabs.show();
    QTest::mouseClick(card(InspectionItem::leftSpeaker)->goButton(), Qt::LeftButton);
    EXPECT_EQ(tabs.tabBar()->tabData(tabs.currentIndex()).toString(), kAudioTab);
    card(InspectionItem::camera)->go();
    EXPECT_EQ(tabs.currentWidget(), fakes.camera->view());
}

TEST_F(Suite, StopEndsEveryPageInOrderAndKeepsTheResults) {
    InspectionResults& results = *suite->results();
    results.set(InspectionItem::wifi, InspectionState::passed, QStringLiteral("自动"));
    results.confirm(InspectionItem::camera, false);
    results.set(InspectionItem::touchpad, InspectionState::running, QStringLiteral("滑动中"));
    const InspectionResult wifi = results[InspectionItem::wifi];
    const InspectionResult camera = results[InspectionItem::camera];
    const InspectionResult touchpad = results[InspectionItem::touchpad];

    suite->stop();
    EXPECT_EQ(*fakes.calls, QStringList({QStringLiteral("wireless.stop"), QStringLiteral("keyboard.stop"),
                                         QStringLiteral("touchpad.stop"), QStringLiteral("screen.stop"),
                                         QStringLiteral("camera.shutdown"), QStringLiteral("audio.stop")}));
    EXPECT_EQ(results[InspectionItem::wifi], wifi);
    EXPECT_EQ(results[InspectionItem::camera], camera);
    EXPECT_EQ(results[InspectionItem::touchpad], touchpad);
}

TEST_F(Suite, MediaPagesAskEachOtherAndAGonePageAnswersNotReleased) {
    std::optional<bool> answer;
    fakes.camera->prepareForUse([&answer](bool released) { answer = released; });
    EXPECT_EQ(*fakes.calls, QStringList{QStringLiteral("audio.releaseForCamera")});
    EXPECT_EQ(answer, true);
    fakes.audio->prepareForUse([&answer](bool released) { answer = released; });
    EXPECT_EQ(fakes.calls->last(), QStringLiteral("camera.releaseForAudio"));

    suite.reset();
    fakes.audio.reset();
    fakes.camera->prepareForUse([&answer](bool released) { answer = released; });
    EXPECT_EQ(answer, false);
}

} // namespace
