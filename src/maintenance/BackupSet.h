#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "db/TableColumns.h"

class RecordSet;
class QTextStream;

// The backup set of an account set: one text file per table of T_BACKUP, each row a line of
// quoted, comma-separated fields.

enum class BackupUse {
    Full,     // the 23 files, with the year copies
    YearEnd,  // the 11 files of the live tables, written silently before a carry-forward
    Silent,   // the 23 files without the closing message (the automatic backup)
};

// Told before the first file and after each file how many of the set's files are written.
using BackupProgress = std::function<void(int written, int files)>;

// Writes the backup set of the current account set into folder (created when missing).
// Announces "数据备份成功！" for a full backup. Reports failures itself.
bool DataBackUp(const QString& folder, BackupUse use = BackupUse::Full,
                const BackupProgress& progress = {});

// The folder the main window backs up into: AppFolder/Data/<account-set text>/.
QString defaultBackupFolder(const QString& accountSetText);
// The folder of the year-end update's copy of the current year: AppFolder/Temp/<text>/.
QString temporaryBackupFolder(const QString& accountSetText);

// Writes one file of the set: each row of table (of the current set unless seqNo is 1, in the
// order of the ORDER BY clause order, if any) through writeLine. The file appears whole or not
// at all. False when writeLine failed (it reports); throws DbError when the file cannot be written.
using SetLineWriter =
    std::function<bool(const RecordSet& row, const QList<Column>& columns, QTextStream& out)>;
bool writeSetFile(const QString& path, const QString& table, int seqNo, const QString& order,
                  const SetLineWriter& writeLine);

// Writes the first fieldCount columns of the current row as one line; columns are the row's
// columns as the schema declares them.
bool write_data_to_text(const RecordSet& row, const QList<Column>& columns, int fieldCount,
                        QTextStream& file);

// The line write_data_to_text writes, without its line end. Throws DbError.
QString backupLine(const RecordSet& row, const QList<Column>& columns, int fieldCount);

// The ordinary text form of a stored value as the files hold it (and the row writers take it
// back), amounts in their decimal form, null as empty.
QString fieldText(const QVariant& value, ColumnKind kind);

// One field as written: the value's ordinary text in double quotes, a quote inside doubled.
QString backupField(const QString& text);
