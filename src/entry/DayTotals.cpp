#include "entry/EntryRows.h"

DayTotals dayTotals(const EntryChart& chart, const QString& cashKocode, Money previousBalance,
                    const QList<SimpleEntryRow>& income, const QList<SimpleEntryRow>& expense,
                    const QList<TransferEntryRow>& transfer) {
    DayTotals totals;
    for (const SimpleEntryRow& row : income) {
        totals.income += row.amount;
    }
    for (const SimpleEntryRow& row : expense) {
        totals.expense += row.amount;
    }
    totals.received = totals.income;
    totals.paid = totals.expense;
    for (const TransferEntryRow& row : transfer) {
        const Money a = row.amount;
        const QString& debit = row.debitKocode;
        const QString& credit = row.creditKocode;
        // Cash against an income or expense account moves cash by that account's effect on
        // profit; against any other account by the amount itself.
        if (debit == cashKocode) {
            Money in;
            Money out;
            totals.received += chart.kingaku_keisan(credit, a, false, in, out) ? in - out : a;
        }
        if (credit == cashKocode) {
            Money in;
            Money out;
            totals.paid += chart.kingaku_keisan(debit, a, true, in, out) ? out - in : a;
        }
        chart.kingaku_keisan(debit, a, true, totals.income, totals.expense);
        chart.kingaku_keisan(credit, a, false, totals.income, totals.expense);
    }
    totals.profit = totals.income - totals.expense;
    totals.closing = previousBalance + totals.received - totals.paid;
    return totals;
}
