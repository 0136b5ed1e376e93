#pragma once

#include <QComboBox>

#include "common/ui/ReportScreen.h"
#include "statements/SmallBusinessForms.h"

// The small-business forms screen: which form, which month, preview, print, help and back.
class prtXiaoQiye : public ReportScreen {
    Q_OBJECT
  public:
    explicit prtXiaoQiye(QWidget* parent = nullptr);

    SmallBusinessForms& logic() { return logic_; }
    // Shows the state of the logic in the controls.
    void refresh();

  private:
    SmallBusinessForms logic_;
    QComboBox* cmbForm;
    QComboBox* cmbTaisyoNenTuki;
};
