#pragma once

#include "statements/AccountBalances.h"
#include "statements/StatutoryStatement.h"

// The year-end profit and profit-distribution statement (利润及利润分配表, form 财会年企02表)
// without widgets: lines 1-64 of this year (P_KESANSYO_E) beside the figures saved for the
// previous fiscal year (P_KESANSYO_S). The year-end update saves this year's lines.
class StatutoryProfitStatement : public StatutoryStatement {
  public:
    static const QString kForm;    // "prtLirun"
    static const QString kTitle;   // "利润及利润分配表"
    static const QString kLayout;  // "R_LIRUN"

    QString form() const override { return kForm; }
    QString title() const override { return kTitle; }
    QString readMe() const override;
    // The computation, step by step in the order the lines are computed.
    static const std::vector<LineStep>& lineSteps();

    // Adds the balances of the accounts matching condition (the text after "K.KOCODE "; "OR
    // K.KOCODE ..." alternatives allowed) in the month to target. False after a reported failure.
    bool search_table(const QString& condition, const QString& month, Money& target);
    // Computes lines 1-64 from the current set's totals of the month and writes P_KESANSYO_S
    // (all zero) and P_KESANSYO_E (this year). Line 64 holds a loss of line 63 as a positive
    // amount. False after a reported failure.
    bool set_hyouji_table(const QString& month);

    QString layout() const override { return kLayout; }
    void cmdQuestion_Click() override;

    const StatementColumn& thisYear() const { return lines_; }

  protected:
    bool fillTables() override;

  private:
    BalanceCache balances_;
    StatementColumn lines_{};
};
