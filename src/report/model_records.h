#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace tagsmith::report {

// One row of models.json: a marketing variant of a model identifier.
struct ModelEntry {
    QString name;
    QString year;
    QString inches;
    QString source; // copied into Report::modelSources

    bool operator==(const ModelEntry&) const = default;
};

// The models table: model identifier (exact, case-sensitive) to its rows.
using ModelTable = QMap<QString, QList<ModelEntry>>;

// One row of a-models.json. Texts are stored in the normalised forms that
// matching compares against: series "Air" or "Pro", inches a whole number,
// chips such as M1PRO or INTEL.
struct AModelRule {
    QString series;
    QString year;
    QString inches;
    QStringList chips;
    QString exterior;                    // the A-number the rule assigns
    std::optional<QStringList> modelIDs; // absent: the rule applies to every identifier

    bool operator==(const AModelRule&) const = default;
};

} // namespace tagsmith::report
