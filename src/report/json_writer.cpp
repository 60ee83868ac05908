#include "report/json_writer.h"

#include <algorithm>

namespace tagsmith::report {

namespace {

QByteArray escapeFor(char16_t unit) {
    switch (unit) {
    case u'"':
        return "\\\"";
    case u'\\':
        return "\\\\";
    case u'/':
        return "\\/";
    case u'\b':
        return "\\b";
    case u'\f':
        return "\\f";
    case u'\n':
        return "\\n";
    case u'\r':
        return "\\r";
    case u'\t':
        return "\\t";
    default:
        break;
    }
    if (unit < 0x20)
        return "\\u" + QByteArray::number(unit, 16).rightJustified(4, '0');
    return {};
}

void appendString(QByteArray& out, const QString& text) {
    out += '"';
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QByteArray escape = escapeFor(text.at(i).unicode());
        if (escape.isEmpty())
            continue;
        out += QStringView(text).sliced(plainFrom, i - plainFrom).toUtf8();
        out += escape;
        plainFrom = i + 1;
    }
    out += QStringView(text).sliced(plainFrom).toUtf8();
    out += '"';
}

class ObjectWriter {
public:
    explicit ObjectWriter(bool pretty) : m_pretty(pretty) {}

    QByteArray write(const QList<const JsonMember*>& members) {
        m_out = "{";
        for (qsizetype i = 0; i < members.size(); ++i) {
            m_out += i == 0 ? "" : ",";
            newLine(1);
            appendString(m_out, members.at(i)->key);
            m_out += m_pretty ? " : " : ":";
            std::visit([this](const auto& value) { append(value); }, members.at(i)->value);
        }
        newLine(0);
        return m_out + "}";
    }

private:
    void append(const QString& text) { appendString(m_out, text); }
    void append(qint64 number) { m_out += QByteArray::number(number); }

    // Pretty-printed, an empty list keeps a blank line before its indented
    // closing bracket, as the platform's own JSON writer lays it out.
    void append(const QStringList& list) {
        m_out += "[";
        if (m_pretty && list.isEmpty())
            m_out += "\n";
        for (qsizetype i = 0; i < list.size(); ++i) {
            m_out += i == 0 ? "" : ",";
            newLine(2);
            appendString(m_out, list.at(i));
        }
        newLine(1);
        m_out += "]";
    }

    void newLine(int depth) {
        if (m_pretty)
            m_out += "\n" + QByteArray(2 * depth, ' ');
    }

    bool m_pretty;
    QByteArray m_out;
};

} // namespace

QByteArray writeJsonObject(const QList<JsonMember>& members, JsonLayout layout) {
    QList<const JsonMember*> ordered;
    for (const JsonMember& member : members)
        ordered.append(&member);
    if (layout != JsonLayout::compactAnyOrder)
        std::ranges::sort(ordered, [](const JsonMember* a, const JsonMember* b) { return a->key < b->key; });
    return ObjectWriter(layout == JsonLayout::prettySorted).write(ordered);
}

} // namespace tagsmith::report
