#pragma once

#include <QString>

// The month-closing flags of the current account set: which months' totals are stale.

// Rebuilds the flags for a period (months "yyyy/mm"): the opening month and up to 12 months, all
// stale, and records the opening month as the last computed one. Leaves them alone when the
// earliest flag row already equals first.
bool SetTukisimeData(const QString& first, const QString& last);

// Sets the flag of kind "Kanjo" (account totals) or "Hojo" (subsidiary totals) to flag ("0"
// stale, "1" computed) for the months from..to.
bool UpdateTukiSimebi(const QString& kind, const QString& flag, const QString& from,
                      const QString& to);

// The opening-month key of a period: its first year followed by "/00".
QString openingMonth(const QString& firstMonth);
