#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QString>

namespace tagsmith::relay {

// Who this workstation is to the relay: a device identifier of 64 lowercase
// hexadecimal characters and the X25519 key pair that reports are sealed for.
// Both are made once and kept; the private key in a file of its own that only
// the user may read, so that reports already on their way stay readable.
struct DeviceIdentity {
    QString deviceId;
    QByteArray privateKey; // raw 32 bytes

    QByteArray publicKey() const;

    // The identity kept in folder, made there on first use. A damaged file is
    // a failure, never silently replaced: the relay knows the old identity.
    static Result<DeviceIdentity> loadOrCreate(const QString& folder);
    // Tagsmith/Relay under the user's application data.
    static QString defaultFolder();
};

} // namespace tagsmith::relay
