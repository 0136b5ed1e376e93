#pragma once

#include <QComboBox>
#include <QPushButton>

#include "common/ui/ReportScreen.h"
#include "entry/JournalPrint.h"

// The journal print screen: the first and last voucher day, preview, print, and correction of
// the chosen range on the daily entry screen.
class prtSiwakeNikki : public ReportScreen {
    Q_OBJECT
  public:
    explicit prtSiwakeNikki(QWidget* parent = nullptr);

    JournalPrint& logic() { return logic_; }
    // Shows the state of the logic in the controls.
    void refresh();

  private:
    void print(int mode);
    void correct();

    JournalPrint logic_;
    QComboBox* cmbTaisyoHizuke1;
    QComboBox* cmbTaisyoHizuke2;
    QPushButton* cmdHyouji;
    QPushButton* cmdInsatu;
    QPushButton* cmdSyusei;
    QPushButton* cmdBack;
    QPushButton* cmdQuestion;
};
