#pragma once

#include <QByteArray>

#include <openssl/evp.h>
#include <openssl/kdf.h>

#include <memory>

// Owners of OpenSSL objects, so that every early return frees them. Only the
// crypto module includes this header: OpenSSL types never leak past it.
namespace tagsmith::crypto::detail {

template <auto Free> struct Deleter {
    template <typename T> void operator()(T* object) const { Free(object); }
};

using PKey = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY_free>>;
using PKeyContext = std::unique_ptr<EVP_PKEY_CTX, Deleter<EVP_PKEY_CTX_free>>;
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, Deleter<EVP_CIPHER_CTX_free>>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, Deleter<EVP_MD_CTX_free>>;
using Kdf = std::unique_ptr<EVP_KDF, Deleter<EVP_KDF_free>>;
using KdfContext = std::unique_ptr<EVP_KDF_CTX, Deleter<EVP_KDF_CTX_free>>;

inline const unsigned char* bytes(const QByteArray& data) {
    return reinterpret_cast<const unsigned char*>(data.constData());
}

inline unsigned char* bytes(QByteArray& data) {
    return reinterpret_cast<unsigned char*>(data.data());
}

} // namespace tagsmith::crypto::detail
