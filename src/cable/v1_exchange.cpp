#include "cable/v1_exchange.h"

#include "base/uptime.h"
#include "cable/frames.h"
#include "cable/v2_frames.h"
#include "crypto/aes_gcm.h"
#include "crypto/hmac.h"
#include "crypto/random.h"
#include "report/report_json.h"
#include "report/validation.h"

namespace tagsmith::cable {

namespace {

const QByteArray kServerLabel = QByteArrayLiteral("server");
const QByteArray kClientLabel = QByteArrayLiteral("client");
const QByteArray kReceived = QByteArrayLiteral("RECEIVED");

// One side of one exchange: every read and write ends before the deadline.
class Channel {
public:
    Channel(int socket, const QByteArray& key, std::chrono::milliseconds allowance)
        : m_socket(socket), m_key(key), m_deadline(base::uptime() + std::chrono::duration<double>(allowance).count()) {}

    std::optional<QByteArray> read(std::uint32_t count) const { return v2::read(m_socket, count, m_deadline); }
    bool send(const QByteArray& bytes) const { return sendAll(m_socket, bytes, m_deadline); }

    std::optional<QByteArray> openFrame() const {
        const auto sealed = v2::readFrame(m_socket, kMaxFrameLength, m_deadline);
        return sealed ? crypto::open(m_key, *sealed) : std::nullopt;
    }

    bool sealAndSend(const QByteArray& plaintext) const {
        const auto sealed = crypto::seal(m_key, plaintext);
        return sealed && sendFrame(m_socket, *sealed, m_deadline);
    }

    // The peer's answer to a challenge: the HMAC of label ‖ challenge.
    bool readsProof(const QByteArray& label, const QByteArray& challenge) const {
        const auto code = read(kChallengeLength);
        return code && crypto::isValidHmacSha256(*code, m_key, label + challenge);
    }

    bool sendsProof(const QByteArray& label, const QByteArray& challenge) const {
        const QByteArray code = crypto::hmacSha256(m_key, label + challenge);
        return !code.isEmpty() && send(code);
    }

    // A sealed report that validates and carries the expected serial, when one is expected.
    std::optional<std::pair<report::Report, QByteArray>> receiveReport(const std::optional<QString>& serial) const {
        const auto plaintext = openFrame();
        if (!plaintext)
            return std::nullopt;
        Result<report::Report> report = report::validated(*plaintext);
        if (!report || (serial && report->serial != *serial))
            return std::nullopt;
        return std::pair{std::move(*report), *plaintext};
    }

private:
    int m_socket;
    QByteArray m_key;
    double m_deadline;
};

std::optional<QByteArray> sendChallenge(const Channel& channel) {
    auto challenge = crypto::randomBytes(kChallengeLength);
    if (!challenge || !channel.send(*challenge))
        return std::nullopt;
    return challenge;
}

} // namespace

bool pushReport(int socket, const QByteArray& key, const QByteArray& report, const QString& serial,
                std::chrono::milliseconds allowance) {
    const Channel channel(socket, key, allowance);
    const auto challenge = sendChallenge(channel);
    if (!challenge || !channel.readsProof({}, *challenge) || !channel.sealAndSend(report))
        return false;
    const auto acknowledgement = channel.openFrame();
    return acknowledgement && QString::fromUtf8(*acknowledgement) == QStringLiteral("OK:") + serial;
}

bool receivePush(int socket, const QByteArray& key, const std::optional<QString>& serial, const ReportOffer& offer,
                 std::chrono::milliseconds allowance) {
    const Channel channel(socket, key, allowance);
    const auto challenge = channel.read(kChallengeLength);
    if (!challenge || !channel.sendsProof({}, *challenge))
        return false;
    const auto received = channel.receiveReport(serial);
    return received && offer(received->first, received->second) &&
           channel.sealAndSend(QByteArrayLiteral("OK:") + received->first.serial.toUtf8());
}

bool servePull(int socket, const QByteArray& key, const ReportSource& takeReport, std::chrono::milliseconds allowance) {
    const Channel channel(socket, key, allowance);
    const auto challenge = channel.read(kChallengeLength);
    if (!challenge || !channel.sendsProof(kServerLabel, *challenge) || !channel.readsProof(kClientLabel, *challenge))
        return false;
    const auto report = takeReport();
    return report && channel.sealAndSend(*report) && channel.openFrame() == kReceived;
}

bool pullReport(int socket, const QByteArray& key, const std::optional<QString>& serial, const ReportOffer& offer,
                std::chrono::milliseconds allowance) {
    const Channel channel(socket, key, allowance);
    const auto challenge = sendChallenge(channel);
    if (!challenge || !channel.readsProof(kServerLabel, *challenge) || !channel.sendsProof(kClientLabel, *challenge))
        return false;
    const auto received = channel.receiveReport(serial);
    if (!received)
        return false;
    const QByteArray sorted = report::encodeReport(received->first, report::JsonLayout::compactSorted);
    return offer(received->first, sorted.isEmpty() ? received->second : sorted) && channel.sealAndSend(kReceived);
}

} // namespace tagsmith::cable
