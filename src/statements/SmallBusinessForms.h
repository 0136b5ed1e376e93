#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <functional>

#include "common/Money.h"
#include "statements/AccountBalances.h"
#include "totals/PeriodMonths.h"

// The two forms of the small-business accounting standard.
enum class SmallBusinessForm {
    BalanceSheet,     // 会小企01表 资产负债表: 期末余额 | 年初余额
    IncomeStatement,  // 会小企02表 利润表: 本年累计金额 | 本月金额
};

// Computes one form for month (yyyy/mm) of the period that starts in periodFirst, the totals pass
// having run to month: the lines of MT_FORMLINE over the balances, the first column into
// P_KESANSYO_E (期末余额 / 本年累计金额) and the second into P_KESANSYO_S (年初余额 from the
// opening month / 本月金额), one row of KIN1..KIN88 each. False after a message: a malformed
// mapping, every line 0 in both columns ("没有符合条件的数据。") or a database error.
bool fillSmallBusinessForm(SmallBusinessForm form, const QString& periodFirst,
                           const QString& month);

// The screen prtXiaoQiye without widgets: the choice of form, the month list, the fill and
// printing.
class SmallBusinessForms {
  public:
    static const QString kForm;   // "prtXiaoQiye"
    static const QString kTitle;  // "小企业会计报表"

    static QString layoutOf(SmallBusinessForm form);  // "R_XQY01" / "R_XQY02"
    static QString captionOf(SmallBusinessForm form);

    // Fills the month list, the last month chosen; CallerForm becomes this screen.
    bool Form_Load();

    const QList<LedgerMonth>& months() const { return months_; }
    int month() const { return month_; }
    void setMonth(int index) { month_ = index; }
    SmallBusinessForm form() const { return form_; }
    void setForm(SmallBusinessForm form) { form_ = form; }

    // Runs the totals pass to the chosen month, fills the form's work tables and its header slot.
    bool fill();
    // Fills and previews (mode 0) or prints (mode 1).
    bool print_data(int mode);
    bool cmdHyouji_Click() { return print_data(0); }
    bool cmdInsatu_Click() { return print_data(1); }
    void cmdQuestion_Click();

    // For the command line: the form and month "yyyy/mm" (empty: the last of the list); fills
    // without printing.
    bool fillFor(SmallBusinessForm form, const QString& month);

    // Called with true when a fill starts and with false when it is done.
    void setBusyHandler(std::function<void(bool)> busy) { busy_ = std::move(busy); }

  private:
    bool load();

    QList<LedgerMonth> months_;
    QString periodFirst_;
    int month_ = -1;
    SmallBusinessForm form_ = SmallBusinessForm::BalanceSheet;
    std::function<void(bool)> busy_;
};
