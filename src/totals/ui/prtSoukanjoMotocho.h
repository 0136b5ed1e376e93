#pragma once

#include <QComboBox>
#include <QPushButton>

#include "common/ui/ReportScreen.h"
#include "totals/GeneralLedger.h"

// The general ledger screen: first and last month, first and last account, preview, print, the
// ledger line correction of the first account and two help texts.
class prtSoukanjoMotocho : public ReportScreen {
    Q_OBJECT
  public:
    explicit prtSoukanjoMotocho(QWidget* parent = nullptr);

    GeneralLedger& logic() { return logic_; }
    // Shows the state of the logic in the controls.
    void refresh();

  private:
    void print(int mode);
    void correct();

    GeneralLedger logic_;
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
