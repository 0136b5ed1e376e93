#include "totals/DayBalances.h"

#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"

namespace {

const QString kCashKocode = QStringLiteral("004");

}  // namespace

bool UpdateSiwakeZandaka(const QString& day, Money amount, const QString& caller) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    try {
        RecordSet rs = db.query(QStringLiteral("SELECT YDAYZAN FROM T_SIWAKE WHERE CID = ? AND "
                                               "DENDAY = ? ORDER BY +DENCODE"),
                                {cid, day});
        if (rs.eof()) {
            return true;
        }
        Money difference = amount;
        if (caller == kOpeningBalanceForm) {
            difference = amount - rs.money(QStringLiteral("YDAYZAN"));
        }
        rs.close();
        db.execute(QStringLiteral("UPDATE T_SIWAKE SET YDAYZAN = YDAYZAN + ?, DAYZAN = DAYZAN + ? "
                                  "WHERE CID = ? AND DENDAY >= ?"),
                   {difference.toDb(), difference.toDb(), cid, day});
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("UpdateSiwakeZandaka"));
        return false;
    }
}

bool get_Kisyuzan(Money& amount, double& rate) {
    amount = Money();
    rate = 0.0;
    try {
        RecordSet rs = Database::global().query(
            QStringLiteral("SELECT KISYUZAN, RATE FROM T_KISYUZAN WHERE CID = ? AND KOCODE = ?"),
            {session().CurrentCid, kCashKocode});
        if (!rs.eof()) {
            amount = rs.money(QStringLiteral("KISYUZAN"));
            rate = rs.real(QStringLiteral("RATE"));
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("get_Kisyuzan"));
        return false;
    }
}
