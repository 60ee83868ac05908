#pragma once

#include "base/owned_fd.h"
#include "crypto/x25519.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace tagsmith::test {

// The workstation end of the v2 exchange, written from the wire format alone
// (it shares no exchange code with the collector), one step per call so that
// tests can stop or misbehave at any step.
class V2Workstation {
public:
    explicit V2Workstation(base::OwnedFd socket, QString deviceId = QStringLiteral("workstation-1"));

    int socket() const { return m_socket.get(); }

    // Reads and checks the collector hello; false if anything else arrives.
    bool readCollectorHello();
    bool sendHello();
    // Reads the sealed report and opens it with the key both sides derive.
    std::optional<QByteArray> receiveReport();
    bool acknowledge(const QByteArray& text = "RECEIVED");
    // Every step of a correct workstation; the report it opened, if any.
    std::optional<QByteArray> fetch();

private:
    base::OwnedFd m_socket;
    QString m_deviceId;
    crypto::X25519PrivateKey m_key;
    QByteArray m_collectorKey;
    QByteArray m_challenge;
    QByteArray m_sessionKey;
};

// What a workstation must never send in place of its hello, each as the frame
// that carries it, named for the message of a failing check.
QList<std::pair<const char*, QByteArray>> brokenHelloFrames();

} // namespace tagsmith::test
