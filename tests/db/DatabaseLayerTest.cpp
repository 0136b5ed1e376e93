#include <gtest/gtest.h>
#include <QFile>
#include <QSqlQuery>
#include <optional>

#include "db/DataSource.h"
#include "db/Database.h"
#include "db/SqlText.h"
#include "support/TestDatabase.h"

namespace {

class DatabaseLayer : public DatabaseTest {};

TEST_F(DatabaseLayer, UniqueKeysRejectASecondRowWithoutEndingTheTransaction) {
    Database& db = Database::global();
    TransactionGuard transaction;
    const QString insert =
        QStringLiteral("INSERT INTO T_TUKIKAN VALUES('51', '004', '2024/04', 100, 0, 100, 0)");
    EXPECT_TRUE(db.tryExecute(insert));
    EXPECT_FALSE(db.tryExecute(insert));
    EXPECT_EQ(db.lastErrorNumber(), 2067);  // SQLITE_CONSTRAINT_UNIQUE
    // The update path of insert-then-update runs on in the same transaction.
    db.execute(QStringLiteral("UPDATE T_TUKIKAN SET KSTOTAL = 5 WHERE CID = '51'"));
    transaction.commit();
    EXPECT_EQ(value(QStringLiteral("SELECT KRTOTAL || '/' || KSTOTAL FROM T_TUKIKAN")),
              QStringLiteral("100/5"));

    for (const QString& duplicate :
         {QStringLiteral("INSERT INTO T_TUKIHOJO (CID, KANKOCODE, HOCODE, DATEYM) "
                         "VALUES ('51', '034', '01', '2024/04')"),
          QStringLiteral("INSERT INTO T_DAY_TORAN (CID, KOCODE, DATEYM) "
                         "VALUES ('51', '004', '2024/04')"),
          QStringLiteral("INSERT INTO T_SIWAKE (CID, DENCODE) VALUES ('51', '00001')"),
          QStringLiteral("INSERT INTO T_KISYUZAN (CID, KOCODE) VALUES ('51', '004')"),
          QStringLiteral("INSERT INTO T_HOJOKAMOKU (CID, KANKOCODE, HOKOCODE) "
                         "VALUES ('51', '034', '01')")}) {
        EXPECT_TRUE(db.tryExecute(duplicate)) << duplicate.toStdString();
        EXPECT_FALSE(db.tryExecute(duplicate)) << duplicate.toStdString();
    }
}

// Writes bind their values in the engine itself; every kind of value must be stored as Qt's own
// driver stores it, null texts as NULL included.
TEST_F(DatabaseLayer, WritesStoreEachValueAsTheQtDriverDoes) {
    Database& db = Database::global();
    db.execute(QStringLiteral("CREATE TEMP TABLE BOUND (PATH TEXT, N INTEGER, V)"));
    const QVariantList values = {QStringLiteral("O'Brien \"A\" 账"),
                                 QString(),
                                 QStringLiteral(""),
                                 QVariant(),
                                 QVariant(qint64(-9'000'000'000'000)),
                                 QVariant(7),
                                 QVariant(true),
                                 QVariant(3u),
                                 QVariant(1.25),
                                 QVariant(QByteArray("\x01\x00z", 3)),
                                 QVariant(QDate(2024, 2, 29)),
                                 QVariant(QTime(9, 5, 7, 12)),
                                 QVariant(QDateTime(QDate(2024, 2, 29), QTime(9, 5, 7, 12))),
                                 QVariant(quint64(5)),
                                 QVariant(2.5f)};
    const QString insert = QStringLiteral("INSERT INTO BOUND VALUES (?, ?, ?)");
    QSqlQuery qt(db.connection());
    ASSERT_TRUE(qt.prepare(insert));
    for (int i = 0; i < values.size(); ++i) {
        db.execute(insert, {QStringLiteral("engine"), i, values.at(i)});
        qt.bindValue(0, QStringLiteral("qt"));
        qt.bindValue(1, i);
        qt.bindValue(2, values.at(i));
        ASSERT_TRUE(qt.exec()) << i;
    }
    const QString stored = QStringLiteral(
        "SELECT N || ' ' || typeof(V) || ' ' || quote(V) FROM BOUND WHERE PATH = ? ORDER BY N");
    const QStringList engine = rows(stored, {QStringLiteral("engine")});
    EXPECT_EQ(engine.size(), values.size());
    EXPECT_EQ(engine, rows(stored, {QStringLiteral("qt")}));
    EXPECT_EQ(engine.at(1), QStringLiteral("1 null NULL"));
    // A statement with the wrong number of values is refused, not run with stale ones.
    EXPECT_THROW(db.execute(insert, {QStringLiteral("engine"), 99}), DbError);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM BOUND WHERE N = 99")), 0);
}

TEST_F(DatabaseLayer, OneTransactionAtATimeRolledBackUnlessCommitted) {
    Database& db = Database::global();
    {
        TransactionGuard transaction;
        db.execute(QStringLiteral("DELETE FROM T_COMP_MAIN"));
        EXPECT_THROW(db.beginTransaction(), DbError);
        // Leaving the scope early is a rollback.
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_COMP_MAIN")), 13);
    EXPECT_THROW(db.commit(), DbError);
    try {
        TransactionGuard transaction;
        db.execute(QStringLiteral("DELETE FROM T_COMP_MAIN WHERE CID = '13'"));
        db.execute(QStringLiteral("DELETE FROM NO_SUCH_TABLE"));
        transaction.commit();
    } catch (const DbError& error) {
        EXPECT_EQ(error.number(), 1);
        EXPECT_TRUE(error.description().contains(u"NO_SUCH_TABLE")) << error.what();
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_COMP_MAIN")), 13);
}

TEST_F(DatabaseLayer, AFailedCommitLeavesNoTransactionOpen) {
    Database& db = Database::global();
    exec(QStringLiteral("CREATE TABLE PARENT_ROWS (ID INTEGER PRIMARY KEY)"));
    exec(
        QStringLiteral("CREATE TABLE CHILD_ROWS (PARENT_ID INTEGER REFERENCES PARENT_ROWS(ID) "
                       "DEFERRABLE INITIALLY DEFERRED)"));
    // A child without its parent is refused only by the COMMIT itself.
    exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    for (const bool guarded : {false, true}) {
        SCOPED_TRACE(guarded ? "guard" : "database");
        {
            std::optional<TransactionGuard> guard;
            if (guarded) {
                guard.emplace(db);
            } else {
                db.beginTransaction();
            }
            db.execute(QStringLiteral("INSERT INTO CHILD_ROWS VALUES (99)"));
            EXPECT_THROW(guarded ? guard->commit() : db.commit(), DbError);
            EXPECT_FALSE(db.inTransaction());
            // The next transaction begins while the failed guard is still in scope, and its
            // end does not roll this one back.
            db.beginTransaction();
            db.execute(QStringLiteral("INSERT INTO PARENT_ROWS VALUES (?)"), {guarded ? 2 : 1});
        }
        ASSERT_TRUE(db.inTransaction());
        db.commit();
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM CHILD_ROWS")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM PARENT_ROWS")), 2);
}

TEST_F(DatabaseLayer, RecordSetsReadByNameWithNullHandling) {
    exec(QStringLiteral("INSERT INTO T_TOTAL1 (CID, KMNAME, ZAN) VALUES (NULL, '', NULL)"));
    RecordSet rs = Database::global().query(QStringLiteral("SELECT * FROM T_TOTAL1"));
    ASSERT_FALSE(rs.eof());
    EXPECT_TRUE(rs.isNull(QStringLiteral("CID")));
    EXPECT_EQ(rs.text(QStringLiteral("cid")), QString());
    EXPECT_EQ(rs.number(QStringLiteral("KMNAME")), 0);
    EXPECT_EQ(rs.money(QStringLiteral("ZAN")), Money());
    EXPECT_THROW(rs.value(QStringLiteral("NO_COLUMN")), DbError);
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.text(QStringLiteral("CID")), DbError);
}

TEST_F(DatabaseLayer, QuotesInUserTextAreStoredIntact) {
    const QString name = QStringLiteral("O'Brien \"A\" 商店");
    exec(QStringLiteral("UPDATE T_COMP_MAIN SET COMPANY = %1 WHERE CID = '02'").arg(sqlText(name)));
    EXPECT_EQ(value(QStringLiteral("SELECT COMPANY FROM T_COMP_MAIN WHERE CID = '02'")), name);
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM T_COMP_MAIN WHERE COMPANY = ?"), {name}),
              QStringLiteral("1"));
}

// Foreign and damaged files: DatabaseFile.OpeningRefusesForeignEmptyAndDamagedFilesUntouched.
TEST_F(DatabaseLayer, OpeningRefusesAMissingFileWithoutCreatingIt) {
    Database& db = Database::global();
    db.close();
    EXPECT_THROW(db.open(folder.filePath(QStringLiteral("none.mdb"))), DbError);
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("none.mdb"))));
    EXPECT_FALSE(db.isOpen());
    EXPECT_THROW(db.execute(QStringLiteral("SELECT 1")), DbError);
    db.open(DataSource::defaultPath());
    EXPECT_TRUE(db.isOpen());
}

}  // namespace

TEST_F(DatabaseLayer, RunningSumRestartsPerPartitionAndPerStatement) {
    Database& db = Database::global();
    // Rows (partition, order, amount) given out of order; sums come in the subquery's order.
    const QString sums = QStringLiteral(
        "SELECT group_concat(S, ' ') FROM (SELECT running_sum(column1, column3) AS S FROM (SELECT "
        "* FROM (VALUES ('b', 1, 5), ('a', 2, -3), ('a', 1, 1), ('b', 2, 2), ('a', 3, 10)) "
        "ORDER BY column1, column2 LIMIT -1) LIMIT -1)");
    ASSERT_TRUE(db.startRunningSum());
    EXPECT_EQ(db.scalar(sums).toString(), QStringLiteral("1 -2 8 5 7"));
    // The partition the last statement ended on starts again from nothing.
    ASSERT_TRUE(db.startRunningSum());
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT running_sum('b', 4)")).toLongLong(), 4);
}
