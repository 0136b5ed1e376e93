#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reading back the text files of a backup set.

// The account-set row met while restoring T_COMP_MAIN: its period as written in the file.
struct RestoredPeriod {
    bool found = false;
    QString start;  // field 14
    QString end;    // field 15
};

// The account-set row just written (fields as in T_002.txt) makes the restored period the
// session's: WK_COMPANY and the period label follow it; period, when given, receives it.
void takeAccountSetRow(const QStringList& fields, RestoredPeriod* period);

// Restores one backup file into table: every fieldCount fields of a line make one row, written
// by the row writer of seqNo. Rows of any set other than the current one are refused. The
// account-set row (seqNo 2) also refreshes WK_COMPANY and the session's period label and is
// reported through period. An empty file is a success. Runs inside the caller's transaction, or
// in its own when none is open, so a refused file leaves the table as it was. Reports failures
// itself ("(write_data_to_table)").
bool write_data_to_table(const QString& file, const QString& table, int seqNo, int fieldCount,
                         RestoredPeriod* period = nullptr);

// The text of a backup file: UTF-8 (a BOM is dropped) or GB18030. Throws DbError when the bytes
// are text in neither, or hold control characters no text file has.
QString decodeBackupText(const QByteArray& bytes);

// Splits backup text into rows of quoted fields: each line one row, fields in double quotes
// separated by ",", a doubled quote inside a field read as one; quoted fields may hold commas
// and line breaks; blank lines are skipped. Throws DbError naming the line on anything else.
// With bareFields, fields may also stand without quotes (as spreadsheets save them back): such a
// field runs to the next comma or line end and holds no quote.
class BackupFieldReader {
  public:
    explicit BackupFieldReader(QString text, bool bareFields = false);

    // The next row into fields; false at the end of the text. A row of more than maxFields
    // fields is refused as soon as it is seen.
    bool nextRow(QStringList& fields, int maxFields);
    // Line of the text (from 1) where the row last returned began.
    int rowLine() const { return rowLine_; }

  private:
    [[noreturn]] void fail(const QString& what) const;
    bool atLineEnd() const;
    void skipLineEnd();
    void readQuoted(QStringList& fields);
    void readBare(QStringList& fields);

    QString text_;
    bool bareFields_ = false;
    qsizetype pos_ = 0;
    int line_ = 1;
    int rowLine_ = 0;
};
