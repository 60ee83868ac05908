#include "app/relaunch.h"

#include "base/atomic_file.h"
#include "base/read_file.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using tagsmith::app::relaunchFromTemporaryCopy;
using tagsmith::test::waitUntil;

namespace {

// A bundle whose executable records its arguments and where its output goes,
// so the test sees exactly how the copy was started.
QString makeRecordingBundle(const QTemporaryDir& dir) {
    const QString bundle = dir.filePath(QStringLiteral("stick/Tagsmith Collector.app"));
    const QString executable = bundle + QStringLiteral("/Contents/MacOS/VOREvo");
    EXPECT_TRUE(tagsmith::base::writeFileAtomically(executable, R"(#!/bin/sh
here=$(dirname "$0")
stdio=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2)
printf '%s\n' "$#" "$@" "$stdio" > "$here/started.part"
mv "$here/started.part" "$here/started"
)"));
    QFile::setPermissions(executable, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(
        tagsmith::base::writeFileAtomically(bundle + QStringLiteral("/Contents/Resources/locales/zh-Hans.json"), "{}"));
    EXPECT_TRUE(QFile::link(QStringLiteral("locales/zh-Hans.json"),
                            bundle + QStringLiteral("/Contents/Resources/current.json")));
    return bundle;
}

QStringList runtimeFolders(const QString& root) {
    return QDir(root).entryList({QStringLiteral("TagsmithRuntime-*")}, QDir::Dirs);
}

} // namespace

TEST(Relaunch, EachStartCopiesTheWholeBundleIntoANewFolderAndStartsTheCopyWithOnlyTemporaryRun) {
    QTemporaryDir dir;
    const QString bundle = makeRecordingBundle(dir);
    const QString tmp = dir.filePath(QStringLiteral("tmp"));
    ASSERT_TRUE(relaunchFromTemporaryCopy(bundle, tmp));
    ASSERT_TRUE(relaunchFromTemporaryCopy(bundle, tmp));

    const QStringList folders = runtimeFolders(tmp);
    ASSERT_EQ(folders.size(), 2);
    for (const QString& folder : folders) {
        const QString copy = tmp + u'/' + folder + QStringLiteral("/Tagsmith Collector.app");
        const QString record = copy + QStringLiteral("/Contents/MacOS/started");
        ASSERT_TRUE(waitUntil([&] { return QFile::exists(record); })) << "the copy was started";
        EXPECT_EQ(tagsmith::base::readFileUpTo(record, 4096).value(),
                  "1\n--temporary-run\n/dev/null\n/dev/null\n/dev/null\n");
        EXPECT_TRUE(QFile::exists(copy + QStringLiteral("/Contents/Resources/locales/zh-Hans.json")));
        EXPECT_EQ(QFileInfo(copy + QStringLiteral("/Contents/Resources/current.json")).symLinkTarget(),
                  copy + QStringLiteral("/Contents/Resources/locales/zh-Hans.json"));
    }
    EXPECT_TRUE(QFile::exists(bundle + QStringLiteral("/Contents/MacOS/VOREvo"))) << "the original stays untouched";
}

TEST(Relaunch, FailuresAreReportedInChineseWithoutStartingAnything) {
    QTemporaryDir dir;
    const QString bundle = makeRecordingBundle(dir);
    ASSERT_TRUE(tagsmith::base::writeFileAtomically(dir.filePath(QStringLiteral("file")), "x"));
    const auto unwritable = relaunchFromTemporaryCopy(bundle, dir.filePath(QStringLiteral("file")));
    ASSERT_FALSE(unwritable);
    EXPECT_TRUE(unwritable.error().description.startsWith(QStringLiteral("无法创建文件夹")));

    QFile::remove(bundle + QStringLiteral("/Contents/MacOS/VOREvo"));
    const QString tmp = dir.filePath(QStringLiteral("tmp"));
    const auto notStarted = relaunchFromTemporaryCopy(bundle, tmp);
    ASSERT_FALSE(notStarted);
    EXPECT_TRUE(notStarted.error().description.startsWith(QStringLiteral("无法启动")))
        << notStarted.error().description.toStdString();

    EXPECT_FALSE(relaunchFromTemporaryCopy(QString(), tmp));
}
