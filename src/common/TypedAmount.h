#pragma once

#include <QString>

#include "common/Money.h"

// Reads an amount typed into a cell or box: blank is 0; text that is not an amount, or that goes
// below the 分 (more than two decimals), is refused with a message telling the user what to type,
// and amount is left alone.
bool readTypedAmount(const QString& text, Money& amount);

// Books are kept to the 分: at most two decimals, trailing zeros aside ("1.230" is fine).
bool typedToTheCent(const QString& text);
// The refusal for an amount typed below the 分.
QString belowTheCentText(const QString& text);
