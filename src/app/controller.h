#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class QMainWindow;
class QSettings;

namespace tagsmith::cable {
class Receiver;
}
namespace tagsmith::relay {
class RelayInbox;
}

namespace tagsmith::app {

class CollectorPanel;
struct CollectorServices;
class WorkstationPanel;

// The application delegate: owns the role's window and every long-lived
// object for the life of the process. One per process.
class Controller : public QObject {
    Q_OBJECT
public:
    // The collector role with the real machine and bundle resources.
    Controller(bool isCollector, const QStringList& arguments, QObject* parent = nullptr);
    // The collector role with the given services (tests).
    Controller(CollectorServices services, bool preview, QObject* parent = nullptr);
    ~Controller() override;

    QMainWindow* window() const { return m_window.get(); }
    WorkstationPanel* workstation() const { return m_workstation; } // null in the collector role
    CollectorPanel* collector() const { return m_collector; }       // null in the workstation role

    // The application's quit request: the collector first lets its media
    // hardware finish (at most 3 s), then the application quits, exactly once.
    void requestQuit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow(QWidget* content, const QString& title);
    void showWindow();
    QWidget* buildWorkstation();
    void buildApplicationMenu();
    void startReceiver();
    void startRelayInbox();
    void importFromCommandLine(const QStringList& arguments);
    void terminate();
    void willTerminate();
    void showAbout();

    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<QMainWindow> m_window;
    WorkstationPanel* m_workstation = nullptr;       // owned by m_window
    CollectorPanel* m_collector = nullptr;           // owned by m_window
    std::shared_ptr<cable::Receiver> m_receiver;     // workstation only; stopped before the window goes
    std::shared_ptr<relay::RelayInbox> m_relayInbox; // workstation with a relay only; stopped likewise
    bool m_mayTerminate = false;                     // the quit's wait is over: the window may close
};

} // namespace tagsmith::app
