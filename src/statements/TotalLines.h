#pragma once

#include <QString>
#include <QStringList>

#include "common/Money.h"

// The lines of the monthly statements in their work tables T_TOTAL_MEISAI and T_TOTAL1: the
// trial balance and the income statement fill the same tables with the same queries and differ
// only in how they name total accounts and whether a missing line is an error.
enum class MonthStatementKind { TrialBalance, IncomeStatement };

struct TotalLine {
    QString cid;
    QString kocode;
    QString kmcode;
    QString pcode1;
    QString pcode2;
    QString pcode3;
    QString kaipage;
    QString kmname;
    Money maekuri;
    Money krtotal;
    Money kstotal;
    Money zan;
};

// Writes one line into the table; false after the standard message "(WriteTotalMeisaiTable)".
bool WriteTotalMeisaiTable(const QString& table, const TotalLine& line);

// One line per account of the chart between low and high (keys) with SYORIKBN kbn that has a
// monthly row in month ("yyyy/mm"), signed in the account's own direction. No such account:
// "没有符合条件的数据。" and false, except for the income statement's 171, which may be missing.
bool set_data_to_query1(MonthStatementKind kind, const QString& table, const QString& low,
                        const QString& high, const QString& kbn, const QString& month);

// The zero lines of the totals (trial balance) or result lines (income statement) that position
// the statement's sections; the income statement writes only the keys its chart has.
bool set_data_to_query2(MonthStatementKind kind);

// A zero line for a chart account that is not in the table yet; false after a failed write.
bool addChartLine(const QString& table, const QString& kocode);
