#pragma once

#include <QString>

// After voucher lines were replaced outside the daily screen, the day amounts that screen keeps
// beside them must follow the lines again.

// Rebuilds the daily grid amounts (T_DAY_TORAN) of the current set for the months from..to
// ("yyyy/mm") from their simple lines, then the chain of day balances of every voucher from the
// first day of from on, so that each day's brought-forward balance is the day before's closing
// one. Runs in the caller's transaction. Throws DbError.
void rebuildDayAmounts(const QString& from, const QString& to);
