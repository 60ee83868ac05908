#include "collect/resale_warning_widget.h"

#include "report/resale_facts.h"

namespace tagsmith::collect {

ResaleWarningWidget::ResaleWarningWidget(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    setStyleSheet(QStringLiteral("color: #d70015;"));
    hide();
}

void ResaleWarningWidget::showFor(const report::Report* report) {
    const QStringList warnings = report ? report::resaleWarnings(*report) : QStringList();
    setText(warnings.join(u'\n'));
    setVisible(!warnings.isEmpty());
}

} // namespace tagsmith::collect
