#pragma once

#include "totals/SubsidiaryLedger.h"
#include "totals/ui/LedgerScreen.h"

// The subsidiary ledger screen (辅助账).
class prtSoukanjoHojoMotocho : public LedgerScreen {
    Q_OBJECT
  public:
    explicit prtSoukanjoHojoMotocho(QWidget* parent = nullptr)
        : LedgerScreen(SubsidiaryLedger::kForm, SubsidiaryLedger::kTitle,
                       std::make_unique<SubsidiaryLedger>(), parent) {}

    SubsidiaryLedger& logic() { return static_cast<SubsidiaryLedger&>(selection()); }
};
