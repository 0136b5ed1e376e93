#pragma once

#include <benchmark/benchmark.h>
#include <QString>
#include <chrono>

#include "generator/BookGenerator.h"

// The book every benchmark runs on: set 51, a year of 365 days from 2024/01/01 with 274 lines a
// day (100,010 voucher lines), generated once per run into the shipped database in a temporary
// folder.
inline const QString kCid = QStringLiteral("51");

BookSpec yearSpec(const QString& cid);

// Builds the book on first use; false (and the benchmark skipped) when that failed.
bool benchBookReady(benchmark::State& state);

// Makes a set current as the main window's switch does (which also marks every month stale).
bool useSet(const QString& cid);

using Clocked = std::chrono::steady_clock;

inline double secondsSince(Clocked::time_point start) {
    return std::chrono::duration<double>(Clocked::now() - start).count();
}
