#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// Positional row writers: each inserts one row into the named table from its fields in table
// order (fields[0] is column 1), encoding every position as that column requires. They return
// false when the row could not be written; the engine's report is then in
// Database::global().lastErrorNumber() / lastErrorText().
//
// Encodings: text (trimmed), untrimmed text, number (empty counts as 0), raw number (taken as it
// stands, so an empty field fails), date (normalised to yyyy/mm/dd, or empty) and quoted number.
// Amount columns take decimal text ("1234.5") and store it exactly.
enum class FieldEncoding { Text, UntrimmedText, Number, RawNumber, Date, QuotedNumber };

bool WriteKanjoTable(const QStringList& fields, const QString& table);
bool WriteBKanjoTable(const QStringList& fields, const QString& table);
bool WriteCompanyTable(const QStringList& fields, const QString& table);
bool WriteSiwakeTable(const QStringList& fields, const QString& table);
bool WriteSiMeisaiTable(const QStringList& fields, const QString& table);
bool WriteDayInputTable(const QStringList& fields, const QString& table);
bool WriteSiPatternTable(const QStringList& fields, const QString& table);
bool WriteDayToranTable(const QStringList& fields, const QString& table);
bool WriteKisyuzanTable(const QStringList& fields, const QString& table);
bool WriteHojoKamokuTable(const QStringList& fields, const QString& table);
bool WriteTekiyoTable(const QStringList& fields, const QString& table);
bool WriteTukisimeTable(const QStringList& fields, const QString& table);
bool WriteBKesansyoTable(const QStringList& fields, const QString& table);

// The writer that serves a backup-set entry (SEQNO 1-23); nullptr for any other number.
using RowWriter = bool (*)(const QStringList&, const QString&);
RowWriter rowWriterForSeqNo(int seqNo);

// How a writer encodes one position (1-based); for tests and the file readers.
FieldEncoding rowWriterEncoding(RowWriter writer, int position);
// The number of fields a writer takes.
int rowWriterFieldCount(RowWriter writer);
