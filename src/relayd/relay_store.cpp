#include "relayd/relay_store.h"

#include <sqlite3.h>

#include <QFile>

namespace tagsmith::relayd {

namespace {

constexpr qint64 kDayMs = 24LL * 60 * 60 * 1000;
constexpr int kBusyTimeoutMs = 5000;

const char* const kSchema = R"sql(
PRAGMA journal_mode = WAL;
PRAGMA synchronous = NORMAL;
CREATE TABLE IF NOT EXISTS devices (
    device_id TEXT PRIMARY KEY,
    receiver_key TEXT NOT NULL,
    token_hash BLOB NOT NULL UNIQUE);
CREATE TABLE IF NOT EXISTS codes (
    code TEXT PRIMARY KEY,
    device_id TEXT NOT NULL UNIQUE,
    claimed_at INTEGER NOT NULL,
    expires_at INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS messages (
    sequence INTEGER PRIMARY KEY AUTOINCREMENT,
    message_id TEXT NOT NULL UNIQUE,
    device_id TEXT NOT NULL,
    receipt_hash BLOB NOT NULL,
    envelope BLOB,
    created_at INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS waiting ON messages (device_id, sequence) WHERE envelope IS NOT NULL;
)sql";

// One prepared statement, finalised on every path.
class Statement {
public:
    Statement(sqlite3* database, const char* sql) { sqlite3_prepare_v2(database, sql, -1, &m_statement, nullptr); }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_statement, ++m_index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bind(const QByteArray& bytes) {
        sqlite3_bind_blob(m_statement, ++m_index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bind(qint64 number) {
        sqlite3_bind_int64(m_statement, ++m_index, number);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step() { return m_statement ? sqlite3_step(m_statement) : SQLITE_ERROR; }
    bool run() { return step() == SQLITE_DONE; }

    QByteArray bytes(int column) const {
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(m_statement, column)),
                          sqlite3_column_bytes(m_statement, column));
    }
    QString text(int column) const { return QString::fromUtf8(bytes(column)); }
    qint64 number(int column) const { return sqlite3_column_int64(m_statement, column); }

private:
    sqlite3_stmt* m_statement = nullptr;
    int m_index = 0;
};

} // namespace

std::unique_ptr<RelayStore> RelayStore::open(const QString& path) {
    sqlite3* database = nullptr;
    const int opened = sqlite3_open_v2(QFile::encodeName(path).constData(), &database,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    std::unique_ptr<RelayStore> store(new RelayStore(database));
    sqlite3_busy_timeout(database, kBusyTimeoutMs);
    if (opened != SQLITE_OK || !store->execute(kSchema))
        return nullptr;
    return store;
}

RelayStore::~RelayStore() {
    sqlite3_close(m_database);
}

bool RelayStore::execute(const char* sql) {
    return sqlite3_exec(m_database, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool RelayStore::addDevice(const Device& device, const QByteArray& tokenHash) {
    std::lock_guard lock(m_lock);
    Statement insert(m_database, "INSERT OR IGNORE INTO devices VALUES (?, ?, ?)");
    return insert.bind(device.deviceId).bind(device.receiverKey).bind(tokenHash).run() &&
           sqlite3_changes(m_database) == 1;
}

std::optional<Device> RelayStore::deviceByToken(const QByteArray& tokenHash) {
    std::lock_guard lock(m_lock);
    Statement select(m_database, "SELECT device_id, receiver_key FROM devices WHERE token_hash = ?");
    if (select.bind(tokenHash).step() != SQLITE_ROW)
        return std::nullopt;
    return Device{select.text(0), select.text(1)};
}

std::optional<QString> RelayStore::renewCode(const QString& deviceId, qint64 until) {
    std::lock_guard lock(m_lock);
    Statement update(m_database, "UPDATE codes SET expires_at = ? WHERE device_id = ? RETURNING code");
    if (update.bind(until).bind(deviceId).step() != SQLITE_ROW)
        return std::nullopt;
    return update.text(0);
}

bool RelayStore::claimCode(const QString& code, const QString& deviceId, qint64 now, qint64 until) {
    std::lock_guard lock(m_lock);
    Statement insert(m_database, "INSERT OR IGNORE INTO codes VALUES (?, ?, ?, ?)");
    return insert.bind(code).bind(deviceId).bind(now).bind(until).run() && sqlite3_changes(m_database) == 1;
}

std::optional<Device> RelayStore::deviceByCode(const QString& code, qint64 now) {
    std::lock_guard lock(m_lock);
    Statement select(m_database, "SELECT d.device_id, d.receiver_key FROM codes c JOIN devices d USING (device_id) "
                                 "WHERE c.code = ? AND c.expires_at > ?");
    if (select.bind(code).bind(now).step() != SQLITE_ROW)
        return std::nullopt;
    return Device{select.text(0), select.text(1)};
}

StoreOutcome RelayStore::storeEnvelope(const QString& messageId, const QString& deviceId, const QByteArray& receiptHash,
                                       const QByteArray& envelope, qint64 now, int maxWaiting) {
    std::lock_guard lock(m_lock);
    Statement count(m_database, "SELECT count(*) FROM messages WHERE device_id = ? AND envelope IS NOT NULL");
    if (count.bind(deviceId).step() != SQLITE_ROW)
        return StoreOutcome::failed;
    if (count.number(0) >= maxWaiting)
        return StoreOutcome::inboxFull;
    Statement insert(m_database, "INSERT OR IGNORE INTO messages (message_id, device_id, receipt_hash, envelope, "
                                 "created_at) VALUES (?, ?, ?, ?, ?)");
    if (!insert.bind(messageId).bind(deviceId).bind(receiptHash).bind(envelope).bind(now).run())
        return StoreOutcome::failed;
    return sqlite3_changes(m_database) == 1 ? StoreOutcome::stored : StoreOutcome::duplicate;
}

std::optional<MessageState> RelayStore::message(const QString& messageId) {
    std::lock_guard lock(m_lock);
    Statement select(m_database, "SELECT receipt_hash, envelope IS NULL FROM messages WHERE message_id = ?");
    if (select.bind(messageId).step() != SQLITE_ROW)
        return std::nullopt;
    return MessageState{select.bytes(0), select.number(1) != 0};
}

QList<InboxEntry> RelayStore::inbox(const QString& deviceId, qint64 afterSequence, int limit) {
    std::lock_guard lock(m_lock);
    Statement select(m_database, "SELECT sequence, envelope FROM messages WHERE device_id = ? AND "
                                 "envelope IS NOT NULL AND sequence > ? ORDER BY sequence LIMIT ?");
    select.bind(deviceId).bind(afterSequence).bind(qint64(limit));
    QList<InboxEntry> entries;
    while (select.step() == SQLITE_ROW)
        entries.append({select.number(0), select.bytes(1)});
    return entries;
}

bool RelayStore::confirm(const QString& deviceId, const QString& messageId) {
    std::lock_guard lock(m_lock);
    // Delivered envelopes go at once: only the record that answers status stays.
    Statement update(m_database, "UPDATE messages SET envelope = NULL WHERE message_id = ? AND device_id = ?");
    return update.bind(messageId).bind(deviceId).run() && sqlite3_changes(m_database) == 1;
}

void RelayStore::sweep(qint64 now) {
    std::lock_guard lock(m_lock);
    Statement messages(m_database, "DELETE FROM messages WHERE created_at < ?");
    Statement codes(m_database, "DELETE FROM codes WHERE claimed_at < ? AND expires_at < ?");
    [[maybe_unused]] const bool swept = messages.bind(now - kDayMs).run() && codes.bind(now - kDayMs).bind(now).run();
}

} // namespace tagsmith::relayd
