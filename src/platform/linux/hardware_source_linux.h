#pragma once

#include "collect/hardware_source.h"

#include <QDir>
#include <QString>
#include <QVariantMap>

#include <optional>

namespace tagsmith::platform {

// The snapshot from what the Linux kernel shows in sysfs and procfs: physical
// cores from the CPU topology, the brand from /proc/cpuinfo, and the first
// system battery of /sys/class/power_supply with its capacities under the
// names the Mac's battery service uses.
class LinuxHardwareSource final : public collect::HardwareSource {
public:
    // root holds proc/ and sys/; tests give a folder laid out the same way.
    explicit LinuxHardwareSource(const QString& root = QStringLiteral("/"));

    collect::HardwareSnapshot snapshot() const override;

private:
    std::optional<qint64> physicalCores() const;
    std::optional<QString> processorBrand() const;
    QVariantMap battery() const;
    QVariantMap batteryProperties(const QString& supply) const;
    std::optional<qint64> integerAt(const QString& relative) const;
    QString textAt(const QString& relative) const; // trimmed; empty when unreadable

    QDir m_root;
};

} // namespace tagsmith::platform
