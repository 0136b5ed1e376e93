#include "totals/MonthFlags.h"

#include "common/Clock.h"
#include "common/DateHelpers.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "db/RowWriters.h"

namespace {

// A failed row writer ends the routine like any engine error.
void writeTukisime(const QString& cid, const QString& month, const QString& today) {
    if (!WriteTukisimeTable({cid, month, QStringLiteral("0"), QStringLiteral("0"), today},
                            QStringLiteral("T_TUKISIME"))) {
        const Database& db = Database::global();
        throw DbError(db.lastErrorNumber(), db.lastErrorText());
    }
}

}  // namespace

QString openingMonth(const QString& firstMonth) {
    return firstMonth.left(4) + QStringLiteral("/00");
}

bool SetTukisimeData(const QString& first, const QString& last) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    try {
        const QVariant earliest = db.scalar(
            QStringLiteral("SELECT DATEYM FROM T_TUKISIME WHERE CID = ? ORDER BY DATEYM"), {cid});
        if (!earliest.isNull() && earliest.toString().trimmed() == first) {
            return true;
        }
        db.execute(QStringLiteral("DELETE FROM T_TUKISIME WHERE CID = ?"), {cid});
        db.execute(QStringLiteral("DELETE FROM T_TUKISIMECHECK WHERE CID = ?"), {cid});
        const QString opening = openingMonth(first);
        db.execute(QStringLiteral("INSERT INTO T_TUKISIMECHECK (CID, DATEYM) VALUES (?, ?)"),
                   {cid, opening});
        const QString today = Clock::todayText();
        writeTukisime(cid, opening, today);
        QString month = first;
        for (int round = 0; round < 12; ++round) {
            writeTukisime(cid, month, today);
            month = addMonths(month, 1);
            if (month > last) {
                break;
            }
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("SetTukisimeData"));
        return false;
    }
}

bool UpdateTukiSimebi(TotalsKind kind, MonthState state, const QString& from, const QString& to) {
    const QString column =
        kind == TotalsKind::Accounts ? QStringLiteral("SYORIFLG") : QStringLiteral("SYORIFLGH");
    const QString flag = state == MonthState::Computed ? QStringLiteral("1") : QStringLiteral("0");
    try {
        Database::global().execute(
            QStringLiteral("UPDATE T_TUKISIME SET %1 = ?, SYORIDAY = ? WHERE CID = ? AND "
                           "DATEYM BETWEEN ? AND ?")
                .arg(column),
            {flag, Clock::todayText(), session().CurrentCid, from, to});
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("UpdateTukiSimebi"));
        return false;
    }
}

bool MarkMonthsStale(const QString& from, const QString& to) {
    return UpdateTukiSimebi(TotalsKind::Accounts, MonthState::Stale, from, to) &&
           UpdateTukiSimebi(TotalsKind::Subsidiaries, MonthState::Stale, from, to);
}
