#pragma once

#include "base/read_file.h"
#include "support/paths.h"

namespace tagsmith::test {

// A file under tests/fixtures: captured tool outputs and reports.
inline QString fixturePath(const QString& relative) {
    return sourcePath(QStringLiteral("tests/fixtures/") + relative);
}

inline QByteArray fixtureBytes(const QString& relative) {
    return base::readFileUpTo(fixturePath(relative), 1 << 20).value();
}

inline QString fixtureText(const QString& relative) {
    return QString::fromUtf8(fixtureBytes(relative));
}

} // namespace tagsmith::test
