#pragma once

#include <QString>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace tagsmith::base {

class SqliteStatement;

// One connection to an SQLite file, used by one thread at a time. Other
// connections, in this process or another, wait for its locks up to the
// busy time-out instead of failing at once.
class SqliteConnection {
public:
    static std::optional<SqliteConnection> open(const QString& path, bool readOnly = false);
    ~SqliteConnection();
    SqliteConnection(SqliteConnection&& other) noexcept;
    SqliteConnection& operator=(SqliteConnection&& other) noexcept;
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    // Runs statements that return no rows; false on failure.
    [[nodiscard]] bool exec(const char* sql);
    std::optional<SqliteStatement> prepare(const char* sql);
    // The result code of the last failure (SQLITE_NOTADB, SQLITE_CORRUPT...).
    int lastError() const;
    QString lastMessage() const;
    sqlite3* handle() const { return m_db; }

private:
    explicit SqliteConnection(sqlite3* db) : m_db(db) {}
    sqlite3* m_db = nullptr;
};

// A prepared statement: bind by position from 1, step, read columns from 0.
class SqliteStatement {
public:
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&&) = delete;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(int index, const QString& text);
    void bind(int index, const std::optional<QString>& text); // absent binds NULL
    void bind(int index, std::optional<qint64> number);

    // True while a row is ready; false at the end or on failure (see done()).
    bool next();
    // The last step ended without an error.
    bool done() const { return m_ok; }
    // Runs a statement that returns no rows, then resets it for new bindings.
    [[nodiscard]] bool run();
    void reset();

    QString text(int column) const;
    std::optional<QString> optionalText(int column) const;
    std::optional<qint64> optionalNumber(int column) const;
    qint64 number(int column) const;

private:
    friend class SqliteConnection;
    explicit SqliteStatement(sqlite3_stmt* statement) : m_statement(statement) {}
    sqlite3_stmt* m_statement = nullptr;
    bool m_ok = true;
};

} // namespace tagsmith::base
