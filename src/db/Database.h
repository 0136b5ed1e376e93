#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <memory>

#include "db/DbError.h"
#include "db/NativeStatements.h"
#include "db/RecordSet.h"
#include "db/TableColumns.h"

// The one connection of the program to its database file. Every statement failure is thrown as
// a DbError; only tryExecute reports a failure as a result, for the insert-then-update pattern.
class Database {
  public:
    // The process-wide connection every routine uses.
    static Database& global();

    // Opens an existing database file; a missing file fails, a file that is not one of ours or is
    // damaged fails with DbError::kUnrecognized and a file of a newer program with kNewerVersion,
    // before anything in it is changed. An older file opens as it is (see Migrations).
    void open(const QString& filePath);
    // Folds the log into the file and closes. Throws when the log could not be folded in (a full
    // disk); the connection is closed all the same.
    void close();
    // Folds the write-ahead log into the file and empties it. Throws DbError (a full disk).
    void checkpoint();
    bool isOpen() const;
    QString filePath() const { return filePath_; }

    void execute(const QString& sql, const QVariantList& params = {});
    // Runs a statement and returns the number of rows it changed.
    int executeCount(const QString& sql, const QVariantList& params = {});
    // Runs a statement; false when the engine refused it (a duplicate key, say).
    bool tryExecute(const QString& sql, const QVariantList& params = {});
    RecordSet query(const QString& sql, const QVariantList& params = {});
    // Every row of a query at once, the fast way for a report's many rows; the column names into
    // names when given.
    QList<QVariantList> selectAll(const QString& sql, const QVariantList& params = {},
                                  QStringList* names = nullptr);
    // Starts running_sum(partition, amount) afresh for the next statement (see NativeStatements);
    // false when the connection cannot have it (not the engine linked here).
    bool startRunningSum();
    // The first column of the first row, or a null value when there is no row.
    QVariant scalar(const QString& sql, const QVariantList& params = {});

    // One transaction at a time; a second begin is an error, as is a commit without a begin.
    // A commit also folds the log into the file (see checkpoint).
    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return inTransaction_; }

    // The engine's report of the last tryExecute that failed.
    int lastErrorNumber() const { return lastErrorNumber_; }
    const QString& lastErrorText() const { return lastErrorText_; }
    void noteError(const DbError& error);

    // The columns of a table in table order; a table the file does not hold is an error.
    const QList<Column>& columns(const QString& table);

    QSqlDatabase connection() const;

  private:
    Database() = default;
    QSqlQuery& prepared(const QString& sql);
    // A fresh forward-only query, executed.
    QSqlQuery select(const QString& sql, const QVariantList& params);
    void run(QSqlQuery& query, const QVariantList& params);
    void requireOpen() const;
    // Throws DbError::kUnrecognized unless the file holds our tables and passes quick_check.
    void requireOurs();
    // Throws DbError::kNewerVersion for a file whose version is past ours; with onlyMarked, only
    // when the file is marked as ours.
    void refuseNewer(bool onlyMarked);
    void closeConnection();

    QString filePath_;
    bool inTransaction_ = false;
    QHash<QString, QSqlQuery> statements_;
    // Statements without rows go straight to the engine when it is the one linked here.
    std::unique_ptr<NativeStatements> native_;
    QHash<QString, QList<Column>> columns_;
    int lastErrorNumber_ = 0;
    QString lastErrorText_;
};

// Begins a transaction and rolls it back on scope exit unless committed, so that no early return
// or error leaves one open.
class TransactionGuard {
  public:
    explicit TransactionGuard(Database& db = Database::global()) : db_(db) {
        db_.beginTransaction();
    }
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard&) = delete;
    TransactionGuard& operator=(const TransactionGuard&) = delete;

    void commit();

  private:
    Database& db_;
    bool done_ = false;
};
