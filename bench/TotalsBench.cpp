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
bool markEverythingStale() {
    const QString opening = openingMonth(kFirst);
    TransactionGuard transaction;
    for (const char* table : {"T_TUKIKAN", "T_TUKIHOJO"}) {
        Database::global().execute(
            QStringLiteral("DELETE FROM %1 WHERE CID = ?").arg(QLatin1String(table)), {kCid});
    }
    if (!UpdateTukiSimebi(QStringLiteral("Kanjo"), QStringLiteral("0"), opening, kLast) ||
        !UpdateTukiSimebi(QStringLiteral("Hojo"), QStringLiteral("0"), opening, kLast)) {
        return false;
    }
    transaction.commit();
    return true;
}

bool prepare(benchmark::State& state, bool subsidiary) {
    if (!benchBookReady(state)) {
        return false;
    }
    if (session().CurrentCid != kCid && !useSet(kCid)) {
        state.SkipWithError("the generated set cannot be made current");
        return false;
    }
    session().CallerForm = subsidiary ? QStringLiteral("prtSoukanjoHojoMotocho")
                                      : QStringLiteral("prtSoukanjoMotocho");
    return true;
}

void reportRows(benchmark::State& state) {
    state.counters["T_TUKIKAN"] = static_cast<double>(
        Database::global()
            .scalar(QStringLiteral("SELECT COUNT(*) FROM T_TUKIKAN WHERE CID = ?"), {kCid})
            .toLongLong());
}

// Runs the pass for the whole period and records its time as the iteration's.
bool timedPass(benchmark::State& state) {
    const auto start = Clocked::now();
    const bool ok = msum_tukisime(kFirst, kLast);
    state.SetIterationTime(secondsSince(start));
    if (!ok) {
        state.SkipWithError("msum_tukisime failed");
    }
    return ok;
}

// (a) Every month recomputed for a year-end report, as after opening the set.
void BM_FullRecompute(benchmark::State& state) {
    if (!prepare(state, state.range(0) != 0)) {
        return;
    }
    for (auto _ : state) {
        if (!markEverythingStale()) {
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
    if (!prepare(state, state.range(0) != 0)) {
        return;
    }
    Database& db = Database::global();
    if (!markEverythingStale() || !msum_tukisime(kFirst, kLast)) {
        state.SkipWithError("the first full pass failed");
        return;
    }
    // A transfer line away from cash, so the day's cash balance stays as it is.
    const QString dencode =
        db.scalar(QStringLiteral("SELECT DENCODE FROM T_SIWAKE WHERE CID = ? AND DENDAY = ?"),
                  {kCid, QStringLiteral("2024/03/15")})
            .toString();
    const QString denmeno =
        db.scalar(QStringLiteral("SELECT MIN(DENMENO) FROM T_SI_MEISAI WHERE CID = ? AND "
                                 "DENCODE = ? AND SISYU = '1' AND KRKOCODE <> '004' AND "
                                 "KSKOCODE <> '004'"),
                  {kCid, dencode})
            .toString();
    const QString march = QStringLiteral("2024/03");
    qint64 change = 10000;
    for (auto _ : state) {
        {
            TransactionGuard transaction;
            db.execute(QStringLiteral("UPDATE T_SI_MEISAI SET KRKIN = KRKIN + ?, KRTKIN = "
                                      "KRTKIN + ?, KSKIN = KSKIN + ?, KSTKIN = KSTKIN + ? "
                                      "WHERE CID = ? AND DENCODE = ? AND DENMENO = ?"),
                       {change, change, change, change, kCid, dencode, denmeno});
            if (!UpdateTukiSimebi(QStringLiteral("Kanjo"), QStringLiteral("0"), march, march) ||
                !UpdateTukiSimebi(QStringLiteral("Hojo"), QStringLiteral("0"), march, march)) {
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

// (c) Writing the year's book itself, into a set that does not exist yet.
void BM_GenerateBook(benchmark::State& state) {
    if (!benchBookReady(state)) {
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
        const bool ok = generateBook(yearSpec(cid), &error);
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

BENCHMARK(BM_FullRecompute)
    ->ArgName("subsidiary")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IncrementalMarch)
    ->ArgName("subsidiary")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateBook)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
