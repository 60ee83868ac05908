#pragma once

#include "inspection/inspection_state.h"

#include <QWidget>

namespace tagsmith::inspection {

// A state disc: grey tick while pending, a dash while a test runs or waits,
// white tick on green when passed, white cross on red when failed.
class InspectionMark : public QWidget {
    Q_OBJECT
public:
    explicit InspectionMark(QWidget* parent = nullptr);

    InspectionState state() const { return m_state; }
    void setState(InspectionState state);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    InspectionState m_state = InspectionState::pending;
};

} // namespace tagsmith::inspection
