#include "report/json_field_reader.h"

#include <algorithm>
#include <variant>

namespace tagsmith::report {

namespace {

Error decodingError(const QString& description) {
    return {kJsonDecodingDomain, 1, description};
}

QJsonValue toQJson(const base::JsonValue& value);

// Members go in ascending key order, so every insertion appends.
QJsonObject toQJson(const base::JsonObject& members) {
    std::vector<const base::JsonMember*> sorted;
    sorted.reserve(members.size());
    for (const base::JsonMember& member : members)
        sorted.push_back(&member);
    std::ranges::sort(sorted, {}, &base::JsonMember::key);
    QJsonObject object;
    for (const base::JsonMember* member : sorted)
        object.insert(member->key, toQJson(member->value));
    return object;
}

QJsonArray toQJson(const base::JsonArray& elements) {
    QJsonArray array;
    for (const base::JsonValue& element : elements)
        array.append(toQJson(element));
    return array;
}

QJsonValue toQJson(const base::JsonValue& value) {
    return std::visit(
        [](const auto& data) -> QJsonValue {
            using Data = std::decay_t<decltype(data)>;
            if constexpr (std::is_same_v<Data, std::nullptr_t>)
                return QJsonValue::Null;
            else if constexpr (std::is_same_v<Data, base::JsonArray> || std::is_same_v<Data, base::JsonObject>)
                return toQJson(data);
            else
                return QJsonValue(data);
        },
        value.data());
}

QString kindOf(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("空值（null）");
    case QJsonValue::Bool:
        return QStringLiteral("布尔值");
    case QJsonValue::Double:
        return QStringLiteral("数字 %1").arg(value.toDouble());
    case QJsonValue::String:
        return QStringLiteral("文本");
    case QJsonValue::Array:
        return QStringLiteral("数组");
    case QJsonValue::Object:
        return QStringLiteral("对象");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("空缺");
}

// QJsonValue keeps integer literals exact, and toInteger() returns its default
// for anything that is not a whole number in the 64-bit range; two different
// defaults tell that case apart from a value that equals the default.
std::optional<qint64> exactInteger(const QJsonValue& value) {
    const qint64 candidate = value.toInteger(0);
    if (!value.isDouble() || candidate != value.toInteger(1))
        return std::nullopt;
    return candidate;
}

} // namespace

Result<QJsonObject> parseJsonObject(const QByteArray& bytes, base::RepeatedMembers repeated) {
    const Result<base::JsonValue> document = base::readJsonObject(bytes, repeated);
    if (!document)
        return document.error();
    return toQJson(*document->object());
}

Result<QJsonArray> parseJsonArray(const QByteArray& bytes) {
    const Result<base::JsonValue> document = base::readJson(bytes);
    if (!document)
        return document.error();
    if (!document->array())
        return decodingError(QStringLiteral("JSON 顶层应为数组。"));
    return toQJson(*document->array());
}

JsonFieldReader::JsonFieldReader(QJsonObject object, QString where)
    : m_object(std::move(object)), m_where(std::move(where)) {}

QString JsonFieldReader::text(const QString& key) {
    const auto value = present(key, true);
    return value ? textValue(*value, pathOf(key)).value_or(QString()) : QString();
}

std::optional<QString> JsonFieldReader::optionalText(const QString& key) {
    const auto value = present(key, false);
    return value ? textValue(*value, pathOf(key)) : std::nullopt;
}

qint64 JsonFieldReader::integer(const QString& key) {
    return present(key, true) ? optionalInteger(key).value_or(0) : 0;
}

std::optional<qint64> JsonFieldReader::optionalInteger(const QString& key) {
    const auto value = present(key, false);
    if (!value)
        return std::nullopt;
    const auto integer = exactInteger(*value);
    if (!integer)
        failType(pathOf(key), QStringLiteral("整数（64 位）"), *value);
    return integer;
}

QStringList JsonFieldReader::textList(const QString& key) {
    return present(key, true) ? optionalTextList(key).value_or(QStringList()) : QStringList();
}

std::optional<QStringList> JsonFieldReader::optionalTextList(const QString& key) {
    const auto value = present(key, false);
    if (!value)
        return std::nullopt;
    if (!value->isArray()) {
        failType(pathOf(key), QStringLiteral("文本数组"), *value);
        return std::nullopt;
    }
    QStringList list;
    const QJsonArray array = value->toArray();
    for (qsizetype i = 0; i < array.size() && !m_error; ++i)
        list.append(textValue(array.at(i), QStringLiteral("%1[%2]").arg(pathOf(key)).arg(i)).value_or(QString()));
    return m_error ? std::nullopt : std::optional<QStringList>(list);
}

std::optional<QJsonObject> JsonFieldReader::optionalObject(const QString& key) {
    const auto value = present(key, false);
    if (value && !value->isObject())
        failType(pathOf(key), QStringLiteral("对象"), *value);
    return value && value->isObject() ? std::optional<QJsonObject>(value->toObject()) : std::nullopt;
}

// A missing or null member: absent for optional ones, a failure for required
// ones. Nothing is read once a failure is recorded.
std::optional<QJsonValue> JsonFieldReader::present(const QString& key, bool required) {
    if (m_error)
        return std::nullopt;
    const QJsonValue value = m_object.value(key);
    if (!value.isUndefined() && !value.isNull())
        return value;
    if (required && value.isUndefined())
        fail(QStringLiteral("缺少字段“%1”。").arg(pathOf(key)));
    else if (required)
        fail(QStringLiteral("字段“%1”不能为空值（null）。").arg(pathOf(key)));
    return std::nullopt;
}

std::optional<QString> JsonFieldReader::textValue(const QJsonValue& value, const QString& path) {
    if (!value.isString()) {
        failType(path, QStringLiteral("文本"), value);
        return std::nullopt;
    }
    return value.toString();
}

void JsonFieldReader::failType(const QString& path, const QString& expected, const QJsonValue& actual) {
    fail(QStringLiteral("字段“%1”应为%2，实际为%3。").arg(path, expected, kindOf(actual)));
}

void JsonFieldReader::fail(const QString& description) {
    if (!m_error)
        m_error = decodingError(description);
}

QString JsonFieldReader::pathOf(const QString& key) const {
    return m_where.isEmpty() ? key : m_where + u'.' + key;
}

} // namespace tagsmith::report
