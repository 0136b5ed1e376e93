#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "session/MainMenuLogic.h"

class frmOpenscr;

// The main window: choose the account set and open the menus and the daily entry screen.
class MainMenu : public QWidget, public AccountSetList, private MainMenuHost {
    Q_OBJECT
  public:
    explicit MainMenu(QWidget* parent = nullptr);
    ~MainMenu() override;

    // Form load: opens the database and makes an account set current.
    void Form_Load();
    MainMenuLogic& logic() { return logic_; }
    // Shows the state of the logic in the controls.
    void refresh();

    QList<AccountSetEntry> accountSets() const override { return logic_.entries(); }
    QString currentAccountSetText() const override { return logic_.lblKaisyaName(); }
    void addAccountSet(const QString& company, int itemData) override;
    void removeAccountSet(int itemData) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void showProgress(int value, const QString& status) override;
    void hideProgress() override;
    void setBusy(bool busy) override;
    QString pickDatabaseFile() override;
    bool openScreen(const QString& form) override;
    bool dataBackUp() override;
    bool resetNowYearData(const QString& firstMonth, const QString& lastMonth) override;
    void showMessageLabel(const QString& text) override;

    QPushButton* makeButton(const QString& name, const QString& caption, const QString& tip);

    MainMenuLogic logic_;
    frmOpenscr* openscr_ = nullptr;
    bool unloaded_ = false;
    QComboBox* cmbKaikeiData;
    QLabel* lblKaisyaName;
    QLabel* lblReadMe;
    QLabel* lblMessage;
    QLabel* lblHomePageLink;
    QLabel* lblDataFile;
    QPushButton* cmdNewKaisyaJoho;
    QPushButton* cmdSyokiSet;
    QPushButton* cmdInOutsyori;
    QPushButton* cmdKantanInp;
    QPushButton* cmdSave;
    QPushButton* cmdEnd;
};
