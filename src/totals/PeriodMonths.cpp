#include "totals/PeriodMonths.h"

#include "common/Session.h"
#include "db/Database.h"

QList<LedgerMonth> loadPeriodMonths() {
    Database& db = Database::global();
    const QString kimatu =
        db.scalar(QStringLiteral("SELECT KIMATU FROM WK_COMPANY")).toString().trimmed();
    QList<LedgerMonth> months;
    for (const QVariantList& row : db.selectAll(
             QStringLiteral("SELECT INYM, OUTYM FROM T_DAY_INPUT WHERE CID = ? ORDER BY INYM"),
             {session().CurrentCid})) {
        const QString month = row.at(0).toString().trimmed();
        if (month > kimatu) {
            break;
        }
        months.append({row.at(1).toString().trimmed(), month});
    }
    return months;
}
