#include <benchmark/benchmark.h>

#include "BenchBook.h"
#include "common/Session.h"
#include "db/Database.h"
#include "entry/JournalPrint.h"

namespace {

// The whole year's journal into T_SIALL_OUT and the header slots, as the print buttons fill it
// before the report is shown.
void BM_FillJournal(benchmark::State& state) {
    if (!currentBookReady(state)) {
        return;
    }
    for (auto _ : state) {
        JournalPrint journal;
        const auto start = Clocked::now();
        const bool ok = journal.fillForDays(QString(), QString());
        state.SetIterationTime(secondsSince(start));
        if (!ok) {
            state.SkipWithError("the journal fill failed");
            return;
        }
    }
    state.counters["rows"] = static_cast<double>(
        Database::global().scalar(QStringLiteral("SELECT COUNT(*) FROM T_SIALL_OUT")).toLongLong());
}

BENCHMARK(BM_FillJournal)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
