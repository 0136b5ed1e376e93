#pragma once

#include <QList>
#include <QString>

#include "common/Money.h"
#include "master/ChartList.h"

// One row of the subsidiary grid: code, name, opening balance and the row's key "01".."09".
struct SubsidiaryRow {
    QString hocode;
    QString honame;
    Money kisyuzan;
    QString hokocode;
};

// What the detail screen does for its logic: the parts that need a display.
class AccountDetailHost {
  public:
    virtual ~AccountDetailHost() = default;
    // Puts the focus on the control with this name.
    virtual void setFocusTo(const QString& control) = 0;
};

// The account detail screen: number, name, order and the subsidiary accounts of the account in
// the list's active row. No widgets; the screen binds to this state.
class AccountDetail {
  public:
    static constexpr int kSubsidiaryRows = 9;

    AccountDetail(ChartList& list, AccountDetailHost& host) : list_(list), host_(host) {}

    // The guidance lines joined by CR LF.
    static QString guidanceText();

    // Form load: reads the account of the list's active row and its subsidiary accounts.
    bool Form_Load();

    void chkHojokamoku_Click(bool ticked);
    // Switches the subsidiary setting, as a click on the check box would.
    void cmdHojokamoku_Click();
    void spdSS_Click(int row);
    // Copies the row into the edit boxes and enters row-edit mode.
    void spdSS_DblClick(int row);
    // Confirms the row edit.
    void cmdSyusei_Click();
    // Empties the active subsidiary row (code and key stay).
    void cmdDelete_Click();
    void cmdCancel_Click();
    // Checks the input (messages only, nothing is saved).
    void cmdTouroku_Click();
    // Leaving the screen: checks, then saves. False keeps the user on the screen.
    bool Form_Unload();

    void check_input(bool flag, bool& ok);
    bool update_kanjo_data();

    // The input boxes, as typed.
    QString txtKamokuCode;
    QString txtKamokuName;
    QString txtNarabijyun;
    QString txtHK_Code;
    QString txtHK_Name;
    QString txtHK_Zandaka;

    const QString& kocode() const { return kocode_; }
    Money kisyuZandaka() const { return kisyuZandaka_; }
    bool hojokamokuTicked() const { return ticked_; }
    // "使用中" / "未使用".
    const QString& useLabel() const { return useLabel_; }
    // "类    别", "现金存款" or "现金合计".
    const QString& kindLabel() const { return kindLabel_; }
    // Names of the parent heading and of the total account.
    const QString& bunName() const { return bunName_; }
    const QString& toName() const { return toName_; }

    const QList<SubsidiaryRow>& rows() const { return rows_; }
    int activeRow() const { return active_; }
    bool rowEditMode() const { return rowEditMode_; }

    // Enabled states of the controls.
    bool hojoControlsEnabled() const { return hojoAllowed_ && !rowEditMode_; }
    bool gridEnabled() const { return ticked_ && !rowEditMode_; }
    bool deleteEnabled() const { return deleteEnabled_ && !rowEditMode_; }
    bool backEnabled() const { return !rowEditMode_; }
    bool editBoxesEnabled() const { return rowEditMode_; }

  private:
    void loadAccount();
    void setRowEditMode(bool on);
    // Checks of the number and name lengths; false after a refusal.
    bool checkLengths();
    void refuse(const QString& text, const QString& control);
    void writeSubsidiaryRows();

    ChartList& list_;
    AccountDetailHost& host_;
    QString kocode_;
    Money kisyuZandaka_;
    bool ticked_ = false;
    bool hojoAllowed_ = true;
    bool deleteEnabled_ = false;
    bool rowEditMode_ = false;
    QString useLabel_;
    QString kindLabel_;
    QString bunName_;
    QString toName_;
    QList<SubsidiaryRow> rows_;
    int active_ = 0;
};
