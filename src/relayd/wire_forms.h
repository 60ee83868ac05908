#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

// The forms the relay's requests must have. Anything else is refused before
// it reaches the store.
namespace tagsmith::relayd {

// The member's text when it is present and text.
std::optional<QString> textMember(const QJsonObject& body, const char* name);

bool isLowerHex(const QString& text, qsizetype characters);
bool isMessageId(const QString& text); // a canonical lower-case UUID
// Canonical standard base64 of exactly `bytes` bytes (at least `bytes` when atLeast).
bool isBase64Of(const QString& text, qsizetype bytes, bool atLeast = false);

} // namespace tagsmith::relayd
