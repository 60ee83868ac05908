#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

namespace tagsmith::label {

// The QR symbol of the message at error correction level M, one pixel per
// module, black on white, with a two-module quiet zone on every side (so a
// version-1 symbol is 25 pixels wide). Absent when the message cannot be encoded.
std::optional<QImage> qrCodeImage(const QByteArray& message);

} // namespace tagsmith::label
