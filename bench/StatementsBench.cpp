#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <memory>

#include "BenchBook.h"
#include "print/PageBuilder.h"
#include "print/ReportJobs.h"
#include "print/render/PagePainter.h"
#include "statements/StatutoryBalanceSheet.h"
#include "statements/StatutoryProfitStatement.h"

namespace {

std::unique_ptr<StatutoryStatement> statement(bool balanceSheet) {
    if (balanceSheet) {
        return std::make_unique<StatutoryBalanceSheet>();
    }
    return std::make_unique<StatutoryProfitStatement>();
}

// The book of state.range(0) lines current and its totals up to date (a first fill), so that
// the iterations time the fill itself: the lines and the two work tables.
bool ready(benchmark::State& state, StatutoryStatement& s) {
    if (!currentBookReady(state, state.range(0))) {
        return false;
    }
    if (!s.fill()) {
        state.SkipWithError("the first fill failed");
        return false;
    }
    return true;
}

void timedFills(benchmark::State& state, bool balanceSheet) {
    const auto s = statement(balanceSheet);
    if (!ready(state, *s)) {
        return;
    }
    for (auto _ : state) {
        const auto start = Clocked::now();
        if (!s->fill()) {
            state.SkipWithError("the fill failed");
            return;
        }
        state.SetIterationTime(secondsSince(start));
    }
}

void BM_BalanceSheetFill(benchmark::State& state) {
    timedFills(state, true);
}
BENCHMARK(BM_BalanceSheetFill)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Arg(kMillion)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_ProfitStatementFill(benchmark::State& state) {
    timedFills(state, false);
}
BENCHMARK(BM_ProfitStatementFill)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Arg(kMillion)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Fill, page model and PDF, as the print to a file does.
void timedPdf(benchmark::State& state, bool balanceSheet, const QString& layout) {
    const auto s = statement(balanceSheet);
    if (!ready(state, *s)) {
        return;
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(layout + QStringLiteral(".pdf"));
    for (auto _ : state) {
        const auto start = Clocked::now();
        if (!s->fill()) {
            state.SkipWithError("the fill failed");
            return;
        }
        const ReportJob job = loadReportJob(layout);
        const PageModel model = buildPages(job.layout, job.data);
        writePdf(model, file, job.layout.title);
        state.SetIterationTime(secondsSince(start));
        state.counters["pages"] = double(model.pages.size());
    }
}

void BM_BalanceSheetPdf(benchmark::State& state) {
    timedPdf(state, true, StatutoryBalanceSheet::kLayout);
}
BENCHMARK(BM_BalanceSheetPdf)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_ProfitStatementPdf(benchmark::State& state) {
    timedPdf(state, false, StatutoryProfitStatement::kLayout);
}
BENCHMARK(BM_ProfitStatementPdf)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
