#include "db/Migrations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <algorithm>
#include <iterator>

#include "db/Database.h"
#include "db/FileSync.h"
#include "db/ShippedDatabase.h"

namespace Migrations {

namespace {

// Version 1 files were filled up on every opening with what later releases shipped: the form
// lines of the small-business statements, report layouts and character rows. Each addition
// keeps what the file holds, so a file that already has some of it is completed, not changed.
void fromVersion1(Database& db) {
    QSqlDatabase connection = db.connection();
    ShippedDatabase::addMissingFormLines(connection);
    ShippedDatabase::addMissingCharacters(connection);
    ShippedDatabase::addMissingReportLayouts(connection);
}

// Version 2 files lack the general ledger's indexes, which read each side's lines per account
// in date order.
void fromVersion2(Database& db) {
    db.execute(
        QStringLiteral("CREATE INDEX IF NOT EXISTS IX_T_SI_MEISAI_KR_LEDGER ON T_SI_MEISAI "
                       "(CID, KRKOCODE, SIDAY, DENMENO, DENCODE, DATEYM, KRKIN)"));
    db.execute(
        QStringLiteral("CREATE INDEX IF NOT EXISTS IX_T_SI_MEISAI_KS_LEDGER ON T_SI_MEISAI "
                       "(CID, KSKOCODE, SIDAY, DENMENO, DENCODE, DATEYM, KSKIN)"));
}

// The ledgers print year-to-date totals: their work tables hold, on the carried-forward row, the
// turnover before the first printed month, and their layouts add it into the running totals.
void fromVersion3(Database& db) {
    for (const QString& table :
         {QStringLiteral("T_SKANMT_OUT"), QStringLiteral("T_SKANSUBMT_OUT")}) {
        for (const QString& column : {QStringLiteral("YKRKIN"), QStringLiteral("YKSKIN")}) {
            // Like the steps before, this one completes what a file lacks and changes nothing
            // twice (a file of this version marked older keeps its columns).
            if (db.scalar(
                      QStringLiteral("SELECT COUNT(*) FROM pragma_table_info(?) WHERE name = ?"),
                      {table, column})
                    .toInt() == 0) {
                // Names are our own; ALTER TABLE takes no bound values.
                db.execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 MONEY DEFAULT 0")
                               .arg(table, column));
            }
        }
    }
    QSqlDatabase connection = db.connection();
    ShippedDatabase::replaceReportLayouts(
        connection, {QStringLiteral("R_KANJYOMOTOTYO"), QStringLiteral("R_HOJOMOTOTYO")});
}

struct Step {
    int from;
    void (*apply)(Database&);
};

// In version order; step i brings version kSteps[i].from to from + 1.
constexpr Step kSteps[] = {{1, fromVersion1}, {2, fromVersion2}, {3, fromVersion3}};
static_assert(std::size(kSteps) == kCurrentVersion - 1);

// A byte copy beside the file, complete under its name or not there at all.
void copyFile(const QString& source, const QString& target) {
    const QString partial = target + QStringLiteral(".partial");
    QFile::remove(partial);
    const bool copied = QFile::copy(source, partial);
    try {
        if (!copied) {
            throw DbError(DbError::kNotOpen, QStringLiteral("不能写入文件: ") + target);
        }
        syncPath(partial);
        if (!QFile::rename(partial, target)) {
            throw DbError(DbError::kNotOpen, QStringLiteral("不能写入文件: ") + target);
        }
        syncPath(QFileInfo(target).absolutePath());
    } catch (const DbError&) {
        QFile::remove(partial);
        throw;
    }
}

bool sameBytes(const QString& a, const QString& b) {
    QFile first(a);
    QFile second(b);
    if (first.size() != second.size() || !first.open(QIODevice::ReadOnly) ||
        !second.open(QIODevice::ReadOnly)) {
        return false;
    }
    constexpr qint64 kChunk = 1 << 20;
    while (!first.atEnd()) {
        if (first.read(kChunk) != second.read(kChunk)) {
            return false;
        }
    }
    return true;
}

// The first name that is free or already holds this very file (an upgrade that failed before).
QString backupPath(const QString& filePath, int from) {
    QString path = filePath + QStringLiteral(".v%1.bak").arg(from);
    for (int n = 2; QFileInfo::exists(path) && !sameBytes(path, filePath); ++n) {
        path = filePath + QStringLiteral(".v%1-%2.bak").arg(from).arg(n);
    }
    return path;
}

}  // namespace

int fileVersion(Database& db) {
    return std::max(1, db.scalar(QStringLiteral("PRAGMA user_version")).toInt());
}

DbError newerFile(const QString& filePath, int version) {
    return DbError(
        DbError::kNewerVersion,
        QStringLiteral("此数据库文件由更新版本的 Ombrel 创建（版本 %1），本程序只支持到版本 %2。")
                .arg(version)
                .arg(kCurrentVersion) +
            u'\n' + QDir::toNativeSeparators(filePath) + u'\n' +
            QStringLiteral("请使用新版本打开。"));
}

QString upgrade(Database& db) {
    const QString file = db.filePath();
    const int version = fileVersion(db);
    if (version > kCurrentVersion) {
        throw newerFile(file, version);
    }
    if (version == kCurrentVersion) {
        return {};
    }
    QString backup;
    try {
        // The copy must hold what the log holds: it is the whole file before the change.
        db.checkpoint();
        backup = backupPath(file, version);
        if (!QFileInfo::exists(backup)) {
            copyFile(file, backup);
        }
        TransactionGuard transaction(db);
        for (const Step& step : kSteps) {
            if (step.from >= version) {
                step.apply(db);
            }
        }
        // Neither pragma takes a bound value; both values are our own numbers.
        db.execute(QStringLiteral("PRAGMA user_version = %1").arg(kCurrentVersion));
        db.execute(QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId));
        transaction.commit();
    } catch (const DbError& error) {
        QString text = QStringLiteral("不能把数据库文件从版本 %1 升级到版本 %2，文件保持原样：")
                           .arg(version)
                           .arg(kCurrentVersion) +
                       u'\n' + QDir::toNativeSeparators(file) + u'\n';
        if (QFileInfo::exists(backup)) {
            text +=
                QStringLiteral("升级前的副本：") + u'\n' + QDir::toNativeSeparators(backup) + u'\n';
        }
        throw DbError(DbError::kUpgradeFailed,
                      text + QString::number(error.number()) + u' ' + error.description());
    }
    return backup;
}

}  // namespace Migrations
