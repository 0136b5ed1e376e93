#include "maintenance/AutoBackup.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include "common/Clock.h"
#include "common/Session.h"
#include "db/ErrorReport.h"
#include "maintenance/BackupRestore.h"
#include "maintenance/BackupSet.h"

namespace {

const QString kDayFormat = QStringLiteral("yyyyMMdd");

QString keepFile() {
    return autoBackupRoot() + QStringLiteral("保留份数.txt");
}

QString setFolder(const QString& cid) {
    return autoBackupRoot() + cid + u'/';
}

void prune(const QString& cid) {
    const QList<AutoBackupEntry> all = autoBackups(cid);
    for (qsizetype i = autoBackupKeepCount(); i < all.size(); ++i) {
        QDir(all.at(i).folder).removeRecursively();
    }
}

}  // namespace

QString autoBackupRoot() {
    return session().AppFolder + QStringLiteral("Data/自动备份/");
}

int autoBackupKeepCount() {
    QFile file(keepFile());
    if (!file.open(QIODevice::ReadOnly)) {
        return kDefaultAutoBackups;
    }
    bool ok = false;
    const int count = QString::fromUtf8(file.readAll()).trimmed().toInt(&ok);
    return ok && count >= 1 && count <= kMaxAutoBackups ? count : kDefaultAutoBackups;
}

bool setAutoBackupKeepCount(int count) {
    QSaveFile file(keepFile());
    if (count < 1 || count > kMaxAutoBackups || !QDir().mkpath(autoBackupRoot()) ||
        !file.open(QIODevice::WriteOnly) || file.write(QByteArray::number(count)) < 0 ||
        !file.commit()) {
        reportError(
            DbError(DbError::kNotOpen, QStringLiteral("不能保存自动备份的份数: ") + keepFile()),
            QStringLiteral("setAutoBackupKeepCount"));
        return false;
    }
    prune(session().CurrentCid);
    return true;
}

QList<AutoBackupEntry> autoBackups(const QString& cid) {
    static const QRegularExpression dayName(QStringLiteral("^[0-9]{8}$"));
    QList<AutoBackupEntry> all;
    const QDir dir(setFolder(cid));
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDate day = QDate::fromString(name, kDayFormat);
        const QString folder = dir.filePath(name) + u'/';
        if (!dayName.match(name).hasMatch() || !day.isValid() ||
            countBackupFiles(folder) != backupFileNames().size()) {
            continue;
        }
        AutoBackupEntry entry{folder, day, 0};
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
            entry.bytes += file.size();
        }
        all.prepend(entry);
    }
    return all;
}

bool writeAutoBackup(const BackupProgress& progress) {
    const QString cid = session().CurrentCid;
    const QString day = Clock::today().toString(kDayFormat);
    const QString done = setFolder(cid) + day;
    if (QFileInfo(done).isDir()) {
        return true;
    }
    // Hidden until whole; one left by a crash is started again.
    QDir partial(setFolder(cid) + u'.' + day);
    partial.removeRecursively();
    if (!DataBackUp(partial.path() + u'/', BackupUse::Silent, progress)) {
        partial.removeRecursively();
        return false;
    }
    if (!QDir().rename(partial.path(), done)) {
        partial.removeRecursively();
        reportError(DbError(DbError::kNotOpen, QStringLiteral("不能写入文件夹: ") + done),
                    QStringLiteral("DataBackUp"));
        return false;
    }
    prune(cid);
    return true;
}
