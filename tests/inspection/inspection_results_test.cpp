#include "inspection/inspection_results.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tagsmith::inspection;

namespace {

constexpr auto kItem = InspectionItem::leftSpeaker;
using Step = std::function<void(InspectionResults&)>;

struct Transition {
    const char* name;
    Step arrange;
    Step act;
    std::optional<InspectionResult> expected; // none: the never-written default
    int changes;                              // onChange calls made by act alone
};

class StoreTransition : public testing::TestWithParam<Transition> {};

TEST_P(StoreTransition, LeavesTheExpectedResultAndReportsEachAppliedChangeOnce) {
    InspectionResults results;
    int changes = 0;
    results.onChange = [&changes] { ++changes; };
    GetParam().arrange(results);
    changes = 0;
    GetParam().act(results);
    EXPECT_EQ(results[kItem],
              GetParam().expected.value_or(InspectionResult{InspectionState::pending, instruction(kItem)}));
    EXPECT_EQ(changes, GetParam().changes);
}

const Step nothing = [](InspectionResults&) {};
const Step setRunning = [](InspectionResults& r) { r.set(kItem, InspectionState::running, QStringLiteral("播放中")); };
const Step unlock = [](InspectionResults& r) {
    r.set(kItem, InspectionState::needsConfirmation, QStringLiteral("请确认"), true);
};
const Step pass = [](InspectionResults& r) { r.confirm(kItem, true); };
const Step fail = [](InspectionResults& r) { r.confirm(kItem, false); };
const Step passByHand = [](InspectionResults& r) {
    unlock(r);
    pass(r);
};
const InspectionResult kRunning{InspectionState::running, QStringLiteral("播放中"), false, false};
const InspectionResult kManualPass{InspectionState::passed, QStringLiteral("人工确认正常"), true, true};
const InspectionResult kManualFail{InspectionState::failed, QStringLiteral("人工确认异常"), false, true};

INSTANTIATE_TEST_SUITE_P(
    InspectionResults, StoreTransition,
    testing::Values(
        Transition{"AutomaticPassUnlocksThePassDecision", nothing,
                   [](InspectionResults& r) { r.set(kItem, InspectionState::passed, QStringLiteral("自动"), false); },
                   InspectionResult{InspectionState::passed, QStringLiteral("自动"), true, false}, 1},
        Transition{"AutomaticUpdateAfterManualPassIsIgnored", passByHand, setRunning, kManualPass, 0},
        Transition{"PassOnLockedItemIsRefused", setRunning, pass, kRunning, 0},
        Transition{"PassOnUnlockedItem", unlock, pass, kManualPass, 1},
        Transition{"FailOnNeverTestedItem", nothing, fail, kManualFail, 1},
        Transition{"FailKeepsTheUnlockedPassDecision", unlock, fail,
                   InspectionResult{InspectionState::failed, QStringLiteral("人工确认异常"), true, true}, 1},
        Transition{"BeginClearsAManualVerdictAndUpdatesApplyAgain", passByHand,
                   [](InspectionResults& r) {
                       r.begin(kItem);
                       EXPECT_EQ(r[kItem], (InspectionResult{InspectionState::running, QStringLiteral("正在检测…")}));
                       setRunning(r);
                   },
                   kRunning, 2},
        Transition{"ResetForgetsAManualVerdict", fail, [](InspectionResults& r) { r.reset(kItem); }, std::nullopt, 1}),
    [](const testing::TestParamInfo<Transition>& info) { return info.param.name; });

} // namespace
