#include "crypto/aes_gcm.h"

#include "crypto/openssl_handles.h"
#include "crypto/random.h"

#include <climits>

namespace tagsmith::crypto {

using detail::bytes;

namespace {

// Sets cipher, nonce length, key and nonce in the order GCM requires.
detail::CipherContext startGcm(const QByteArray& key, const QByteArray& nonce, bool encrypt) {
    detail::CipherContext context(EVP_CIPHER_CTX_new());
    if (!context || key.size() != kAesKeyBytes || nonce.size() != kAesGcmNonceBytes)
        return {};
    const int direction = encrypt ? 1 : 0;
    if (EVP_CipherInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr, direction) != 1 ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_IVLEN, kAesGcmNonceBytes, nullptr) != 1 ||
        EVP_CipherInit_ex(context.get(), nullptr, nullptr, bytes(key), bytes(nonce), direction) != 1)
        return {};
    return context;
}

// Feeds the associated data, then transforms input into an equally long output.
std::optional<QByteArray> transform(EVP_CIPHER_CTX* context, const QByteArray& associatedData,
                                    const QByteArray& input) {
    int length = 0;
    if (input.size() > INT_MAX - kSealedBoxOverhead || associatedData.size() > INT_MAX)
        return std::nullopt;
    if (!associatedData.isEmpty() &&
        EVP_CipherUpdate(context, nullptr, &length, bytes(associatedData), int(associatedData.size())) != 1)
        return std::nullopt;
    QByteArray output(input.size(), Qt::Uninitialized);
    if (!input.isEmpty() && EVP_CipherUpdate(context, bytes(output), &length, bytes(input), int(input.size())) != 1)
        return std::nullopt;
    return output;
}

} // namespace

std::optional<QByteArray> sealWithNonce(const QByteArray& key, const QByteArray& nonce, const QByteArray& plaintext,
                                        const QByteArray& associatedData) {
    const detail::CipherContext context = startGcm(key, nonce, true);
    if (!context)
        return std::nullopt;
    const auto ciphertext = transform(context.get(), associatedData, plaintext);
    QByteArray tag(kAesGcmTagBytes, Qt::Uninitialized);
    int length = 0;
    if (!ciphertext || EVP_CipherFinal_ex(context.get(), nullptr, &length) != 1 ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, kAesGcmTagBytes, bytes(tag)) != 1)
        return std::nullopt;
    return nonce + *ciphertext + tag;
}

std::optional<QByteArray> seal(const QByteArray& key, const QByteArray& plaintext, const QByteArray& associatedData) {
    const auto nonce = randomBytes(kAesGcmNonceBytes);
    if (!nonce)
        return std::nullopt;
    return sealWithNonce(key, *nonce, plaintext, associatedData);
}

std::optional<QByteArray> open(const QByteArray& key, const QByteArray& sealedBox, const QByteArray& associatedData) {
    if (sealedBox.size() < kSealedBoxOverhead)
        return std::nullopt;
    const QByteArray nonce = sealedBox.first(kAesGcmNonceBytes);
    QByteArray tag = sealedBox.last(kAesGcmTagBytes);
    const QByteArray ciphertext = sealedBox.sliced(kAesGcmNonceBytes, sealedBox.size() - kSealedBoxOverhead);
    const detail::CipherContext context = startGcm(key, nonce, false);
    if (!context)
        return std::nullopt;
    const auto plaintext = transform(context.get(), associatedData, ciphertext);
    int length = 0;
    if (!plaintext || EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, kAesGcmTagBytes, bytes(tag)) != 1 ||
        EVP_CipherFinal_ex(context.get(), nullptr, &length) != 1)
        return std::nullopt;
    return plaintext;
}

} // namespace tagsmith::crypto
