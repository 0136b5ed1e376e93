#include "maintenance/Compaction.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "db/Database.h"
#include "db/ErrorReport.h"
#include "db/FileSync.h"

namespace {

DbError engineError(sqlite3* db, int code) {
    return DbError(
        code, db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code)));
}

void vacuumInto(const QString& source, const QString& target) {
    sqlite3* db = nullptr;
    // Read-only: the source stays exactly as it is whatever happens here.
    int rc =
        sqlite3_open_v2(QFile::encodeName(source).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    if (rc == SQLITE_OK) {
        rc = sqlite3_prepare_v2(db, "VACUUM INTO ?1", -1, &statement, nullptr);
    }
    if (rc == SQLITE_OK) {
        const QByteArray name = target.toUtf8();
        sqlite3_bind_text(statement, 1, name.constData(), static_cast<int>(name.size()),
                          SQLITE_TRANSIENT);
        rc = sqlite3_step(statement) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
    }
    const DbError failure = engineError(db, rc);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        throw failure;
    }
}

}  // namespace

bool CompactDB(const QString& source, const QString& target) {
    try {
        if (QFileInfo::exists(target)) {
            throw DbError(DbError::kNotOpen, QStringLiteral("文件已经存在: ") + target);
        }
        vacuumInto(source, target);
        syncPath(target);
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("CompactDB"));
        return false;
    }
}

bool DeleteFile(const QString& file) {
    const QFileInfo info(file);
    if (!info.exists() && !info.isSymLink()) {
        return true;
    }
    if (info.isFile() && QFile::remove(file)) {
        return true;
    }
    reportError(DbError(DbError::kNotOpen, QStringLiteral("不能删除文件: ") + file),
                QStringLiteral("DeleteFile"));
    return false;
}

bool RenameFile(const QString& file, const QString& newName) {
    try {
        const QString folder = QFileInfo(file).absolutePath();
        const QString target = QDir(folder).filePath(newName);
        // rename() replaces the target atomically: there is never a moment without the file.
        if (std::rename(QFile::encodeName(file).constData(),
                        QFile::encodeName(target).constData()) != 0) {
            throw DbError(DbError::kNotOpen,
                          QStringLiteral("不能把文件 %1 改名为 %2。").arg(file, newName));
        }
        syncPath(folder);
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("RenameFile"));
        return false;
    }
}

bool compactDatabase() {
    Database& db = Database::global();
    if (!db.isOpen()) {
        reportError(DbError(DbError::kNotOpen, QStringLiteral("数据库没有打开。")),
                    QStringLiteral("CompactDB"));
        return false;
    }
    const QString path = db.filePath();
    const QFileInfo info(path);
    const QString copy = info.dir().filePath(QStringLiteral("bak_") + info.fileName());
    bool compacted = false;
    try {
        db.close();
        // A copy left by an interrupted run is incomplete or stale: the file itself is whole.
        compacted = (!QFileInfo(copy).isFile() || DeleteFile(copy)) && CompactDB(path, copy) &&
                    DeleteFile(path + QStringLiteral("-wal")) &&
                    DeleteFile(path + QStringLiteral("-shm")) && RenameFile(copy, info.fileName());
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("CompactDB"));
    }
    if (!compacted && QFileInfo(copy).isFile()) {
        QFile::remove(copy);
    }
    try {
        db.open(path);
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("CompactDB"));
        return false;
    }
    return compacted;
}
