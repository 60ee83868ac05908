#include "crypto/x25519.h"

#include "support/crypto_vectors.h"

#include <gtest/gtest.h>

using tagsmith::crypto::X25519PrivateKey;

namespace {

std::optional<QByteArray> agree(const QByteArray& privateKey, const QByteArray& peerPublicKey) {
    return X25519PrivateKey::fromRaw(privateKey)->sharedSecret(peerPublicKey);
}

} // namespace

TEST(X25519, MatchesRfc7748) {
    const auto vectors = tagsmith::test::readVectorRecords(QStringLiteral("asymmetric/X25519/rfc7748.txt"));
    ASSERT_EQ(vectors.size(), 3) << tagsmith::test::kMissingVectors;
    for (const auto& v : vectors)
        EXPECT_EQ(agree(v.hex("INPUT_SCALAR"), v.hex("INPUT_U")), v.hex("OUTPUT_U"));
    // Section 6.1: both sides' public keys and their common secret.
    const QByteArray alice = QByteArray::fromHex("77076d0a7318a57d3c16c17251b26645df4c2f87ebc0992ab177fba51db92c2a");
    const QByteArray bob = QByteArray::fromHex("5dab087e624a8a4b79e17f8b83800ee66f3bb1292618b6fd1c2f8b27ff88e0eb");
    const QByteArray bobPublic = X25519PrivateKey::fromRaw(bob)->publicKey();
    EXPECT_EQ(bobPublic.toHex(), "de9edb7d7b7dc1b4d35b61c2ece435373f8343c85b78674dadfc7e146f882b4f");
    EXPECT_EQ(agree(alice, bobPublic)->toHex(), "4a5d9d5ba4ce2de1728e3bf480350f25e07e21c947d19e3376f09b3c1e161742");
    EXPECT_EQ(agree(bob, X25519PrivateKey::fromRaw(alice)->publicKey()), agree(alice, bobPublic));
}

TEST(X25519, RefusesLowOrderAndMisSizedPeerKeys) {
    const auto key = X25519PrivateKey::generate();
    ASSERT_TRUE(key.has_value());
    for (const char* point : {"0000000000000000000000000000000000000000000000000000000000000000",
                              "0100000000000000000000000000000000000000000000000000000000000000",
                              "e0eb7a7c3b41b8ae1656e3faf19fc46ada098deb9c32b1fd866205165f49b800",
                              "5f9c95bca3508c24b1d0b1559c83ef5b04445cc4581c8e86d8224eddd09f1157"})
        EXPECT_FALSE(key->sharedSecret(QByteArray::fromHex(point))) << point << " has an all-zero secret";
    EXPECT_FALSE(key->sharedSecret(key->publicKey().first(31)));
    EXPECT_FALSE(X25519PrivateKey::fromRaw(QByteArray(33, '\x01')));
}
