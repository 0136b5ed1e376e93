#pragma once

#include <QComboBox>

#include "common/ui/ReportScreen.h"
#include "statements/MonthStatement.h"

// The screen of a monthly statement: the month list and 打印预览, 打印, 帮助, 返回.
class MonthStatementScreen : public ReportScreen {
    Q_OBJECT
  public:
    explicit MonthStatementScreen(MonthStatementKind kind, QWidget* parent = nullptr);

    MonthStatement& logic() { return logic_; }

  private:
    MonthStatement logic_;
    QComboBox* cmbTaisyoNenTuki;
};

// 借贷对照表.
class prtTaisyakuTaisyo : public MonthStatementScreen {
    Q_OBJECT
  public:
    explicit prtTaisyakuTaisyo(QWidget* parent = nullptr)
        : MonthStatementScreen(MonthStatementKind::TrialBalance, parent) {}
};

// 损益报表.
class prtSonekiKeisan : public MonthStatementScreen {
    Q_OBJECT
  public:
    explicit prtSonekiKeisan(QWidget* parent = nullptr)
        : MonthStatementScreen(MonthStatementKind::IncomeStatement, parent) {}
};
