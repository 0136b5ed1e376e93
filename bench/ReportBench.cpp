#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "BenchBook.h"
#include "common/Session.h"
#include "entry/JournalPrint.h"
#include "print/PageBuilder.h"
#include "print/ReportJobs.h"
#include "print/render/PagePainter.h"

bool journalReady(benchmark::State& state) {
    if (!currentBookReady(state)) {
        return false;
    }
    static bool filled = false;
    if (!filled) {
        if (!JournalPrint().fillForDays(QString(), QString())) {
            state.SkipWithError("the journal fill failed");
            return false;
        }
        filled = true;
    }
    return true;
}

namespace {

// Reading the journal's rows and laying out its pages (about 2,000 A4 pages).
void BM_JournalPageModel(benchmark::State& state) {
    if (!journalReady(state)) {
        return;
    }
    for (auto _ : state) {
        const auto start = Clocked::now();
        const ReportJob job = loadReportJob(QStringLiteral("R_SIWAKE_NIKKI"));
        state.counters["read_s"] = secondsSince(start);
        const PageModel model = buildPages(job.layout, job.data);
        state.SetIterationTime(secondsSince(start));
        state.counters["rows"] = double(job.data.rows.size());
        state.counters["pages"] = double(model.pages.size());
    }
}
BENCHMARK(BM_JournalPageModel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Writing every page of the year's journal to a PDF file.
void BM_JournalPdf(benchmark::State& state) {
    if (!journalReady(state)) {
        return;
    }
    const ReportJob job = loadReportJob(QStringLiteral("R_SIWAKE_NIKKI"));
    const PageModel model = buildPages(job.layout, job.data);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("journal.pdf"));
    for (auto _ : state) {
        const auto start = Clocked::now();
        writePdf(model, file, job.layout.title);
        state.SetIterationTime(secondsSince(start));
        state.counters["pages"] = double(model.pages.size());
        state.counters["MB"] = double(QFileInfo(file).size()) / 1e6;
    }
}
BENCHMARK(BM_JournalPdf)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
