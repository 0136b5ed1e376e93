#include "db/Database.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <optional>

#include "db/DbError.h"
#include "db/Migrations.h"

namespace {

const QString kConnectionName = QStringLiteral("ombrel");
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
// Lines of a failed integrity check quoted to the user.
constexpr int kProblemsShown = 5;

DbError toDbError(const QSqlError& error) {
    bool ok = false;
    const int native = error.nativeErrorCode().toInt(&ok);
    QString text = error.databaseText();
    if (text.isEmpty()) {
        text = error.text();
    }
    return DbError(ok ? native : -1, text);
}

}  // namespace

Database& Database::global() {
    static Database instance;
    return instance;
}

QSqlDatabase Database::connection() const {
    return QSqlDatabase::database(kConnectionName, false);
}

void Database::open(const QString& filePath) {
    close();
    if (!QFileInfo(filePath).isFile()) {
        throw DbError(DbError::kNotOpen, QStringLiteral("找不到数据库文件: ") + filePath);
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnectionName);
        db.setDatabaseName(filePath);
        if (!db.open()) {
            const DbError error = toDbError(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(kConnectionName);
            throw error;
        }
    }
    filePath_ = filePath;
    native_ = std::make_unique<NativeStatements>(connection());
    try {
        if (native_->available()) {
            native_->addRunningSum();
        }
        // Only reads until the file is known to be ours, sound and not from a newer program: a
        // file of another program, an empty, a damaged or a newer one is left exactly as it was.
        // A file marked as ours is judged by its version first: a newer program's tables may
        // use what this engine cannot read.
        refuseNewer(true);
        requireOurs();
        refuseNewer(false);
        execute(QStringLiteral("PRAGMA foreign_keys = OFF"));
        // A ledger sorts and writes a year of lines in one statement: with the default 2 MB of
        // cache the sort spills to temporary files and the work table's pages to the log.
        execute(QStringLiteral("PRAGMA cache_size = -65536"));
        execute(QStringLiteral("PRAGMA temp_store = MEMORY"));
        // A write-ahead log makes each commit one synced append instead of a journal round
        // trip, and stays durable (synchronous stays FULL). Commits and closing fold it back
        // into the file, and so does opening after a crash.
        scalar(QStringLiteral("PRAGMA journal_mode = WAL"));
        // Right after quick_check and the switch, SQLite refuses a checkpoint as "table is
        // locked" until the file has been read once more.
        scalar(QStringLiteral("SELECT COUNT(*) FROM T_COMP_MAIN"));
        checkpoint();
    } catch (const DbError&) {
        closeConnection();
        throw;
    }
}

void Database::refuseNewer(bool onlyMarked) {
    qint64 version = 0;
    qint64 application = 0;
    try {
        version = scalar(QStringLiteral("PRAGMA user_version")).toLongLong();
        application = scalar(QStringLiteral("PRAGMA application_id")).toLongLong();
    } catch (const DbError&) {
        // Not a database at all: requireOurs says so.
        return;
    }
    if (version > Migrations::kCurrentVersion &&
        (!onlyMarked || application == Migrations::kApplicationId)) {
        throw Migrations::newerFile(filePath_, static_cast<int>(version));
    }
}

void Database::requireOurs() {
    const QString unrecognized =
        QStringLiteral("这个文件不是 Ombrel 的数据库，或者已经损坏，不能使用：") + u'\n' +
        QDir::toNativeSeparators(filePath_);
    qint64 tables = 0;
    try {
        tables = scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' "
                                       "AND name IN ('T_COMP_MAIN', 'T_SIWAKE', 'T_SI_MEISAI')"))
                     .toLongLong();
    } catch (const DbError& error) {
        throw DbError(DbError::kUnrecognized, unrecognized + u'\n' + error.description());
    }
    if (tables != 3) {
        throw DbError(DbError::kUnrecognized, unrecognized);
    }
    QStringList problems;
    try {
        QSqlQuery rs = select(QStringLiteral("PRAGMA quick_check"), {});
        while (rs.next()) {
            problems.append(rs.value(0).toString());
        }
    } catch (const DbError& error) {
        problems = QStringList{error.description()};
    }
    if (problems != QStringList{QStringLiteral("ok")}) {
        throw DbError(DbError::kUnrecognized,
                      QStringLiteral("数据库文件已经损坏，不能使用：") + u'\n' +
                          QDir::toNativeSeparators(filePath_) + u'\n' +
                          problems.mid(0, kProblemsShown).join(u'\n') + u'\n' +
                          QStringLiteral("请用备份的数据库文件恢复。"));
    }
}

void Database::checkpoint() {
    requireOpen();
    QSqlQuery result = select(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"), {});
    // A busy result means a statement of ours still reads: every committed page is in the file
    // all the same, only the log is not emptied yet.
    result.next();
}

void Database::close() {
    if (!isOpen()) {
        closeConnection();
        return;
    }
    std::optional<DbError> failure;
    if (inTransaction_) {
        rollback();
    }
    try {
        checkpoint();
    } catch (const DbError& error) {
        failure = error;
    }
    closeConnection();
    if (failure) {
        throw *failure;
    }
}

void Database::closeConnection() {
    // The engine's statements must be gone before the connection closes.
    native_.reset();
    statements_.clear();
    columns_.clear();
    inTransaction_ = false;
    filePath_.clear();
    if (QSqlDatabase::contains(kConnectionName)) {
        {
            QSqlDatabase db = QSqlDatabase::database(kConnectionName, false);
            if (db.isOpen()) {
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(kConnectionName);
    }
}

bool Database::isOpen() const {
    return !filePath_.isEmpty() && connection().isOpen();
}

void Database::requireOpen() const {
    if (!isOpen()) {
        throw DbError(DbError::kNotOpen, QStringLiteral("数据库没有打开。"));
    }
}

QSqlQuery& Database::prepared(const QString& sql) {
    auto found = statements_.find(sql);
    if (found != statements_.end()) {
        return *found;
    }
    QSqlQuery query(connection());
    if (!query.prepare(sql)) {
        throw toDbError(query.lastError());
    }
    return *statements_.insert(sql, query);
}

void Database::run(QSqlQuery& query, const QVariantList& params) {
    for (int i = 0; i < params.size(); ++i) {
        query.bindValue(i, params.at(i));
    }
    if (!query.exec()) {
        const DbError error = toDbError(query.lastError());
        query.finish();
        throw error;
    }
}

void Database::execute(const QString& sql, const QVariantList& params) {
    executeCount(sql, params);
}

int Database::executeCount(const QString& sql, const QVariantList& params) {
    // Only an open connection has the engine's statements.
    if (native_ && native_->available()) {
        return native_->execute(sql, params);
    }
    requireOpen();
    QSqlQuery& query = prepared(sql);
    run(query, params);
    const int affected = query.numRowsAffected();
    query.finish();
    return affected;
}

bool Database::startRunningSum() {
    requireOpen();
    if (!native_ || !native_->available()) {
        return false;
    }
    native_->resetRunningSum();
    return true;
}

QList<QVariantList> Database::selectAll(const QString& sql, const QVariantList& params,
                                        QStringList* names) {
    requireOpen();
    if (native_ && native_->available()) {
        return native_->selectAll(sql, params, names);
    }
    QSqlQuery& query = prepared(sql);
    run(query, params);
    const QSqlRecord record = query.record();
    if (names) {
        names->clear();
        for (int i = 0; i < record.count(); ++i) {
            names->append(record.fieldName(i));
        }
    }
    QList<QVariantList> rows;
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < record.count(); ++i) {
            row.append(query.value(i));
        }
        rows.append(std::move(row));
    }
    query.finish();
    return rows;
}

bool Database::tryExecute(const QString& sql, const QVariantList& params) {
    try {
        execute(sql, params);
        return true;
    } catch (const DbError& error) {
        noteError(error);
        return false;
    }
}

void Database::noteError(const DbError& error) {
    lastErrorNumber_ = error.number();
    lastErrorText_ = error.description();
}

QSqlQuery Database::select(const QString& sql, const QVariantList& params) {
    requireOpen();
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        throw toDbError(query.lastError());
    }
    for (int i = 0; i < params.size(); ++i) {
        query.bindValue(i, params.at(i));
    }
    if (!query.exec()) {
        throw toDbError(query.lastError());
    }
    return query;
}

RecordSet Database::query(const QString& sql, const QVariantList& params) {
    return RecordSet(select(sql, params));
}

QVariant Database::scalar(const QString& sql, const QVariantList& params) {
    QSqlQuery query = select(sql, params);
    return query.next() ? query.value(0) : QVariant();
}

const QList<Column>& Database::columns(const QString& table) {
    requireOpen();
    const QString key = table.toUpper();
    auto found = columns_.constFind(key);
    if (found == columns_.constEnd()) {
        QList<Column> read = readTableColumns(connection(), table);
        if (read.isEmpty()) {
            throw DbError(DbError::kInvalidValue, QStringLiteral("找不到表: ") + table);
        }
        found = columns_.insert(key, read);
    }
    return *found;
}

void Database::beginTransaction() {
    requireOpen();
    if (inTransaction_) {
        throw DbError(DbError::kTransaction, QStringLiteral("已经有一个打开的事务。"));
    }
    if (!connection().transaction()) {
        throw toDbError(connection().lastError());
    }
    inTransaction_ = true;
}

void Database::commit() {
    if (!inTransaction_) {
        throw DbError(DbError::kTransaction, QStringLiteral("没有打开的事务。"));
    }
    // Statements still holding a read lock would make the commit fail.
    for (QSqlQuery& q : statements_) {
        q.finish();
    }
    // A refused COMMIT (a deferred constraint, a lock) leaves the engine's transaction open:
    // end it here, so that the next begin does not find one.
    inTransaction_ = false;
    if (!connection().commit()) {
        const DbError error = toDbError(connection().lastError());
        connection().rollback();
        throw error;
    }
    // Every committed save lands in the file itself, so that a copy of the file alone (or the
    // file after a crash) holds it. A full disk shows here, after the save is already safe in
    // the log. A reader of ours still open only postpones it to the next commit or the close.
    try {
        checkpoint();
    } catch (const DbError& error) {
        if (error.number() != kSqliteBusy && error.number() != kSqliteLocked) {
            throw;
        }
    }
}

void Database::rollback() {
    if (!inTransaction_) {
        return;
    }
    inTransaction_ = false;
    for (QSqlQuery& q : statements_) {
        q.finish();
    }
    connection().rollback();
}

TransactionGuard::~TransactionGuard() {
    if (!done_) {
        db_.rollback();
    }
}

void TransactionGuard::commit() {
    // A failed commit has already ended the transaction; a rollback on scope exit would end
    // one begun since.
    done_ = true;
    db_.commit();
}
