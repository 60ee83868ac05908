#pragma once

#include "base/owned_fd.h"
#include "cable/frames.h"
#include "crypto/aes_gcm.h"
#include "crypto/hmac.h"
#include "crypto/random.h"

#include <QByteArray>

#include <optional>

namespace tagsmith::test {

// One end of a v1 exchange written from the wire format alone (it shares no
// exchange code with the program), one step per call, so that tests can stop
// or misbehave at any step.
class V1Peer {
public:
    V1Peer(base::OwnedFd socket, QByteArray key) : m_socket(std::move(socket)), m_key(std::move(key)) {}

    int socket() const { return m_socket.get(); }
    void close() { m_socket.reset(); }

    std::optional<QByteArray> readChallenge() { return cable::readN(socket(), 32); }
    bool challenge() { // sends a fresh challenge, kept for the proofs that follow
        m_challenge = crypto::randomBytes(32).value();
        return cable::sendAll(socket(), m_challenge);
    }
    const QByteArray& sentChallenge() const { return m_challenge; }

    // HMAC-SHA256 of label ‖ challenge, under key (this peer's own by default).
    bool prove(const QByteArray& label, const QByteArray& challenge, const QByteArray& key = {}) {
        return cable::sendAll(socket(), crypto::hmacSha256(key.isEmpty() ? m_key : key, label + challenge));
    }
    bool checkProof(const QByteArray& label) {
        const auto code = cable::readN(socket(), 32);
        return code && crypto::isValidHmacSha256(*code, m_key, label + m_challenge);
    }

    bool sendSealed(const QByteArray& plaintext, const QByteArray& key = {}) {
        return cable::sendFrame(socket(), crypto::seal(key.isEmpty() ? m_key : key, plaintext).value());
    }
    std::optional<QByteArray> openSealed() {
        const auto frame = cable::readFrame(socket());
        return frame ? crypto::open(m_key, *frame) : std::nullopt;
    }

private:
    base::OwnedFd m_socket;
    QByteArray m_key;
    QByteArray m_challenge;
};

} // namespace tagsmith::test
