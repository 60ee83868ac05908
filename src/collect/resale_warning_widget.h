#pragma once

#include "report/report.h"

#include <QLabel>

namespace tagsmith::collect {

// The red line that tells the clerk, at a glance, what must be settled before
// this Mac is taken in (locked, remotely managed, failing disk). Hidden for a
// clean Mac and when no report is shown.
class ResaleWarningWidget : public QLabel {
    Q_OBJECT
public:
    explicit ResaleWarningWidget(QWidget* parent = nullptr);

    // nullptr clears the line.
    void showFor(const report::Report* report);
};

} // namespace tagsmith::collect
