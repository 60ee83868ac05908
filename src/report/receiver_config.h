#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tagsmith::report {

// receiver.json: the symmetric key of the cable transfer.
struct ReceiverConfig {
    QString key;         // standard base64 with padding
    QString addressHint; // required for the file to decode; read by nothing else

    // The 32 key bytes; absent when the text is not padded standard base64 of
    // exactly 32 bytes, which makes the key unusable.
    std::optional<QByteArray> keyBytes() const;

    bool operator==(const ReceiverConfig&) const = default;
};

} // namespace tagsmith::report
