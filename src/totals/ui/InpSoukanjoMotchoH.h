#pragma once

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include "totals/LedgerCorrection.h"

// The ledger line correction screen (账目预览): the voucher lines of the account its caller
// filled, and the way into the daily entry screen on the voucher of the chosen line.
class InpSoukanjoMotchoH : public QWidget {
    Q_OBJECT
  public:
    explicit InpSoukanjoMotchoH(QWidget* parent = nullptr);

    // Loads the screen for the ledger screen opener (whose work table is filled and which is
    // CallerForm), shows it and hides the opener. False when no screen has the form's name.
    static bool openFrom(QWidget* opener, const LedgerHeadings& headings);

    LedgerCorrection& logic() { return logic_; }
    void refresh();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void correct();

    LedgerCorrection logic_;
    QLabel* lbltitle;
    QLabel* lblKoumoku;
    QLabel* lblKikan;
    QTableWidget* spdSS;
    QPushButton* cmdSyusei;
    QPushButton* cmdQuestion;
    QPushButton* cmdBack;
};
