#pragma once

#include <QString>

class QSettings;

namespace tagsmith::cable {

// The settings key of the identifier this workstation gives collectors.
inline const QString kDeviceIdKey = QStringLiteral("cableDeviceId");

// This workstation's identifier for the v2 exchange: made once as a random
// UUID and kept in the settings, because a collector serves only the first
// workstation it met and must recognise it on every later connection.
QString workstationDeviceId(QSettings& settings);

} // namespace tagsmith::cable
