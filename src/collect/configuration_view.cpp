#include "collect/configuration_view.h"

#include "collect/configuration_text.h"
#include "l10n/l10n.h"

#include <QFontDatabase>
#include <QScrollBar>

namespace tagsmith::collect {

namespace {
constexpr int kInset = 12;
} // namespace

ConfigurationView::ConfigurationView(const QRect& frame, int fontSize, QWidget* parent) : QPlainTextEdit(parent) {
    setGeometry(frame);
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::StyledPanel);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(fontSize);
    setFont(font);
    document()->setDocumentMargin(kInset);
    setAccessibleName(L10n::t(QStringLiteral("common.configurationAccessible")));
    setObjectName(QStringLiteral("configuration-report"));
}

void ConfigurationView::display(const QString& text) {
    setPlainText(text);
    moveCursor(QTextCursor::Start);
    ensureCursorVisible();
    verticalScrollBar()->setValue(0);
}

void ConfigurationView::displayReport(const report::Report& report) {
    display(configurationText(report));
}

} // namespace tagsmith::collect
