#include "app/action_line.h"

#include <QTime>

namespace tagsmith::app {

ActionLine::ActionLine(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText); // outcomes quote file names and outside error texts
    QFont small = font();
    small.setPointSize(12);
    setFont(small);
}

void ActionLine::record(const QString& outcome) {
    // Only the first line: the status line above holds the details.
    setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") +
            outcome.section(u'\n', 0, 0));
}

} // namespace tagsmith::app
