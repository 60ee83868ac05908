#include "crypto/ed25519.h"

#include "support/crypto_vectors.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace tagsmith::crypto;
using tagsmith::test::kMissingVectors;
using tagsmith::test::vectorPath;

namespace {

struct SignedMessage {
    QByteArray seed;
    QByteArray publicKey;
    QByteArray message;
    QByteArray signature;
};

// Each line: secret‖public : public : message : signature‖message : (all hex).
QList<SignedMessage> signInput() {
    QFile file(vectorPath(QStringLiteral("asymmetric/Ed25519/sign.input")));
    QList<SignedMessage> entries;
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(':');
        if (fields.size() >= 4)
            entries.append({QByteArray::fromHex(fields[0]).first(kEd25519SeedBytes), QByteArray::fromHex(fields[1]),
                            QByteArray::fromHex(fields[2]),
                            QByteArray::fromHex(fields[3]).first(kEd25519SignatureBytes)});
    }
    return entries;
}

} // namespace

// The first three lines of the file are the RFC 8032 section 7.1 tests 1 to 3.
TEST(Ed25519, ReproducesAndAcceptsEveryPublishedSignatureAndRejectsAlteredOnes) {
    const auto entries = signInput();
    ASSERT_EQ(entries.size(), 1024) << kMissingVectors;
    EXPECT_EQ(entries[0].publicKey.toHex(), "d75a980182b10ab7d54bfed3c964073a0ee172f3daa62325af021a68f707511a");
    for (const SignedMessage& entry : entries) {
        ASSERT_EQ(ed25519PublicKey(entry.seed), entry.publicKey) << entry.seed.toHex().toStdString();
        ASSERT_EQ(signEd25519(entry.message, entry.seed), entry.signature) << entry.seed.toHex().toStdString();
        ASSERT_TRUE(isValidEd25519Signature(entry.signature, entry.message, entry.publicKey))
            << entry.publicKey.toHex().toStdString();
        QByteArray badSignature = entry.signature;
        badSignature[5] = char(badSignature[5] ^ 0x04);
        EXPECT_FALSE(isValidEd25519Signature(badSignature, entry.message, entry.publicKey));
        EXPECT_FALSE(isValidEd25519Signature(entry.signature, entry.message + 'x', entry.publicKey));
    }
}

TEST(Ed25519, MalformedKeysAndSignaturesAreNotValid) {
    const SignedMessage entry = signInput().value(0);
    ASSERT_FALSE(entry.publicKey.isEmpty()) << kMissingVectors;
    EXPECT_FALSE(isValidEd25519Signature(entry.signature.first(63), entry.message, entry.publicKey));
    EXPECT_FALSE(isValidEd25519Signature(entry.signature + 'x', entry.message, entry.publicKey));
    EXPECT_FALSE(isValidEd25519Signature(entry.signature, entry.message, entry.publicKey.first(31)));
    EXPECT_FALSE(isValidEd25519Signature(entry.signature, entry.message, QByteArray(32, '\0')));
    EXPECT_FALSE(ed25519PublicKey(entry.seed.first(31)));
    EXPECT_FALSE(signEd25519(entry.message, entry.seed + 'x'));
}
