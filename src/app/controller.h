#pragma once

#include <QObject>

#include <memory>

class QMainWindow;

namespace tagsmith::app {

// The application delegate: owns the role's window and every long-lived
// object for the life of the process. One per process.
class Controller : public QObject {
    Q_OBJECT
public:
    explicit Controller(bool isCollector, QObject* parent = nullptr);
    ~Controller() override;

    QMainWindow* window() const { return m_window.get(); }

private:
    void buildWindow();
    void buildApplicationMenu();
    void showAbout();

    bool m_isCollector;
    std::unique_ptr<QMainWindow> m_window;
};

} // namespace tagsmith::app
