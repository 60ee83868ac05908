#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <mutex>
#include <optional>

struct sqlite3;

namespace tagsmith::relayd {

// A registered workstation: its identity and the key envelopes are sealed for.
struct Device {
    QString deviceId;
    QString receiverKey; // standard base64 of the raw X25519 public key
};

struct InboxEntry {
    qint64 sequence = 0; // increases with every stored envelope
    QByteArray envelope; // the compact JSON the workstation opens
};

struct MessageState {
    QByteArray receiptHash; // SHA-256 of the receipt secret
    bool delivered = false;
};

enum class StoreOutcome { stored, duplicate, inboxFull, failed };

// The relay's state in one SQLite database (WAL mode, so that readers never
// wait for the writer). Every time is in milliseconds since the epoch and is
// passed in, so that expiry follows one clock. Safe to use from any thread.
class RelayStore {
public:
    ~RelayStore();
    RelayStore(const RelayStore&) = delete;
    RelayStore& operator=(const RelayStore&) = delete;

    // Opens (creating when needed) the database file; absent when it cannot.
    static std::unique_ptr<RelayStore> open(const QString& path);

    // False when the device is registered already or the store fails.
    bool addDevice(const Device& device, const QByteArray& tokenHash);
    std::optional<Device> deviceByToken(const QByteArray& tokenHash);

    // The device's code, kept alive until `until`, while the code is its own
    // (a code stays bound to the device that had it for a day).
    std::optional<QString> renewCode(const QString& deviceId, qint64 until);
    // Binds a code no device has had within the day; false when one has.
    bool claimCode(const QString& code, const QString& deviceId, qint64 now, qint64 until);
    // The device behind a code that is alive at now.
    std::optional<Device> deviceByCode(const QString& code, qint64 now);

    StoreOutcome storeEnvelope(const QString& messageId, const QString& deviceId, const QByteArray& receiptHash,
                               const QByteArray& envelope, qint64 now, int maxWaiting);
    std::optional<MessageState> message(const QString& messageId);
    QList<InboxEntry> inbox(const QString& deviceId, qint64 afterSequence, int limit);
    // Marks the device's message delivered and deletes its envelope; false when
    // the device has no such message.
    bool confirm(const QString& deviceId, const QString& messageId);

    // Forgets messages and codes older than the day before now.
    void sweep(qint64 now);

private:
    explicit RelayStore(sqlite3* database) : m_database(database) {}
    bool execute(const char* sql);

    std::mutex m_lock;   // one statement at a time on the one connection
    sqlite3* m_database; // owned
};

} // namespace tagsmith::relayd
