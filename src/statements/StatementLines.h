#pragma once

#include <QString>
#include <array>

#include "common/Money.h"

// One column of a statutory statement: index = line number (1-88), index 0 unused.
constexpr int kStatementLines = 88;
using StatementColumn = std::array<Money, kStatementLines + 1>;

// Writes lines 1-88 of values as the one row of a statement work table (P_KESANSYO_S or
// P_KESANSYO_E) with one bound INSERT. False after a failure, which it has reported
// ("(WriteKesansyoTable)").
bool WriteKesansyoTable(const QString& table, const StatementColumn& values);
