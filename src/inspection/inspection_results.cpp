#include "inspection/inspection_results.h"

#include "l10n/l10n.h"

namespace tagsmith::inspection {

InspectionResult InspectionResults::operator[](InspectionItem item) const {
    const std::optional<InspectionResult>& stored = m_values[indexOf(item)];
    if (stored)
        return *stored;
    return {InspectionState::pending, instruction(item), false, false};
}

void InspectionResults::set(InspectionItem item, InspectionState state, const QString& detail, bool canConfirm) {
    const std::optional<InspectionResult>& stored = m_values[indexOf(item)];
    // Hardware callbacks may answer after the operator decided; the verdict stands.
    if (stored && stored->manual)
        return;
    store(item, {state, detail, canConfirm || state == InspectionState::passed, false});
    changed();
}

void InspectionResults::begin(InspectionItem item) {
    store(item, {InspectionState::running, QStringLiteral("正在检测…"), false, false});
    changed();
}

void InspectionResults::reset(InspectionItem item) {
    m_values[indexOf(item)].reset();
    changed();
}

bool InspectionResults::confirm(InspectionItem item, bool passed) {
    const InspectionResult current = (*this)[item];
    if (passed && !current.canConfirm)
        return false;
    store(item, {passed ? InspectionState::passed : InspectionState::failed,
                 passed ? QStringLiteral("人工确认正常") : QStringLiteral("人工确认异常"), current.canConfirm, true});
    changed();
    return true;
}

InspectionCounts InspectionResults::counts() const {
    InspectionCounts counts;
    for (const std::optional<InspectionResult>& stored : m_values) {
        if (stored && stored->state == InspectionState::passed)
            ++counts.passed;
        if (stored && stored->state == InspectionState::failed)
            ++counts.failed;
    }
    counts.remaining = kInspectionItemCount - counts.passed - counts.failed;
    return counts;
}

QString InspectionResults::summary() const {
    const InspectionCounts current = counts();
    return L10n::t(QStringLiteral("inspector.summary"), {{QStringLiteral("passed"), current.passed},
                                                         {QStringLiteral("failed"), current.failed},
                                                         {QStringLiteral("remaining"), current.remaining}});
}

void InspectionResults::store(InspectionItem item, InspectionResult result) {
    m_values[indexOf(item)] = std::move(result);
}

void InspectionResults::changed() const {
    if (onChange)
        onChange();
}

} // namespace tagsmith::inspection
