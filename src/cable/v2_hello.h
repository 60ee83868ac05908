#pragma once

#include "crypto/x25519.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <optional>

// The hellos and the key derivation of the v2 exchange, the collector's
// contract with the workstation program at the other end of the cable.
namespace tagsmith::cable {

inline constexpr int kV2Version = 2;
inline constexpr int kChallengeBytes = 24;
inline constexpr std::uint32_t kWorkstationHelloLimit = 12'000;
inline constexpr std::uint32_t kAcknowledgementLimit = 1'024;
inline constexpr int kMaxDeviceIdLength = 128;
inline constexpr char kExchangeInfo[] = "tagsmith/report/v2";
inline constexpr char kAcknowledgement[] = "RECEIVED";

// 1 to 128 printable ASCII characters (space to tilde).
bool isDeviceId(const QString& text);

// The JSON object a hello must be; absent for anything else.
std::optional<QJsonObject> helloObject(const QByteArray& json);

// {"challenge": Base64 of 24 bytes, "publicKey": Base64 of 32 bytes, "version": 2}.
QByteArray collectorHello(const QByteArray& publicKey, const QByteArray& challenge);

struct WorkstationHello {
    QByteArray publicKey; // raw X25519 public key, 32 bytes
    QString deviceId;
};

// Contract with the workstation program: its hello is a JSON object with
//   "version":   the number 2;
//   "publicKey": standard Base64 (padded, canonical) of its 32-byte ephemeral X25519 public key;
//   "deviceId":  a string of 1 to 128 printable ASCII characters (space to tilde) naming the
//                workstation, the same on every connection it makes.
// Other members are ignored. Anything else is absent, and the exchange ends.
std::optional<WorkstationHello> parseWorkstationHello(const QByteArray& json);

// HKDF-SHA256 over the X25519 shared secret, salted with the challenge, info
// "tagsmith/report/v2", 32 bytes. Absent for a low-order peer key.
std::optional<QByteArray> exchangeKey(const crypto::X25519PrivateKey& ownKey, const QByteArray& peerPublicKey,
                                      const QByteArray& challenge);

} // namespace tagsmith::cable
