#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

// Null, invalid or "" becomes the int 0; anything else comes back unchanged.
QVariant nullToZero(const QVariant& v);

// Splits a list entry such as "101 现金" at its first blank (space, tab or full-width space):
// returns "101" and sets rest to "现金". Without a blank, returns the trimmed text and rest is "".
QString splitAtBlank(const QString& text, QString& rest);

// Two-digit month clamped to 01..12; blank stays blank, non-numbers count as 0.
QString monthNormalise(const QString& month);

bool isLeapYear(int year);

// Two-digit day clamped to 01..last day of the given month.
QString dayNormalise(const QString& year, const QString& month, const QString& day);

// Turns typed date text into "yyyy/MM/dd", pulling month and day into range. Only the ASCII
// digits count: 5-6 digits read as yymmdd (71..99 → 19yy, otherwise the current century),
// 7 or more as yyyymmdd. Fewer than 5 digits gives "".
QString dateNormalise(const QString& text, int currentYear);
QString dateNormalise(const QString& text);

// Turns a date typed on a screen into "yyyy/MM/dd". Text with separators ("/", "-", ".", blanks,
// 年月日; full-width forms too) is read as year, month and day as typed, and a date that does not
// exist gives "" rather than a neighbouring day: "2026/3/15" is 2026/03/15, "2026/02/30" is "".
// Digits alone follow dateNormalise. Files keep using dateNormalise.
QString typedDateNormalise(const QString& text, int currentYear);
QString typedDateNormalise(const QString& text);

// "yyyy/MM" month key.
QString formatMonth(const QDate& date);

// Moves a "yyyy/MM" month key by n calendar months; malformed keys give "".
QString addMonths(const QString& yyyymm, int n);
