#include "label/label_print_dialog.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace tagsmith::label {

// Choosing a printer in Qt's dialog replaces the page with that printer's
// default (US Letter, say); the label's page is put back before every drawing.
bool runLabelPrintDialog(QPrinter& printer, const std::function<void(QPainter&)>& draw, QWidget* parent) {
    const QPageLayout label = printer.pageLayout();
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        target->setPageLayout(label);
        QPainter painter;
        if (!painter.begin(target))
            return;
        draw(painter);
    });
    // The dialog is accepted once it has printed.
    return dialog.exec() == QDialog::Accepted;
}

} // namespace tagsmith::label
