#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "BenchBook.h"
#include "common/Session.h"
#include "db/Database.h"
#include "print/PageBuilder.h"
#include "print/ReportJobs.h"
#include "print/render/PagePainter.h"
#include "totals/GeneralLedger.h"

namespace {

const QString kForm = QStringLiteral("prtSoukanjoMotocho");
const LedgerRange kYear{QStringLiteral("2024/01"), QStringLiteral("2024/01"),
                        QStringLiteral("2024/12"), 1, 999999};
// The correction screen's path: cash (101) in June.
const LedgerRange kCashInJune{QStringLiteral("2024/01"), QStringLiteral("2024/06"),
                              QStringLiteral("2024/06"), 101, 101};

// The book of state.range(0) lines current, and the totals of the range's end month computed,
// so that the iterations time the fill itself.
bool ready(benchmark::State& state, const LedgerRange& range) {
    const qint64 lines = state.range(0);
    if (!currentBookReady(state, lines)) {
        return false;
    }
    if (!PrintSokanjo(range, kForm)) {
        state.SkipWithError("the first fill failed");
        return false;
    }
    return true;
}

void timedFills(benchmark::State& state, const LedgerRange& range) {
    if (!ready(state, range)) {
        return;
    }
    for (auto _ : state) {
        const auto start = Clocked::now();
        if (!PrintSokanjo(range, kForm)) {
            state.SkipWithError("PrintSokanjo failed");
            return;
        }
        state.SetIterationTime(secondsSince(start));
    }
    state.counters["rows"] = double(Database::global()
                                        .scalar(QStringLiteral("SELECT COUNT(*) FROM T_SKANMT_OUT"))
                                        .toLongLong());
}

// Every account for the whole year (the totals up to date).
void BM_GeneralLedgerYear(benchmark::State& state) {
    timedFills(state, kYear);
}
BENCHMARK(BM_GeneralLedgerYear)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Arg(kMillion)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_GeneralLedgerOneAccountOneMonth(benchmark::State& state) {
    timedFills(state, kCashInJune);
}
BENCHMARK(BM_GeneralLedgerOneAccountOneMonth)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The whole year's ledger of the 100,000-line book: its pages and the PDF of them.
void BM_GeneralLedgerPdf(benchmark::State& state) {
    if (!ready(state, kYear)) {
        return;
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ledger.pdf"));
    for (auto _ : state) {
        const auto start = Clocked::now();
        const ReportJob job = loadReportJob(GeneralLedger::kLayout);
        const PageModel model = buildPages(job.layout, job.data);
        state.counters["layout_s"] = secondsSince(start);
        writePdf(model, file, job.layout.title);
        state.SetIterationTime(secondsSince(start));
        state.counters["pages"] = double(model.pages.size());
        state.counters["MB"] = double(QFileInfo(file).size()) / 1e6;
    }
}
BENCHMARK(BM_GeneralLedgerPdf)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
