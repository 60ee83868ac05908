#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace tagsmith::relay {

// The collector's half of the relay's end-to-end protection: the relay only
// forwards bytes, so it can neither read a report nor send it to a workstation
// other than the one whose receive code the operator typed.
class RelayCrypto {
public:
    RelayCrypto() = delete;

    // The ticket kind and the key-derivation context.
    static inline const QString purpose = QStringLiteral("tagsmith-relay-v1");

    // count secure random bytes as lowercase hexadecimal (2 × count characters).
    static Result<QString> hex(qsizetype count);

    // Base64url, padded or not, to bytes; fails with "接收凭证编码无效".
    static Result<QByteArray> decodeURL(const QString& text);

    // The ticket's payload when the issuer signed it for this code and nonce;
    // the first rule broken decides the failure text.
    static Result<QJsonObject> verify(const QString& ticket, const QByteArray& issuer, const QString& code,
                                      const QString& nonce);

    // The envelope that only the holder of the payload's receiver key can open,
    // bound to the payload's device and a fresh message identifier.
    static Result<QJsonObject> encrypt(const QByteArray& report, const QJsonObject& payload);
};

} // namespace tagsmith::relay
