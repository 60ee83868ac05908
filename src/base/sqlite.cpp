#include "base/sqlite.h"

#include <sqlite3.h>

#include <utility>

namespace tagsmith::base {

namespace {

// Long enough for the other process's largest write (a batch of a rebuild).
constexpr int kBusyTimeoutMs = 10000;

} // namespace

std::optional<SqliteConnection> SqliteConnection::open(const QString& path, bool readOnly) {
    sqlite3* db = nullptr;
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int result = sqlite3_open_v2(path.toUtf8().constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (result != SQLITE_OK) {
        sqlite3_close(db);
        return std::nullopt;
    }
    sqlite3_extended_result_codes(db, 0);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    return SqliteConnection(db);
}

SqliteConnection::~SqliteConnection() {
    sqlite3_close_v2(m_db);
}

SqliteConnection::SqliteConnection(SqliteConnection&& other) noexcept : m_db(std::exchange(other.m_db, nullptr)) {}

SqliteConnection& SqliteConnection::operator=(SqliteConnection&& other) noexcept {
    std::swap(m_db, other.m_db);
    return *this;
}

bool SqliteConnection::exec(const char* sql) {
    return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::optional<SqliteStatement> SqliteConnection::prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return std::nullopt;
    }
    return SqliteStatement(statement);
}

int SqliteConnection::lastError() const {
    return sqlite3_errcode(m_db);
}

QString SqliteConnection::lastMessage() const {
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_statement(std::exchange(other.m_statement, nullptr)), m_ok(other.m_ok) {}

void SqliteStatement::bind(int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(m_statement, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::bind(int index, const std::optional<QString>& text) {
    if (text)
        bind(index, *text);
    else
        sqlite3_bind_null(m_statement, index);
}

void SqliteStatement::bind(int index, std::optional<qint64> number) {
    if (number)
        sqlite3_bind_int64(m_statement, index, *number);
    else
        sqlite3_bind_null(m_statement, index);
}

bool SqliteStatement::next() {
    const int result = sqlite3_step(m_statement);
    m_ok = result == SQLITE_ROW || result == SQLITE_DONE;
    return result == SQLITE_ROW;
}

bool SqliteStatement::run() {
    next();
    reset();
    return m_ok;
}

void SqliteStatement::reset() {
    sqlite3_reset(m_statement);
}

QString SqliteStatement::text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(bytes, sqlite3_column_bytes(m_statement, column));
}

std::optional<QString> SqliteStatement::optionalText(int column) const {
    if (sqlite3_column_type(m_statement, column) == SQLITE_NULL)
        return std::nullopt;
    return text(column);
}

std::optional<qint64> SqliteStatement::optionalNumber(int column) const {
    if (sqlite3_column_type(m_statement, column) == SQLITE_NULL)
        return std::nullopt;
    return number(column);
}

qint64 SqliteStatement::number(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

} // namespace tagsmith::base
