#pragma once

#include "statements/StatutoryBalanceSheet.h"
#include "statements/ui/StatementScreen.h"

// The year-end balance sheet screen (资产负债表).
class prtZichan : public StatementScreen {
    Q_OBJECT
  public:
    explicit prtZichan(QWidget* parent = nullptr)
        : StatementScreen(std::make_unique<StatutoryBalanceSheet>(), parent) {}

    StatutoryBalanceSheet& logic() { return static_cast<StatutoryBalanceSheet&>(statement()); }
};
