#include "crypto/hkdf.h"
#include "crypto/hmac.h"
#include "crypto/sha256.h"

#include "support/crypto_vectors.h"

#include <gtest/gtest.h>

using namespace tagsmith::crypto;
using tagsmith::test::readVectorRecords;

TEST(HmacSha256, MatchesRfc4231AndRefusesAnyOtherCode) {
    const auto vectors = readVectorRecords(QStringLiteral("HMAC/rfc-4231-sha256.txt"));
    ASSERT_EQ(vectors.size(), 6) << tagsmith::test::kMissingVectors;
    for (const auto& v : vectors) {
        const QByteArray code = v.hex("MD");
        EXPECT_EQ(hmacSha256(v.hex("Key"), v.hex("Msg")), code);
        EXPECT_TRUE(isValidHmacSha256(code, v.hex("Key"), v.hex("Msg")));
        for (const QByteArray& other : {code.first(31), code + '\0', QByteArray(32, '\0')})
            EXPECT_FALSE(isValidHmacSha256(other, v.hex("Key"), v.hex("Msg")));
    }
}

TEST(Sha256, MatchesTheNistShortMessages) {
    const auto vectors = readVectorRecords(QStringLiteral("hashes/SHA2/SHA256ShortMsg.rsp"));
    ASSERT_EQ(vectors.size(), 65) << tagsmith::test::kMissingVectors;
    for (const auto& v : vectors) // Len is in bits; the empty message is written as one zero byte
        EXPECT_EQ(sha256(v.hex("Msg").first(v.fields.value("Len").toInt() / 8)), v.hex("MD"));
}

TEST(HkdfSha256, MatchesRfc5869IncludingEmptySaltAndInfo) {
    const auto vectors = readVectorRecords(QStringLiteral("KDF/rfc-5869-HKDF-SHA256.txt"));
    ASSERT_EQ(vectors.size(), 3) << tagsmith::test::kMissingVectors;
    for (const auto& v : vectors)
        EXPECT_EQ(hkdfSha256(v.hex("IKM"), v.hex("salt"), v.hex("info"), v.fields.value("L").toInt()), v.hex("OKM"));
    EXPECT_EQ(hkdfSha256("ikm", "salt", "info", 255 * 32).value_or(QByteArray()).size(), 255 * 32) << "the longest";
    EXPECT_FALSE(hkdfSha256("ikm", "salt", "info", 255 * 32 + 1));
}
