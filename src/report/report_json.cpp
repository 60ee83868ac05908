#include "report/report_json.h"

#include "report/json_field_reader.h"

namespace tagsmith::report {

namespace {

template <typename T> void appendPresent(QList<JsonMember>& members, const char* key, const std::optional<T>& value) {
    if (value)
        members.append({QString::fromLatin1(key), *value});
}

} // namespace

QByteArray encodeReport(const Report& report, JsonLayout layout) {
    QList<JsonMember> members{
        {QStringLiteral("schemaVersion"), report.schemaVersion},
        {QStringLiteral("collectedAt"), report.collectedAt},
        {QStringLiteral("serial"), report.serial},
        {QStringLiteral("model"), report.model},
        {QStringLiteral("name"), report.name},
        {QStringLiteral("years"), report.years},
        {QStringLiteral("inches"), report.inches},
    };
    appendPresent(members, "chip", report.chip);
    appendPresent(members, "cpu", report.cpu);
    appendPresent(members, "gpu", report.gpu);
    appendPresent(members, "memory", report.memory);
    appendPresent(members, "batteryHealth", report.batteryHealth);
    appendPresent(members, "cycles", report.cycles);
    appendPresent(members, "batteryCondition", report.batteryCondition);
    members.append({QStringLiteral("modelSources"), report.modelSources});
    appendPresent(members, "disk", report.disk);
    appendPresent(members, "exterior", report.exterior);
    appendPresent(members, "market", report.market);
    appendPresent(members, "graphics", report.graphics);
    appendPresent(members, "activationLock", report.activationLock);
    appendPresent(members, "remoteManagement", report.remoteManagement);
    appendPresent(members, "storageHealth", report.storageHealth);
    return writeJsonObject(members, layout);
}

Result<Report> decodeReport(const QByteArray& bytes) {
    const Result<QJsonObject> object = parseJsonObject(bytes, base::RepeatedMembers::refused);
    if (!object)
        return object.error();
    return reportFromJson(*object);
}

Result<Report> reportFromJson(const QJsonObject& object) {
    JsonFieldReader reader(object);
    Report report;
    report.schemaVersion = reader.integer(QStringLiteral("schemaVersion"));
    report.collectedAt = reader.text(QStringLiteral("collectedAt"));
    report.serial = reader.text(QStringLiteral("serial"));
    report.model = reader.text(QStringLiteral("model"));
    report.name = reader.text(QStringLiteral("name"));
    report.years = reader.textList(QStringLiteral("years"));
    report.inches = reader.textList(QStringLiteral("inches"));
    report.chip = reader.optionalText(QStringLiteral("chip"));
    report.cpu = reader.optionalInteger(QStringLiteral("cpu"));
    report.gpu = reader.optionalInteger(QStringLiteral("gpu"));
    report.memory = reader.optionalText(QStringLiteral("memory"));
    report.batteryHealth = reader.optionalText(QStringLiteral("batteryHealth"));
    report.cycles = reader.optionalInteger(QStringLiteral("cycles"));
    report.batteryCondition = reader.optionalText(QStringLiteral("batteryCondition"));
    report.modelSources = reader.textList(QStringLiteral("modelSources"));
    report.disk = reader.optionalText(QStringLiteral("disk"));
    report.exterior = reader.optionalText(QStringLiteral("exterior"));
    report.market = reader.optionalText(QStringLiteral("market"));
    report.graphics = reader.optionalText(QStringLiteral("graphics"));
    report.activationLock = reader.optionalText(QStringLiteral("activationLock"));
    report.remoteManagement = reader.optionalText(QStringLiteral("remoteManagement"));
    report.storageHealth = reader.optionalText(QStringLiteral("storageHealth"));
    if (reader.error())
        return *reader.error();
    return report;
}

} // namespace tagsmith::report
