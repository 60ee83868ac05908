#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <optional>

namespace tagsmith::collect {

// What the kernel and the battery service say about the machine, beside the
// system's report.
struct HardwareSnapshot {
    std::optional<qint64> physicalCores;
    std::optional<QString> processorBrand;
    QVariantMap battery; // the battery service's properties; empty without a battery

    // The running machine's snapshot, read through the platform's source.
    static HardwareSnapshot current();

    bool operator==(const HardwareSnapshot&) const = default;
};

// A saved snapshot, for runs that must not depend on the machine they run on:
// {"physicalCores": n, "processorBrand": "…", "battery": {…}}, each member
// optional. Fails with the JSON decoding errors of the report module.
Result<HardwareSnapshot> snapshotFromJson(const QByteArray& bytes);

} // namespace tagsmith::collect
