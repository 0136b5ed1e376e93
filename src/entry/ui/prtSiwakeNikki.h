#pragma once

#include <QComboBox>
#include <QPushButton>
#include <QWidget>

#include "entry/JournalPrint.h"

// The journal print screen: the first and last voucher day, preview, print, and correction of
// the chosen range on the daily entry screen.
class prtSiwakeNikki : public QWidget {
    Q_OBJECT
  public:
    explicit prtSiwakeNikki(QWidget* parent = nullptr);

    JournalPrint& logic() { return logic_; }
    // Shows the state of the logic in the controls.
    void refresh();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QPushButton* makeButton(const QString& name, const QString& caption);
    // The buttons of the keys E, P, X and R; true when the key was one of them.
    bool pressButtonOfKey(const QKeyEvent* event);
    void print(int mode);
    void correct();

    JournalPrint logic_;
    bool centred_ = false;
    QComboBox* cmbTaisyoHizuke1;
    QComboBox* cmbTaisyoHizuke2;
    QPushButton* cmdHyouji;
    QPushButton* cmdInsatu;
    QPushButton* cmdSyusei;
    QPushButton* cmdBack;
    QPushButton* cmdQuestion;
};
