#include "crypto/base64.h"

#include <gtest/gtest.h>

using namespace tagsmith::crypto;

TEST(Base64, DecodesOnlyTheCanonicalStandardForm) {
    const struct {
        QByteArray text;
        std::optional<QByteArray> expected;
    } cases[] = {
        {"", QByteArray()},         {"QUJD", QByteArray("ABC")},      {"QUI=", QByteArray("AB")},
        {"QQ==", QByteArray("A")},  {"+/8=", QByteArray("\xfb\xff")}, {"QUI", std::nullopt}, // padding missing
        {"QQ=", std::nullopt},                                                               // padding short
        {"QUJ=", std::nullopt},                                                              // stray low bits
        {"QU JD", std::nullopt},                                                             // whitespace
        {"QUJD\n", std::nullopt},                                                            // line break
        {"-_8=", std::nullopt},                                                              // URL alphabet
        {"QUJD====", std::nullopt},                                                          // extra padding
        {"Q===", std::nullopt},                                                              // impossible length
        {"QUJD!", std::nullopt},                                                             // foreign character
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeBase64(c.text), c.expected) << c.text.toStdString();
}

TEST(Base64, EncodingRoundTripsEveryLengthRemainder) {
    for (int length = 0; length < 40; ++length) {
        QByteArray data(length, Qt::Uninitialized);
        for (int i = 0; i < length; ++i)
            data[i] = char(i * 37 + length);
        EXPECT_EQ(decodeBase64(encodeBase64(data)), data);
    }
}
