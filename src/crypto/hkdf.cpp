#include "crypto/hkdf.h"

#include "crypto/openssl_handles.h"

#include <openssl/core_names.h>
#include <openssl/params.h>

#include <vector>

namespace tagsmith::crypto {

namespace {

constexpr int kMaxOutputBytes = 255 * 32;

OSSL_PARAM octets(const char* name, const QByteArray& value) {
    return OSSL_PARAM_construct_octet_string(name, const_cast<char*>(value.constData()), size_t(value.size()));
}

} // namespace

std::optional<QByteArray> hkdfSha256(const QByteArray& inputKeyMaterial, const QByteArray& salt, const QByteArray& info,
                                     int length) {
    if (length <= 0 || length > kMaxOutputBytes)
        return std::nullopt;
    const detail::Kdf kdf(EVP_KDF_fetch(nullptr, OSSL_KDF_NAME_HKDF, nullptr));
    const detail::KdfContext context(kdf ? EVP_KDF_CTX_new(kdf.get()) : nullptr);
    if (!context)
        return std::nullopt;
    char digest[] = "SHA256";
    std::vector<OSSL_PARAM> params{OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_DIGEST, digest, 0),
                                   octets(OSSL_KDF_PARAM_KEY, inputKeyMaterial)};
    // Left out when empty: the library then uses the zero salt and empty info that the construction defines.
    if (!salt.isEmpty())
        params.push_back(octets(OSSL_KDF_PARAM_SALT, salt));
    if (!info.isEmpty())
        params.push_back(octets(OSSL_KDF_PARAM_INFO, info));
    params.push_back(OSSL_PARAM_construct_end());
    QByteArray output(length, Qt::Uninitialized);
    if (EVP_KDF_derive(context.get(), detail::bytes(output), size_t(length), params.data()) != 1)
        return std::nullopt;
    return output;
}

} // namespace tagsmith::crypto
