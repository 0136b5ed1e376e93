#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "BenchBook.h"
#include "db/Database.h"
#include "maintenance/BackupRestore.h"
#include "maintenance/BackupSet.h"
#include "maintenance/Compaction.h"

namespace {

// One backup folder per book, kept for the restore benchmark.
QString backupFolder(qint64 lines) {
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("set%1/").arg(lines));
}

void setCounters(benchmark::State& state) {
    state.counters["lines"] =
        double(Database::global()
                   .scalar(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = ?"),
                           {bookCid(state.range(0))})
                   .toLongLong());
}

// The 23 files of the set with the book.
void BM_BackUp(benchmark::State& state) {
    if (!currentBookReady(state, state.range(0))) {
        return;
    }
    for (auto _ : state) {
        const auto start = Clocked::now();
        if (!DataBackUp(backupFolder(state.range(0)))) {
            state.SkipWithError("DataBackUp failed");
            return;
        }
        state.SetIterationTime(secondsSince(start));
    }
    setCounters(state);
}
BENCHMARK(BM_BackUp)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Arg(kMillion)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The set replaced by its backup: every table deleted and written again, in one transaction.
void BM_Restore(benchmark::State& state) {
    if (!currentBookReady(state, state.range(0))) {
        return;
    }
    const QString folder = backupFolder(state.range(0));
    if (countBackupFiles(folder) != 23 && !DataBackUp(folder)) {
        state.SkipWithError("DataBackUp failed");
        return;
    }
    for (auto _ : state) {
        const auto start = Clocked::now();
        if (restoreBackupSet(folder, QStringLiteral("bench")) != RestoreOutcome::Restored) {
            state.SkipWithError("restore failed");
            return;
        }
        state.SetIterationTime(secondsSince(start));
    }
    setCounters(state);
}
BENCHMARK(BM_Restore)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Arg(kMillion)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The whole database file (with every book built so far) rewritten and reopened.
void BM_Compaction(benchmark::State& state) {
    if (!currentBookReady(state, state.range(0))) {
        return;
    }
    for (auto _ : state) {
        const auto start = Clocked::now();
        if (!compactDatabase()) {
            state.SkipWithError("compaction failed");
            return;
        }
        state.SetIterationTime(secondsSince(start));
    }
    state.counters["MB"] =
        double(QFileInfo(Database::global().filePath()).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Compaction)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Arg(kMillion)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
