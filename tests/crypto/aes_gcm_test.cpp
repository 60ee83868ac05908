#include "crypto/aes_gcm.h"

#include "support/crypto_vectors.h"

#include <gtest/gtest.h>

using namespace tagsmith::crypto;

// NIST CAVS vectors with the box's 96-bit nonce and 128-bit tag; the decrypt
// file adds altered boxes that must be refused.
TEST(AesGcm, MatchesTheNistVectors) {
    int checked = 0;
    for (const char* file : {"gcmEncryptExtIV256.rsp", "gcmDecrypt256.rsp"}) {
        for (const auto& v : tagsmith::test::readVectorRecords(QStringLiteral("ciphers/AES/GCM/") + file)) {
            if (v.fields.value("IVlen") != QLatin1String("96") || v.fields.value("Taglen") != QLatin1String("128"))
                continue;
            ++checked;
            const QByteArray box = v.hex("IV") + v.hex("CT") + v.hex("Tag");
            const auto opened = open(v.hex("Key"), box, v.hex("AAD"));
            EXPECT_EQ(opened, v.mustFail ? std::nullopt : std::optional(v.hex("PT")))
                << file << " key " << v.hex("Key").toHex().toStdString();
            if (!v.mustFail) {
                EXPECT_EQ(sealWithNonce(v.hex("Key"), v.hex("IV"), v.hex("PT"), v.hex("AAD")), box);
            }
        }
    }
    EXPECT_GT(checked, 500) << tagsmith::test::kMissingVectors;
}

TEST(AesGcm, BoxesHaveFreshNoncesAndRefuseAnyAlteration) {
    const QByteArray key(32, '\x42');
    const auto box = seal(key, "RECEIVED", "context");
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->size(), 8 + kSealedBoxOverhead);
    EXPECT_NE(seal(key, "RECEIVED", "context"), box);
    EXPECT_EQ(open(key, *box, "context"), QByteArray("RECEIVED"));
    for (const qsizetype position : {qsizetype(0), qsizetype(kAesGcmNonceBytes), box->size() - 1}) {
        QByteArray altered = *box;
        altered[position] = char(altered[position] ^ 0x01);
        EXPECT_FALSE(open(key, altered, "context")) << "flipped bit at " << position;
    }
    EXPECT_FALSE(open(key, box->first(kSealedBoxOverhead - 1), "context"));
    EXPECT_FALSE(open(QByteArray(32, '\x43'), *box, "context"));
    EXPECT_FALSE(open(key, *box, "other"));
    EXPECT_FALSE(seal(QByteArray(31, 'k'), "x"));
    EXPECT_EQ(open(key, *seal(key, {})), QByteArray());
}
