#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QMap>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

// Database files as other versions of the program left them.

// A database file made by the program before files carried a version: two account sets with a
// few weeks of vouchers each, written and compacted by the program itself.
inline void unpackVersion1File(const QString& target) {
    QProcess gzip;
    gzip.setStandardOutputFile(target);
    gzip.start(QStringLiteral("gzip"),
               {QStringLiteral("-dc"), QStringLiteral(OMBREL_TESTS_DIR "/data/Kaikei-v1.mdb.gz")});
    ASSERT_TRUE(gzip.waitForFinished());
    ASSERT_EQ(gzip.exitCode(), 0);
}

// Runs statements on a file over a connection of its own; fails the test on error.
inline void changeFile(const QString& file, const QStringList& statements) {
    const QString name = QStringLiteral("older-file-change");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        ASSERT_TRUE(db.open());
        for (const QString& sql : statements) {
            QSqlQuery query(db);
            EXPECT_TRUE(query.exec(sql))
                << sql.toStdString() << ": " << query.lastError().text().toStdString();
        }
    }
    QSqlDatabase::removeDatabase(name);
}

// Every table of a file, each as its rows (columns joined by "|") in rowid order.
inline QMap<QString, QStringList> tablesOf(const QString& file) {
    const QString name = QStringLiteral("older-file-tables");
    QMap<QString, QStringList> tables;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        EXPECT_TRUE(db.open());
        QSqlQuery names(db);
        EXPECT_TRUE(names.exec(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'")));
        while (names.next()) {
            const QString table = names.value(0).toString();
            QSqlQuery rows(db);
            // Names come from the file's own catalogue.
            EXPECT_TRUE(
                rows.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table)));
            QStringList& out = tables[table];
            while (rows.next()) {
                QStringList cells;
                for (int i = 0; i < rows.record().count(); ++i) {
                    cells.append(rows.value(i).toString());
                }
                out.append(cells.join(u'|'));
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return tables;
}
