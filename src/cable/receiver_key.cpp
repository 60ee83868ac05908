#include "cable/receiver_key.h"

#include "base/bundle.h"
#include "base/read_file.h"
#include "report/records_json.h"

namespace tagsmith::cable {

namespace {
// Far above any real key file; keeps a wrong file from being read whole.
constexpr qint64 kMaxFileBytes = 64 * 1024;
} // namespace

std::optional<QByteArray> receiverKeyAt(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    const Result<QByteArray> content = base::readFileUpTo(path, kMaxFileBytes + 1);
    if (!content || content->size() > kMaxFileBytes)
        return std::nullopt;
    const Result<report::ReceiverConfig> config = report::decodeReceiverConfig(*content);
    return config ? config->keyBytes() : std::nullopt;
}

std::optional<QByteArray> receiverKey() {
    return receiverKeyAt(base::Bundle::main().resourcePath(QStringLiteral("receiver.json")));
}

} // namespace tagsmith::cable
