#include "label/label_print_dialog.h"

#include "app/qt_translations.h"
#include "label/label.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTimer>

// Qt's print dialog puts the chosen printer's own page back (US Letter, say);
// the preview redraws on the label's page all the same, with Chinese controls.
TEST(LabelPrintDialog, PreviewKeepsTheLabelPageWhateverPrinterIsChosen) {
    tagsmith::app::installQtTranslations(*QCoreApplication::instance());
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(
        QPageSize(QSizeF(40, 30), QPageSize::Millimeter, QStringLiteral("Label40x30"), QPageSize::ExactMatch));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QString title;
    int pages = 0;
    // Looks for the dialog once the event loop of its exec() runs.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(widget);
            if (dialog == nullptr || !dialog->isVisible())
                continue;
            poll.stop();
            title = dialog->windowTitle();
            printer.setPageSize(QPageSize(QPageSize::Letter));
            auto* preview = dialog->findChild<QPrintPreviewWidget*>();
            preview->updatePreview();
            pages = preview->pageCount();
            dialog->reject();
            return;
        }
    });
    poll.start(10);
    const tagsmith::label::Label label;
    EXPECT_FALSE(tagsmith::label::runLabelPrintDialog(
        printer, [&label](QPainter& painter) { label.drawFilling(painter); }, nullptr));
    const QSizeF page = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    EXPECT_NEAR(page.width(), 40, 0.1);
    EXPECT_NEAR(page.height(), 30, 0.1);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(title, QStringLiteral("打印预览"));
}
