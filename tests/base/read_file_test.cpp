#include "base/read_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using tagsmith::base::readFileAtMost;

TEST(ReadFile, AtMostTakesTheWholeFileUpToTheLimitOrNamesIt) {
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("profile.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(10, 'x'));
    file.close();
    EXPECT_EQ(readFileAtMost(file.fileName(), 10).value(), QByteArray(10, 'x'));
    EXPECT_EQ(readFileAtMost(file.fileName(), 9).error(),
              (tagsmith::Error{QStringLiteral("文件"), 2, QStringLiteral("文件“%1”过大。").arg(file.fileName())}));
    EXPECT_EQ(readFileAtMost(folder.filePath(QStringLiteral("missing")), 10).error().code, 1);
}
