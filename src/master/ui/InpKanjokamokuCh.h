#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include "master/AccountDetail.h"

// The detail screen of one account: number, name, order and its subsidiary accounts. It edits
// the active row of the account list, and saves when it is left.
class InpKanjokamokuCh : public QWidget, private AccountDetailHost {
    Q_OBJECT
  public:
    // Works on the active row of the list screen.
    explicit InpKanjokamokuCh(QWidget* parent = nullptr);
    // Works on the active row of the given list (none when null).
    explicit InpKanjokamokuCh(ChartList* list, QWidget* parent = nullptr);

    AccountDetail& logic() { return logic_; }
    // Shows the state of the logic in the controls.
    void refresh();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void setFocusTo(const QString& control) override;
    // Takes what was typed into the boxes over into the logic.
    void collect();
    // Runs a handler of the logic on the current input and shows the result.
    template <typename Handler>
    void run(Handler handler);
    QLineEdit* makeBox(const QString& name);
    QPushButton* makeButton(const QString& name, const QString& caption);
    void buildLayout();

    ChartList noList_;
    AccountDetail logic_;
    QLineEdit* txtKamokuCode;
    QLineEdit* txtKamokuName;
    QLineEdit* txtNarabijyun;
    QLineEdit* txtKisyuZandaka;
    QLabel* lblSiyou;
    QLabel* lblSyoriKbn;
    QLabel* lblBunCode;
    QLabel* lblToCode;
    QCheckBox* chkHojokamoku;
    QPushButton* cmdHojokamoku;
    QTableWidget* spdSS;
    QLineEdit* txtHK_Code;
    QLineEdit* txtHK_Name;
    QLineEdit* txtHK_Zandaka;
    QPushButton* cmdSyusei;
    QPushButton* cmdDelete;
    QPushButton* cmdCancel;
    QPushButton* cmdTouroku;
    QPushButton* cmdBack;
    QLabel* lblReadMe;
};
