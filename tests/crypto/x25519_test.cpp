#include "crypto/x25519.h"

#include "support/crypto_vectors.h"

#include <gtest/gtest.h>

using namespace tagsmith::crypto;
using tagsmith::test::kMissingVectors;
using tagsmith::test::readVectorRecords;

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

std::optional<QByteArray> agree(const QByteArray& privateKey, const QByteArray& peerPublicKey) {
    const auto key = X25519PrivateKey::fromRaw(privateKey);
    return key ? key->sharedSecret(peerPublicKey) : std::nullopt;
}

} // namespace

TEST(X25519, MatchesTheRfc7748FunctionVectors) {
    const auto vectors = readVectorRecords(QStringLiteral("asymmetric/X25519/rfc7748.txt"));
    ASSERT_EQ(vectors.size(), 3) << kMissingVectors;
    for (const auto& v : vectors)
        EXPECT_EQ(agree(v.hex(QStringLiteral("INPUT_SCALAR")), v.hex(QStringLiteral("INPUT_U"))),
                  v.hex(QStringLiteral("OUTPUT_U")));
}

TEST(X25519, MatchesTheRfc7748DiffieHellmanExample) {
    const QByteArray alice = hex("77076d0a7318a57d3c16c17251b26645df4c2f87ebc0992ab177fba51db92c2a");
    const QByteArray bob = hex("5dab087e624a8a4b79e17f8b83800ee66f3bb1292618b6fd1c2f8b27ff88e0eb");
    const QByteArray alicePublic = hex("8520f0098930a754748b7ddcb43ef75a0dbf3a0d26381af4eba4a98eaa9b4e6a");
    const QByteArray bobPublic = hex("de9edb7d7b7dc1b4d35b61c2ece435373f8343c85b78674dadfc7e146f882b4f");
    const QByteArray shared = hex("4a5d9d5ba4ce2de1728e3bf480350f25e07e21c947d19e3376f09b3c1e161742");
    EXPECT_EQ(X25519PrivateKey::fromRaw(alice)->publicKey(), alicePublic);
    EXPECT_EQ(X25519PrivateKey::fromRaw(bob)->publicKey(), bobPublic);
    EXPECT_EQ(agree(alice, bobPublic), shared);
    EXPECT_EQ(agree(bob, alicePublic), shared);
}

TEST(X25519, RefusesLowOrderPeerKeysWhoseSecretIsAllZero) {
    const auto key = X25519PrivateKey::generate();
    ASSERT_TRUE(key.has_value());
    const QByteArray lowOrderPoints[] = {
        QByteArray(32, '\0'),
        hex("0100000000000000000000000000000000000000000000000000000000000000"),
        hex("e0eb7a7c3b41b8ae1656e3faf19fc46ada098deb9c32b1fd866205165f49b800"),
        hex("5f9c95bca3508c24b1d0b1559c83ef5b04445cc4581c8e86d8224eddd09f1157"),
    };
    for (const QByteArray& point : lowOrderPoints)
        EXPECT_FALSE(key->sharedSecret(point)) << point.toHex().toStdString();
}

TEST(X25519, FreshKeysAgreeAndWrongSizesAreRefused) {
    const auto collector = X25519PrivateKey::generate();
    const auto workstation = X25519PrivateKey::generate();
    ASSERT_TRUE(collector && workstation);
    EXPECT_NE(collector->publicKey(), workstation->publicKey());
    const auto secret = collector->sharedSecret(workstation->publicKey());
    ASSERT_TRUE(secret.has_value());
    EXPECT_EQ(secret, workstation->sharedSecret(collector->publicKey()));
    EXPECT_FALSE(collector->sharedSecret(workstation->publicKey().first(31)));
    EXPECT_FALSE(collector->sharedSecret(workstation->publicKey() + 'x'));
    EXPECT_FALSE(X25519PrivateKey::fromRaw(QByteArray(31, '\x01')));
}
