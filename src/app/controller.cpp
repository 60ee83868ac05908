#include "app/controller.h"

#include "app/workstation_panel.h"
#include "base/bundle.h"
#include "base/main_thread.h"
#include "cable/receiver.h"
#include "l10n/l10n.h"

#include <QAction>
#include <QApplication>
#include <QFileOpenEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QStyle>

namespace tagsmith::app {

namespace {

constexpr QSize kCollectorContentSize(1060, 720);
constexpr QSize kWorkstationContentSize(700, 580);

QString collectorTitle() {
    return QStringLiteral("Tagsmith ") + base::Bundle::main().shortVersion;
}

} // namespace

Controller::Controller(bool isCollector, const QStringList& arguments, QObject* parent)
    : QObject(parent), m_isCollector(isCollector) {
    buildWindow();
    buildApplicationMenu();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    if (!m_isCollector) {
        qApp->installEventFilter(this);
        importFromCommandLine(arguments);
        startReceiver();
    }
}

Controller::~Controller() {
    if (m_receiver)
        m_receiver->stop();
}

void Controller::buildWindow() {
    m_window = std::make_unique<QMainWindow>();
    m_window->setWindowTitle(m_isCollector ? collectorTitle() : QStringLiteral("Tagsmith · 数据线接收版"));
    m_window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                             Qt::WindowMinimizeButtonHint);
    QWidget* content = m_isCollector ? new QWidget : buildWorkstation();
    content->setFixedSize(m_isCollector ? kCollectorContentSize : kWorkstationContentSize);
    m_window->setCentralWidget(content);
    m_window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, content->size(),
                                              QApplication::primaryScreen()->availableGeometry()));
}

QWidget* Controller::buildWorkstation() {
    m_settings = std::make_unique<QSettings>();
    m_workstation = new WorkstationPanel(*m_settings, WorkstationPlaces{});
    return m_workstation;
}

void Controller::startReceiver() {
    m_receiver = cable::Receiver::create();
    const QPointer<WorkstationPanel> panel = m_workstation;
    m_receiver->state = [panel](const QString& text) {
        base::onMain([panel, text] {
            if (panel)
                panel->showStatus(text);
        });
    };
    m_receiver->update = [panel](const report::Report& report, const QByteArray& bytes) {
        return panel && panel->acceptReport(report, bytes);
    };
    m_receiver->start();
}

// "--import FILE" as the only arguments opens that report at start.
void Controller::importFromCommandLine(const QStringList& arguments) {
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--import"))
        m_workstation->load(arguments.at(2));
}

// Report files opened with the program from the desktop arrive as file-open events.
bool Controller::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FileOpen) {
        m_workstation->load(static_cast<QFileOpenEvent*>(event)->file());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void Controller::buildApplicationMenu() {
    QMenu* menu = m_window->menuBar()->addMenu(QStringLiteral("Tagsmith"));
    QAction* about = menu->addAction(L10n::t(QStringLiteral("inspector.about")), this, &Controller::showAbout);
    about->setMenuRole(QAction::AboutRole);
    menu->addSeparator();
    QAction* quit = menu->addAction(L10n::t(QStringLiteral("common.quit")), qApp, &QApplication::quit);
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
}

void Controller::showAbout() {
    QMessageBox::about(m_window.get(), L10n::t(QStringLiteral("inspector.about")),
                       QStringLiteral("Tagsmith %1").arg(base::Bundle::main().shortVersion));
}

} // namespace tagsmith::app
