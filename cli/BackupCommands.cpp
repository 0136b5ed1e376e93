#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <memory>

#include "CliSupport.h"
#include "common/Session.h"
#include "db/Database.h"
#include "maintenance/BackupRestore.h"
#include "maintenance/BackupSet.h"
#include "maintenance/Compaction.h"
#include "maintenance/Converter.h"

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

// A folder beside target to write a set into before it takes target's place.
std::unique_ptr<QTemporaryDir> scratchBeside(const QString& target) {
    const QString parent = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(parent)) {
        throw CliError{QStringLiteral("不能创建文件夹: ") + parent, 1};
    }
    auto scratch = std::make_unique<QTemporaryDir>(parent + QStringLiteral("/.ombrel-set-XXXXXX"));
    if (!scratch->isValid()) {
        throw CliError{QStringLiteral("不能写入文件夹: ") + parent, 1};
    }
    return scratch;
}

// A command that writes the 23 files of set --set into --to DIR through write, beside DIR first
// so that a failure leaves DIR as it was. write may leave a note for the report.
Command writeSetCommand(const QStringList& arguments, const QString& kind, const QString& failure,
                        const std::function<bool(const QString& folder, QString& note)>& write) {
    const CommandOptions options(arguments, {QStringLiteral("--set"), QStringLiteral("--to")}, {});
    const QString cid =
        parseSetCode(options.required(QStringLiteral("--set")), QStringLiteral("--set"));
    const QString target = QFileInfo(options.required(QStringLiteral("--to"))).absoluteFilePath();
    return [cid, target, kind, failure, write](QTextStream& out) {
        makeCurrent(cid);
        const std::unique_ptr<QTemporaryDir> scratch = scratchBeside(target);
        QElapsedTimer timer;
        timer.start();
        QString note;
        if (!write(scratch->path() + u'/', note)) {
            throw CliError{failure + target + QStringLiteral(" 没有改变。"), 1};
        }
        moveInto(*scratch, target);
        out << QStringLiteral("%1 set %2: %3 files in %4, %5 ms\n")
                   .arg(kind, cid)
                   .arg(countBackupFiles(target))
                   .arg(target)
                   .arg(timer.elapsed());
        if (!note.isEmpty()) {
            out << note << u'\n';
        }
        return 0;
    };
}

}  // namespace

// backup --set CID --to DIR: the 23 files of the set.
Command backupCommand(const QStringList& arguments) {
    return writeSetCommand(
        arguments, QStringLiteral("backup"), QStringLiteral("备份失败，"),
        [](const QString& folder, QString&) { return DataBackUp(folder, BackupUse::Full); });
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

// convert-export --set CID --to DIR: the set for the Japanese edition, with the characters it
// could not carry.
Command convertExportCommand(const QStringList& arguments) {
    return writeSetCommand(arguments, QStringLiteral("converter"), QStringLiteral("导出失败，"),
                           [](const QString& folder, QString& note) {
                               LostCharacters lost;
                               const bool written = exportConverterSet(folder, lost);
                               if (!lost.isEmpty()) {
                                   note = lostCharactersText(lost);
                               }
                               return written;
                           });
}

// convert-import --set CID --from DIR [--japanese]: the set from the Japanese edition's files.
Command convertImportCommand(const QStringList& arguments) {
    const CommandOptions options(arguments, {QStringLiteral("--set"), QStringLiteral("--from")},
                                 {QStringLiteral("--japanese")});
    const QString cid =
        parseSetCode(options.required(QStringLiteral("--set")), QStringLiteral("--set"));
    const QString from = QFileInfo(options.required(QStringLiteral("--from"))).absoluteFilePath();
    const ImportedCharacters characters = options.has(QStringLiteral("--japanese"))
                                              ? ImportedCharacters::Japanese
                                              : ImportedCharacters::Chinese;
    return [cid, from, characters](QTextStream& out) {
        if (!QFileInfo(from).isDir()) {
            throw CliError{QStringLiteral("找不到文件夹: ") + from, 1};
        }
        makeCurrent(cid);
        QElapsedTimer timer;
        timer.start();
        if (importConverterSet(from + u'/', companyText(cid), characters) !=
            ConverterOutcome::Imported) {
            throw CliError{QStringLiteral("没有导入，账套 %1 没有改变。").arg(cid), 1};
        }
        out << QStringLiteral("imported set %1 from %2, %3 ms\n")
                   .arg(cid, from)
                   .arg(timer.elapsed());
        return 0;
    };
}
