#pragma once

#include <QList>
#include <QString>

#include "common/AccountSetList.h"

// What the main window does for its logic: the parts that need a display.
class MainMenuHost {
  public:
    virtual ~MainMenuHost() = default;
    // The start-up progress window.
    virtual void showProgress(int value, const QString& status) = 0;
    virtual void hideProgress() = 0;
    // Hourglass pointer while true.
    virtual void setBusy(bool busy) = 0;
    // Lets the user choose an existing database file; "" when cancelled.
    virtual QString pickDatabaseFile() = 0;
    // Shows the screen with this form name and hides the main window; false when there is none.
    virtual bool openScreen(const QString& form) = 0;
    // The backup offered at exit, and the restore of the current year at exit.
    virtual bool dataBackUp() = 0;
    virtual bool resetNowYearData(const QString& firstMonth, const QString& lastMonth) = 0;
    // lblMessage: shown with the text, or hidden when the text is empty.
    virtual void showMessageLabel(const QString& text) = 0;
};

// The main window's state and routines, without widgets.
class MainMenuLogic {
  public:
    explicit MainMenuLogic(MainMenuHost& host) : host_(host) {}

    static QString readMeText();

    // Form load: opens the database (registering it twice if need be), then set_start.
    void load();
    void set_start();
    // A click on an entry of cmbKaikeiData.
    void cmbKaikeiData_Click(int index);
    // A set created or deleted elsewhere: its entry is added (and chosen) or removed (and the
    // first entry chosen), each choice switching sets as a click would.
    void addEntry(const QString& text, int itemData);
    void removeEntry(int itemData);
    void cmdNewKaisyaJoho_Click();
    void cmdSyokiSet_Click();
    void cmdInOutsyori_Click();
    void cmdKantanInp_Click();
    void cmdSave_Click();
    // Form unload: the exit sequence (restore, backup offer, closing the connection).
    void Form_Unload();

    const QList<AccountSetEntry>& entries() const { return entries_; }
    int selectedIndex() const { return selected_; }
    const QString& lblKaisyaName() const { return companyName_; }
    // cmdSyokiSet, cmdInOutsyori, cmdKantanInp and cmdSave.
    bool bookButtonsEnabled() const { return bookButtonsEnabled_; }
    bool passwordPresent() const { return passwordPresent_; }
    // With a password set (or one that cannot be read), nobody gets past the main window without
    // it, even when the start failed; only a run without a database asks nothing.
    bool loginRequired() const;

  private:
    enum class Guarded { InOut, KantanInp, Save };
    bool periodGuard(Guarded button);
    bool openDatabase();

    MainMenuHost& host_;
    QList<AccountSetEntry> entries_;
    int selected_ = -1;
    QString companyName_;
    bool bookButtonsEnabled_ = true;
    bool loading_ = false;
    bool passwordPresent_ = false;
};
