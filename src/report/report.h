#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tagsmith::report {

// The configuration report of one MacBook: built by the collector, carried to
// the workstation and printed on its label. Fields are in their encoding and
// decoding order; optional fields that hold no value are left out of the JSON.
struct Report {
    qint64 schemaVersion = 1;             // the program writes only 1
    QString collectedAt;                  // UTC, e.g. 2025-03-01T09:15:00Z
    QString serial;                       // whole-machine serial number
    QString model;                        // model identifier, e.g. MacBookPro16,2
    QString name;                         // marketing name as the system reports it
    QStringList years;                    // candidate release years, ascending
    QStringList inches;                   // candidate screen diagonals, ascending text order
    std::optional<QString> chip;          // Apple chip name or cleaned Intel brand text
    std::optional<qint64> cpu;            // physical core count
    std::optional<qint64> gpu;            // GPU cores, only when exactly one internal GPU
    std::optional<QString> memory;        // e.g. "16 GB"
    std::optional<QString> batteryHealth; // "87%" or an estimate "约87%"
    std::optional<qint64> cycles;         // battery charge cycles
    std::optional<QString> batteryCondition;
    QStringList modelSources;        // sources of the models-table rows used
    std::optional<QString> disk;     // e.g. "512G", "1T"
    std::optional<QString> exterior; // the A-number printed on the case
    std::optional<QString> market;   // never collected; carried unchanged
    std::optional<QString> graphics; // Intel machines: GPUs joined by " / "
    // Resale safety, absent when unknown; older peers drop these keys.
    std::optional<QString> activationLock;   // "enabled" or "disabled"
    std::optional<QString> remoteManagement; // "dep", "mdm" or "none"
    std::optional<QString> storageHealth;    // "verified" or "failing" (internal disk's SMART status)

    bool operator==(const Report&) const = default;
};

} // namespace tagsmith::report
