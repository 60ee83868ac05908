#pragma once

#include <QLabel>

namespace tagsmith::app {

// The outcome of the operator's last action (import, receipt, print,
// supplement) and the time it happened. Unlike the status line, which the
// receiver rewrites every few seconds, it holds until the next action.
class ActionLine : public QLabel {
    Q_OBJECT
public:
    explicit ActionLine(QWidget* parent = nullptr);

    void record(const QString& outcome);
};

} // namespace tagsmith::app
