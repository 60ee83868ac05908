#include "platform/linux/pulse_audio_route.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace tagsmith::platform {

using inspection::media::AudioRoute;

namespace {

// Port types that lead out of the machine to something plugged in.
const QStringList kExternalPortTypes = {QStringLiteral("Headphones"), QStringLiteral("Headset")};

std::optional<QJsonObject> deviceNamed(const QByteArray& devices, const QString& name) {
    const QJsonArray list = QJsonDocument::fromJson(devices).array();
    for (const QJsonValue& device : list) {
        if (device.toObject().value(QStringLiteral("name")).toString() == name)
            return device.toObject();
    }
    return std::nullopt;
}

int channelCount(const QJsonObject& device) {
    const QString map = device.value(QStringLiteral("channel_map")).toString();
    if (!map.isEmpty())
        return int(map.split(QChar(u',')).size());
    static const QRegularExpression channels(QStringLiteral("\\b(\\d+)ch\\b"));
    return channels.match(device.value(QStringLiteral("sample_specification")).toString()).captured(1).toInt();
}

// Older servers give every port the type "Unknown"; their names still tell headphones apart.
bool leadsToHeadphones(const QJsonObject& device) {
    const QString active = device.value(QStringLiteral("active_port")).toString();
    if (active.isEmpty())
        return false;
    if (active.contains(QStringLiteral("headphone"), Qt::CaseInsensitive))
        return true;
    for (const QJsonValue& port : device.value(QStringLiteral("ports")).toArray()) {
        const QJsonObject entry = port.toObject();
        if (entry.value(QStringLiteral("name")).toString() == active)
            return kExternalPortTypes.contains(entry.value(QStringLiteral("type")).toString());
    }
    return false;
}

// The sound card soldered into the machine, as udev classifies it.
bool isInternal(const QJsonObject& device) {
    const QJsonObject properties = device.value(QStringLiteral("properties")).toObject();
    return properties.value(QStringLiteral("device.form_factor")).toString() == QLatin1String("internal");
}

} // namespace

std::optional<AudioRoute> pulseDefaultRoute(const QByteArray& info, const QByteArray& devices, bool input) {
    const QJsonObject server = QJsonDocument::fromJson(info).object();
    const QString name =
        server.value(input ? QStringLiteral("default_source_name") : QStringLiteral("default_sink_name")).toString();
    const std::optional<QJsonObject> device = name.isEmpty() ? std::nullopt : deviceNamed(devices, name);
    const qint64 index = device ? device->value(QStringLiteral("index")).toInteger(-1) : -1;
    if (index < 0 || index > qint64(UINT32_MAX))
        return std::nullopt;
    AudioRoute route;
    route.name = device->value(QStringLiteral("description")).toString();
    if (route.name.isEmpty())
        route.name = QStringLiteral("未知设备");
    route.id = std::uint32_t(index);
    route.channels = channelCount(*device);
    route.builtIn = isInternal(*device) && (input || !leadsToHeadphones(*device));
    return route;
}

} // namespace tagsmith::platform
