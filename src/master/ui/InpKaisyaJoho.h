#pragma once

#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <vector>

#include "master/AccountSetForm.h"

// The main window's account-set list, looked up each time it is needed: the screen can be made
// before the main window exists, and works without one (as an empty list).
class MainWindowAccountSets : public AccountSetList {
  public:
    QList<AccountSetEntry> accountSets() const override;
    QString currentAccountSetText() const override;
    void addAccountSet(const QString& company, int itemData) override;
    void removeAccountSet(int itemData) override;

  private:
    static AccountSetList* mainWindow();
};

// The account-set screen: a new set when opened from the main window, otherwise the current set,
// which can also be deleted here.
class InpKaisyaJoho : public QWidget {
    Q_OBJECT
  public:
    explicit InpKaisyaJoho(QWidget* parent = nullptr);

    AccountSetForm& logic() { return logic_; }
    // Shows the state of the logic in the controls.
    void refresh();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct TextBox {
        QLineEdit* edit;
        QString AccountSetForm::Fields::*field;
    };

    QLineEdit* addTextBox(const QString& name, QString AccountSetForm::Fields::*field);
    QRadioButton* addOption(const QString& name, const QString& caption);
    QLabel* addLabel(const QString& name);
    void edited();
    void leaveDateBox(QLineEdit* box);
    void showFocus();
    void cmdTouroku_Click();
    void cmdDelete_Click();

    MainWindowAccountSets accountSets_;
    AccountSetForm logic_;
    bool loaded_ = false;
    std::vector<TextBox> boxes_;
    QLineEdit* txtKaisyaName;
    QLineEdit* txtKaisyaFurigana;
    QLineEdit* txtYubin;
    QLineEdit* txtTodohuken;
    QLineEdit* txtJyusho1;
    QLineEdit* txtJyusho2;
    QLineEdit* txtTel;
    QLineEdit* txtFax;
    QLineEdit* txtDaihyoYakusyoku;
    QLineEdit* txtDaihyoName;
    QLineEdit* txtKaikeiNendo;
    QLineEdit* txtKisyubi;
    QLineEdit* txtKimatubi;
    QLineEdit* txtSeturituNen;
    QLineEdit* txtShihonkin;
    QDoubleSpinBox* numRate;
    QRadioButton* optTujo;
    QRadioButton* optKichu;
    QRadioButton* optHojin;
    QRadioButton* optKojin;
    QRadioButton* optRateNo;
    QRadioButton* optRateYes;
    QLabel* lblKaisyaName;
    QLabel* lblKaisyaFurigana;
    QLabel* lblDaihyoName;
    QLabel* lblDaihyoYakusyoku;
    QPushButton* cmdTouroku;
    QPushButton* cmdCancel;
    QPushButton* cmdDelete;
    QPushButton* cmdBack;
    QPushButton* cmdQuestion1;
};
