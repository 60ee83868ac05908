#include "collect/hardware_snapshot.h"

#include "collect/hardware_source.h"
#include "report/json_field_reader.h"

#include <QJsonObject>

namespace tagsmith::collect {

HardwareSnapshot HardwareSnapshot::current() {
    return systemHardwareSource()->snapshot();
}

Result<HardwareSnapshot> snapshotFromJson(const QByteArray& bytes) {
    const Result<QJsonObject> object = report::parseJsonObject(bytes);
    if (!object)
        return object.error();
    report::JsonFieldReader reader(*object);
    HardwareSnapshot snapshot;
    snapshot.physicalCores = reader.optionalInteger(QStringLiteral("physicalCores"));
    snapshot.processorBrand = reader.optionalText(QStringLiteral("processorBrand"));
    snapshot.battery = reader.optionalObject(QStringLiteral("battery")).value_or(QJsonObject()).toVariantMap();
    if (reader.error())
        return *reader.error();
    return snapshot;
}

} // namespace tagsmith::collect
