#include "cable/v2_exchange.h"

#include "base/uptime.h"
#include "cable/v2_frames.h"
#include "cable/v2_hello.h"
#include "crypto/aes_gcm.h"
#include "crypto/random.h"

namespace tagsmith::cable {

namespace {

struct Session {
    QByteArray key;
    QString deviceId;
    double deadline = 0;
};

// Hellos and key agreement, up to the point where the workstation is known.
std::optional<Session> openSession(int socket, std::chrono::milliseconds allowance) {
    const double start = base::uptime();
    const auto ownKey = crypto::X25519PrivateKey::generate();
    const auto challenge = crypto::randomBytes(kChallengeBytes);
    if (!ownKey || !challenge || !v2::sendFrame(socket, collectorHello(ownKey->publicKey(), *challenge)))
        return std::nullopt;
    const double deadline = start + std::chrono::duration<double>(allowance).count();
    const auto helloBytes = v2::readFrame(socket, kWorkstationHelloLimit, deadline);
    const auto hello = helloBytes ? parseWorkstationHello(*helloBytes) : std::nullopt;
    if (!hello || base::uptime() >= deadline)
        return std::nullopt;
    auto key = exchangeKey(*ownKey, hello->publicKey, *challenge);
    if (!key)
        return std::nullopt;
    return Session{std::move(*key), hello->deviceId, deadline};
}

bool deliver(int socket, const Session& session, const QByteArray& report) {
    const auto sealedReport = crypto::seal(session.key, report);
    if (!sealedReport || !v2::sendFrame(socket, *sealedReport))
        return false;
    const auto sealedAcknowledgement = v2::readFrame(socket, kAcknowledgementLimit, session.deadline);
    const auto acknowledgement =
        sealedAcknowledgement ? crypto::open(session.key, *sealedAcknowledgement) : std::nullopt;
    return acknowledgement == QByteArray(kAcknowledgement);
}

} // namespace

bool serveV2Exchange(int socket, std::chrono::milliseconds allowance, const std::optional<QString>& expectedDeviceId,
                     const ReportHandover& takeReport) {
    const auto session = openSession(socket, allowance);
    if (!session || (expectedDeviceId && *expectedDeviceId != session->deviceId))
        return false;
    const auto report = takeReport(session->deviceId);
    return report && deliver(socket, *session, *report);
}

} // namespace tagsmith::cable
