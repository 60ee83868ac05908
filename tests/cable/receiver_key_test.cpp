#include "cable/receiver_key.h"

#include "base/atomic_file.h"
#include "support/paths.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using tagsmith::cable::receiverKeyAt;

TEST(ReceiverKey, OnlyAComplete32ByteKeyFileIsUsable) {
    const auto config = [](const QByteArray& key, const QByteArray& rest = R"(,"addressHint":"")") {
        return R"({"key":)" + key + rest + "}";
    };
    const struct {
        QByteArray content;
        bool usable;
    } cases[] = {
        {config('"' + QByteArray(32, '\7').toBase64() + '"', R"(,"addressHint":"x","more":1)"), true},
        {config('"' + QByteArray(31, '\7').toBase64() + '"'), false},
        {config('"' + QByteArray(33, '\7').toBase64() + '"'), false},
        {config('"' + QByteArray(32, '\7').toBase64().chopped(1) + '"'), false},
        {config('"' + QByteArray(32, '\7').toBase64() + '"', ""), false},
        {config(R"("not base64!")"), false},
        {config("42"), false},
        {"[]", false},
    };
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("receiver.json"));
    for (const auto& c : cases) {
        ASSERT_TRUE(tagsmith::base::writeFileAtomically(file, c.content));
        EXPECT_EQ(receiverKeyAt(file).has_value(), c.usable) << c.content.toStdString();
    }
    EXPECT_FALSE(receiverKeyAt(folder.filePath(QStringLiteral("missing.json"))));
    const auto shipped = receiverKeyAt(tagsmith::test::sourcePath(QStringLiteral("resources/receiver.json")));
    EXPECT_EQ(shipped.value_or(QByteArray()).size(), 32);
}
