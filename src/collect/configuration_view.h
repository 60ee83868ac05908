#pragma once

#include "report/report.h"

#include <QPlainTextEdit>

namespace tagsmith::collect {

// The read-only, scrollable summary of a report (or a status message) in a
// monospaced font. Every refresh starts again at the first line.
class ConfigurationView : public QPlainTextEdit {
    Q_OBJECT
public:
    ConfigurationView(const QRect& frame, int fontSize, QWidget* parent = nullptr);

    void display(const QString& text);
    void displayReport(const report::Report& report);
};

} // namespace tagsmith::collect
