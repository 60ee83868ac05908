#pragma once

#include <QColor>
#include <QString>

namespace tagsmith::inspection {

enum class InspectionState { pending, running, needsConfirmation, passed, failed };

// Passed and failed are verdicts; the other states still wait for one.
constexpr bool isFinal(InspectionState state) {
    return state == InspectionState::passed || state == InspectionState::failed;
}

QString title(InspectionState state);
QString symbol(InspectionState state);
QColor color(InspectionState state);

} // namespace tagsmith::inspection
