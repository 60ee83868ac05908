#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// The shared key of the v1 cable exchanges, from the bundle's receiver.json:
// {"key": standard Base64 of 32 bytes, "addressHint": text}.
namespace tagsmith::cable {

inline constexpr int kReceiverKeyBytes = 32;

// Read afresh on every call, never cached. Absent when the file is missing,
// unreadable, not such an object, or its key is not Base64 of exactly 32
// bytes: then no exchange may take place.
std::optional<QByteArray> receiverKey();
std::optional<QByteArray> receiverKeyAt(const QString& path);

// Where an exchange takes its key from, asked afresh for every connection:
// receiverKey for the bundle's, receiverKeyAt for another file.
using KeySource = std::function<std::optional<QByteArray>()>;

} // namespace tagsmith::cable
