#pragma once

#include "totals/GeneralLedger.h"
#include "totals/ui/LedgerScreen.h"

// The general ledger screen (总账).
class prtSoukanjoMotocho : public LedgerScreen {
    Q_OBJECT
  public:
    explicit prtSoukanjoMotocho(QWidget* parent = nullptr)
        : LedgerScreen(GeneralLedger::kForm, GeneralLedger::kTitle,
                       std::make_unique<GeneralLedger>(), parent) {}

    GeneralLedger& logic() { return static_cast<GeneralLedger&>(selection()); }
};
