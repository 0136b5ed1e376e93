#pragma once

#include <QComboBox>
#include <QPushButton>
#include <memory>

#include "common/ui/ReportScreen.h"
#include "totals/LedgerSelection.h"

// A ledger screen: first and last month, first and last account, preview, print, the ledger
// line correction of the first account and two help texts. The general and the subsidiary
// ledger differ only in their logic.
class LedgerScreen : public ReportScreen {
    Q_OBJECT
  public:
    LedgerScreen(const QString& form, const QString& title, std::unique_ptr<LedgerSelection> logic,
                 QWidget* parent = nullptr);

    // Shows the state of the logic in the controls.
    void refresh();

  protected:
    LedgerSelection& selection() { return *logic_; }

  private:
    void print(int mode);
    void correct();

    std::unique_ptr<LedgerSelection> logic_;
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
