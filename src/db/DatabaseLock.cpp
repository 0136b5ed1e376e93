#include "db/DatabaseLock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

DatabaseLock::DatabaseLock(const QString& databasePath)
    : databasePath_(databasePath), file_(std::make_unique<QLockFile>(lockPathFor(databasePath))) {
    // Age says nothing here: the program holds the lock for hours. Only a holder that is gone
    // makes a lock stale.
    file_->setStaleLockTime(0);
}

DatabaseLock::~DatabaseLock() = default;

QString DatabaseLock::lockPathFor(const QString& databasePath) {
    return databasePath + QStringLiteral(".lock");
}

bool DatabaseLock::unfinishedLeftover() const {
    // A holder killed between creating the lock and writing its process into it leaves a lock
    // that names nobody; with age not counting, it would shut the books out for good. A live
    // writer fills it within microseconds, so one still empty a moment later is a leftover.
    const auto namesNobody = [this] {
        qint64 pid = 0;
        QString host;
        QString application;
        return !file_->getLockInfo(&pid, &host, &application);
    };
    if (!namesNobody()) {
        return false;
    }
    QThread::msleep(100);
    return namesNobody() && QFileInfo::exists(lockPathFor(databasePath_));
}

void DatabaseLock::unlock() {
    file_->unlock();
}

bool DatabaseLock::tryLock() {
    refusal_.clear();
    heldElsewhere_ = false;
    if (file_->isLocked() || file_->tryLock(0)) {
        return true;
    }
    if (file_->error() == QLockFile::LockFailedError && unfinishedLeftover() &&
        file_->removeStaleLockFile() && file_->tryLock(0)) {
        return true;
    }
    const QString database = QDir::toNativeSeparators(databasePath_);
    if (file_->error() != QLockFile::LockFailedError) {
        refusal_ = QStringLiteral("不能在数据库文件旁边建立锁文件，系统无法启动。") + u'\n' +
                   QDir::toNativeSeparators(lockPathFor(databasePath_));
        return false;
    }
    heldElsewhere_ = true;
    refusal_ =
        QStringLiteral("Ombrel 已经在使用这个数据库文件，不能再启动一个。") + u'\n' + database;
    qint64 pid = 0;
    QString host;
    QString application;
    if (file_->getLockInfo(&pid, &host, &application)) {
        refusal_ +=
            u'\n' + QStringLiteral("（进程 %1 %2，计算机 %3）").arg(pid).arg(application, host);
    }
    refusal_ += u'\n' + QStringLiteral("请先结束那个 Ombrel。");
    return false;
}
