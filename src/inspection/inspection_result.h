#pragma once

#include "inspection/inspection_state.h"

#include <QString>

namespace tagsmith::inspection {

struct InspectionResult {
    InspectionState state = InspectionState::pending;
    QString detail;
    bool canConfirm = false; // the operator may now pass the item by hand
    bool manual = false;     // set by the operator; automatic updates leave it alone

    bool operator==(const InspectionResult&) const = default;
};

} // namespace tagsmith::inspection
