#pragma once

#include <QList>
#include <QString>

// One entry of a screen's month list: its text (OUTYM, "2024年3月") and month key ("2024/03").
struct LedgerMonth {
    QString text;
    QString month;
};

// The months of the current set's period in T_DAY_INPUT, up to the period's end. Throws DbError.
QList<LedgerMonth> loadPeriodMonths();
