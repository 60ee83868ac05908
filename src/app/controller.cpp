#include "app/controller.h"

#include "app/collector_panel.h"
#include "app/receive_code_view.h"
#include "app/workstation_panel.h"
#include "base/bundle.h"
#include "base/main_thread.h"
#include "base/process_values.h"
#include "cable/cable_discovery.h"
#include "cable/receiver.h"
#include "cable/workstation_identity.h"
#include "l10n/l10n.h"
#include "relay/relay_inbox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileOpenEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QStyle>

namespace tagsmith::app {

namespace {

QString collectorTitle() {
    return QStringLiteral("Tagsmith ") + base::Bundle::main().shortVersion;
}

} // namespace

Controller::Controller(bool isCollector, const QStringList& arguments, QObject* parent) : QObject(parent) {
    if (isCollector) {
        m_collector = new CollectorPanel(CollectorServices::forBundle(), processValues().inspectionPreview);
        buildWindow(m_collector, collectorTitle());
    } else {
        buildWindow(buildWorkstation(), QStringLiteral("Tagsmith · 数据线接收版"));
    }
    showWindow();
    importFromCommandLine(arguments);
    if (!isCollector) {
        startReceiver();
        startRelayInbox();
    }
}

Controller::Controller(CollectorServices services, bool preview, QObject* parent) : QObject(parent) {
    m_collector = new CollectorPanel(std::move(services), preview);
    buildWindow(m_collector, collectorTitle());
    showWindow();
}

Controller::~Controller() {
    willTerminate();
}

void Controller::buildWindow(QWidget* content, const QString& title) {
    m_window = std::make_unique<QMainWindow>();
    m_window->setWindowTitle(title);
    m_window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                             Qt::WindowMinimizeButtonHint);
    m_window->setCentralWidget(content);
    m_window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, content->size(),
                                              QApplication::primaryScreen()->availableGeometry()));
    m_window->installEventFilter(this);
    qApp->installEventFilter(this);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &Controller::willTerminate);
    buildApplicationMenu();
}

void Controller::showWindow() {
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

QWidget* Controller::buildWorkstation() {
    m_settings = std::make_unique<QSettings>();
    m_workstation = new WorkstationPanel(*m_settings, WorkstationPlaces{});
    return m_workstation;
}

void Controller::startReceiver() {
    cable::Receiver::Setup setup = cable::receiverSetup(cable::cableInterfacesSetting(*m_settings));
    setup.deviceId = cable::workstationDeviceId(*m_settings);
    m_receiver = cable::Receiver::create(std::move(setup));
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

// Reports through the relay take the cable's accept path: saved, shown and
// printed the same way, once. A bundle without a relay receives by cable only.
void Controller::startRelayInbox() {
    const Result<relay::RelayConfiguration> configuration =
        relay::RelayConfiguration::fromFile(base::Bundle::main().resourcePath(relay::kRelayConfigurationFileName));
    if (!configuration)
        return;
    const QPointer<WorkstationPanel> panel = m_workstation;
    const QPointer<ReceiveCodeView> view = m_workstation->receiveCode();
    view->show();
    m_relayInbox = relay::RelayInbox::create(*configuration);
    m_relayInbox->onCode = [view](const QString& code) {
        if (view)
            view->showCode(code);
    };
    m_relayInbox->onState = [view](const QString& text) {
        if (view)
            view->showRelayState(text);
    };
    m_relayInbox->accept = [panel](const report::Report& report, const QByteArray& bytes) {
        return panel && panel->acceptReport(report, bytes, ledger::IntakeSource::relay);
    };
    m_relayInbox->start();
}

// "--import FILE" as the only arguments opens that report at start, in either role.
void Controller::importFromCommandLine(const QStringList& arguments) {
    if (arguments.size() != 3 || arguments.at(1) != QLatin1String("--import"))
        return;
    if (m_workstation)
        m_workstation->load(arguments.at(2));
    else
        m_collector->load(arguments.at(2));
}

void Controller::requestQuit() {
    if (!m_collector)
        return terminate();
    const QPointer<Controller> self(this);
    m_collector->prepareToQuit([self] {
        if (self)
            self->terminate();
    });
}

// Qt closes every window before it quits, and a window that refuses cancels the
// quit: from here on the close filter lets the window go.
void Controller::terminate() {
    m_mayTerminate = true;
    QCoreApplication::quit();
}

// Closing the window quits the application, through the same wait as the menu;
// report files opened from the desktop reach the workstation only.
bool Controller::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window.get() && event->type() == QEvent::Close && !m_mayTerminate) {
        event->ignore();
        requestQuit();
        return true;
    }
    if (event->type() == QEvent::FileOpen && m_workstation) {
        m_workstation->load(static_cast<QFileOpenEvent*>(event)->file());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void Controller::willTerminate() {
    if (m_collector)
        m_collector->shutdown();
    if (m_receiver)
        m_receiver->stop();
    if (m_relayInbox)
        m_relayInbox->stop();
}

void Controller::buildApplicationMenu() {
    QMenu* menu = m_window->menuBar()->addMenu(QStringLiteral("Tagsmith"));
    QAction* about = menu->addAction(L10n::t(QStringLiteral("inspector.about")), this, &Controller::showAbout);
    about->setMenuRole(QAction::AboutRole);
    menu->addSeparator();
    QAction* quit = menu->addAction(L10n::t(QStringLiteral("common.quit")), this, &Controller::requestQuit);
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
}

void Controller::showAbout() {
    QMessageBox::about(m_window.get(), L10n::t(QStringLiteral("inspector.about")),
                       QStringLiteral("Tagsmith %1").arg(base::Bundle::main().shortVersion));
}

} // namespace tagsmith::app
