#pragma once

#include <QString>

#include "common/Money.h"

// The vouchers of the current account set: one per calendar day, numbered "00001", "00002", … in
// day order. Every routine runs inside the caller's transaction; a failure is reported with the
// routine's name and the caller rolls back.

struct Voucher {
    QString DENCODE;
    QString DENDAY;
    QString DENNO;
    Money YDAYZAN;
    Money DAYZAN;
    double RATE = 0.0;
};

// The highest voucher code as a number; 0 when the set has none or after a reported error.
int get_siwake_MaxNo();

// The highest line number of a voucher as a number; 0 when it has no line.
int get_siwake_meisai_MaxNo(const QString& dencode);

enum class VoucherLookup { Found, Missing, Failed };

// Looks a voucher up by "DENCODE", "DENNO" or "DENDAY"; the voucher is empty unless Found. A
// database error is reported with the routine's name and comes back as Failed, never as a day
// without a voucher, whose zero balances a caller would carry forward.
VoucherLookup get_siwake_data(const QString& column, const QString& value, Voucher& voucher);

// Creates the missing day vouchers: the first on the period's first day with the cash opening
// balance, then one per day up to today (or the last input day when that is earlier), each
// carrying the last voucher's closing balance. Ends by refreshing the session's voucher range.
bool make_new_siwake_data();

// Carries a changed closing balance of day ("yyyy/mm/dd") into every later voucher; a day
// without a voucher has nothing to carry.
bool update_next_zandaka(const QString& day);

// "00001" from 1.
QString voucherCode(int number);
