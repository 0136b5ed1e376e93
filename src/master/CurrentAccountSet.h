#pragma once

#include <QString>

// Making an account set current: the session copy WK_COMPANY, the period caption, the month list
// T_DAY_INPUT, the month flags and the working chart T_KANJO. These run inside the caller's
// transaction on the session's CurrentCid.

// Refreshes WK_COMPANY, PeriodLabel, T_DAY_INPUT and the month flags for CurrentCid.
bool ResetCompanyData();

// Loads the chart of CurrentCid into T_KANJO: the first time from the template chart (which also
// gives the set its own T_KISYUZAN rows), afterwards by overlaying the set's T_KISYUZAN values.
void change_kanjo_data(bool& ok);

// Rebuilds the month list of CurrentCid for first..last ("yyyy/mm"), at most 12 months; left
// alone when it already starts with first.
bool SetDayInputData(const QString& first, const QString& last);

// "第 N 期" for a corporation (GKBN "1"), otherwise the first four characters of KISYU & "年度".
QString periodLabelFor(const QString& gkbn, const QString& nendosu, const QString& kisyu);

// The month label of the month list, e.g. "2024/03" gives "2024年3月".
QString monthListLabel(const QString& month);
