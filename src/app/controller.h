#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class QMainWindow;
class QSettings;

namespace tagsmith::cable {
class Receiver;
}

namespace tagsmith::app {

class WorkstationPanel;

// The application delegate: owns the role's window and every long-lived
// object for the life of the process. One per process.
class Controller : public QObject {
    Q_OBJECT
public:
    Controller(bool isCollector, const QStringList& arguments, QObject* parent = nullptr);
    ~Controller() override;

    QMainWindow* window() const { return m_window.get(); }
    WorkstationPanel* workstation() const { return m_workstation; } // null in the collector role

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    QWidget* buildWorkstation();
    void startReceiver();
    void buildApplicationMenu();
    void importFromCommandLine(const QStringList& arguments);
    void showAbout();

    bool m_isCollector;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<QMainWindow> m_window;
    WorkstationPanel* m_workstation = nullptr;   // owned by m_window
    std::shared_ptr<cable::Receiver> m_receiver; // workstation only; stopped before the window goes
};

} // namespace tagsmith::app
