#include "crypto/base64.h"

#include <gtest/gtest.h>

using tagsmith::crypto::decodeBase64;

TEST(Base64, DecodesOnlyTheCanonicalStandardForm) {
    const struct {
        QByteArray text;
        std::optional<QByteArray> expected;
    } cases[] = {
        {"", QByteArray()},       {"QUJD", QByteArray("ABC")}, {"QUI=", QByteArray("AB")}, {"+/8=", "\xfb\xff"},
        {"QUI", std::nullopt},    {"QQ=", std::nullopt},       {"QUJ=", std::nullopt},     {"QU JD", std::nullopt},
        {"QUJD\n", std::nullopt}, {"-_8=", std::nullopt},      {"QUJD====", std::nullopt}, {"QUJD!", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeBase64(c.text), c.expected) << c.text.toStdString();
}
