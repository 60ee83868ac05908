#include "cable/workstation_identity.h"

#include "cable/v2_hello.h"

#include <QSettings>
#include <QUuid>

namespace tagsmith::cable {

QString workstationDeviceId(QSettings& settings) {
    const QString kept = settings.value(kDeviceIdKey).toString();
    if (isDeviceId(kept))
        return kept;
    const QString made = QUuid::createUuid().toString(QUuid::WithoutBraces);
    settings.setValue(kDeviceIdKey, made);
    settings.sync(); // a new identifier after a crash would lose the collector that chose this workstation
    return made;
}

} // namespace tagsmith::cable
