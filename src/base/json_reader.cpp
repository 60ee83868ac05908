#include "base/json_reader.h"

#include <QHash>

#include <nlohmann/json.hpp>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace tagsmith::base {

namespace {

Error decodingError(const QString& description) {
    return {kJsonDecodingDomain, 1, description};
}

// Builds our values straight from the parser's events, so a document is
// allocated once and nesting stops at the bound before it costs memory.
class DocumentBuilder {
public:
    explicit DocumentBuilder(RepeatedMembers repeated) : m_repeated(repeated) {}

    bool null() { return add(nullptr); }
    bool boolean(bool value) { return add(value); }
    bool number_integer(std::int64_t value) { return add(qint64(value)); }
    bool number_unsigned(std::uint64_t value) {
        constexpr auto kLargest = static_cast<std::uint64_t>(std::numeric_limits<qint64>::max());
        return value <= kLargest ? add(qint64(value)) : add(double(value));
    }
    bool number_float(double value, const std::string&) { return add(value); }
    bool string(std::string& value) { return add(QString::fromUtf8(value.data(), qsizetype(value.size()))); }
    bool binary(nlohmann::ordered_json::binary_t&) { return false; }
    bool start_object(std::size_t) { return open(true); }
    bool key(std::string& key) {
        m_open.back().key = QString::fromUtf8(key.data(), qsizetype(key.size()));
        return true;
    }
    bool end_object() { return close(); }
    bool start_array(std::size_t) { return open(false); }
    bool end_array() { return close(); }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::json::exception&) {
        m_errorOffset = position > 0 ? qsizetype(position - 1) : 0;
        return false;
    }

    JsonValue takeDocument() { return std::move(m_document); }
    std::optional<qsizetype> errorOffset() const { return m_errorOffset; }
    bool foundRepeatedMember() const { return m_repeatedMember; }

private:
    struct Container {
        bool isObject = false;
        JsonArray elements;
        JsonObject members;
        QHash<QString, std::size_t> indexOfKey; // keeps repeated keys from costing quadratic time
        QString key;                            // of the member whose value comes next
    };

    bool open(bool isObject) {
        if (m_open.size() >= std::size_t(kMaxJsonNesting))
            return false;
        m_open.push_back({});
        m_open.back().isObject = isObject;
        return true;
    }

    bool close() {
        Container finished = std::move(m_open.back());
        m_open.pop_back();
        return finished.isObject ? add(std::move(finished.members)) : add(std::move(finished.elements));
    }

    bool add(JsonValue::Data data) {
        JsonValue value(std::move(data));
        if (m_open.empty()) {
            m_document = std::move(value);
            return true;
        }
        Container& container = m_open.back();
        if (!container.isObject) {
            container.elements.push_back(std::move(value));
        } else if (const auto known = container.indexOfKey.constFind(container.key);
                   known != container.indexOfKey.constEnd()) {
            if (m_repeated == RepeatedMembers::refused) {
                m_repeatedMember = true;
                return false;
            }
            container.members[*known].value = std::move(value);
        } else {
            container.indexOfKey.insert(container.key, container.members.size());
            container.members.push_back({std::move(container.key), std::move(value)});
        }
        return true;
    }

    RepeatedMembers m_repeated;
    std::vector<Container> m_open;
    JsonValue m_document;
    std::optional<qsizetype> m_errorOffset;
    bool m_repeatedMember = false;
};

} // namespace

Error invalidJsonError(qsizetype offset) {
    return decodingError(QStringLiteral("数据不是有效的 JSON（第 %1 字节附近）。").arg(offset));
}

Result<JsonValue> readJson(const QByteArray& text, RepeatedMembers repeated) {
    DocumentBuilder builder(repeated);
    const bool parsed = nlohmann::ordered_json::sax_parse(text.cbegin(), text.cend(), &builder);
    if (parsed)
        return builder.takeDocument();
    if (const std::optional<qsizetype> offset = builder.errorOffset())
        return invalidJsonError(*offset);
    if (builder.foundRepeatedMember())
        return Error{kJsonDecodingDomain, kJsonRepeatedMember, QStringLiteral("JSON 对象含有重复的成员名。")};
    return decodingError(QStringLiteral("JSON 嵌套超过 %1 层。").arg(kMaxJsonNesting));
}

Result<JsonValue> readJsonObject(const QByteArray& text, RepeatedMembers repeated) {
    Result<JsonValue> document = readJson(text, repeated);
    if (document && !document->object())
        return decodingError(QStringLiteral("JSON 顶层应为对象。"));
    return document;
}

} // namespace tagsmith::base
