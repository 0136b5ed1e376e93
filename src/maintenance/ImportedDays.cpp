#include "maintenance/ImportedDays.h"

#include <QHash>
#include <QMap>

#include "common/Session.h"
#include "db/Database.h"
#include "entry/EntryRows.h"
#include "totals/DayBalances.h"

namespace {

const QString kCash = QStringLiteral("004");

struct DayLines {
    QList<SimpleEntryRow> income;
    QList<SimpleEntryRow> expense;
    QList<TransferEntryRow> transfer;
};

// The grid account of a simple line: the income account on the credit side or the expense
// account on the debit side, as the daily screen reads them back.
const EntryChart::Account* gridAccount(const EntryChart& chart, const QString& debit,
                                       const QString& credit, bool& income) {
    const EntryChart::Account* account = chart.byKocode(credit);
    if (account && account->income) {
        income = true;
        return account;
    }
    account = chart.byKocode(debit);
    if (account && account->expense) {
        income = false;
        return account;
    }
    return nullptr;
}

}  // namespace

void rebuildDayAmounts(const QString& from, const QString& to) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    EntryChart chart;
    chart.load(cid);

    QMap<QString, DayLines> days;
    for (RecordSet rs = db.query(QStringLiteral("SELECT SIDAY, SISYU, KRKOCODE, KSKOCODE, KRKIN "
                                                "FROM T_SI_MEISAI WHERE CID = ? AND SIDAY >= ?"),
                                 {cid, from + QStringLiteral("/01")});
         !rs.eof(); rs.moveNext()) {
        const QString day = rs.text(QStringLiteral("SIDAY"));
        DayLines& lines = days[day];
        const QString debit = rs.text(QStringLiteral("KRKOCODE"));
        const QString credit = rs.text(QStringLiteral("KSKOCODE"));
        const Money amount = rs.money(QStringLiteral("KRKIN"));
        bool income = false;
        const EntryChart::Account* account = rs.text(QStringLiteral("SISYU")) == u"0"
                                                 ? gridAccount(chart, debit, credit, income)
                                                 : nullptr;
        if (!account) {
            TransferEntryRow row;
            row.debitKocode = debit;
            row.creditKocode = credit;
            row.amount = amount;
            lines.transfer.append(row);
            continue;
        }
        SimpleEntryRow row;
        row.KOCODE = account->KOCODE;
        row.KMCODE = account->KMCODE;
        row.amount = amount;
        (income ? lines.income : lines.expense).append(row);
    }

    // Grid amounts: the months' rows start from zero, then each simple line adds its day.
    // Rows of accounts without amounts stay, as the daily screen keeps them.
    QString zero;
    for (int d = 1; d <= 31; ++d) {
        zero += QStringLiteral("%1KIN%2 = 0").arg(d > 1 ? QStringLiteral(", ") : QString()).arg(d);
    }
    db.execute(QStringLiteral("UPDATE T_DAY_TORAN SET %1 WHERE CID = ? AND DATEYM BETWEEN ? AND ?")
                   .arg(zero),
               {cid, from, to});
    for (auto it = days.cbegin(); it != days.cend(); ++it) {
        const QString month = it.key().left(7);
        if (month > to) {
            break;
        }
        const QString column = QStringLiteral("KIN%1").arg(it.key().mid(8, 2).toInt());
        for (const QList<SimpleEntryRow>* grid : {&it->income, &it->expense}) {
            for (const SimpleEntryRow& row : *grid) {
                db.execute(QStringLiteral("INSERT OR IGNORE INTO T_DAY_TORAN (CID, KOCODE, "
                                          "DATEYM, KMCODE) VALUES (?, ?, ?, ?)"),
                           {cid, row.KOCODE, month, row.KMCODE});
                db.execute(QStringLiteral("UPDATE T_DAY_TORAN SET %1 = %1 + ? WHERE CID = ? AND "
                                          "KOCODE = ? AND DATEYM = ?")
                               .arg(column),
                           {row.amount.toDb(), cid, row.KOCODE, month});
            }
        }
    }

    // Day balances from the first voucher of from on: the set's first voucher opens with the
    // cash opening balance, any other with the closing balance of the voucher before it.
    const QString firstDay = from + QStringLiteral("/01");
    const QVariant firstOfSet =
        db.scalar(QStringLiteral("SELECT MIN(DENDAY) FROM T_SIWAKE WHERE CID = ?"), {cid});
    Money previous;
    bool havePrevious = false;
    RecordSet before = db.query(QStringLiteral("SELECT DAYZAN FROM T_SIWAKE WHERE CID = ? AND "
                                               "DENDAY < ? ORDER BY DENDAY DESC LIMIT 1"),
                                {cid, firstDay});
    if (!before.eof()) {
        previous = before.money(QStringLiteral("DAYZAN"));
        havePrevious = true;
    }
    before.close();
    if (!havePrevious && !firstOfSet.isNull()) {
        double rate = 0.0;
        if (!get_Kisyuzan(previous, rate)) {
            throw DbError(DbError::kInvalidValue, QStringLiteral("不能读取现金的期初余额。"));
        }
    }
    const QList<QVariantList> vouchers = db.selectAll(
        QStringLiteral("SELECT DENCODE, DENDAY FROM T_SIWAKE WHERE CID = ? AND DENDAY >= ? "
                       "ORDER BY DENDAY, DENCODE"),
        {cid, firstDay});
    for (const QVariantList& voucher : vouchers) {
        const DayLines lines = days.value(voucher.at(1).toString());
        const DayTotals totals =
            dayTotals(chart, kCash, previous, lines.income, lines.expense, lines.transfer);
        db.execute(QStringLiteral("UPDATE T_SIWAKE SET YDAYZAN = ?, DAYZAN = ? WHERE CID = ? AND "
                                  "DENCODE = ?"),
                   {previous.toDb(), totals.closing.toDb(), cid, voucher.at(0)});
        previous = totals.closing;
    }
}
