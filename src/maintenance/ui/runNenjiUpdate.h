#pragma once

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "maintenance/YearEndUpdate.h"

// The year-end screen: carry forward, previous year, back to the current year, initialise.
class runNenjiUpdate : public QWidget, private YearEndHost {
    Q_OBJECT
  public:
    explicit runNenjiUpdate(QWidget* parent = nullptr);

    YearEndUpdate& logic() { return logic_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void setBusy(bool busy) override;
    void showMessageLabel(bool shown) override;
    // Shows the logic's state.
    void refresh();
    void run(bool (YearEndUpdate::*routine)());

    YearEndUpdate logic_;
    QLabel* lblReadMe;
    QLabel* lblKisyubi;
    QLabel* lblMessage;
    QDoubleSpinBox* numRate;
    QPushButton* cmdJikkou;
    QPushButton* cmdPerYear;
    QPushButton* cmdNowYear;
    QPushButton* cmdSyokika;
    QPushButton* cmdBack;
    QFormLayout* form_ = nullptr;
};
