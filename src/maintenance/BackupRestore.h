#pragma once

#include <QString>
#include <QStringList>

// Restoring an account set from the text files of a backup set.

struct RestoredPeriod;

// One file of the backup set as T_BACKUP lists it, in SEQNO order.
struct BackupEntry {
    int seqNo;
    QString textName;
    int fieldCount;
    QString table;
};
QList<BackupEntry> backupEntries();

// Marks every month of the restored period stale and drops the set's monthly totals, so that
// they are rebuilt on next use. False after a failure already reported.
bool reopenRestoredPeriod(const RestoredPeriod& period);

// The file names of a full set, T_001.txt … T_023.txt.
QStringList backupFileNames();
// How many of them folder holds.
int countBackupFiles(const QString& folder);

enum class SetCheck { Same, Other, Failed };
// Whether the backup in folder is of the current account set, by the set row in its T_002.txt.
// A file that cannot be read is reported ("(check_company)") and gives Failed.
SetCheck check_company(const QString& folder);

enum class RestoreOutcome {
    Restored,
    NotABackup,  // neither 11 nor 23 files of a set
    OtherSet,    // the files are of another account set
    Failed,      // a file or a statement failed; the set is as it was
};

// Replaces the current set's tables (and the working chart) with the backup in folder, then
// marks every month of the restored period stale so that the totals are rebuilt. Tells the user
// the outcome; accountSetText names the current set in the refusal. All in one transaction: the
// caller's, which must then roll back on anything but Restored, or its own.
RestoreOutcome restoreBackupSet(const QString& folder, const QString& accountSetText);
