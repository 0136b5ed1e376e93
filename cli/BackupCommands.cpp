#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

#include "CliSupport.h"
#include "common/Session.h"
#include "db/Database.h"
#include "maintenance/BackupRestore.h"
#include "maintenance/BackupSet.h"
#include "maintenance/Compaction.h"

namespace {

QString companyText(const QString& cid) {
    return Database::global()
        .scalar(QStringLiteral("SELECT COMPANY FROM T_COMP_MAIN WHERE CID = ?"), {cid})
        .toString()
        .trimmed();
}

void renameOrFail(const QString& from, const QString& to) {
    // rename() replaces an old file of the name in one step.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        throw CliError{QStringLiteral("不能写入: ") + to, 1};
    }
}

// Puts a finished backup in target's place: the whole folder when target is new, else file by
// file.
void moveInto(QTemporaryDir& finished, const QString& target) {
    if (!QFileInfo::exists(target)) {
        renameOrFail(finished.path(), target);
        finished.setAutoRemove(false);
        return;
    }
    if (!QFileInfo(target).isDir()) {
        throw CliError{QStringLiteral("不是文件夹: ") + target, 1};
    }
    for (const QString& name : QDir(finished.path()).entryList(QDir::Files)) {
        renameOrFail(QDir(finished.path()).filePath(name), QDir(target).filePath(name));
    }
}

qint64 fileSize(const QString& path) {
    return QFileInfo(path).size();
}

}  // namespace

// backup --set CID --to DIR: the 23 files of the set, written beside DIR first so that a failed
// backup leaves DIR as it was.
Command backupCommand(const QStringList& arguments) {
    const CommandOptions options(arguments, {QStringLiteral("--set"), QStringLiteral("--to")}, {});
    const QString cid =
        parseSetCode(options.required(QStringLiteral("--set")), QStringLiteral("--set"));
    const QString target = QFileInfo(options.required(QStringLiteral("--to"))).absoluteFilePath();
    return [cid, target](QTextStream& out) {
        makeCurrent(cid);
        const QString parent = QFileInfo(target).absolutePath();
        if (!QDir().mkpath(parent)) {
            throw CliError{QStringLiteral("不能创建文件夹: ") + parent, 1};
        }
        QTemporaryDir scratch(parent + QStringLiteral("/.ombrel-backup-XXXXXX"));
        if (!scratch.isValid()) {
            throw CliError{QStringLiteral("不能写入文件夹: ") + parent, 1};
        }
        QElapsedTimer timer;
        timer.start();
        if (!DataBackUp(scratch.path() + u'/', BackupUse::Full)) {
            throw CliError{QStringLiteral("备份失败，") + target + QStringLiteral(" 没有改变。"),
                           1};
        }
        moveInto(scratch, target);
        out << QStringLiteral("backup set %1: %2 files in %3, %4 ms\n")
                   .arg(cid)
                   .arg(countBackupFiles(target))
                   .arg(target)
                   .arg(timer.elapsed());
        return 0;
    };
}

// restore --set CID --from DIR: the set's tables from a backup of that set, all or nothing.
Command restoreCommand(const QStringList& arguments) {
    const CommandOptions options(arguments, {QStringLiteral("--set"), QStringLiteral("--from")},
                                 {});
    const QString cid =
        parseSetCode(options.required(QStringLiteral("--set")), QStringLiteral("--set"));
    const QString from = QFileInfo(options.required(QStringLiteral("--from"))).absoluteFilePath();
    return [cid, from](QTextStream& out) {
        if (!QFileInfo(from).isDir()) {
            throw CliError{QStringLiteral("找不到文件夹: ") + from, 1};
        }
        makeCurrent(cid);
        QElapsedTimer timer;
        timer.start();
        if (restoreBackupSet(from + u'/', companyText(cid)) != RestoreOutcome::Restored) {
            throw CliError{QStringLiteral("没有恢复，账套 %1 没有改变。").arg(cid), 1};
        }
        out << QStringLiteral("restored set %1 from %2 (%3 files), %4 ms\n")
                   .arg(cid, from)
                   .arg(countBackupFiles(from))
                   .arg(timer.elapsed());
        return 0;
    };
}

// compact: the database file rewritten without its free pages.
Command compactCommand(const QStringList& arguments) {
    const CommandOptions options(arguments, {}, {});
    return [](QTextStream& out) {
        const QString path = Database::global().filePath();
        const qint64 before = fileSize(path);
        QElapsedTimer timer;
        timer.start();
        if (!compactDatabase()) {
            throw CliError{QStringLiteral("压缩失败，数据库文件没有改变。"), 1};
        }
        out << QStringLiteral("compacted %1: %2 -> %3 bytes, %4 ms\n")
                   .arg(path)
                   .arg(before)
                   .arg(fileSize(path))
                   .arg(timer.elapsed());
        return 0;
    };
}
