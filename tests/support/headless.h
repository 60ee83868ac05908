#pragma once

#include <QProcessEnvironment>

namespace tagsmith::test {

// This process's environment without any display: what a self-test meets on a
// server or in CI, where the default display platform cannot start.
inline QProcessEnvironment environmentWithoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

} // namespace tagsmith::test
