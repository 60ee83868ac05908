#include "crypto/hmac.h"
#include "crypto/sha256.h"

#include "support/crypto_vectors.h"

#include <gtest/gtest.h>

using namespace tagsmith::crypto;
using tagsmith::test::kMissingVectors;
using tagsmith::test::readVectorRecords;

TEST(HmacSha256, MatchesRfc4231AndChecksTheCode) {
    const auto vectors = readVectorRecords(QStringLiteral("HMAC/rfc-4231-sha256.txt"));
    ASSERT_GE(vectors.size(), 6) << kMissingVectors;
    for (const auto& v : vectors) {
        const QByteArray key = v.hex(QStringLiteral("Key"));
        const QByteArray message = v.hex(QStringLiteral("Msg"));
        const QByteArray expected = v.hex(QStringLiteral("MD"));
        EXPECT_EQ(hmacSha256(key, message), expected);
        EXPECT_TRUE(isValidHmacSha256(expected, key, message));
        QByteArray altered = expected;
        altered[31] = char(altered[31] ^ 0x80);
        EXPECT_FALSE(isValidHmacSha256(altered, key, message));
        EXPECT_FALSE(isValidHmacSha256(expected.first(31), key, message));
        EXPECT_FALSE(isValidHmacSha256(expected + '\0', key, message));
    }
    EXPECT_FALSE(isValidHmacSha256({}, "key", "data"));
    EXPECT_EQ(hmacSha256({}, "data").size(), kHmacSha256Bytes);
}

TEST(Sha256, MatchesTheNistShortMessages) {
    const auto vectors = readVectorRecords(QStringLiteral("hashes/SHA2/SHA256ShortMsg.rsp"));
    ASSERT_GE(vectors.size(), 65) << kMissingVectors;
    for (const auto& v : vectors) {
        // Len is in bits; the empty message is written as one zero byte.
        const int bytes = v.fields.value(QStringLiteral("Len")).toInt() / 8;
        EXPECT_EQ(sha256(v.hex(QStringLiteral("Msg")).first(bytes)), v.hex(QStringLiteral("MD")));
    }
}
