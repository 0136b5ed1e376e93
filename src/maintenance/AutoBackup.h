#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include "maintenance/BackupSet.h"

// Automatic backups: the first save of a set on each day also writes the set's backup into
// AppFolder/Data/自动备份/<set>/<yyyymmdd>/. Each is written into a hidden folder first and
// renamed when complete, so a folder with a date for a name is always a whole backup. The newest
// autoBackupKeepCount() of each set are kept.

struct AutoBackupEntry {
    QString folder;
    QDate day;
    qint64 bytes = 0;
};

QString autoBackupRoot();

constexpr int kDefaultAutoBackups = 10;
constexpr int kMaxAutoBackups = 99;
// How many automatic backups of each set are kept (stored beside them).
int autoBackupKeepCount();
// Stores a count from 1 to kMaxAutoBackups and removes the current set's backups beyond it;
// false (and reported) when it cannot be stored.
bool setAutoBackupKeepCount(int count);

// The set's complete automatic backups, newest first.
QList<AutoBackupEntry> autoBackups(const QString& cid);

// Today's automatic backup of the current set, unless it has one, then the oldest beyond the
// count removed. True when today's backup is there; failures are reported. progress hears of
// each file written (nothing when today's backup was already there).
bool writeAutoBackup(const BackupProgress& progress = {});
