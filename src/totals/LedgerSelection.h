#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

// One entry of the month lists: its text (OUTYM, "2024年3月") and month key ("2024/03").
struct LedgerMonth {
    QString text;
    QString month;
};

// One entry of the account lists: "101 现金", with the account number as the item's data.
struct LedgerAccount {
    QString text;
    int number = 0;
    QString kocode;
};

// The four lists of a ledger screen — first and last month, first and last account — and their
// checks. An index of -1 is a list that shows no text.
class LedgerSelection {
  public:
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
};
