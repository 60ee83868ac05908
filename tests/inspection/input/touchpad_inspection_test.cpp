#include "inspection/input/full_screen_test_window.h"
#include "inspection/input/keyboard_event_translation.h"
#include "inspection/input/touchpad_canvas.h"
#include "inspection/input/touchpad_inspection.h"
#include "inspection/inspection_results.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

using namespace tagsmith::inspection;
using namespace tagsmith::inspection::input;

namespace {

// One step of pointer input: a move at a time in milliseconds, or the pointer leaving the canvas.
struct Step {
    QPointF point;
    quint64 time = 0;
    bool leave = false;
};

void move(QWidget* canvas, const QPointF& point, quint64 time) {
    QMouseEvent event(QEvent::MouseMove, point, canvas->mapToGlobal(point), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    event.setTimestamp(time);
    QApplication::sendEvent(canvas, &event);
}

void button(QWidget* canvas, QEvent::Type type, Qt::MouseButton which, Qt::KeyboardModifiers modifiers = {}) {
    const QPointF point(300, 300);
    QMouseEvent event(type, point, canvas->mapToGlobal(point), which,
                      type == QEvent::MouseButtonPress ? which : Qt::NoButton, modifiers);
    QApplication::sendEvent(canvas, &event);
}

void click(QWidget* canvas, Qt::MouseButton which, Qt::KeyboardModifiers modifiers = {}) {
    button(canvas, QEvent::MouseButtonPress, which, modifiers);
    button(canvas, QEvent::MouseButtonRelease, which, modifiers);
}

class TouchpadTest : public testing::Test {
protected:
    TouchpadTest() {
        page.setResults(results);
        page.view()->show();
        QApplication::setActiveWindow(page.view());
        page.start();
    }
    ~TouchpadTest() override { page.stop(); }

    void play(const QList<Step>& steps) {
        for (const Step& step : steps) {
            if (step.leave) {
                QEvent leave(QEvent::Leave);
                QApplication::sendEvent(canvas(), &leave);
            } else {
                move(canvas(), step.point, step.time);
            }
        }
    }
    TouchpadCanvas* canvas() const { return page.canvas(); }
    InspectionResult item() const { return (*results)[InspectionItem::touchpad]; }

    std::shared_ptr<InspectionResults> results = std::make_shared<InspectionResults>();
    TouchpadInspection page;
};

TEST_F(TouchpadTest, TheFirstPointAfterLeavingTheCanvasIsNoMovement) {
    play({{{10, 10}, 1000}, {{}, 0, true}, {{20, 20}, 1010}});
    EXPECT_FALSE(canvas()->hasMovement());
}

TEST_F(TouchpadTest, HistoryStaysBounded) {
    for (int index = 0; index <= TouchpadCanvas::kHistoryLimit; ++index)
        canvas()->record(QPointF(index % 700, index % 500 + 1), quint64(index));
    EXPECT_EQ(canvas()->samples().size(), TouchpadCanvas::kHistoryLimit + 1);
    for (int index = 0; index < 30000; ++index) {
        canvas()->record(QPointF(index % 600, index % 400 + 2), quint64(20000 + index));
        ASSERT_LE(canvas()->samples().size(), TouchpadCanvas::kHistoryLimit + 1);
    }
    EXPECT_TRUE(canvas()->samples().first().startsStroke) << "the oldest kept point begins a line";
    EXPECT_EQ(canvas()->samples().last().point, QPointF(29999 % 600, 29999 % 400 + 2));
}

TEST_F(TouchpadTest, MovementAndBothButtonsControlClickIncludedWaitForTheVerdict) {
    play({{{10, 10}, 1000}, {{40, 40}, 1050}});
    EXPECT_EQ(item(), (InspectionResult{InspectionState::running, "滑动触摸板并分别点按左右键", false, false}));
    EXPECT_EQ(page.statusLabel()->text(),
              QStringLiteral("轨迹：已记录　左键：0 次　右键：0 次\n请在白色画布内滑动，并分别测试左右键。"));

    button(canvas(), QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_TRUE(canvas()->leftHeld());
    button(canvas(), QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_FALSE(canvas()->leftHeld());
    // A control-click is the right click of a one-button touchpad.
    button(canvas(), QEvent::MouseButtonPress, Qt::LeftButton, controlKeyModifier());
    EXPECT_TRUE(canvas()->rightHeld());
    button(canvas(), QEvent::MouseButtonRelease, Qt::LeftButton, controlKeyModifier());
    EXPECT_FALSE(canvas()->rightHeld());
    EXPECT_EQ(item(),
              (InspectionResult{InspectionState::needsConfirmation, "轨迹及左右键已识别，请人工确认", true, false}));
    EXPECT_EQ(page.statusLabel()->text(),
              QStringLiteral("轨迹：已记录　左键：1 次　右键：1 次\n请观察轨迹与点击手感，在右上角确认通过或不通过。"));

    page.reset();
    EXPECT_EQ(item(), InspectionResults()[InspectionItem::touchpad]);
    EXPECT_TRUE(canvas()->samples().isEmpty());
    EXPECT_EQ(canvas()->leftCount() + canvas()->rightCount(), 0);
}

TEST_F(TouchpadTest, OpensOverTheWholeScreenUntilDeactivatedEscClosedOrStopped) {
    ASSERT_NE(page.testWindow(), nullptr);
    EXPECT_TRUE(page.testWindow()->isVisible());
    EXPECT_TRUE(canvas()->capturing());
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(page.testWindow(), nullptr);
    EXPECT_FALSE(canvas()->capturing());
    EXPECT_EQ(item(), InspectionResults()[InspectionItem::touchpad]) << "an untouched canvas reports nothing";

    page.start();
    play({{{10, 10}, 1000}, {{40, 40}, 1050}});
    click(canvas(), Qt::LeftButton);
    QTest::keyClick(canvas(), Qt::Key_Escape);
    EXPECT_EQ(page.testWindow(), nullptr);
    EXPECT_EQ(canvas()->parentWidget(), nullptr);
    const InspectionResult before = item();
    play({{{50, 50}, 1100}, {{60, 60}, 1120}});
    click(canvas(), Qt::RightButton);
    EXPECT_EQ(canvas()->samples().size(), 2) << "a closed canvas ignores everything";
    EXPECT_EQ(canvas()->rightCount(), 0);
    EXPECT_EQ(item(), before);

    page.start();
    ASSERT_NE(page.testWindow(), nullptr);
    page.testWindow()->close();
    EXPECT_EQ(page.testWindow(), nullptr);
    EXPECT_FALSE(canvas()->capturing());
    page.start();
    page.stop();
    EXPECT_EQ(page.testWindow(), nullptr);
}

} // namespace
