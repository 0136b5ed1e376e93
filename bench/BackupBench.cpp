#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

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

// Three timed runs on the 100,000-line and the 1,000,000-line book.
void bothBooks(benchmark::internal::Benchmark* b) {
    b->ArgName("lines")
        ->Arg(kHundredThousand)
        ->Arg(kMillion)
        ->Iterations(3)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

// Times run on the book of state.range(0) lines made current; a failed run skips the benchmark.
bool timedRuns(benchmark::State& state, const std::function<bool()>& run, const char* failure) {
    for (auto _ : state) {
        const auto start = Clocked::now();
        if (!run()) {
            state.SkipWithError(failure);
            return false;
        }
        state.SetIterationTime(secondsSince(start));
    }
    return true;
}

// The 23 files of the set with the book.
void BM_BackUp(benchmark::State& state) {
    const QString folder = backupFolder(state.range(0));
    if (currentBookReady(state, state.range(0)) &&
        timedRuns(
            state, [&] { return DataBackUp(folder); }, "DataBackUp failed")) {
        setCounters(state);
    }
}
BENCHMARK(BM_BackUp)->Apply(bothBooks);

// The set replaced by its backup: every table deleted and written again, in one transaction.
void BM_Restore(benchmark::State& state) {
    const QString folder = backupFolder(state.range(0));
    if (!currentBookReady(state, state.range(0))) {
        return;
    }
    if (countBackupFiles(folder) != 23 && !DataBackUp(folder)) {
        state.SkipWithError("DataBackUp failed");
        return;
    }
    const auto restore = [&] {
        return restoreBackupSet(folder, QStringLiteral("bench")) == RestoreOutcome::Restored;
    };
    if (timedRuns(state, restore, "restore failed")) {
        setCounters(state);
    }
}
BENCHMARK(BM_Restore)->Apply(bothBooks);

// The whole database file (with every book built so far) rewritten and reopened.
void BM_Compaction(benchmark::State& state) {
    if (currentBookReady(state, state.range(0)) &&
        timedRuns(state, compactDatabase, "compaction failed")) {
        state.counters["MB"] =
            double(QFileInfo(Database::global().filePath()).size()) / (1024.0 * 1024.0);
    }
}
BENCHMARK(BM_Compaction)->Apply(bothBooks);

}  // namespace
