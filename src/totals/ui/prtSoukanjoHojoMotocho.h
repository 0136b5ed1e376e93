#pragma once

#include <QComboBox>
#include <QPushButton>
#include <QWidget>

#include "totals/SubsidiaryLedger.h"

// The subsidiary ledger screen: months and accounts, preview, print, and the way into the
// ledger line correction screen for the first chosen account.
class prtSoukanjoHojoMotocho : public QWidget {
    Q_OBJECT
  public:
    explicit prtSoukanjoHojoMotocho(QWidget* parent = nullptr);

    SubsidiaryLedger& logic() { return logic_; }
    // Shows the state of the logic in the controls.
    void refresh();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QPushButton* makeButton(const QString& name, const QString& caption);
    QComboBox* makeList(const QString& name);
    // The buttons of the keys D, P, R and X; true when the key was one of them.
    bool pressButtonOfKey(const QKeyEvent* event);
    void print(int mode);
    void openCorrection();

    SubsidiaryLedger logic_;
    bool centred_ = false;
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
