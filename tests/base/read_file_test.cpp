#include "base/read_file.h"

#include "base/atomic_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

using tagsmith::base::readFileAtMost;

// A missing file and a folder are refused with their texts through `tagsmith validate`
// (CommandLine.FollowsTheConventionsWithExitStatusAndOwnTextOnly).
TEST(ReadFile, AtMostTakesTheWholeFileOrSaysWhyNot) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("profile.json"));
    ASSERT_TRUE(tagsmith::base::writeFileAtomically(file, QByteArray(10, 'x')));
    EXPECT_EQ(readFileAtMost(file, 10).value(), QByteArray(10, 'x'));
    EXPECT_EQ(readFileAtMost(file, 9).error().description, QStringLiteral("文件过大（超过 9 字节）：") + file);
    if (::geteuid() == 0)
        return; // root reads every file
    QFile::setPermissions(file, QFileDevice::WriteOwner);
    EXPECT_EQ(readFileAtMost(file, 10).error().description, QStringLiteral("没有权限读取文件：") + file);
}
