#include "crypto/aes_gcm.h"

#include "support/crypto_vectors.h"

#include <gtest/gtest.h>

using namespace tagsmith::crypto;
using tagsmith::test::kMissingVectors;
using tagsmith::test::readVectorRecords;
using tagsmith::test::VectorRecord;

namespace {

// The sealed-box form uses 96-bit nonces and 128-bit tags only.
QList<VectorRecord> boxVectors(const QString& file) {
    QList<VectorRecord> selected;
    for (const VectorRecord& record : readVectorRecords(QStringLiteral("ciphers/AES/GCM/") + file)) {
        if (record.section.value(QStringLiteral("IVlen")) == QLatin1String("96") &&
            record.section.value(QStringLiteral("Taglen")) == QLatin1String("128"))
            selected.append(record);
    }
    return selected;
}

const QByteArray kKey(32, '\x42');

} // namespace

TEST(AesGcm, SealsAndOpensTheNistEncryptionVectors) {
    const auto vectors = boxVectors(QStringLiteral("gcmEncryptExtIV256.rsp"));
    ASSERT_GE(vectors.size(), 100) << kMissingVectors;
    for (const VectorRecord& v : vectors) {
        const QByteArray box = v.hex(QStringLiteral("IV")) + v.hex(QStringLiteral("CT")) + v.hex(QStringLiteral("Tag"));
        const QByteArray key = v.hex(QStringLiteral("Key"));
        const QByteArray aad = v.hex(QStringLiteral("AAD"));
        EXPECT_EQ(sealWithNonce(key, v.hex(QStringLiteral("IV")), v.hex(QStringLiteral("PT")), aad), box)
            << "Count " << v.fields.value(QStringLiteral("Count")).toStdString();
        EXPECT_EQ(open(key, box, aad), v.hex(QStringLiteral("PT")));
    }
}

TEST(AesGcm, OpensValidNistDecryptionVectorsAndRejectsTheFailingOnes) {
    const auto vectors = boxVectors(QStringLiteral("gcmDecrypt256.rsp"));
    ASSERT_GE(vectors.size(), 100) << kMissingVectors;
    int rejected = 0;
    for (const VectorRecord& v : vectors) {
        const QByteArray box = v.hex(QStringLiteral("IV")) + v.hex(QStringLiteral("CT")) + v.hex(QStringLiteral("Tag"));
        const auto opened = open(v.hex(QStringLiteral("Key")), box, v.hex(QStringLiteral("AAD")));
        if (v.mustFail) {
            ++rejected;
            EXPECT_FALSE(opened.has_value()) << "Count " << v.fields.value(QStringLiteral("Count")).toStdString();
        } else {
            EXPECT_EQ(opened, v.hex(QStringLiteral("PT")));
        }
    }
    EXPECT_GT(rejected, 0);
}

TEST(AesGcm, SealedBoxIsNonceCiphertextTagWithAFreshNonceEachTime) {
    const QByteArray plaintext = "报告内容";
    const auto first = seal(kKey, plaintext);
    const auto second = seal(kKey, plaintext);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->size(), plaintext.size() + kSealedBoxOverhead);
    EXPECT_NE(first->first(kAesGcmNonceBytes), second->first(kAesGcmNonceBytes));
    EXPECT_NE(*first, *second);
    EXPECT_EQ(open(kKey, *first), plaintext);
    EXPECT_EQ(open(kKey, *second), plaintext);
}

TEST(AesGcm, AnyAlteredByteShortBoxWrongKeyOrOtherAssociatedDataFailsToOpen) {
    const QByteArray plaintext = "RECEIVED";
    const auto box = seal(kKey, plaintext, "context");
    ASSERT_TRUE(box.has_value());
    ASSERT_EQ(open(kKey, *box, "context"), plaintext);
    for (const qsizetype position : {qsizetype(0), qsizetype(kAesGcmNonceBytes), box->size() - 1}) {
        QByteArray altered = *box;
        altered[position] = char(altered[position] ^ 0x01);
        EXPECT_FALSE(open(kKey, altered, "context")) << "flipped bit at " << position;
    }
    EXPECT_FALSE(open(kKey, box->first(kSealedBoxOverhead - 1), "context"));
    EXPECT_FALSE(open(QByteArray(32, '\x43'), *box, "context"));
    EXPECT_FALSE(open(kKey, *box, "other"));
    EXPECT_FALSE(open(kKey, *box));
}

TEST(AesGcm, EmptyPlaintextGivesTheShortestValidBoxAndKeysMustBe32Bytes) {
    const auto empty = seal(kKey, {});
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->size(), kSealedBoxOverhead);
    EXPECT_EQ(open(kKey, *empty), QByteArray());
    EXPECT_FALSE(seal(QByteArray(16, 'k'), "x"));
    EXPECT_FALSE(seal(QByteArray(31, 'k'), "x"));
    EXPECT_FALSE(sealWithNonce(kKey, QByteArray(16, 'n'), "x"));
}
