#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "common/Money.h"
#include "entry/EntryRows.h"
#include "entry/Vouchers.h"

// What the daily entry screen does for its logic.
class DailyEntryHost {
  public:
    virtual ~DailyEntryHost() = default;
    virtual void setBusy(bool busy) = 0;
    virtual void focusDateBox() = 0;
    virtual void focusRate() = 0;
    // Row 1, column 2 of the income grid.
    virtual void focusIncomeGrid() = 0;
};

// The daily entry screen without widgets: one day (voucher) at a time in three grids, its totals,
// saving, moving between days and deleting a day. Grid rows count from 0; the columns of the
// transfer grid are numbered as on screen (TransferColumn).
class DailyEntry {
  public:
    static constexpr int kMaxIncomeRows = 16;
    static constexpr int kMaxExpenseRows = 64;
    static constexpr int kMaxTransferRows = 128;

    explicit DailyEntry(DailyEntryHost& host) : host_(host) {}

    // Opening: reads the set's period, creates the missing days when caller (the screen's
    // CallerForm) is a menu, shows the newest voucher of the session's range. One transaction;
    // false leaves the screen unloaded (it then closes itself).
    bool Form_Load(const QString& caller);
    bool loaded() const { return loaded_; }

    // --- state shown by the screen
    const QString& txtSyoriNen() const { return dateBox_; }
    // The date box as typed; nothing moves until the box is left (txtSyoriNen_LostFocus).
    void setTxtSyoriNen(const QString& text) { dateBox_ = text; }
    Money txtZenjituZandaka() const { return previousBalance_; }
    bool rateVisible() const { return rateVisible_; }
    double numRate() const { return rate_; }
    void setNumRate(double rate);
    const Voucher& voucher() const { return voucher_; }
    const QList<SimpleEntryRow>& rows(EntryGrid grid) const;
    const QList<TransferEntryRow>& transferRows() const { return transfer_; }
    const DayTotals& totals() const { return totals_; }
    // Combo lists; the account list starts with an empty item.
    const QStringList& accountList() const { return accountList_; }
    const QStringList& descriptionList() const { return descriptionList_; }
    const QStringList& patternList() const { return patternList_; }
    bool dirty() const { return dirty_; }
    // A day with more transfer lines than the grid takes (an import or the generator can write
    // one) is shown whole but cannot be changed: no edits, saving or deleting until another day
    // is shown.
    bool readOnly() const { return readOnly_; }

    // --- editing (each change sets the dirty flag and recomputes the totals; a read-only day
    // refuses every change without a message)
    // Amount of a simple-grid row; blank counts as 0. Text that is not an amount is refused with
    // a message and changes nothing.
    bool setSimpleAmount(EntryGrid grid, int row, const QString& text);
    void setSimpleDescription(EntryGrid grid, int row, const QString& text);
    // A transfer cell, column 1 (pattern) … 7 (description). A pattern fills both accounts and
    // the description; an account prepares its subsidiary list. False when refused (a message
    // was shown; the row is as before, except that a refused pattern empties the pattern cell).
    bool setTransferCell(int row, int column, const QString& text);
    // Appends a blank transfer row; refused with a message at the 128-row limit.
    bool add_spread_row();
    // Asks, then removes the row (the rows below move up); true when removed.
    bool deleteTransferRow(int row);

    // --- checks
    // The date box holds a date at all: "请输入日期。" when empty, "请正确输入凭证日期。"
    // otherwise.
    bool checkDateText() const;
    bool check_SyoriNen();
    bool check_henko() const;
    bool check_spread_data();

    // --- buttons and date box
    bool cmdTouroku_Click();
    bool cmdZenjitu_Click();
    bool cmdYokujitu_Click();
    bool txtSyoriNen_LostFocus();
    bool cmdDelete_Click();
    // True when the screen may close (asks about unsaved edits).
    bool cmdBack_Click();
    // The form to show again when the screen, opened by caller, closes.
    QString returnForm(const QString& caller) const;

    // --- routines shared by the operations above
    bool set_start_spread();
    bool set_day_gokei();
    bool set_siwake_day();

  private:
    bool loadLists();
    bool loadSimpleGrid(EntryGrid grid);
    bool loadTransferLines();
    void setAccountCell(TransferEntryRow& row, bool debit, const QString& text);
    bool applyPattern(int row, const QString& text);
    bool askToLeaveDay();
    void takeSnapshot();
    QStringList snapshotTexts() const;
    bool writeDayToran(EntryGrid grid);
    bool writeSimpleLines(EntryGrid grid, int& lineNumber);
    bool writeTransferLines(int& lineNumber);
    bool saveDay();
    bool deleteDay();
    bool firstVoucherDay(QString& day, const QString& routine);
    void showVoucher(const Voucher& voucher);
    // Says so when the day shown is read-only; true when it is.
    bool sayReadOnly() const;

    DailyEntryHost& host_;
    EntryChart chart_;
    bool loaded_ = false;
    bool dirty_ = false;
    bool readOnly_ = false;
    QString kisyu_;
    QString kimatu_;
    QString lastInputDay_;
    QString cashKocode_;
    bool rateVisible_ = false;
    double rate_ = 0.0;
    QString dateBox_;
    Money previousBalance_;
    Voucher voucher_;
    QList<SimpleEntryRow> income_;
    QList<SimpleEntryRow> expense_;
    QList<TransferEntryRow> transfer_;
    DayTotals totals_;
    QStringList accountList_;
    QStringList descriptionList_;
    // TEKINO by description text, for the lines whose description is a registered one.
    QHash<QString, QString> descriptionNumbers_;
    QStringList patternList_;
    QStringList snapshot_;
};
