#pragma once

#include <QString>

// The month-closing flags of the current account set: which months' totals are stale.

// Rebuilds the flags for a period (months "yyyy/mm"): the opening month and up to 12 months, all
// stale, and records the opening month as the last computed one. Leaves them alone when the
// earliest flag row already equals first.
bool SetTukisimeData(const QString& first, const QString& last);

// Which totals a flag is about: the account totals (stored column SYORIFLG, the "Kanjo" flag)
// or the subsidiary totals (SYORIFLGH, "Hojo").
enum class TotalsKind { Accounts, Subsidiaries };
// A month's totals are stale (stored "0") or computed ("1").
enum class MonthState { Stale, Computed };

// Sets the flag of kind to state for the months from..to.
bool UpdateTukiSimebi(TotalsKind kind, MonthState state, const QString& from, const QString& to);

// Marks both kinds of totals stale for the months from..to, as every change to voucher lines,
// opening balances or the chart must.
bool MarkMonthsStale(const QString& from, const QString& to);

// The opening-month key of a period: its first year followed by "/00".
QString openingMonth(const QString& firstMonth);
