#pragma once

#include <benchmark/benchmark.h>
#include <QString>
#include <chrono>

#include "generator/BookGenerator.h"

// The books the benchmarks run on: a year of 365 days from 2024/01/01, generated on first use
// into the shipped database in a temporary folder. Set 51 has 274 lines a day (100,010 voucher
// lines); set 53, built only when a benchmark asks for a million lines, 2,740 (1,000,100).
inline const QString kCid = QStringLiteral("51");
inline constexpr qint64 kHundredThousand = 100'000;
inline constexpr qint64 kMillion = 1'000'000;

// A year of about lines voucher lines for set cid.
BookSpec yearSpec(const QString& cid, qint64 lines = kHundredThousand);

// The set that holds the book of about lines voucher lines.
QString bookCid(qint64 lines);

// Opens the database and builds the book on first use; false (and the benchmark skipped) when
// that failed.
bool benchBookReady(benchmark::State& state, qint64 lines = kHundredThousand);
// benchBookReady, then the book's set made current as the main window's switch does.
bool currentBookReady(benchmark::State& state, qint64 lines = kHundredThousand);
// The database alone, for benchmarks that write their own book.
bool benchDatabaseReady(benchmark::State& state);

// The whole year's journal of the 100,000-line book in its work table, as the journal screen
// leaves it; filled on first use.
bool journalReady(benchmark::State& state);

// Makes a set current as the main window's switch does (which also marks every month stale).
bool useSet(const QString& cid);

using Clocked = std::chrono::steady_clock;

inline double secondsSince(Clocked::time_point start) {
    return std::chrono::duration<double>(Clocked::now() - start).count();
}
