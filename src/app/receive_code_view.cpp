#include "app/receive_code_view.h"

#include "inspection/inspection_controls.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tagsmith::app {

namespace {

QLabel* label(const QString& text, int size, QFont::Weight weight, QWidget* parent) {
    auto* made = new QLabel(text, parent);
    made->setFont(inspection::inspectionFont(size, weight));
    made->setAlignment(Qt::AlignCenter);
    made->setTextFormat(Qt::PlainText); // the relay's state quotes the relay's own error text
    return made;
}

} // namespace

ReceiveCodeView::ReceiveCodeView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(label(QStringLiteral("网络接收码"), 12, QFont::Normal, this));
    m_code = label(QStringLiteral("—"), 30, QFont::Bold, this);
    m_code->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_code);
    m_state = label(QString(), 11, QFont::Normal, this);
    m_state->setStyleSheet(QStringLiteral("color: #c0392b"));
    layout->addWidget(m_state);
}

void ReceiveCodeView::showCode(const QString& code) {
    m_code->setText(code);
}

void ReceiveCodeView::showRelayState(const QString& problem) {
    m_state->setText(problem.isEmpty() ? QString() : QStringLiteral("中转服务无法连接"));
    m_state->setToolTip(problem);
}

QString ReceiveCodeView::code() const {
    return m_code->text();
}

QString ReceiveCodeView::relayState() const {
    return m_state->toolTip();
}

} // namespace tagsmith::app
