#pragma once

#include <gtest/gtest.h>
#include <QByteArray>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// A file's bytes ("" when it cannot be read), to show that something left it unchanged.
inline QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One value read from a database file on a connection of its own, beside the program's.
inline QString valueIn(const QString& file, const QString& sql) {
    const QString name = QStringLiteral("database-file-check");
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        EXPECT_TRUE(db.open());
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(sql)) << sql.toStdString();
        if (query.next()) {
            result = query.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}
