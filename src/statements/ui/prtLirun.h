#pragma once

#include "statements/StatutoryProfitStatement.h"
#include "statements/ui/StatementScreen.h"

// The year-end profit and profit-distribution statement screen (利润及利润分配表).
class prtLirun : public StatementScreen {
    Q_OBJECT
  public:
    explicit prtLirun(QWidget* parent = nullptr)
        : StatementScreen(std::make_unique<StatutoryProfitStatement>(), parent) {}

    StatutoryProfitStatement& logic() {
        return static_cast<StatutoryProfitStatement&>(statement());
    }
};
