#include <benchmark/benchmark.h>

#include "BenchBook.h"
#include "common/Clock.h"
#include "common/Session.h"
#include "db/Database.h"
#include "entry/DailyEntry.h"

namespace {

const QString kJanuaryDay = QStringLiteral("2024/01/15");
const QString kLastDay = QStringLiteral("2024/12/30");
// The screen shows at most 128 transfer lines a day; the generated days hold more.
constexpr int kTransferLinesKept = 120;

class QuietHost : public DailyEntryHost {
  public:
    void setBusy(bool) override {}
    void focusDateBox() override {}
    void focusRate() override {}
    void focusIncomeGrid() override {}
};

// Trims the transfer lines of a day to what the screen can show.
void trimDay(const QString& day) {
    Database::global().execute(
        QStringLiteral("DELETE FROM T_SI_MEISAI WHERE CID = ? AND SIDAY = ? AND SISYU = '1' AND "
                       "DENMENO NOT IN (SELECT DENMENO FROM T_SI_MEISAI WHERE CID = ? AND SIDAY "
                       "= ? AND SISYU = '1' ORDER BY DENMENO LIMIT ?)"),
        {kCid, day, kCid, day, kTransferLinesKept});
}

// The generated set made current on its last day, as the user finds it when opening the screen.
bool prepare(benchmark::State& state) {
    if (!currentBookReady(state)) {
        return false;
    }
    Clock::setFixedToday(QDate(2024, 12, 30));
    trimDay(kJanuaryDay);
    trimDay(kLastDay);
    session().CallerForm = QStringLiteral("InOutMenu");
    return true;
}

// Opening from the books menu: the days up to today checked, the newest day's grids filled.
void BM_OpenEntryScreen(benchmark::State& state) {
    if (!prepare(state)) {
        return;
    }
    QuietHost host;
    for (auto _ : state) {
        DailyEntry entry(host);
        const auto start = Clocked::now();
        const bool ok = entry.Form_Load(session().CallerForm);
        state.SetIterationTime(secondsSince(start));
        if (!ok) {
            state.SkipWithError("Form_Load failed");
            return;
        }
    }
}

// Saving a January day whose closing balance changes, so every later day is re-chained.
void BM_SaveJanuaryDay(benchmark::State& state) {
    if (!prepare(state)) {
        return;
    }
    QuietHost host;
    DailyEntry entry(host);
    entry.setTxtSyoriNen(kJanuaryDay);
    if (!entry.Form_Load(session().CallerForm) || !entry.txtSyoriNen_LostFocus()) {
        state.SkipWithError("the January day cannot be shown");
        return;
    }
    int amount = 1;
    for (auto _ : state) {
        entry.setSimpleAmount(EntryGrid::Income, 0, QString::number(++amount));
        const auto start = Clocked::now();
        const bool ok = entry.cmdTouroku_Click();
        state.SetIterationTime(secondsSince(start));
        if (!ok) {
            state.SkipWithError("saving failed");
            return;
        }
    }
    state.counters["later_days"] = static_cast<double>(
        Database::global()
            .scalar(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = ? AND DENDAY > ?"),
                    {kCid, kJanuaryDay})
            .toLongLong());
    state.counters["lines_saved"] = static_cast<double>(
        Database::global()
            .scalar(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = ? AND SIDAY = ?"),
                    {kCid, kJanuaryDay})
            .toLongLong());
}

BENCHMARK(BM_OpenEntryScreen)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveJanuaryDay)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
