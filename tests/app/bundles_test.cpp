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

    QList<QPair<qint64, QStringList>> running;
    ASSERT_TRUE(waitUntil([&] { return !(running = processesRunningFrom(copy)).isEmpty(); }, std::chrono::seconds(10)));
    EXPECT_EQ(running.front().second,
              (QStringList{copy + QStringLiteral("/Contents/MacOS/VOREvo"), QStringLiteral("--temporary-run")}));
    for (const auto& process : running)
        ::kill(static_cast<pid_t>(process.first), SIGKILL);
}
