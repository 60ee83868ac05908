#include "collect/ordered_json_reader.h"

#include "report/json_field_reader.h"

#include <QByteArrayView>
#include <QHash>

#include <charconv>
#include <cmath>
#include <optional>

namespace tagsmith::collect {

namespace {

bool isDigit(char character) {
    return character >= '0' && character <= '9';
}

int hexValue(char character) {
    if (isDigit(character))
        return character - '0';
    if (character >= 'a' && character <= 'f')
        return character - 'a' + 10;
    if (character >= 'A' && character <= 'F')
        return character - 'A' + 10;
    return -1;
}

// A recursive-descent reader; every step returns none on malformed text and
// leaves the position where reading stopped, for the error message.
class Reader {
public:
    explicit Reader(QByteArrayView text) : m_text(text) {}

    std::optional<JsonValue> document() {
        std::optional<JsonValue> result = value(0);
        if (!result)
            return std::nullopt;
        skipWhitespace();
        return m_position == m_text.size() ? result : std::nullopt;
    }

    qsizetype position() const { return m_position; }

private:
    char peek() const { return m_position < m_text.size() ? m_text.at(m_position) : '\0'; }

    void skipWhitespace() {
        while (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')
            ++m_position;
    }

    bool consume(char expected) {
        skipWhitespace();
        if (peek() != expected)
            return false;
        ++m_position;
        return true;
    }

    std::optional<JsonValue> value(int depth) {
        skipWhitespace();
        if (depth > kMaxJsonDepth)
            return std::nullopt;
        switch (peek()) {
        case '{':
            return object(depth);
        case '[':
            return array(depth);
        case '"':
            if (std::optional<QString> text = string())
                return JsonValue(std::move(*text));
            return std::nullopt;
        case 't':
            return literal("true", true);
        case 'f':
            return literal("false", false);
        case 'n':
            return literal("null", nullptr);
        default:
            return number();
        }
    }

    std::optional<JsonValue> object(int depth) {
        ++m_position;
        JsonObject members;
        QHash<QString, std::size_t> indexOfKey; // keeps repeated keys from costing quadratic time
        if (consume('}'))
            return JsonValue(std::move(members));
        do {
            skipWhitespace();
            std::optional<QString> key = peek() == '"' ? string() : std::nullopt;
            if (!key || !consume(':'))
                return std::nullopt;
            std::optional<JsonValue> member = value(depth + 1);
            if (!member)
                return std::nullopt;
            if (const auto known = indexOfKey.constFind(*key); known != indexOfKey.constEnd()) {
                members[*known].value = std::move(*member);
            } else {
                indexOfKey.insert(*key, members.size());
                members.push_back({std::move(*key), std::move(*member)});
            }
        } while (consume(','));
        return consume('}') ? std::optional<JsonValue>(JsonValue(std::move(members))) : std::nullopt;
    }

    std::optional<JsonValue> array(int depth) {
        ++m_position;
        JsonArray elements;
        if (consume(']'))
            return JsonValue(std::move(elements));
        do {
            std::optional<JsonValue> element = value(depth + 1);
            if (!element)
                return std::nullopt;
            elements.push_back(std::move(*element));
        } while (consume(','));
        return consume(']') ? std::optional<JsonValue>(JsonValue(std::move(elements))) : std::nullopt;
    }

    // Raw runs end only at ASCII '"' or '\', never inside a multi-byte UTF-8
    // sequence, so decoding run by run is exact.
    std::optional<QString> string() {
        ++m_position;
        QString text;
        qsizetype runStart = m_position;
        while (true) {
            const char character = peek();
            if (m_position == m_text.size() || static_cast<unsigned char>(character) < 0x20)
                return std::nullopt;
            if (character != '"' && character != '\\') {
                ++m_position;
                continue;
            }
            text += QString::fromUtf8(m_text.sliced(runStart, m_position - runStart));
            ++m_position;
            if (character == '"')
                return text;
            if (!escape(text))
                return std::nullopt;
            runStart = m_position;
        }
    }

    bool escape(QString& text) {
        static constexpr std::pair<char, char16_t> kSimple[] = {{'"', u'"'},  {'\\', u'\\'}, {'/', u'/'},
                                                                {'b', u'\b'}, {'f', u'\f'},  {'n', u'\n'},
                                                                {'r', u'\r'}, {'t', u'\t'}};
        const char kind = peek();
        ++m_position;
        for (const auto& [letter, unit] : kSimple) {
            if (kind == letter) {
                text += QChar(unit);
                return true;
            }
        }
        return kind == 'u' && unicodeEscape(text);
    }

    // A surrogate pair arrives as two escapes; appending both units rebuilds it.
    bool unicodeEscape(QString& text) {
        char16_t unit = 0;
        for (int digit = 0; digit < 4; ++digit) {
            const int nibble = hexValue(peek());
            if (nibble < 0)
                return false;
            unit = static_cast<char16_t>(unit * 16 + nibble);
            ++m_position;
        }
        text += QChar(unit);
        return true;
    }

    std::optional<JsonValue> literal(const char* word, JsonValue::Data result) {
        const QByteArrayView expected(word);
        if (!m_text.sliced(m_position).startsWith(expected))
            return std::nullopt;
        m_position += expected.size();
        return JsonValue(std::move(result));
    }

    void skipDigits() {
        while (isDigit(peek()))
            ++m_position;
    }

    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    bool scanNumber(bool& integral) {
        if (peek() == '-')
            ++m_position;
        if (!isDigit(peek()))
            return false;
        if (peek() == '0')
            ++m_position;
        else
            skipDigits();
        integral = true;
        if (peek() == '.') {
            ++m_position;
            integral = false;
            if (!isDigit(peek()))
                return false;
            skipDigits();
        }
        if (peek() == 'e' || peek() == 'E') {
            ++m_position;
            integral = false;
            if (peek() == '+' || peek() == '-')
                ++m_position;
            if (!isDigit(peek()))
                return false;
            skipDigits();
        }
        return true;
    }

    // Integers beyond 64 bits become doubles; a number beyond double's range
    // has no faithful value and is refused.
    std::optional<JsonValue> number() {
        const qsizetype start = m_position;
        bool integral = false;
        if (!scanNumber(integral))
            return std::nullopt;
        const char* first = m_text.data() + start;
        const char* last = m_text.data() + m_position;
        if (qint64 whole = 0; integral && std::from_chars(first, last, whole).ec == std::errc())
            return JsonValue(whole);
        double real = 0;
        if (std::from_chars(first, last, real).ec != std::errc() || !std::isfinite(real)) {
            m_position = start;
            return std::nullopt;
        }
        return JsonValue(real);
    }

    QByteArrayView m_text;
    qsizetype m_position = 0;
};

} // namespace

Result<JsonValue> readJsonObject(const QByteArray& text) {
    Reader reader(text);
    std::optional<JsonValue> document = reader.document();
    if (!document)
        return report::invalidJsonError(reader.position());
    if (!document->object())
        return report::notAJsonObjectError();
    return std::move(*document);
}

} // namespace tagsmith::collect
