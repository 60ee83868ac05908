#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace tagsmith::app {

// The receive code a collector operator types to send a report here through
// the relay, shown large under its heading, and a word on the relay's state
// while it cannot be reached.
class ReceiveCodeView : public QWidget {
    Q_OBJECT
public:
    explicit ReceiveCodeView(QWidget* parent = nullptr);

    void showCode(const QString& code);
    // Empty once the relay answers again; the full reason is in the tooltip.
    void showRelayState(const QString& problem);

    QString code() const;
    QString relayState() const;

private:
    QLabel* m_code = nullptr;
    QLabel* m_state = nullptr;
};

} // namespace tagsmith::app
