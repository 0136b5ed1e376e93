#include "totals/TotalsPass.h"

#include "common/DateHelpers.h"
#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "totals/MonthFlags.h"
#include "totals/TotalsInternal.h"

namespace {

constexpr TotalsKind kKanjo = TotalsKind::Accounts;
constexpr TotalsKind kHojo = TotalsKind::Subsidiaries;
constexpr MonthState kComputed = MonthState::Computed;
constexpr MonthState kStale = MonthState::Stale;

// Copies the months of a query into the list from entry 1.
void fillList(RecordSet& rs, MonthList& list) {
    for (std::size_t i = 1; i < list.size() && !rs.eof(); ++i, rs.moveNext()) {
        list[i] = rs.text(QStringLiteral("DATEYM"));
    }
}

// Fresh turnover of one month: opening rows for the opening month, voucher turnover otherwise,
// with the cumulative amounts of a month before the end month.
bool recomputeMonth(const QString& opening, const QString& month, const QString& end) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    db.execute(QStringLiteral("DELETE FROM T_TUKIKAN WHERE CID = ? AND DATEYM = ?"), {cid, month});
    db.execute(QStringLiteral("DELETE FROM T_TUKIHOJO WHERE CID = ? AND DATEYM = ?"), {cid, month});
    if (isOpeningMonthKey(month)) {
        return msum_new_tukidata(month);
    }
    SubsidiaryTurnover debit;
    SubsidiaryTurnover credit;
    if (!msum_to_tukikanjo(opening, month, Side::Debit, debit) ||
        !msum_to_tukikanjo(opening, month, Side::Credit, credit) ||
        !msum_to_tukihojo(opening, month, Side::Debit, debit) ||
        !msum_to_tukihojo(opening, month, Side::Credit, credit)) {
        return false;
    }
    if (month != end) {
        return msum_update_tukikanjo0(month) && msum_update_tukihojo0(month);
    }
    return true;
}

// The pass proper. Step failures have been reported by the step and come back as false; a
// failure of the pass's own statements is thrown.
bool runPass(const QString& start, const QString& end, const QString& caller) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    const bool withSubsidiaries = caller == kSubsidiaryLedgerForm;
    const QString opening = openingMonth(start);

    MonthList list;
    const int check = msum_check_tukisime(start, end, list, caller);
    if (check == kCheckFailed) {
        return false;
    }
    if (check == kCheckNothing) {
        if (list[1] == kSubsidiaryPendingMarker && withSubsidiaries) {
            return msum_update_tukihojo(end) && UpdateTukiSimebi(kHojo, kComputed, opening, end);
        }
        return true;
    }

    for (std::size_t i = 1; i < list.size() && !list[i].trimmed().isEmpty(); ++i) {
        if (!recomputeMonth(opening, list[i], end)) {
            return false;
        }
    }

    // Total accounts keep only their opening-month rows; the roll-up rebuilds the rest.
    db.execute(QStringLiteral("DELETE FROM T_TUKIKAN WHERE CID = ? AND DATEYM > ? AND KANKOCODE "
                              "IN (SELECT DISTINCT KOCODE FROM T_KANJO WHERE SYORIKBN = '1' AND "
                              "SIYOU = 'Y')"),
               {cid, opening});
    if (start != end) {
        const QString beforeEnd = addMonths(end, -1);
        if (beforeEnd.isEmpty()) {
            throw DbError(DbError::kInvalidValue, QStringLiteral("不是月份: ") + end);
        }
        if (!msum_syukei(start, beforeEnd)) {
            return false;
        }
    }
    if (!msum_syukei(end, end) || !msum_misyobunrieki(opening, end) ||
        !msum_update_tukikanjo(end)) {
        return false;
    }
    if (withSubsidiaries) {
        if (!msum_update_tukihojo(end) || !UpdateTukiSimebi(kHojo, kComputed, opening, end)) {
            return false;
        }
    } else if (!UpdateTukiSimebi(kHojo, kStale, opening, end)) {
        return false;
    }
    // Only a row whose four amounts are all zero is empty: amounts of opposite signs (a refund
    // booked as a negative line) can add up to zero while the balance is not.
    db.execute(QStringLiteral("DELETE FROM T_TUKIKAN WHERE CID = ? AND KRTOTAL = 0 AND KSTOTAL = 0 "
                              "AND KRRUI = 0 AND KSRUI = 0 AND DATEYM > ? AND KANKOCODE NOT "
                              "IN('152', '348', '353')"),
               {cid, opening});
    db.execute(QStringLiteral("UPDATE T_TUKISIMECHECK SET DATEYM = ? WHERE CID = ?"), {end, cid});
    return UpdateTukiSimebi(kKanjo, kComputed, opening, end);
}

}  // namespace

int msum_check_tukisime(const QString& start, const QString& end, MonthList& list,
                        const QString& caller) {
    Q_UNUSED(start);
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    try {
        RecordSet stale = db.query(
            QStringLiteral("SELECT DATEYM FROM T_TUKISIME WHERE CID = ? AND DATEYM <= ? AND "
                           "SYORIFLG = '0' ORDER BY DATEYM"),
            {cid, end});
        if (!stale.eof()) {
            fillList(stale, list);
            return kCheckRecompute;
        }
        stale.close();
        // The last pass was for another end month: everything through end is recomputed.
        if (db.scalar(
                  QStringLiteral("SELECT CID FROM T_TUKISIMECHECK WHERE CID = ? AND DATEYM = ?"),
                  {cid, end})
                .isNull()) {
            RecordSet all = db.query(QStringLiteral("SELECT DATEYM FROM T_TUKISIME WHERE CID = ? "
                                                    "AND DATEYM <= ? ORDER BY DATEYM"),
                                     {cid, end});
            fillList(all, list);
            return kCheckRecompute;
        }
        if (caller == kSubsidiaryLedgerForm &&
            !db.scalar(QStringLiteral("SELECT DATEYM FROM T_TUKISIME WHERE CID = ? AND DATEYM <= "
                                      "? AND SYORIFLGH = '0' ORDER BY DATEYM"),
                       {cid, end})
                 .isNull()) {
            list[1] = kSubsidiaryPendingMarker;
        }
        return kCheckNothing;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msum_check_tukisime"));
        return kCheckFailed;
    }
}

bool msum_tukisime(const QString& start, const QString& end, const QString& caller) {
    Database& db = Database::global();
    try {
        // Inside a caller's transaction the pass is part of the caller's work; otherwise it gets
        // its own, which is faster and leaves nothing half done when it fails.
        if (db.inTransaction()) {
            return runPass(start, end, caller);
        }
        TransactionGuard transaction(db);
        if (!runPass(start, end, caller)) {
            return false;
        }
        transaction.commit();
        return true;
    } catch (const DbError&) {
        messages().plain(QStringLiteral("月次总计出现异常。"));
        return false;
    }
}
