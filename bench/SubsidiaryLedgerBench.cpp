#include <benchmark/benchmark.h>

#include "BenchBook.h"
#include "common/Session.h"
#include "db/Database.h"
#include "totals/SubsidiaryLedger.h"
#include "totals/TotalsPass.h"

namespace {

// The subsidiary ledger of every account for the whole year, as the print buttons fill it: the
// totals pass (already up to date, as on a second preview) and the fill.
// Argument 1 runs after every month was marked stale, so the pass recomputes the year too.
void BM_FillSubsidiaryLedger(benchmark::State& state) {
    const qint64 lines = state.range(0);
    if (!currentBookReady(state, lines)) {
        return;
    }
    const bool stale = state.range(1) != 0;
    // Making the set current marks every month stale: one untimed round brings the totals up.
    if (!stale && !SubsidiaryLedger().fillFor(QString(), QString(), 0, 0)) {
        state.SkipWithError("the subsidiary ledger fill failed");
        return;
    }
    for (auto _ : state) {
        if (stale) {
            Database::global().execute(
                QStringLiteral(
                    "UPDATE T_TUKISIME SET SYORIFLG = '0', SYORIFLGH = '0' WHERE CID = ?"),
                {session().CurrentCid});
        }
        SubsidiaryLedger ledger;
        const auto start = Clocked::now();
        const bool ok = ledger.fillFor(QString(), QString(), 0, 0);
        state.SetIterationTime(secondsSince(start));
        if (!ok) {
            state.SkipWithError("the subsidiary ledger fill failed");
            return;
        }
    }
    state.counters["rows"] =
        static_cast<double>(Database::global()
                                .scalar(QStringLiteral("SELECT COUNT(*) FROM T_SKANSUBMT_OUT"))
                                .toLongLong());
}

BENCHMARK(BM_FillSubsidiaryLedger)
    ->ArgNames({"lines", "stale"})
    ->Args({kHundredThousand, 0})
    ->Args({kHundredThousand, 1})
    ->Args({kMillion, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
