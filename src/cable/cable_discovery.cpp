#include "cable/cable_discovery.h"

#include <QRegularExpression>
#include <QSettings>

namespace tagsmith::cable {

QSet<QString> cableInterfacesSetting(const QSettings& settings) {
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    const QStringList names =
        settings.value(kCableInterfacesKey).toStringList().join(u',').split(separators, Qt::SkipEmptyParts);
    return QSet<QString>(names.begin(), names.end());
}

} // namespace tagsmith::cable
