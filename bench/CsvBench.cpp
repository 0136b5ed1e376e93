#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "BenchBook.h"
#include "db/Database.h"
#include "maintenance/CsvExchange.h"

namespace {

const QString kMonth = QStringLiteral("2024/06");

QString csvFolder() {
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("csv"));
}

// Every line of the month back to not yet exported, so that each run exports them all.
void unmark() {
    Database::global().execute(QStringLiteral("UPDATE T_SI_MEISAI SET KRBUKBN = '00' WHERE CID = "
                                              "? AND DATEYM = ?"),
                               {kCid, kMonth});
}

void setCounters(benchmark::State& state) {
    state.counters["lines"] =
        double(Database::global()
                   .scalar(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = ? AND "
                                          "DATEYM = ?"),
                           {kCid, kMonth})
                   .toLongLong());
}

template <typename Screen>
bool chooseMonth(Screen& screen) {
    return screen.FormInit() && (screen.selected = csvMonthIndex(screen.months, kMonth)) >= 0;
}

// One month of the 100,000-line year into its two files, and the lines marked.
void BM_CsvExport(benchmark::State& state) {
    if (!currentBookReady(state)) {
        return;
    }
    CsvExport csv;
    if (!chooseMonth(csv)) {
        state.SkipWithError("no month list");
        return;
    }
    for (auto _ : state) {
        unmark();
        const auto start = Clocked::now();
        if (!csv.exportTo(csvFolder())) {
            state.SkipWithError("export failed");
            return;
        }
        state.SetIterationTime(secondsSince(start));
    }
    setCounters(state);
}
BENCHMARK(BM_CsvExport)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same month read back: checked, staged, written over the month's lines, the day amounts
// and balances of the rest of the year rebuilt, in one transaction.
void BM_CsvImport(benchmark::State& state) {
    if (!currentBookReady(state)) {
        return;
    }
    CsvExport out;
    CsvImport in;
    if (!chooseMonth(out) || !chooseMonth(in)) {
        state.SkipWithError("no month list");
        return;
    }
    unmark();
    if (!out.exportTo(csvFolder())) {
        state.SkipWithError("export failed");
        return;
    }
    for (auto _ : state) {
        const auto start = Clocked::now();
        if (!in.importFrom(csvFolder())) {
            state.SkipWithError("import failed");
            return;
        }
        state.SetIterationTime(secondsSince(start));
    }
    setCounters(state);
}
BENCHMARK(BM_CsvImport)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
