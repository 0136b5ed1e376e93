#pragma once

#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include "master/OpeningBalances.h"

// The opening-balance screen: one editable amount per balance-sheet account, the running debit
// and credit totals, and the exchange rate of the account set.
class InpKisyuZandaka : public QWidget, private OpeningBalancesHost {
    Q_OBJECT
  public:
    explicit InpKisyuZandaka(QWidget* parent = nullptr);

    OpeningBalances& logic() { return logic_; }
    // Shows the state of the logic in the controls.
    void refresh();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void focusRate() override;
    void fillGrid();
    void showTotals();
    void showAmount(int row);
    void spdSS_Change(QTableWidgetItem* item);

    OpeningBalances logic_;
    bool filling_ = false;
    QTableWidget* spdSS;
    QLineEdit* txtKarikei;
    QLineEdit* txtKasikei;
    QLineEdit* txtTaisyakuSai;
    QDoubleSpinBox* numRate;
    QPushButton* cmdClear;
    QPushButton* cmdBack;
    QLabel* lblReadMe;
};
