#pragma once

#include <QString>
#include <QStringList>

// The derived lines of the monthly statements, computed in T_TOTAL_MEISAI and T_TOTAL1 after
// their detail lines are written.
extern const QString kTrialBalanceName;     // "借贷对照表"
extern const QString kIncomeStatementName;  // "损益报表"

// Account keys read either as a range (between the first two) or as a set; no keys: unused.
struct KeyList {
    bool range = false;
    QStringList keys;
};

// One derived line: target in dest = sums of listA in source, less the sums of listB (its
// balance by magnitude), replacing the line or (add) added to it. A target that source "T_TOTAL1"
// adds from the details with 353 gets its turnover from its two balances.
bool ksum_sonekikesansyo(const QString& dest, const QString& source, const QString& target,
                         const KeyList& plus, const KeyList& minus, bool add);

// Adds the profit of the year (348) to the summary lines 174, 175 and 176 of the trial balance.
bool ksum_taisyakutaisyohyo();

// The statement's totals: the trial balance's, or the income statement's derived lines (the first
// nine steps for any other name, all seventeen for the income statement).
bool statementTotals(const QString& statementName);

// Nets the turnover of the income statement's result lines onto one side.
bool update_data();
