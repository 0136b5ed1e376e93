#pragma once

#include <QString>

#include "common/Money.h"

// Reads an amount typed into a cell or box: blank is 0; text that is not an amount is refused
// with a message telling the user what to type, and amount is left alone.
bool readTypedAmount(const QString& text, Money& amount);
