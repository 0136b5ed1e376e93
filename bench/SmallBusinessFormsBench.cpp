#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "BenchBook.h"
#include "print/PageBuilder.h"
#include "print/ReportJobs.h"
#include "print/render/PagePainter.h"
#include "statements/SmallBusinessForms.h"
#include "totals/TotalsPass.h"

namespace {

const QString kFirst = QStringLiteral("2024/01");
const QString kMonth = QStringLiteral("2024/12");

// The year's book current and its totals computed to December, so that the iterations time the
// form's own work.
bool ready(benchmark::State& state) {
    if (!currentBookReady(state, state.range(0))) {
        return false;
    }
    if (!msum_tukisime(kFirst, kMonth, SmallBusinessForms::kForm)) {
        state.SkipWithError("the totals pass failed");
        return false;
    }
    return true;
}

void timedFills(benchmark::State& state, SmallBusinessForm form) {
    if (!ready(state)) {
        return;
    }
    for (auto _ : state) {
        const auto start = Clocked::now();
        if (!fillSmallBusinessForm(form, kFirst, kMonth)) {
            state.SkipWithError("the fill failed");
            return;
        }
        state.SetIterationTime(secondsSince(start));
    }
}

void BM_SmallBusinessBalanceSheetFill(benchmark::State& state) {
    timedFills(state, SmallBusinessForm::BalanceSheet);
}
BENCHMARK(BM_SmallBusinessBalanceSheetFill)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Arg(kMillion)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_SmallBusinessIncomeStatementFill(benchmark::State& state) {
    timedFills(state, SmallBusinessForm::IncomeStatement);
}
BENCHMARK(BM_SmallBusinessIncomeStatementFill)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The screen's whole way to a PDF of each form: totals (already current), fill, pages, file.
void BM_SmallBusinessFormsPdf(benchmark::State& state) {
    if (!ready(state)) {
        return;
    }
    QTemporaryDir dir;
    for (auto _ : state) {
        const auto start = Clocked::now();
        for (const SmallBusinessForm form :
             {SmallBusinessForm::BalanceSheet, SmallBusinessForm::IncomeStatement}) {
            SmallBusinessForms forms;
            if (!forms.fillFor(form, kMonth)) {
                state.SkipWithError("the fill failed");
                return;
            }
            const ReportJob job = loadReportJob(SmallBusinessForms::layoutOf(form));
            const PageModel model = buildPages(job.layout, job.data);
            writePdf(model, dir.filePath(job.layout.name + QStringLiteral(".pdf")),
                     job.layout.title);
        }
        // Per form: the two are printed one at a time.
        state.SetIterationTime(secondsSince(start) / 2);
    }
}
BENCHMARK(BM_SmallBusinessFormsPdf)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
