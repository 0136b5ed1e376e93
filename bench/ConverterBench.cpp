#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "BenchBook.h"
#include "db/Database.h"
#include "maintenance/Converter.h"

namespace {

// The set of the 100,000-line year written for the Japanese edition: every description turned
// into character numbers (the aim is 3 s).
void BM_ConverterExport(benchmark::State& state) {
    if (!currentBookReady(state)) {
        return;
    }
    QTemporaryDir dir;
    qint64 lost = 0;
    for (auto _ : state) {
        LostCharacters missing;
        const auto start = Clocked::now();
        if (!exportConverterSet(dir.path() + u'/', missing)) {
            state.SkipWithError("exportConverterSet failed");
            return;
        }
        state.SetIterationTime(secondsSince(start));
        lost = 0;
        for (const int n : missing) {
            lost += n;
        }
    }
    state.counters["lines"] =
        double(Database::global()
                   .scalar(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = ?"), {kCid})
                   .toLongLong());
    state.counters["lost"] = double(lost);
}
BENCHMARK(BM_ConverterExport)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
