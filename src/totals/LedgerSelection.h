#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>

#include "totals/PeriodMonths.h"

// One entry of the account lists: "101 现金", with the account number as the item's data.
struct LedgerAccount {
    QString text;
    int number = 0;
    QString kocode;
};

// What the two ledger screens share: the four lists — first and last month, first and last
// account — with their checks, and the buttons the screen forwards. An index of -1 is a list
// that shows no text.
class LedgerSelection {
  public:
    virtual ~LedgerSelection() = default;

    // Fills the lists; CallerForm becomes the screen.
    virtual bool Form_Load() = 0;
    // Checks, fills and previews (mode 0) or prints (mode 1).
    virtual bool print_data(int mode) = 0;
    // Fills the first chosen account's ledger; true when the correction screen may open.
    virtual bool cmdDataHyoji_Click() = 0;
    virtual void cmdQuestion_Click() = 0;
    virtual void Command1_Click() = 0;

    // 账目预览 becomes usable once a report has been shown.
    bool dataHyojiEnabled() const { return dataHyojiEnabled_; }
    // Called with true when a fill starts and with false when it is done.
    void setBusyHandler(std::function<void(bool)> busy) { busy_ = std::move(busy); }

    // Posting accounts in use that a ledger prints (202, 258 and 355–362 never).
    static const QString kPostingAccounts;

    const QList<LedgerMonth>& months() const { return months_; }
    const QList<LedgerAccount>& accounts() const { return accounts_; }
    int firstMonth() const { return firstMonth_; }
    int lastMonth() const { return lastMonth_; }
    int firstAccount() const { return firstAccount_; }
    int lastAccount() const { return lastAccount_; }
    void setFirstMonth(int index) { firstMonth_ = index; }
    void setLastMonth(int index) { lastMonth_ = index; }
    void setFirstAccount(int index) { firstAccount_ = index; }
    void setLastAccount(int index) { lastAccount_ = index; }

  protected:
    // The months of T_DAY_INPUT up to the period's end and the accounts of the query (KOCODE,
    // KMCODE, KANNAME ordered by KMCODE). Throws DbError.
    void loadLists(const QString& accountsSql, const QVariantList& params = {});
    // Picks the first/last entries of lists that show no text (the last account is the first in
    // single-account mode) and checks both ranges; false after the message (the account one in
    // the screen's own words).
    bool checkLists(const QString& accountMessage) const;
    // For the command line: months "yyyy/mm" (empty: that end of the list) and account bounds
    // (0: that end; the nearest accounts inside them count). False after a message.
    bool chooseFor(const QString& fromMonth, const QString& toMonth, int firstNumber,
                   int lastNumber, const QString& accountMessage);
    // The report's header slots: 4 "《税法》", 6 and 7 the chosen months' texts.
    QStringList headerSlots() const;

    QList<LedgerMonth> months_;
    QList<LedgerAccount> accounts_;
    mutable int firstMonth_ = -1;
    mutable int lastMonth_ = -1;
    mutable int firstAccount_ = -1;
    mutable int lastAccount_ = -1;
    bool singleAccount_ = false;
    bool dataHyojiEnabled_ = false;
    std::function<void(bool)> busy_;
};
