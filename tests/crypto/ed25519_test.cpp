#include "crypto/ed25519.h"

#include "support/crypto_vectors.h"

#include <gtest/gtest.h>

using tagsmith::crypto::isValidEd25519Signature;

// Each line: secret‖public : public : message : signature‖message (hex); the
// first three are RFC 8032 section 7.1 tests 1 to 3.
TEST(Ed25519, AcceptsEveryPublishedSignatureAndRejectsAlteredOnes) {
    QFile file(tagsmith::test::vectorPath(QStringLiteral("asymmetric/Ed25519/sign.input")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << tagsmith::test::kMissingVectors;
    int checked = 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(':');
        if (fields.size() < 4)
            continue;
        const QByteArray key = QByteArray::fromHex(fields[1]);
        const QByteArray message = QByteArray::fromHex(fields[2]);
        QByteArray signature = QByteArray::fromHex(fields[3]).first(64);
        ++checked;
        ASSERT_TRUE(isValidEd25519Signature(signature, message, key)) << "line " << checked;
        EXPECT_FALSE(isValidEd25519Signature(signature, message + 'x', key));
        EXPECT_FALSE(isValidEd25519Signature(signature.first(63), message, key));
        signature[5] = char(signature[5] ^ 0x04);
        EXPECT_FALSE(isValidEd25519Signature(signature, message, key));
    }
    EXPECT_EQ(checked, 1024);
}
