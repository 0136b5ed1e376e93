#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>

#include "maintenance/BackupMaintenance.h"

// Exchanging an account set with the Japanese edition: the backup set with its names and
// descriptions written as numbers into the shared character table T_MOJICHG.

// The character table's two sides, each concatenated in the database's row order; a
// character's number is its position from 1.
class CharacterTable {
  public:
    // Reads T_MOJICHG. Throws DbError.
    static CharacterTable load();

    const QString& chinese() const { return chinese_; }
    const QString& japanese() const { return japanese_; }

    // Four digits per character of text, "0000" for one the table lacks; each such character
    // is added to lost.
    QString encode(const QString& text, int& lost) const;
    // The characters at the numbers of digits, taken from side; "0000" (a character the other
    // edition could not write) becomes "?". Throws DbError on anything but groups of four
    // digits within the table.
    static QString decode(const QString& digits, const QString& side);

  private:
    QString chinese_;
    QString japanese_;
    QHash<char32_t, int> numbers_;
};

// Which columns of a set file carry numbers instead of text, and which go out empty
// (positions from 1).
struct ConverterColumns {
    QList<int> transcoded;
    QList<int> emptied;
};
ConverterColumns converterColumns(int seqNo, int fieldCount);

// Characters written as "0000" by an export, by "TABLE.COLUMN".
using LostCharacters = QMap<QString, int>;

// Writes the 23 files of the current set into folder (created when missing). False after a
// failure already reported; lost receives the characters the table could not carry.
bool exportConverterSet(const QString& folder, LostCharacters& lost);

// The text telling how many characters an export lost and in which fields.
QString lostCharactersText(const LostCharacters& lost);

enum class ImportedCharacters { Chinese, Japanese };

enum class ConverterOutcome { Imported, NotASet, OtherSet, Failed };

// Reads a set written by the other edition into the current account set, all in one
// transaction (the caller's, which must then roll back on anything but Imported, or its own).
// Tells the user the outcome.
ConverterOutcome importConverterSet(const QString& folder, const QString& accountSetText,
                                    ImportedCharacters characters);

// The converter screen's routines; the host is the screen.
class ConverterMaintenance {
  public:
    explicit ConverterMaintenance(BackupMaintenanceHost& host) : host_(host) {}

    static QString readMeText();
    static QString questionText();

    // optYes / optNo: the characters imported text is written in.
    ImportedCharacters characters = ImportedCharacters::Chinese;

    // Export; true unless writing failed (a cancelled folder choice is no failure).
    bool cmdBackUp_Click();
    // Import; true when the set was imported.
    bool cmdConverter_Click();
    void cmdQuestion_Click();

  private:
    BackupMaintenanceHost& host_;
};
