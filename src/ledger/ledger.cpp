#include "ledger/ledger.h"

#include "base/atomic_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sqlite3.h>

namespace tagsmith::ledger {

namespace {

constexpr const char* kSchema = R"sql(
DROP TABLE IF EXISTS intake_search;
DROP TABLE IF EXISTS intake;
CREATE TABLE intake(
    id INTEGER PRIMARY KEY,
    fileName TEXT NOT NULL UNIQUE, sha256 TEXT NOT NULL,
    serial TEXT NOT NULL, model TEXT NOT NULL, name TEXT NOT NULL, years TEXT NOT NULL, inches TEXT NOT NULL,
    chip TEXT, memory TEXT, disk TEXT, exterior TEXT, batteryHealth TEXT, cycles INTEGER,
    activationLock TEXT, remoteManagement TEXT, storageHealth TEXT,
    collectedAt TEXT NOT NULL, receivedAt TEXT NOT NULL, source TEXT, labelSubmittedAt TEXT);
CREATE INDEX intake_received ON intake(receivedAt, id);
CREATE VIRTUAL TABLE intake_search USING fts5(serial, model, name, content='intake', content_rowid='id',
                                              tokenize='trigram');
CREATE TRIGGER intake_added AFTER INSERT ON intake BEGIN
    INSERT INTO intake_search(rowid, serial, model, name) VALUES (new.id, new.serial, new.model, new.name);
END;
CREATE TRIGGER intake_removed AFTER DELETE ON intake BEGIN
    INSERT INTO intake_search(intake_search, rowid, serial, model, name)
        VALUES ('delete', old.id, old.serial, old.model, old.name);
END;
CREATE TRIGGER intake_changed AFTER UPDATE ON intake BEGIN
    INSERT INTO intake_search(intake_search, rowid, serial, model, name)
        VALUES ('delete', old.id, old.serial, old.model, old.name);
    INSERT INTO intake_search(rowid, serial, model, name) VALUES (new.id, new.serial, new.model, new.name);
END;
PRAGMA user_version = 1;
)sql";

constexpr const char* kUpsert =
    "INSERT INTO intake(fileName, sha256, serial, model, name, years, inches, chip, memory, disk, exterior, "
    "batteryHealth, cycles, activationLock, remoteManagement, storageHealth, collectedAt, receivedAt, source, "
    "labelSubmittedAt) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, "
    "?19, ?20) ON CONFLICT(fileName) DO UPDATE SET sha256 = excluded.sha256, serial = excluded.serial, "
    "model = excluded.model, name = excluded.name, years = excluded.years, inches = excluded.inches, "
    "chip = excluded.chip, memory = excluded.memory, disk = excluded.disk, exterior = excluded.exterior, "
    "batteryHealth = excluded.batteryHealth, cycles = excluded.cycles, activationLock = excluded.activationLock, "
    "remoteManagement = excluded.remoteManagement, storageHealth = excluded.storageHealth, "
    "collectedAt = excluded.collectedAt";

// A label submission already recorded for the file is always kept.
const QByteArray& upsertSql(Ledger::Receipt receipt) {
    static const QByteArray keep(kUpsert);
    static const QByteArray replace = keep + ", receivedAt = excluded.receivedAt, source = excluded.source";
    return receipt == Ledger::Receipt::keep ? keep : replace;
}

bool isDamaged(int code) {
    return code == SQLITE_NOTADB || code == SQLITE_CORRUPT;
}

// Keeps a damaged ledger and its companions beside the new one, never deleting them.
bool moveAside(const QString& path) {
    const QString suffix =
        QStringLiteral(".damaged-") + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmsszzz"));
    for (const QString& companion : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFile::exists(path + companion))
            QFile::rename(path + companion, path + suffix + companion);
    }
    return QFile::rename(path, path + suffix);
}

Error ledgerError(const QString& what, const QString& detail) {
    return {Ledger::kErrorDomain, 1, QStringLiteral("账本%1失败：%2").arg(what, detail)};
}

// Opens and checks the file; nothing when it is no sound database.
Result<std::optional<base::SqliteConnection>> openChecked(const QString& path) {
    auto connection = base::SqliteConnection::open(path);
    if (!connection)
        return ledgerError(QStringLiteral("打开"), QDir::toNativeSeparators(path));
    auto check = connection->prepare("PRAGMA quick_check(1)");
    if (check && check->next() && check->text(0) == QLatin1String("ok"))
        return std::optional<base::SqliteConnection>(std::move(connection));
    const bool checkReportedFault = check && check->done();
    if (checkReportedFault || isDamaged(connection->lastError()))
        return std::optional<base::SqliteConnection>{};
    return ledgerError(QStringLiteral("打开"), connection->lastMessage()); // busy, unreadable: not damage
}

} // namespace

QString Ledger::defaultDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Tagsmith");
}

QString Ledger::pathIn(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral("ledger.sqlite"));
}

QString Ledger::reportsFolderIn(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral("Reports"));
}

Result<Ledger> Ledger::open(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    Result<std::optional<base::SqliteConnection>> checked = openChecked(path);
    if (!checked)
        return checked.error();
    bool movedAside = false;
    if (!checked->has_value()) {
        if (!moveAside(path))
            return ledgerError(QStringLiteral("修复"), QDir::toNativeSeparators(path));
        movedAside = true;
        checked = openChecked(path);
        if (!checked || !checked->has_value())
            return ledgerError(QStringLiteral("打开"), QDir::toNativeSeparators(path));
    }
    Ledger ledger(std::move(**checked), path);
    if (const Result<void> prepared = ledger.prepareSchema(); !prepared)
        return prepared.error();
    ledger.m_needsRebuild = ledger.m_needsRebuild || movedAside || QFile::exists(rebuildMarker(path));
    return ledger;
}

Result<Ledger> Ledger::openForReading(const QString& path) {
    auto connection = base::SqliteConnection::open(path, true);
    if (!connection)
        return ledgerError(QStringLiteral("打开"), QDir::toNativeSeparators(path));
    return Ledger(std::move(*connection), path);
}

QString Ledger::rebuildMarker(const QString& path) {
    return path + QStringLiteral(".rebuild");
}

void Ledger::markForRebuild(const QString& path) {
    (void)base::writeFileAtomically(rebuildMarker(path), {});
}

Result<void> Ledger::failure(const QString& what) const {
    return ledgerError(what, m_db.lastMessage());
}

// Two processes may meet a new file at once: the write lock makes one of
// them create the schema, and the other then finds it current.
Result<void> Ledger::prepareSchema() {
    if (!m_db.exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; BEGIN IMMEDIATE"))
        return failure(QStringLiteral("打开"));
    auto version = m_db.prepare("PRAGMA user_version");
    if (!version || !version->next()) {
        (void)m_db.exec("ROLLBACK");
        return failure(QStringLiteral("打开"));
    }
    const qint64 found = version->number(0);
    version.reset(); // an open read would keep the tables from being dropped
    if (found > kSchemaVersion) {
        (void)m_db.exec("ROLLBACK");
        return Error{kErrorDomain, 2, QStringLiteral("账本由较新版本的程序建立，本程序不能使用。")};
    }
    if (found < kSchemaVersion && !m_db.exec(kSchema)) {
        (void)m_db.exec("ROLLBACK");
        return failure(QStringLiteral("建立"));
    }
    m_needsRebuild = found < kSchemaVersion;
    if (!m_db.exec("COMMIT"))
        return failure(QStringLiteral("建立"));
    return {};
}

Result<void> Ledger::upsert(const IntakeRecord& record, Receipt receipt) {
    auto statement = m_db.prepare(upsertSql(receipt).constData());
    if (!statement)
        return failure(QStringLiteral("写入"));
    int index = 0;
    for (const QString& text :
         {record.fileName, record.sha256, record.serial, record.model, record.name, record.years, record.inches})
        statement->bind(++index, text);
    for (const auto& text : {record.chip, record.memory, record.disk, record.exterior, record.batteryHealth})
        statement->bind(++index, text);
    statement->bind(++index, record.cycles);
    for (const auto& text : {record.activationLock, record.remoteManagement, record.storageHealth})
        statement->bind(++index, text);
    statement->bind(++index, record.collectedAt);
    statement->bind(++index, record.receivedAt);
    statement->bind(++index, record.source);
    statement->bind(++index, record.labelSubmittedAt);
    if (!statement->run())
        return failure(QStringLiteral("写入"));
    return {};
}

Result<void> Ledger::record(const IntakeRecord& record) {
    return upsert(record, Receipt::replace);
}

Result<void> Ledger::markLabelSubmitted(const QString& fileName, const QString& at) {
    auto statement = m_db.prepare("UPDATE intake SET labelSubmittedAt = ?2 WHERE fileName = ?1");
    if (!statement)
        return failure(QStringLiteral("写入"));
    statement->bind(1, fileName);
    statement->bind(2, at);
    if (!statement->run())
        return failure(QStringLiteral("写入"));
    return {};
}

Result<qint64> Ledger::count() {
    auto statement = m_db.prepare("SELECT count(*) FROM intake");
    if (!statement || !statement->next())
        return failure(QStringLiteral("读取")).error();
    return statement->number(0);
}

} // namespace tagsmith::ledger
