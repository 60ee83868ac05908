#include "base/atomic_file.h"
#include "base/read_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using tagsmith::base::readFileUpTo;
using tagsmith::base::writeFileAtomically;

TEST(AtomicFile, CreatesFoldersAndReplacesWholeFilesWithoutLeftovers) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("检测结果/a/report.macreport"));
    ASSERT_TRUE(writeFileAtomically(path, "first, longer content"));
    ASSERT_TRUE(writeFileAtomically(path, "second"));
    EXPECT_EQ(readFileUpTo(path, 100).value(), "second");
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("检测结果/a"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("report.macreport")});
}

TEST(AtomicFile, FailureKeepsTheOldFileAndExplainsInChinese) {
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("not-a-folder"));
    ASSERT_TRUE(writeFileAtomically(blocker, "keep me"));
    const auto result = writeFileAtomically(blocker + QStringLiteral("/report.json"), "x");
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().description, QStringLiteral("无法写入文件 %1/report.json：无法创建文件夹").arg(blocker));
    EXPECT_EQ(writeFileAtomically(dir.path(), "x").error().description,
              QStringLiteral("无法写入文件 %1：同名文件夹已存在").arg(dir.path()));
    EXPECT_EQ(readFileUpTo(blocker, 100).value(), "keep me");
}
