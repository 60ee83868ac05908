#include "base/read_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

using tagsmith::base::readFileAtMost;

TEST(ReadFile, AtMostTakesTheWholeFileOrSaysWhyNot) {
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("profile.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(10, 'x'));
    file.close();
    EXPECT_EQ(readFileAtMost(file.fileName(), 10).value(), QByteArray(10, 'x'));
    const QString locked = folder.filePath(QStringLiteral("locked.json"));
    QFile::copy(file.fileName(), locked);
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    const struct {
        QString path;
        qint64 limit;
        QString description;
    } cases[] = {
        {file.fileName(), 9, QStringLiteral("文件过大（超过 9 字节）：") + file.fileName()},
        {folder.filePath(QStringLiteral("missing")), 10, QStringLiteral("文件不存在：") + folder.filePath("missing")},
        {folder.path(), 10, QStringLiteral("这是文件夹，不是文件：") + folder.path()},
        {locked, 10, QStringLiteral("没有权限读取文件：") + locked},
    };
    for (const auto& c : cases) {
        if (c.path == locked && ::geteuid() == 0)
            continue; // root reads every file
        EXPECT_EQ(readFileAtMost(c.path, c.limit).error().description, c.description);
    }
}
