#pragma once

#include <QByteArray>

#include <optional>

namespace tagsmith::crypto {

// Standard Base64 with padding and no line breaks.
QByteArray encodeBase64(const QByteArray& data);

// Accepts only the canonical standard form (the exact text encodeBase64 would
// write): no whitespace, no missing padding, no URL alphabet, no stray bits.
std::optional<QByteArray> decodeBase64(const QByteArray& text);

} // namespace tagsmith::crypto
