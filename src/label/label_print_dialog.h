#pragma once

#include <functional>

class QPainter;
class QPrinter;
class QWidget;

namespace tagsmith::label {

// Lets the operator print one label on a printer already set up for it: a
// preview, then the print dialog, on Linux; the platform's print panel on
// macOS. The printer's page layout is kept whatever printer is chosen. True
// when the label was printed. One definition per platform.
bool runLabelPrintDialog(QPrinter& printer, const std::function<void(QPainter&)>& draw, QWidget* parent);

} // namespace tagsmith::label
