#pragma once

#include <gtest/gtest.h>
#include <QString>
#include <QStringList>

// Everything one account set holds: every row of every table with a CID column, each row as its
// table name and the SQL literals of its values, sorted. The session's work tables (WK_*) and the
// template chart (MT_*) belong to no set and are left out. Taken at construction; a writer run
// on another set must leave it unchanged().
class SetSnapshot {
  public:
    explicit SetSnapshot(const QString& cid);

    const QStringList& rows() const { return rows_; }
    // Rows of one table in the snapshot, so that a test can make sure the set holds what a
    // careless statement would destroy.
    qsizetype count(const QString& table) const;
    // Success when the set still holds exactly the rows taken; otherwise the rows gone and new.
    ::testing::AssertionResult unchanged() const;

    // Makes set `to` a copy of set `from` (its own rows are dropped first): the same voucher
    // codes, days, accounts, amounts and settings under another CID.
    static void copySet(const QString& from, const QString& to);
    // Copies set cid, every row of it, from another database file into this one (which must not
    // hold that set yet).
    static void copySetFromFile(const QString& file, const QString& cid);
    // Gives set cid year copies (BT_ tables) equal to its live tables and the working chart.
    static void copyToYearTables(const QString& cid);

  private:
    QString cid_;
    QStringList rows_;
};
