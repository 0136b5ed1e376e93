#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "BenchBook.h"
#include "print/PageBuilder.h"
#include "print/ReportJobs.h"
#include "print/render/PagePainter.h"
#include "statements/MonthStatement.h"

namespace {

const QString kJune = QStringLiteral("2024/06");

// The book of state.range(0) lines current and its totals up to date, so that the iterations
// time the fill that follows the totals pass.
bool ready(benchmark::State& state, MonthStatementKind kind) {
    if (!currentBookReady(state, state.range(0))) {
        return false;
    }
    if (!MonthStatement(kind).fillFor(kJune)) {
        state.SkipWithError("the first fill failed");
        return false;
    }
    return true;
}

void timedFills(benchmark::State& state, MonthStatementKind kind) {
    if (!ready(state, kind)) {
        return;
    }
    for (auto _ : state) {
        const auto start = Clocked::now();
        if (!MonthStatement(kind).fillFor(kJune)) {
            state.SkipWithError("the fill failed");
            return;
        }
        state.SetIterationTime(secondsSince(start));
    }
}

// Fill, pages and PDF, as 打印预览 then 导出PDF do.
void timedPdfs(benchmark::State& state, MonthStatementKind kind) {
    if (!ready(state, kind)) {
        return;
    }
    QTemporaryDir dir;
    for (auto _ : state) {
        const auto start = Clocked::now();
        MonthStatement statement(kind);
        if (!statement.fillFor(kJune)) {
            state.SkipWithError("the fill failed");
            return;
        }
        const ReportJob job = loadReportJob(statement.layout());
        writePdf(buildPages(job.layout, job.data), dir.filePath(QStringLiteral("s.pdf")),
                 job.layout.title);
        state.SetIterationTime(secondsSince(start));
    }
}

void BM_TrialBalanceFill(benchmark::State& state) {
    timedFills(state, MonthStatementKind::TrialBalance);
}
void BM_IncomeStatementFill(benchmark::State& state) {
    timedFills(state, MonthStatementKind::IncomeStatement);
}
void BM_TrialBalancePdf(benchmark::State& state) {
    timedPdfs(state, MonthStatementKind::TrialBalance);
}
void BM_IncomeStatementPdf(benchmark::State& state) {
    timedPdfs(state, MonthStatementKind::IncomeStatement);
}

}  // namespace

BENCHMARK(BM_TrialBalanceFill)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Arg(kMillion)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IncomeStatementFill)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Arg(kMillion)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrialBalancePdf)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IncomeStatementPdf)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
