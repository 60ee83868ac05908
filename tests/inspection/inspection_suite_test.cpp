#include "inspection/inspection_suite.h"

#include "inspection/inspection_card.h"
#include "inspection/inspection_controls.h"
#include "inspection/inspection_dashboard.h"
#include "inspection/inspection_decision_button.h"
#include "inspection/inspection_mark.h"
#include "inspection/inspection_results.h"
#include "inspection/result_feedback.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace tagsmith::inspection;

namespace {

const QString kOverviewTab = QStringLiteral("验机总览");

// Stands for any of the six pages and writes down, in one shared list, what the suite asks of it.
class RecordingPage final : public KeyboardPage, public TouchpadPage, public CameraPage, public AudioPage {
public:
    RecordingPage(QString name, QStringList& calls) : m_name(std::move(name)), m_calls(calls), m_view(new QWidget) {
        m_view->resize(kInspectionPageSize);
        m_canvas = new QWidget(m_view);
        m_canvas->setFocusPolicy(Qt::StrongFocus);
    }
    ~RecordingPage() override { delete m_view; }

    QWidget* view() override { return m_view; }
    void setResults(std::shared_ptr<InspectionResults> shared) override { results = std::move(shared); }
    void stop() override { record(QStringLiteral("stop")); }
    void setEnabled(bool enabled) override { record(enabled ? QStringLiteral("enable") : QStringLiteral("disable")); }
    void clearHeldKeys() override { record(QStringLiteral("clearHeldKeys")); }
    QWidget* canvas() override { return m_canvas; }
    void start() override { record(QStringLiteral("start")); }
    void setPrepareForUse(media::PrepareForUse prepare) override { prepareForUse = std::move(prepare); }
    void releaseForAudio(media::ReleaseCompletion done) override { release(QStringLiteral("releaseForAudio"), done); }
    void shutdown() override { record(QStringLiteral("shutdown")); }
    void releaseForCamera(media::ReleaseCompletion done) override { release(QStringLiteral("releaseForCamera"), done); }
    void refreshRoutes() override { record(QStringLiteral("refreshRoutes")); }

    std::shared_ptr<InspectionResults> results;
    media::PrepareForUse prepareForUse;

private:
    void record(const QString& call) { m_calls.append(m_name + QChar(u'.') + call); }
    void release(const QString& call, const media::ReleaseCompletion& done) {
        record(call);
        done(true);
    }

    QString m_name;
    QStringList& m_calls;
    QPointer<QWidget> m_view;
    QWidget* m_canvas;
};

class Suite : public testing::Test {
protected:
    Suite() {
        tabs.tabBar()->setTabData(tabs.addTab(new QWidget, kOverviewTab), kOverviewTab);
        // Any one base leads to InspectionPage; the recording page is all six kinds at once.
        const auto plain = [](const std::shared_ptr<RecordingPage>& page) {
            return std::static_pointer_cast<KeyboardPage>(page);
        };
        suite = std::make_unique<InspectionSuite>(
            &tabs, InspectionPages{plain(wireless), keyboard, touchpad, plain(screen), audio, camera});
        calls.clear();
    }

    std::shared_ptr<RecordingPage> page(const char* name) {
        return std::make_shared<RecordingPage>(QString::fromLatin1(name), calls);
    }
    ResultFeedback* strip(InspectionItem item) const {
        for (ResultFeedback* strip : suite->feedback()) {
            if (strip->item() == item)
                return strip;
        }
        return nullptr;
    }
    InspectionCard* card(InspectionItem item) const { return suite->dashboard()->cards().at(indexOf(item)); }
    InspectionResults& results() const { return *suite->results(); }

    QTabWidget tabs; // outlives the pages, as the collector window does
    QStringList calls;
    std::shared_ptr<RecordingPage> wireless = page("wireless"), keyboard = page("keyboard"),
                                   touchpad = page("touchpad"), screen = page("screen"), audio = page("audio"),
                                   camera = page("camera");
    std::unique_ptr<InspectionSuite> suite;
};

TEST_F(Suite, AChangeRefreshesTheMatchingCardStripAndSummaryAndALockedStripOnlyFails) {
    const InspectionItem item = InspectionItem::rightSpeaker;
    results().set(item, InspectionState::needsConfirmation, QStringLiteral("测试音播放完成"), true);
    EXPECT_EQ(card(item)->mark()->state(), InspectionState::needsConfirmation);
    EXPECT_EQ(card(item)->stateLabel()->text(), title(InspectionState::needsConfirmation));
    EXPECT_EQ(card(item)->detailLabel()->text(), QStringLiteral("测试音播放完成"));
    EXPECT_EQ(strip(item)->mark()->state(), InspectionState::needsConfirmation);
    EXPECT_EQ(strip(item)->good()->toolTip(), QStringLiteral("根据现场观察确认通过"));

    QTest::mouseClick(strip(item)->good(), Qt::LeftButton);
    EXPECT_EQ(card(item)->mark()->state(), InspectionState::passed);
    EXPECT_TRUE(strip(item)->good()->confirmed());
    EXPECT_EQ(strip(item)->good()->text(), QStringLiteral("✓ 已通过"));
    ResultFeedback* keys = strip(InspectionItem::keyboard);
    results().set(InspectionItem::keyboard, InspectionState::running, QStringLiteral("已识别 3 / 77 个"));
    EXPECT_FALSE(keys->good()->isEnabled());
    EXPECT_EQ(keys->good()->toolTip(), QStringLiteral("请先完成该项目的检测步骤"));
    for (InspectionItem failing : {InspectionItem::keyboard, InspectionItem::touchpad})
        QTest::mouseClick(strip(failing)->bad(), Qt::LeftButton);
    EXPECT_TRUE(keys->bad()->confirmed());
    EXPECT_EQ(keys->bad()->text(), QStringLiteral("✕ 不通过"));
    EXPECT_EQ(card(InspectionItem::keyboard)->mark()->state(), InspectionState::failed);
    EXPECT_EQ(suite->dashboard()->summary()->text(), QStringLiteral("已通过 1 项 · 未通过 2 项 · 待检测 6 项"));
}

TEST_F(Suite, GoingWhileAPageIsShowingCallsNoPageOnItsWayOut) {
    ASSERT_TRUE(suite->selectTab(kKeyboardTab));
    for (std::shared_ptr<RecordingPage>* held : {&wireless, &keyboard, &touchpad, &screen, &audio, &camera})
        held->reset();
    calls.clear();
    suite.reset();
    EXPECT_TRUE(calls.isEmpty()) << calls.join(u' ').toStdString();
}

struct TabSwitch {
    QString from;
    QString to;
    QStringList calls;
};

class SuiteTabSwitch : public Suite, public testing::WithParamInterface<TabSwitch> {};

TEST_P(SuiteTabSwitch, CallsThePagesInOrder) {
    ASSERT_TRUE(GetParam().from == kOverviewTab || suite->selectTab(GetParam().from));
    calls.clear();
    ASSERT_TRUE(suite->selectTab(GetParam().to));
    EXPECT_EQ(calls, GetParam().calls);
}

const QString kOff = QStringLiteral("keyboard.disable");
const QString kClear = QStringLiteral("keyboard.clearHeldKeys");

INSTANTIATE_TEST_SUITE_P(
    InspectionSuite, SuiteTabSwitch,
    testing::Values(TabSwitch{kCameraTab,
                              kAudioTab,
                              {QStringLiteral("camera.stop"), kOff, kClear, QStringLiteral("audio.refreshRoutes")}},
                    TabSwitch{kAudioTab, kCameraTab, {QStringLiteral("audio.stop"), kOff, kClear}},
                    TabSwitch{kAudioTab,
                              kKeyboardTab,
                              {QStringLiteral("camera.stop"), QStringLiteral("audio.stop"),
                               QStringLiteral("keyboard.enable"), kClear}},
                    TabSwitch{kOverviewTab,
                              kTouchpadTab,
                              {QStringLiteral("camera.stop"), kOff, kClear, QStringLiteral("touchpad.start")}},
                    TabSwitch{kTouchpadTab,
                              kScreenTab,
                              {QStringLiteral("camera.stop"), kOff, kClear, QStringLiteral("touchpad.stop")}}));

TEST_F(Suite, StopEndsEveryPageInOrder) {
    suite->stop();
    EXPECT_EQ(calls, QStringList({QStringLiteral("wireless.stop"), QStringLiteral("keyboard.stop"),
                                  QStringLiteral("touchpad.stop"), QStringLiteral("screen.stop"),
                                  QStringLiteral("camera.shutdown"), QStringLiteral("audio.stop")}));
}

TEST_F(Suite, MediaPagesAskEachOtherAndAGonePageAnswersNotReleased) {
    std::optional<bool> answer;
    camera->prepareForUse([&answer](bool released) { answer = released; });
    audio->prepareForUse([](bool) {});
    EXPECT_EQ(calls, QStringList({QStringLiteral("audio.releaseForCamera"), QStringLiteral("camera.releaseForAudio")}));
    EXPECT_EQ(answer, true);

    suite.reset();
    audio.reset();
    camera->prepareForUse([&answer](bool released) { answer = released; });
    EXPECT_EQ(answer, false);
}

} // namespace
