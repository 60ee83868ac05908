#include "app/application_run.h"
#include "app/qt_translations.h"
#include "app/relaunch.h"
#include "app/self_test.h"
#include "app/startup.h"
#include "base/bundle.h"
#include "base/library_messages.h"
#include "base/process_values.h"
#include "report/a_rules.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

using namespace tagsmith;

namespace {

// Taken before QApplication, which removes the Qt options it recognises from argv.
QStringList commandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

int relaunch(const base::Bundle& bundle) {
    const Result<void> started = app::relaunchFromTemporaryCopy(bundle.path, QDir::tempPath());
    if (started)
        return 0;
    QMessageBox alert(QMessageBox::Warning, QStringLiteral("无法准备临时运行副本"),
                      QStringLiteral("无法准备临时运行副本"));
    alert.setInformativeText(started.error().description);
    alert.exec();
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const QStringList arguments = commandLine(argc, argv);
    const base::Bundle& bundle = base::Bundle::main();
    report::setARules(report::loadARules(bundle.resourcePath(report::kARulesFileName)));
    const app::StartupPlan plan = app::planStartup(arguments, bundle.identifier);
    // Self-tests draw only into files, so they run on machines without a display.
    if (plan.selfTest) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        base::silenceLibraryMessages();
    }
    QApplication application(argc, argv);
    app::installQtTranslations(application);
    setProcessValues({plan.isCollector, plan.inspectionPreview});
    // Preferences are kept per role, under the bundle identifier on macOS.
    QCoreApplication::setOrganizationName(QStringLiteral("Tagsmith"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("local.tagsmith"));
    QCoreApplication::setApplicationName(plan.isCollector ? QStringLiteral("usbcollector")
                                                          : QStringLiteral("workstation"));

    if (plan.selfTest)
        return app::runSelfTest(*plan.selfTest, arguments);
    if (plan.relaunch)
        return relaunch(bundle);

    app::runApplication(plan.isCollector, arguments);
}
