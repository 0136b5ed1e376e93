#pragma once

#include "statements/AccountBalances.h"
#include "statements/StatutoryStatement.h"

// The year-end balance sheet (资产负债表, form 财会年企01表) without widgets: 88 lines with the
// balances of the opening month (P_KESANSYO_S) and of the period end's month (P_KESANSYO_E).
class StatutoryBalanceSheet : public StatutoryStatement {
  public:
    static const QString kForm;    // "prtZichan"
    static const QString kTitle;   // "资产负债表"
    static const QString kLayout;  // "R_ZICHAN"

    QString form() const override { return kForm; }
    QString title() const override { return kTitle; }
    QString readMe() const override;
    // The computation, step by step in the order the lines are computed.
    static const std::vector<LineStep>& lineSteps();

    // Adds the balances of the accounts matching condition (the text after "K.KOCODE ") in the
    // two months to the two targets. False after a reported failure.
    bool set_hyouji_table(const QString& condition, const QString& beginMonth,
                          const QString& endMonth, Money& beginTarget, Money& endTarget);
    // Every line of both columns, from the current set's totals of the two months.
    bool computeLines(const QString& beginMonth, const QString& endMonth);

    QString layout() const override { return kLayout; }
    void cmdQuestion_Click() override;

    const StatementColumn& beginning() const { return begin_; }
    const StatementColumn& ending() const { return end_; }

  protected:
    bool fillTables() override;

  private:
    BalanceCache balances_;
    StatementColumn begin_{};
    StatementColumn end_{};
};
