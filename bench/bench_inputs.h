#pragma once

#include "base/read_file.h"
#include "report/a_rules.h"
#include "report/report.h"
#include "report/report_json.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

// The inputs every benchmark starts from: the project's own fixtures and resources.
namespace tagsmith::bench {

inline QString sourcePath(const QString& relative) {
    return QStringLiteral(TAGSMITH_SOURCE_DIR "/") + relative;
}

// A file the benchmarks cannot run without; a missing one ends the program.
inline QByteArray readSource(const QString& relative) {
    const auto bytes = base::readFileUpTo(sourcePath(relative), 16 << 20);
    if (!bytes) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(relative));
        std::exit(1);
    }
    return *bytes;
}

// The Intel 16-inch report with every collected field, as the collector saves it.
inline QByteArray typicalReportBytes() {
    return readSource(QStringLiteral("tests/fixtures/reports/valid/C02ZK1HVMD6N_2024-12-03T10-48-33Z.macreport"));
}

inline report::Report typicalReport() {
    return report::decodeReport(typicalReportBytes()).value();
}

inline void loadARules() {
    report::setARules(report::loadARules(sourcePath(QStringLiteral("resources/a-models.json"))));
}

} // namespace tagsmith::bench
