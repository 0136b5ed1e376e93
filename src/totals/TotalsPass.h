#pragma once

#include <QString>

// The monthly totals pass: brings T_TUKIKAN (and, for the subsidiary ledger, T_TUKIHOJO) of the
// current account set up to date for the months from the period's first month through end,
// recomputing only the stale months unless the end month changed. start is the period's first
// month and end the report month, both "yyyy/mm"; caller is the screen that asks (its session
// CallerForm). Runs in its own transaction when none is open. True when the totals are ready.
bool msum_tukisime(const QString& start, const QString& end, const QString& caller);
