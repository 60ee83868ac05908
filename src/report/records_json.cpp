#include "report/records_json.h"

#include "report/json_field_reader.h"

namespace tagsmith::report {

namespace {

Error notAnObject(const QString& where) {
    return {kJsonDecodingDomain, 1, QStringLiteral("“%1”应为对象。").arg(where)};
}

Result<ModelEntry> modelEntryFrom(const QJsonValue& value, const QString& where) {
    if (!value.isObject())
        return notAnObject(where);
    JsonFieldReader reader(value.toObject(), where);
    ModelEntry entry;
    entry.name = reader.text(QStringLiteral("name"));
    entry.year = reader.text(QStringLiteral("year"));
    entry.inches = reader.text(QStringLiteral("inches"));
    entry.source = reader.text(QStringLiteral("source"));
    if (reader.error())
        return *reader.error();
    return entry;
}

Result<QList<ModelEntry>> modelEntriesFrom(const QJsonValue& value, const QString& model) {
    if (!value.isArray())
        return Error{kJsonDecodingDomain, 1, QStringLiteral("“%1”应为数组。").arg(model)};
    QList<ModelEntry> entries;
    const QJsonArray array = value.toArray();
    for (qsizetype i = 0; i < array.size(); ++i) {
        Result<ModelEntry> entry = modelEntryFrom(array.at(i), QStringLiteral("%1[%2]").arg(model).arg(i));
        if (!entry)
            return entry.error();
        entries.append(std::move(entry).value());
    }
    return entries;
}

Result<AModelRule> aModelRuleFrom(const QJsonValue& value, const QString& where) {
    if (!value.isObject())
        return notAnObject(where);
    JsonFieldReader reader(value.toObject(), where);
    AModelRule rule;
    rule.series = reader.text(QStringLiteral("series"));
    rule.year = reader.text(QStringLiteral("year"));
    rule.inches = reader.text(QStringLiteral("inches"));
    rule.chips = reader.textList(QStringLiteral("chips"));
    rule.exterior = reader.text(QStringLiteral("exterior"));
    rule.modelIDs = reader.optionalTextList(QStringLiteral("modelIDs"));
    if (reader.error())
        return *reader.error();
    return rule;
}

} // namespace

Result<ModelTable> decodeModelTable(const QByteArray& bytes) {
    const Result<QJsonObject> object = parseJsonObject(bytes);
    if (!object)
        return object.error();
    ModelTable table;
    for (auto member = object->begin(); member != object->end(); ++member) {
        Result<QList<ModelEntry>> entries = modelEntriesFrom(member.value(), member.key());
        if (!entries)
            return entries.error();
        table.insert(member.key(), std::move(entries).value());
    }
    return table;
}

Result<QList<AModelRule>> decodeARules(const QByteArray& bytes) {
    const Result<QJsonArray> array = parseJsonArray(bytes);
    if (!array)
        return array.error();
    QList<AModelRule> rules;
    for (qsizetype i = 0; i < array->size(); ++i) {
        Result<AModelRule> rule = aModelRuleFrom(array->at(i), QStringLiteral("[%1]").arg(i));
        if (!rule)
            return rule.error();
        rules.append(std::move(rule).value());
    }
    return rules;
}

Result<ReceiverConfig> decodeReceiverConfig(const QByteArray& bytes) {
    const Result<QJsonObject> object = parseJsonObject(bytes);
    if (!object)
        return object.error();
    JsonFieldReader reader(*object);
    ReceiverConfig config;
    config.key = reader.text(QStringLiteral("key"));
    config.addressHint = reader.text(QStringLiteral("addressHint"));
    if (reader.error())
        return *reader.error();
    return config;
}

} // namespace tagsmith::report
