#include "base/bundle.h"

#include "support/paths.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

using tagsmith::base::Bundle;
using tagsmith::test::buildPath;
using tagsmith::test::waitUntil;

namespace {

const QString kCollectorBundle = QStringLiteral("Tagsmith Collector.app");

// The processes whose executable lies inside the folder.
QList<pid_t> processesRunningFrom(const QString& folder) {
    QList<pid_t> found;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")}, QDir::Dirs)) {
        if (QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)).startsWith(folder))
            found.append(pid.toInt());
    }
    return found;
}

} // namespace

TEST(Bundles, CollectorStartedFromItsLocationRunsOnFromATemporaryCopy) {
    QTemporaryDir tmp;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), tmp.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(buildPath(kCollectorBundle + QStringLiteral("/Contents/MacOS/VOREvo")),
                  {QStringLiteral("--some-argument")});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();

    const QStringList folders = QDir(tmp.path()).entryList({QStringLiteral("TagsmithRuntime-*")}, QDir::Dirs);
    ASSERT_EQ(folders.size(), 1);
    const QString copy = tmp.filePath(folders.front() + u'/' + kCollectorBundle);
    EXPECT_EQ(Bundle::at(copy).identifier, QStringLiteral("local.tagsmith.usbcollector"));

    // The copy runs on (its command line is pinned by the Relaunch tests) until ended here.
    QList<pid_t> running;
    ASSERT_TRUE(waitUntil([&] { return !(running = processesRunningFrom(copy)).isEmpty(); }, std::chrono::seconds(10)));
    for (const pid_t pid : running)
        ::kill(pid, SIGKILL);
}
