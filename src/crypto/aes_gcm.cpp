#include "crypto/aes_gcm.h"

#include "crypto/openssl_handles.h"
#include "crypto/random.h"

#include <algorithm>
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

// Feeds the associated data, then transforms length bytes of input into output.
bool transform(EVP_CIPHER_CTX* context, const QByteArray& associatedData, const unsigned char* input, qsizetype length,
               unsigned char* output) {
    int written = 0;
    if (length > INT_MAX - kSealedBoxOverhead || associatedData.size() > INT_MAX)
        return false;
    if (!associatedData.isEmpty() &&
        EVP_CipherUpdate(context, nullptr, &written, bytes(associatedData), int(associatedData.size())) != 1)
        return false;
    return length == 0 || EVP_CipherUpdate(context, output, &written, input, int(length)) == 1;
}

} // namespace

// A cable report may be a megabyte: the box is one buffer that the cipher
// writes into, since copying it again would cost as much as encrypting it.
std::optional<QByteArray> sealWithNonce(const QByteArray& key, const QByteArray& nonce, const QByteArray& plaintext,
                                        const QByteArray& associatedData) {
    const detail::CipherContext context = startGcm(key, nonce, true);
    if (!context || plaintext.size() > INT_MAX - kSealedBoxOverhead)
        return std::nullopt;
    QByteArray box(kSealedBoxOverhead + plaintext.size(), Qt::Uninitialized);
    std::copy(nonce.begin(), nonce.end(), box.begin());
    unsigned char* ciphertext = bytes(box) + kAesGcmNonceBytes;
    int length = 0;
    if (!transform(context.get(), associatedData, bytes(plaintext), plaintext.size(), ciphertext) ||
        EVP_CipherFinal_ex(context.get(), nullptr, &length) != 1 ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, kAesGcmTagBytes, ciphertext + plaintext.size()) != 1)
        return std::nullopt;
    return box;
}

std::optional<QByteArray> seal(const QByteArray& key, const QByteArray& plaintext, const QByteArray& associatedData) {
    const auto nonce = randomBytes(kAesGcmNonceBytes);
    if (!nonce)
        return std::nullopt;
    return sealWithNonce(key, *nonce, plaintext, associatedData);
}

// The ciphertext is read where it lies in the box, for the same reason.
std::optional<QByteArray> open(const QByteArray& key, const QByteArray& sealedBox, const QByteArray& associatedData) {
    if (sealedBox.size() < kSealedBoxOverhead)
        return std::nullopt;
    const detail::CipherContext context = startGcm(key, sealedBox.first(kAesGcmNonceBytes), false);
    if (!context)
        return std::nullopt;
    const qsizetype ciphertextLength = sealedBox.size() - kSealedBoxOverhead;
    QByteArray tag = sealedBox.last(kAesGcmTagBytes);
    QByteArray plaintext(ciphertextLength, Qt::Uninitialized);
    int length = 0;
    if (!transform(context.get(), associatedData, bytes(sealedBox) + kAesGcmNonceBytes, ciphertextLength,
                   bytes(plaintext)) ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, kAesGcmTagBytes, bytes(tag)) != 1 ||
        EVP_CipherFinal_ex(context.get(), nullptr, &length) != 1)
        return std::nullopt;
    return plaintext;
}

} // namespace tagsmith::crypto
