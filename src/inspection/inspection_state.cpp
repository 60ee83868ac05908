#include "inspection/inspection_state.h"

#include "inspection/inspection_colors.h"
#include "l10n/l10n.h"

namespace tagsmith::inspection {

QString title(InspectionState state) {
    switch (state) {
    case InspectionState::pending:
        return L10n::t(QStringLiteral("state.pending"));
    case InspectionState::running:
        return L10n::t(QStringLiteral("state.running"));
    case InspectionState::needsConfirmation:
        return L10n::t(QStringLiteral("state.needsConfirmation"));
    case InspectionState::passed:
        return L10n::t(QStringLiteral("state.passed"));
    case InspectionState::failed:
        return L10n::t(QStringLiteral("state.failed"));
    }
    return {};
}

QString symbol(InspectionState state) {
    return state == InspectionState::failed ? QStringLiteral("✕") : QStringLiteral("✓");
}

QColor color(InspectionState state) {
    switch (state) {
    case InspectionState::pending:
        return colors::secondaryLabel();
    case InspectionState::running:
        return colors::indigo();
    case InspectionState::needsConfirmation:
        return colors::orange();
    case InspectionState::passed:
        return colors::verdictGreen();
    case InspectionState::failed:
        return colors::verdictRed();
    }
    return {};
}

} // namespace tagsmith::inspection
