#pragma once

#include <QComboBox>
#include <QPushButton>

#include "common/ui/ReportScreen.h"
#include "totals/SubsidiaryLedger.h"

// The subsidiary ledger screen: months and accounts, preview, print, and the way into the
// ledger line correction screen for the first chosen account.
class prtSoukanjoHojoMotocho : public ReportScreen {
    Q_OBJECT
  public:
    explicit prtSoukanjoHojoMotocho(QWidget* parent = nullptr);

    SubsidiaryLedger& logic() { return logic_; }
    // Shows the state of the logic in the controls.
    void refresh();

  private:
    QComboBox* makeList(const QString& name);
    void print(int mode);
    void openCorrection();

    SubsidiaryLedger logic_;
    QComboBox* cmbTaisyoNenTuki1;
    QComboBox* cmbTaisyoNenTuki2;
    QComboBox* cmbTaisyoKamoku1;
    QComboBox* cmbTaisyoKamoku2;
    QPushButton* cmdHyouji;
    QPushButton* cmdInsatu;
    QPushButton* cmdDataHyoji;
    QPushButton* cmdBack;
    QPushButton* cmdQuestion;
    QPushButton* Command1;
};
