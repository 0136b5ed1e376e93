#pragma once

#include <QList>
#include <QString>
#include <functional>

#include "statements/TotalLines.h"
#include "totals/PeriodMonths.h"

// The trial balance (借贷对照表) and the income statement (损益报表) of one month: the month list,
// the fill of T_TOTAL_MEISAI and T_TOTAL1 after the totals pass, and printing.
class MonthStatement {
  public:
    explicit MonthStatement(MonthStatementKind kind) : kind_(kind) {}

    QString form() const;    // "prtTaisyakuTaisyo" / "prtSonekiKeisan"
    QString title() const;   // 借贷对照表 / 损益报表
    QString layout() const;  // "R_TS" / "R_PS"

    // Fills the month list; CallerForm becomes the screen.
    bool Form_Load();
    const QList<LedgerMonth>& months() const { return months_; }
    // The chosen month; -1 (no text) prints the last month of the list.
    int month() const { return month_; }
    void setMonth(int index) { month_ = index; }

    // Fills and previews (mode 0) or prints (mode 1).
    bool print_data(int mode);
    void cmdQuestion_Click() const;
    // Called with true when a fill starts and with false when it is done.
    void setBusyHandler(std::function<void(bool)> busy) { busy_ = std::move(busy); }

    // For the command line: loads, chooses the month ("yyyy/mm", empty: the last) and fills the
    // work tables and header slots. False after a message.
    bool fillFor(const QString& month);

  private:
    bool fill();
    bool fillTrialBalance(const QString& month);
    bool fillIncomeStatement(const QString& month);

    MonthStatementKind kind_;
    QList<LedgerMonth> months_;
    int month_ = -1;
    std::function<void(bool)> busy_;
};
