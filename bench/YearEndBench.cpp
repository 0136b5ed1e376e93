#include <benchmark/benchmark.h>

#include <QFile>

#include "BenchBook.h"
#include "common/Session.h"
#include "db/Database.h"
#include "maintenance/YearEndUpdate.h"

namespace {

// The database file as it was before the carry forward, put back for each iteration and at
// the end, as the other benchmarks need the year open.
class KeptFile {
  public:
    explicit KeptFile(const QString& path) : path_(path), kept_(path + QStringLiteral(".kept")) {
        Database::global().close();
        QFile::remove(kept_);
        ok_ = QFile::copy(path_, kept_);
        Database::global().open(path_);
    }
    ~KeptFile() {
        putBack();
        QFile::remove(kept_);
    }
    bool ok() const { return ok_; }
    void putBack() {
        Database::global().close();
        QFile::remove(path_);
        QFile::copy(kept_, path_);
        Database::global().open(path_);
    }

  private:
    QString path_;
    QString kept_;
    bool ok_ = false;
};

// The carry forward of the year-end screen (totals pass, year copy, profit statement, new
// opening balances, deletion and renumbering) on the generated year, with its commit.
void BM_YearEndCarryForward(benchmark::State& state) {
    const qint64 lines = state.range(0);
    if (!currentBookReady(state, lines)) {
        return;
    }
    KeptFile file(Database::global().filePath());
    if (!file.ok()) {
        state.SkipWithError("the database file cannot be copied");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        file.putBack();
        const QString cid = bookCid(lines);
        session().CurrentCid = cid;
        useSet(cid);
        YearEndUpdate update(QStringLiteral("bench"));
        update.Form_Load();
        state.ResumeTiming();
        const auto start = Clocked::now();
        if (!update.carryForward()) {
            state.SkipWithError("carryForward failed");
            return;
        }
        state.SetIterationTime(secondsSince(start));
    }
}
BENCHMARK(BM_YearEndCarryForward)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Arg(kMillion)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
