#pragma once

#include <gtest/gtest.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

// A file's bytes ("" when it cannot be read), to show that something left it unchanged.
inline QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces a file's bytes, making its folder when missing; fails the test when it cannot.
inline void writeAll(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

// Every file of a folder as its name, a line break and its text, by name: two folders of the
// same backup compare equal.
inline QStringList folderFiles(const QString& folder) {
    QStringList all;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        all.append(name + u'\n' + QString::fromUtf8(bytesOf(QDir(folder).filePath(name))));
    }
    return all;
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
