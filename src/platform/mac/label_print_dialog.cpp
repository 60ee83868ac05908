#include "label/label_print_dialog.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace tagsmith::label {

// Qt shows the system's own print panel here, which has its preview built in.
bool runLabelPrintDialog(QPrinter& printer, const std::function<void(QPainter&)>& draw, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    draw(painter);
    return painter.end();
}

} // namespace tagsmith::label
