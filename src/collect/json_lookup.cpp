#include "collect/json_lookup.h"

#include <QLocale>
#include <QRegularExpression>

namespace tagsmith::collect {

namespace {

struct TextOf {
    std::optional<QString> operator()(std::nullptr_t) const { return std::nullopt; }
    std::optional<QString> operator()(bool flag) const { return flag ? QStringLiteral("1") : QStringLiteral("0"); }
    std::optional<QString> operator()(qint64 number) const { return QString::number(number); }
    std::optional<QString> operator()(double number) const {
        return QString::number(number, 'g', QLocale::FloatingPointShortest);
    }
    std::optional<QString> operator()(const QString& string) const {
        return string.isEmpty() ? std::nullopt : std::optional<QString>(string);
    }
    std::optional<QString> operator()(const JsonArray&) const { return std::nullopt; }
    std::optional<QString> operator()(const JsonObject&) const { return std::nullopt; }
};

} // namespace

std::optional<QString> text(const JsonValue* value) {
    return value ? std::visit(TextOf{}, value->data()) : std::nullopt;
}

const JsonValue* nested(const JsonValue& value, QStringView key) {
    if (const JsonObject* members = value.object()) {
        if (const JsonValue* own = value.member(key))
            return own;
        for (const JsonMember& member : *members) {
            if (const JsonValue* hit = nested(member.value, key))
                return hit;
        }
    } else if (const JsonArray* elements = value.array()) {
        for (const JsonValue& element : *elements) {
            if (const JsonValue* hit = nested(element, key))
                return hit;
        }
    }
    return nullptr;
}

std::optional<qint64> parseInteger(const QString& text) {
    static const QRegularExpression integer(QRegularExpression::anchoredPattern(QStringLiteral("[+-]?[0-9]+")));
    if (!integer.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

std::optional<qint64> integerOf(const JsonValue* value) {
    const std::optional<QString> digits = text(value);
    return digits ? parseInteger(*digits) : std::nullopt;
}

std::optional<QList<const JsonValue*>> objectsOf(const JsonValue* value) {
    const JsonArray* elements = value ? value->array() : nullptr;
    if (elements == nullptr)
        return std::nullopt;
    QList<const JsonValue*> objects;
    for (const JsonValue& element : *elements) {
        if (element.object() == nullptr)
            return std::nullopt;
        objects.append(&element);
    }
    return objects;
}

} // namespace tagsmith::collect
