#pragma once

#include "relay/device_identity.h"

#include <QByteArray>
#include <QJsonObject>

#include <optional>

namespace tagsmith::relay {

// The report inside an envelope sealed for this workstation: the inverse of
// RelayCrypto::encrypt. Absent when any member is malformed, the envelope was
// sealed for another device or message, or a single byte was altered.
std::optional<QByteArray> openEnvelope(const QJsonObject& envelope, const DeviceIdentity& identity);

} // namespace tagsmith::relay
