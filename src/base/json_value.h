#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <variant>
#include <vector>

namespace tagsmith::base {

struct JsonMember;
class JsonValue;
using JsonArray = std::vector<JsonValue>;
using JsonObject = std::vector<JsonMember>; // members in document order

// One value of a parsed JSON document. Unlike QJsonObject, which sorts its
// keys, an object keeps its members in the order the document wrote them,
// because the lookups of report assembly take the first hit in that order.
// Integer literals that fit 64 bits stay exact; other numbers are doubles.
class JsonValue {
public:
    using Data = std::variant<std::nullptr_t, bool, qint64, double, QString, JsonArray, JsonObject>;

    JsonValue() = default; // null
    // Defined below JsonMember: clang would instantiate the destructor of Data
    // here already, which needs the complete member type.
    JsonValue(Data data);

    const Data& data() const { return m_data; }
    const JsonArray* array() const { return std::get_if<JsonArray>(&m_data); }
    const JsonObject* object() const { return std::get_if<JsonObject>(&m_data); }

    // The member of this object named key; none for a missing key or a value
    // that is not an object.
    const JsonValue* member(QStringView key) const;

    bool operator==(const JsonValue&) const = default;

private:
    Data m_data;
};

struct JsonMember {
    QString key;
    JsonValue value;

    bool operator==(const JsonMember&) const = default;
};

inline JsonValue::JsonValue(Data data) : m_data(std::move(data)) {}

inline const JsonValue* JsonValue::member(QStringView key) const {
    if (const JsonObject* members = object()) {
        for (const JsonMember& candidate : *members) {
            if (candidate.key == key)
                return &candidate.value;
        }
    }
    return nullptr;
}

} // namespace tagsmith::base
