#pragma once

#include <QString>

#include "common/Money.h"

// The cash book's chain of day balances on the vouchers of the current account set, kept by the
// daily screen and the opening-balance screen alike. Both routines run inside the caller's
// transaction; on failure they report the error and return false, and the caller rolls back.

// The opening-balance screen, for which UpdateSiwakeZandaka takes a new opening balance.
inline const QString kOpeningBalanceForm = QStringLiteral("InpKisyuZandaka");

// Shifts the brought-forward and closing balances of the voucher of day ("yyyy/mm/dd") and of
// every later voucher. The amount is the shift itself, except when caller (the screen that runs
// the routine) is the opening-balance screen: then it is the new opening balance and the shift
// is its difference to that day's brought-forward balance. A day without a voucher changes
// nothing.
bool UpdateSiwakeZandaka(const QString& day, Money amount, const QString& caller);

// The cash account's opening balance and the set's exchange rate; both 0 when the set has no
// opening-balance row for cash.
bool get_Kisyuzan(Money& amount, double& rate);
