#include "relayd/wire_forms.h"

#include "crypto/base64.h"

#include <QJsonValue>
#include <QRegularExpression>

namespace tagsmith::relayd {

std::optional<QString> textMember(const QJsonObject& body, const char* name) {
    const QJsonValue value = body.value(QLatin1String(name));
    return value.isString() ? std::optional(value.toString()) : std::nullopt;
}

bool isLowerHex(const QString& text, qsizetype characters) {
    return text.size() == characters && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
               return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
           });
}

bool isMessageId(const QString& text) {
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}")));
    return pattern.match(text).hasMatch();
}

bool isBase64Of(const QString& text, qsizetype bytes, bool atLeast) {
    const std::optional<QByteArray> decoded = crypto::decodeBase64(text.toLatin1());
    return decoded && (atLeast ? decoded->size() >= bytes : decoded->size() == bytes);
}

} // namespace tagsmith::relayd
