#include "cable/receiver_key.h"

#include "support/paths.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using tagsmith::cable::receiverKeyAt;

TEST(ReceiverKey, OnlyAComplete32ByteKeyFileIsUsable) {
    const QByteArray key32 = QByteArray(32, '\x07').toBase64();
    const struct {
        QByteArray content;
        bool usable;
    } cases[] = {
        {R"({"key":")" + key32 + R"(","addressHint":"fe80::%en"})", true},
        {R"({"key":")" + key32 + R"(","addressHint":"","extra":1})", true},
        {R"({"key":")" + QByteArray(16, 'k').toBase64() + R"(","addressHint":""})", false},
        {R"({"key":")" + QByteArray(31, 'k').toBase64() + R"(","addressHint":""})", false},
        {R"({"key":")" + key32 + R"("})", false},
        {R"({"key":"not base64!","addressHint":""})", false},
        {R"({"key":42,"addressHint":""})", false},
        {R"(["key"])", false},
        {"", false},
    };
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("receiver.json"));
    for (const auto& c : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.content);
        file.close();
        EXPECT_EQ(receiverKeyAt(path).has_value(), c.usable) << c.content.toStdString();
    }
    EXPECT_EQ(receiverKeyAt(path + QStringLiteral(".missing")), std::nullopt);
}

TEST(ReceiverKey, TheShippedKeyFileIsUsable) {
    const auto key = receiverKeyAt(tagsmith::test::sourcePath(QStringLiteral("resources/receiver.json")));
    EXPECT_EQ(key.value_or(QByteArray()).size(), 32);
}
