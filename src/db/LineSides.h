#pragma once

#include <QString>

// The two sides of a voucher line (T_SI_MEISAI) and of a monthly totals row (T_TUKIKAN,
// T_TUKIHOJO). The column names are program constants, so they may be placed in SQL text.
enum class Side { Debit, Credit };

inline QString codeColumn(Side side) {
    return side == Side::Debit ? QStringLiteral("KRKOCODE") : QStringLiteral("KSKOCODE");
}
inline QString subsidiaryColumn(Side side) {
    return side == Side::Debit ? QStringLiteral("KRHOKOCODE") : QStringLiteral("KSHOKOCODE");
}
inline QString amountColumn(Side side) {
    return side == Side::Debit ? QStringLiteral("KRKIN") : QStringLiteral("KSKIN");
}
// The monthly turnover and cumulative columns of the totals rows.
inline QString turnoverColumn(Side side) {
    return side == Side::Debit ? QStringLiteral("KRTOTAL") : QStringLiteral("KSTOTAL");
}
inline QString cumulativeColumn(Side side) {
    return side == Side::Debit ? QStringLiteral("KRRUI") : QStringLiteral("KSRUI");
}
