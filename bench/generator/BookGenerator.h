#pragma once

#include <QDate>
#include <QString>

// A year of books for one account set, written through the program's own row writers, for
// benchmarks and tests. The same request and seed always give the same book.
struct BookSpec {
    QString cid;      // "01".."99"; created as a copy of prepared set "02" when missing
    QDate start;      // first day of the period (the period runs one year)
    int days;         // vouchers from start on, one per day, at most the length of the period
    int linesPerDay;  // voucher lines per day, 1..maxLinesPerDay
    quint32 seed;
    // The entry screen numbers a day's lines with three digits; only a benchmark that needs a
    // bigger book raises this (up to 9999, numbered with four digits).
    int maxLinesPerDay = 999;
};

// Creates (or replaces the book of) the account set, makes it current as the main window's switch
// does, writes balanced opening balances with subsidiary accounts on receivables and payables,
// one voucher per day with its lines and daily grid amounts, and marks every month of the period
// stale. Runs in one transaction: its own when none is open, else the caller's (which the caller
// then rolls back on failure). False with the reason in error (when given) on failure.
bool generateBook(const BookSpec& book, QString* error);
