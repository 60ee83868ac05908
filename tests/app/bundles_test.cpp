#include "base/bundle.h"

#include "support/paths.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

using tagsmith::base::Bundle;
using tagsmith::test::buildPath;
using tagsmith::test::waitUntil;

namespace {

const QString kCollectorBundle = QStringLiteral("Tagsmith Collector.app");
const QString kWorkstationBundle = QStringLiteral("Tagsmith.app");

QString executableOf(const QString& bundle) {
    return buildPath(bundle + QStringLiteral("/Contents/MacOS/VOREvo"));
}

struct BundleRun {
    int exitCode;
    QString standardOutput;
    QString standardError;
};

BundleRun runBundle(const QString& bundle, const QStringList& arguments, const QString& temporaryDir) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), temporaryDir);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(executableOf(bundle), arguments);
    EXPECT_TRUE(process.waitForFinished(20000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The processes whose executable lies inside the folder, with their command lines.
QList<QPair<qint64, QStringList>> processesRunningFrom(const QString& folder) {
    QList<QPair<qint64, QStringList>> found;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")}, QDir::Dirs)) {
        if (!QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)).startsWith(folder))
            continue;
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        QStringList arguments = QString::fromUtf8(cmdline.readAll()).split(QChar(u'\0'));
        arguments.removeLast();
        found.append({pid.toLongLong(), arguments});
    }
    return found;
}

} // namespace

TEST(Bundles, BothBundlesCarryTheirIdentifierExecutableAndResources) {
    const Bundle collector = Bundle::at(buildPath(kCollectorBundle));
    const Bundle workstation = Bundle::at(buildPath(kWorkstationBundle));
    EXPECT_EQ(collector.identifier, QStringLiteral("local.tagsmith.usbcollector"));
    EXPECT_EQ(workstation.identifier, QStringLiteral("local.tagsmith.workstation"));
    EXPECT_FALSE(collector.shortVersion.isEmpty());
    for (const Bundle& bundle : {collector, workstation}) {
        EXPECT_TRUE(QFileInfo(bundle.path + QStringLiteral("/Contents/MacOS/VOREvo")).isExecutable());
        EXPECT_TRUE(QFile::exists(bundle.resourcePath(QStringLiteral("locales/manifest.json"))));
        EXPECT_TRUE(QFile::exists(bundle.resourcePath(QStringLiteral("locales/zh-Hans.json"))));
    }
}

TEST(Bundles, CollectorStartedFromItsLocationRunsOnFromATemporaryCopy) {
    QTemporaryDir tmp;
    const BundleRun run = runBundle(kCollectorBundle, {QStringLiteral("--some-argument")}, tmp.path());
    EXPECT_EQ(run.exitCode, 0) << run.standardError.toStdString();

    const QStringList folders = QDir(tmp.path()).entryList({QStringLiteral("TagsmithRuntime-*")}, QDir::Dirs);
    ASSERT_EQ(folders.size(), 1);
    const QString copy = tmp.filePath(folders.front() + u'/' + kCollectorBundle);
    EXPECT_EQ(Bundle::at(copy).identifier, QStringLiteral("local.tagsmith.usbcollector"));

    QList<QPair<qint64, QStringList>> running;
    ASSERT_TRUE(waitUntil([&] { return !(running = processesRunningFrom(copy)).isEmpty(); }, std::chrono::seconds(10)));
    EXPECT_EQ(running.front().second,
              (QStringList{copy + QStringLiteral("/Contents/MacOS/VOREvo"), QStringLiteral("--temporary-run")}));
    for (const auto& process : running)
        ::kill(static_cast<pid_t>(process.first), SIGKILL);
}

TEST(Bundles, SelfTestModesRunInPlaceWithoutRelaunching) {
    QTemporaryDir tmp;
    const BundleRun run =
        runBundle(kCollectorBundle,
                  {QStringLiteral("--verify"), QStringLiteral("missing.json"), QStringLiteral("o.png")}, tmp.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.standardOutput.contains(QStringLiteral("PASS")));
    EXPECT_FALSE(run.standardError.isEmpty());
    EXPECT_TRUE(QDir(tmp.path()).entryList({QStringLiteral("TagsmithRuntime-*")}, QDir::Dirs).isEmpty());
}
