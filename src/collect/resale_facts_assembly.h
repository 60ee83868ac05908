#pragma once

#include "collect/ordered_json.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tagsmith::collect {

inline const QString kProfilesPath = QStringLiteral("/usr/bin/profiles");

// The enrollment question asked of the profiles tool.
QStringList enrollmentArguments();

// "enabled" or "disabled" from the hardware entry's Activation Lock status;
// none when the member is missing or holds anything else.
std::optional<QString> activationLockOf(const JsonValue& hardware);

// The SMART status of the internal disks in the NVMe and Serial ATA sections:
// "failing" when any internal disk fails, else "verified" when one is
// verified; none when no internal disk is listed with a known status.
std::optional<QString> storageHealthOf(const JsonValue& document);

// "dep", "mdm" or "none" from the profiles tool's enrollment text; none when
// the text is not understood (or the tool is missing and printed nothing).
std::optional<QString> remoteManagementFrom(const QString& enrollmentText);

} // namespace tagsmith::collect
