#include "inspection/inspection_results.h"

#include "l10n/l10n.h"
#include "l10n/ui_localizer.h"
#include "support/paths.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tagsmith::inspection;

namespace {

constexpr auto kItem = InspectionItem::leftSpeaker;

// A store that counts its onChange calls.
struct CountedStore {
    CountedStore() {
        results.onChange = [this] { ++changes; };
    }
    InspectionResults results;
    int changes = 0;
};

InspectionResult pendingResult(InspectionItem item) {
    return {InspectionState::pending, instruction(item), false, false};
}

struct Transition {
    const char* name;
    std::function<void(InspectionResults&)> arrange;
    std::function<void(InspectionResults&)> act;
    InspectionResult expected;
    int changes; // onChange calls made by act alone
};

class StoreTransition : public testing::TestWithParam<Transition> {};

TEST_P(StoreTransition, LeavesTheExpectedResultAndReportsEachAppliedChangeOnce) {
    CountedStore store;
    GetParam().arrange(store.results);
    store.changes = 0;
    GetParam().act(store.results);
    EXPECT_EQ(store.results[kItem], GetParam().expected);
    EXPECT_EQ(store.changes, GetParam().changes);
}

const auto nothing = [](InspectionResults&) {};
const auto setRunning = [](InspectionResults& r) { r.set(kItem, InspectionState::running, QStringLiteral("播放中")); };
const auto unlock = [](InspectionResults& r) {
    r.set(kItem, InspectionState::needsConfirmation, QStringLiteral("请确认"), true);
};
const auto failByHand = [](InspectionResults& r) { r.confirm(kItem, false); };
const auto passByHand = [](InspectionResults& r) {
    unlock(r);
    r.confirm(kItem, true);
};
const InspectionResult manualFail{InspectionState::failed, QStringLiteral("人工确认异常"), false, true};
const InspectionResult running{InspectionState::running, QStringLiteral("正在检测…"), false, false};

INSTANTIATE_TEST_SUITE_P(
    InspectionResults, StoreTransition,
    testing::Values(
        Transition{"AutomaticUpdateFromPending",
                   nothing,
                   setRunning,
                   {InspectionState::running, QStringLiteral("播放中"), false, false},
                   1},
        Transition{"AutomaticPassUnlocksThePassDecision",
                   nothing,
                   [](InspectionResults& r) { r.set(kItem, InspectionState::passed, QStringLiteral("自动"), false); },
                   {InspectionState::passed, QStringLiteral("自动"), true, false},
                   1},
        Transition{"AutomaticFailIsAppliedLikeAnyUpdate",
                   setRunning,
                   [](InspectionResults& r) { r.set(kItem, InspectionState::failed, QStringLiteral("坏")); },
                   {InspectionState::failed, QStringLiteral("坏"), false, false},
                   1},
        Transition{"AutomaticUpdateAfterManualFailIsIgnored", failByHand,
                   [](InspectionResults& r) { r.set(kItem, InspectionState::passed, QStringLiteral("迟到的回调")); },
                   manualFail, 0},
        Transition{"AutomaticUpdateAfterManualPassIsIgnored",
                   passByHand,
                   setRunning,
                   {InspectionState::passed, QStringLiteral("人工确认正常"), true, true},
                   0},
        Transition{"PassOnNeverTestedItemIsRefused", nothing, [](InspectionResults& r) { r.confirm(kItem, true); },
                   pendingResult(kItem), 0},
        Transition{"PassOnLockedItemIsRefused",
                   setRunning,
                   [](InspectionResults& r) { r.confirm(kItem, true); },
                   {InspectionState::running, QStringLiteral("播放中"), false, false},
                   0},
        Transition{"PassOnUnlockedItem",
                   unlock,
                   [](InspectionResults& r) { r.confirm(kItem, true); },
                   {InspectionState::passed, QStringLiteral("人工确认正常"), true, true},
                   1},
        Transition{"FailOnNeverTestedItem", nothing, failByHand, manualFail, 1},
        Transition{"FailKeepsTheUnlockedPassDecision",
                   unlock,
                   failByHand,
                   {InspectionState::failed, QStringLiteral("人工确认异常"), true, true},
                   1},
        Transition{"BeginClearsAManualVerdict", passByHand, [](InspectionResults& r) { r.begin(kItem); }, running, 1},
        Transition{"UpdateAfterBeginIsAppliedAgain",
                   passByHand,
                   [](InspectionResults& r) {
                       r.begin(kItem);
                       setRunning(r);
                   },
                   {InspectionState::running, QStringLiteral("播放中"), false, false},
                   2},
        Transition{"ResetForgetsAManualVerdict", failByHand, [](InspectionResults& r) { r.reset(kItem); },
                   pendingResult(kItem), 1},
        Transition{"ResetForgetsAnAutomaticResult", unlock, [](InspectionResults& r) { r.reset(kItem); },
                   pendingResult(kItem), 1}),
    [](const testing::TestParamInfo<Transition>& info) { return info.param.name; });

TEST(InspectionResults, FreshStoreReadsEveryItemPendingWithItsInstruction) {
    InspectionResults results;
    for (InspectionItem item : kAllInspectionItems)
        EXPECT_EQ(results[item], pendingResult(item)) << rawValue(item).toStdString();
    EXPECT_EQ(results.counts(), (InspectionCounts{0, 0, 9}));
}

TEST(InspectionResults, SummaryCountsOnlyStoredVerdicts) {
    InspectionResults results;
    results.set(InspectionItem::wifi, InspectionState::passed, QStringLiteral("自动"));
    results.set(InspectionItem::camera, InspectionState::needsConfirmation, QStringLiteral("请确认"), true);
    results.confirm(InspectionItem::camera, true);
    results.confirm(InspectionItem::keyboard, false);
    results.set(InspectionItem::screen, InspectionState::running, QStringLiteral("进行中"));
    EXPECT_EQ(results.counts(), (InspectionCounts{2, 1, 6}));
    EXPECT_EQ(results.summary(),
              tagsmith::L10n::t(
                  QStringLiteral("inspector.summary"),
                  {{QStringLiteral("passed"), 2}, {QStringLiteral("failed"), 1}, {QStringLiteral("remaining"), 6}}));
}

// The catalogue must carry every key the model looks up, with the placeholders it passes.
TEST(InspectionResults, CatalogueHoldsEveryInspectionKey) {
    const auto localizer =
        tagsmith::l10n::UILocalizer::fromDirectory(tagsmith::test::sourcePath(QStringLiteral("resources/locales")));
    QStringList keys = {QStringLiteral("inspector.summary"), QStringLiteral("state.pending"),
                        QStringLiteral("state.running"),     QStringLiteral("state.needsConfirmation"),
                        QStringLiteral("state.passed"),      QStringLiteral("state.failed")};
    for (InspectionItem item : kAllInspectionItems) {
        keys << QStringLiteral("inspection.%1.title").arg(rawValue(item))
             << QStringLiteral("inspection.%1.hint").arg(rawValue(item));
    }
    for (const QString& key : keys)
        EXPECT_TRUE(localizer.base.contains(key)) << key.toStdString();
    EXPECT_TRUE(localizer.text(QStringLiteral("inspection.screen.hint"), {{QStringLiteral("count"), 16}})
                    .contains(QStringLiteral("16")));
    EXPECT_EQ(localizer.text(
                  QStringLiteral("inspector.summary"),
                  {{QStringLiteral("passed"), 2}, {QStringLiteral("failed"), 1}, {QStringLiteral("remaining"), 6}}),
              QStringLiteral("已通过 2 项 · 未通过 1 项 · 待检测 6 项"));
}

} // namespace
