#pragma once

#include "inspection/inspection_item.h"
#include "inspection/inspection_result.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace tagsmith::inspection {

struct InspectionCounts {
    int passed = 0;
    int failed = 0;
    int remaining = 0;

    bool operator==(const InspectionCounts&) const = default;
};

// The one store of inspection results, shared by the suite, the dashboard,
// every verdict strip and every page. Main thread only; nothing is saved.
class InspectionResults {
public:
    // The stored result, or pending with the item's instruction when none is stored.
    InspectionResult operator[](InspectionItem item) const;

    // Automatic update by a page; ignored once the operator has decided.
    void set(InspectionItem item, InspectionState state, const QString& detail, bool canConfirm = false);
    // The operator (re)starts the item's test; clears a manual verdict.
    void begin(InspectionItem item);
    void reset(InspectionItem item);
    // Manual verdict; a pass is refused until the page unlocked it.
    bool confirm(InspectionItem item, bool passed);

    InspectionCounts counts() const;
    QString summary() const;

    // Called after every applied change, on the caller's (main) thread.
    std::function<void()> onChange;

private:
    void store(InspectionItem item, InspectionResult result);
    void changed() const;

    std::array<std::optional<InspectionResult>, kInspectionItemCount> m_values;
};

} // namespace tagsmith::inspection
