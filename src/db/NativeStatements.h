#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_context;
struct sqlite3_value;

// Statements that return no rows, run on the engine behind the Qt connection: each text is
// prepared once and its values are bound straight into the engine. QSqlQuery's binding costs
// several times the insert itself (a thirty-one-column row: about 25 µs against 7 µs), which the
// row writers and every bulk writer pay per row. Debian's SQLite driver plugin uses the system
// libsqlite3 that this program links, so both work on the same engine.
class NativeStatements {
  public:
    // Not available() when the connection is not one to a SQLite engine linked with this program.
    explicit NativeStatements(const QSqlDatabase& connection);
    ~NativeStatements();
    NativeStatements(const NativeStatements&) = delete;
    NativeStatements& operator=(const NativeStatements&) = delete;

    bool available() const { return handle_ != nullptr; }

    // Runs a statement and returns the number of rows it changed; throws DbError when the
    // engine refuses it. The statement is reset afterwards, so it holds no lock.
    int execute(const QString& sql, const QVariantList& params);

    // Every row of a query, values as the Qt driver gives them (integers as qlonglong, texts as
    // QString, NULL as a null variant); the column names into names. Throws DbError.
    QList<QVariantList> selectAll(const QString& sql, const QVariantList& params,
                                  QStringList* names);

    // Adds running_sum(partition, amount) to the connection: the sum of the integer amounts of
    // the calls so far since the partition last changed (or since resetRunningSum). A running
    // balance this way costs a third of a window function over a year's ledger; the caller
    // must make the calls come in ledger order (an ordered subquery under a LIMIT, which
    // SQLite neither flattens nor reorders). Throws DbError.
    void addRunningSum();
    void resetRunningSum();

  private:
    sqlite3_stmt* prepared(const QString& sql);
    sqlite3_stmt* boundStatement(const QString& sql, const QVariantList& params);
    // Resets the statement so it holds no lock; throws when its last step (rc) failed.
    void finish(sqlite3_stmt* statement, int rc);
    void bind(sqlite3_stmt* statement, int position, const QVariant& value);

    struct RunningSum {
        bool started = false;
        QByteArray partition;
        qint64 sum = 0;
    };
    static void runningSum(sqlite3_context* context, int argc, sqlite3_value** argv);

    sqlite3* handle_ = nullptr;
    RunningSum running_;
    QHash<QString, sqlite3_stmt*> statements_;
};
