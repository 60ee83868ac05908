#include "crypto/hkdf.h"

#include "support/crypto_vectors.h"

#include <gtest/gtest.h>

using namespace tagsmith::crypto;
using tagsmith::test::kMissingVectors;
using tagsmith::test::readVectorRecords;

TEST(HkdfSha256, MatchesRfc5869IncludingEmptySaltAndInfo) {
    const auto vectors = readVectorRecords(QStringLiteral("KDF/rfc-5869-HKDF-SHA256.txt"));
    ASSERT_EQ(vectors.size(), 3) << kMissingVectors;
    for (const auto& v : vectors) {
        EXPECT_EQ(hkdfSha256(v.hex(QStringLiteral("IKM")), v.hex(QStringLiteral("salt")), v.hex(QStringLiteral("info")),
                             v.fields.value(QStringLiteral("L")).toInt()),
                  v.hex(QStringLiteral("OKM")))
            << "COUNT " << v.fields.value(QStringLiteral("COUNT")).toStdString();
    }
}

TEST(HkdfSha256, RefusesLengthsTheConstructionCannotGive) {
    EXPECT_FALSE(hkdfSha256("ikm", "salt", "info", 0));
    EXPECT_FALSE(hkdfSha256("ikm", "salt", "info", 255 * 32 + 1));
    EXPECT_EQ(hkdfSha256("ikm", "salt", "info", 255 * 32)->size(), 255 * 32);
}
