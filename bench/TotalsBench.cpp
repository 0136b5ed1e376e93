#include <benchmark/benchmark.h>
#include "BenchBook.h"
#include "common/Session.h"
#include "db/Database.h"
#include "generator/BookGenerator.h"
#include "totals/MonthFlags.h"
#include "totals/TotalsPass.h"

namespace {

const QString kFirst = QStringLiteral("2024/01");
const QString kLast = QStringLiteral("2024/12");

// What opening the set leaves behind, without the totals rows: every month stale, no totals.
bool markEverythingStale(const QString& cid) {
    const QString opening = openingMonth(kFirst);
    TransactionGuard transaction;
    for (const char* table : {"T_TUKIKAN", "T_TUKIHOJO"}) {
        Database::global().execute(
            QStringLiteral("DELETE FROM %1 WHERE CID = ?").arg(QLatin1String(table)), {cid});
    }
    if (!MarkMonthsStale(opening, kLast)) {
        return false;
    }
    transaction.commit();
    return true;
}

// Arguments: the book's size in lines, then 1 for the subsidiary ledger's pass.
bool prepare(benchmark::State& state) {
    const qint64 lines = state.range(0);
    const bool subsidiary = state.range(1) != 0;
    if (!currentBookReady(state, lines)) {
        return false;
    }
    session().CallerForm = subsidiary ? QStringLiteral("prtSoukanjoHojoMotocho")
                                      : QStringLiteral("prtSoukanjoMotocho");
    return true;
}

void reportRows(benchmark::State& state) {
    state.counters["T_TUKIKAN"] = static_cast<double>(
        Database::global()
            .scalar(QStringLiteral("SELECT COUNT(*) FROM T_TUKIKAN WHERE CID = ?"),
                    {session().CurrentCid})
            .toLongLong());
}

// Runs the pass for the whole period and records its time as the iteration's.
bool timedPass(benchmark::State& state) {
    const auto start = Clocked::now();
    const bool ok = msum_tukisime(kFirst, kLast, session().CallerForm);
    state.SetIterationTime(secondsSince(start));
    if (!ok) {
        state.SkipWithError("msum_tukisime failed");
    }
    return ok;
}

// (a) Every month recomputed for a year-end report, as after opening the set.
void BM_FullRecompute(benchmark::State& state) {
    if (!prepare(state)) {
        return;
    }
    for (auto _ : state) {
        if (!markEverythingStale(session().CurrentCid)) {
            state.SkipWithError("marking the months failed");
            return;
        }
        if (!timedPass(state)) {
            return;
        }
    }
    reportRows(state);
}

// (b) One line of a March day changed after a complete pass: only March is stale.
void BM_IncrementalMarch(benchmark::State& state) {
    if (!prepare(state)) {
        return;
    }
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    if (!markEverythingStale(cid) || !msum_tukisime(kFirst, kLast, session().CallerForm)) {
        state.SkipWithError("the first full pass failed");
        return;
    }
    // A transfer line away from cash, so the day's cash balance stays as it is.
    const QString dencode =
        db.scalar(QStringLiteral("SELECT DENCODE FROM T_SIWAKE WHERE CID = ? AND DENDAY = ?"),
                  {cid, QStringLiteral("2024/03/15")})
            .toString();
    const QString denmeno =
        db.scalar(QStringLiteral("SELECT MIN(DENMENO) FROM T_SI_MEISAI WHERE CID = ? AND "
                                 "DENCODE = ? AND SISYU = '1' AND KRKOCODE <> '004' AND "
                                 "KSKOCODE <> '004'"),
                  {cid, dencode})
            .toString();
    const QString march = QStringLiteral("2024/03");
    qint64 change = 10000;
    for (auto _ : state) {
        {
            TransactionGuard transaction;
            db.execute(QStringLiteral("UPDATE T_SI_MEISAI SET KRKIN = KRKIN + ?, KRTKIN = "
                                      "KRTKIN + ?, KSKIN = KSKIN + ?, KSTKIN = KSTKIN + ? "
                                      "WHERE CID = ? AND DENCODE = ? AND DENMENO = ?"),
                       {change, change, change, change, cid, dencode, denmeno});
            if (!MarkMonthsStale(march, march)) {
                state.SkipWithError("marking March failed");
                return;
            }
            transaction.commit();
        }
        change = -change;
        if (!timedPass(state)) {
            return;
        }
    }
    reportRows(state);
}

// (c) Writing the year's book of state.range(0) lines itself, into a set that does not exist yet.
void BM_GenerateBook(benchmark::State& state) {
    if (!benchDatabaseReady(state)) {
        return;
    }
    const QString cid = QStringLiteral("52");
    Database& db = Database::global();
    for (auto _ : state) {
        {
            TransactionGuard transaction;
            for (const char* table : {"T_COMP_MAIN", "T_KISYUZAN", "T_HOJOKAMOKU", "T_DAY_INPUT",
                                      "T_DAY_TORAN", "T_SIWAKE", "T_SI_MEISAI", "T_TUKIKAN",
                                      "T_TUKIHOJO", "T_TUKISIME", "T_TUKISIMECHECK"}) {
                db.execute(QStringLiteral("DELETE FROM %1 WHERE CID = ?").arg(QLatin1String(table)),
                           {cid});
            }
            transaction.commit();
        }
        QString error;
        const auto start = Clocked::now();
        const bool ok = generateBook(yearSpec(cid, state.range(0)), &error);
        state.SetIterationTime(secondsSince(start));
        if (!ok) {
            state.SkipWithError(error.toUtf8().constData());
            return;
        }
    }
    state.counters["lines"] = static_cast<double>(
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = ?"), {cid})
            .toLongLong());
}

// The million-line cases build their own book on first use (with the generator case, about 500 MB
// of temporary file); run them alone with --benchmark_filter=lines:1000000.
void passArgs(benchmark::internal::Benchmark* b) {
    b->ArgNames({"lines", "subsidiary"});
    for (const qint64 lines : {kHundredThousand, kMillion}) {
        b->Args({lines, 0})->Args({lines, 1});
    }
}

BENCHMARK(BM_FullRecompute)->Apply(passArgs)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IncrementalMarch)->Apply(passArgs)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateBook)
    ->ArgName("lines")
    ->Arg(kHundredThousand)
    ->Arg(kMillion)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
