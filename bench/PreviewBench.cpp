#include <benchmark/benchmark.h>
#include <QImage>
#include <QPainter>

#include "BenchBook.h"
#include "print/PageBuilder.h"
#include "print/ReportJobs.h"
#include "print/render/PagePainter.h"
#include "print/ui/PreviewWindow.h"

namespace {

// What the user waits for after "预览": the work table read, the page model built, the window
// shown with page 1 painted. The counters split the time.
void BM_PreviewJournalFirstPage(benchmark::State& state) {
    if (!journalReady(state)) {
        return;
    }
    double read = 0;
    double window = 0;
    int pages = 0;
    for (auto _ : state) {
        const auto start = Clocked::now();
        const ReportJob job = loadReportJob(QStringLiteral("R_SIWAKE_NIKKI"));
        const auto loaded = Clocked::now();
        PreviewWindow preview(job);
        preview.resize(1280, 900);
        preview.show();
        // Painting the sheet as the screen would.
        const QImage first =
            preview.findChild<QWidget*>(QStringLiteral("pageView"))->grab().toImage();
        benchmark::DoNotOptimize(first);
        const double total = secondsSince(start);
        state.SetIterationTime(total);
        read += std::chrono::duration<double>(loaded - start).count();
        window += secondsSince(loaded);
        pages = preview.pageCount();
    }
    const ReportJob job = loadReportJob(QStringLiteral("R_SIWAKE_NIKKI"));
    const auto build = Clocked::now();
    const PageModel model = buildPages(job.layout, job.data);
    const double model_s = secondsSince(build);
    QImage sheet((model.paperMm * 4).toSize(), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    const auto paint = Clocked::now();
    {
        QPainter painter(&sheet);
        paintPage(painter, model, 0, 4);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["read_s"] = read / iterations;
    state.counters["window_s"] = window / iterations;
    state.counters["model_s"] = model_s;
    state.counters["paint_page1_s"] = secondsSince(paint);
    state.counters["pages"] = pages;
    state.counters["rows"] = static_cast<double>(job.data.rows.size());
}

BENCHMARK(BM_PreviewJournalFirstPage)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
