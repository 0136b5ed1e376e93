#pragma once

#include <QList>
#include <QString>

#include "common/Money.h"

// One grid row: a balance-sheet posting account in use and its opening balance.
struct OpeningBalanceRow {
    QString KMCODE;
    QString KANNAME;
    // "借" for a debit-sided account, "贷" otherwise.
    QString TAISYAKU;
    Money KISYUZAN;
    QString KOCODE;
    QString TAIKBN;

    bool isCredit() const { return TAIKBN != u"0"; }
};

// What the opening-balance screen does for its logic.
class OpeningBalancesHost {
  public:
    virtual ~OpeningBalancesHost() = default;
    virtual void focusRate() = 0;
};

// The opening balances of the current account set and its exchange rate, without widgets.
// Amounts are stored as soon as they are edited; the debit and credit totals must agree, and
// the subsidiary balances must match, before the screen may be left.
class OpeningBalances {
  public:
    explicit OpeningBalances(OpeningBalancesHost& host) : host_(host) {}

    static QString readMeText();

    // Reads the period, the rows, the totals and the rate; false after a reported error.
    bool Form_Load();
    // Stores a typed amount for a grid row at once; blank counts as 0. False (and nothing
    // changed) for text that is not an amount or after a reported error.
    bool spdSS_Change(int row, const QString& amountText);
    // Sets every opening balance of the set to 0 after asking; true when cleared.
    bool cmdClear_Click();
    // The checks and the follow-up work of leaving the screen; true when it may close.
    bool unload_form();
    // Moves the cash book's day balances onto the cash account's opening balance.
    bool update_siwake();

    // The sum of the opening balances of one side ('0' debit, '1' credit) over every posting
    // account in use that carries a number, leaving out the accounts that never count.
    static bool total_Kisyuzan(const QString& side, Money& total);

    const QList<OpeningBalanceRow>& rows() const { return rows_; }
    Money txtKarikei() const { return debit_; }
    Money txtKasikei() const { return credit_; }
    Money txtTaisyakuSai() const { return debit_ - credit_; }
    bool rateEnabled() const { return rateEnabled_; }
    double numRate() const { return rate_; }
    void setNumRate(double rate);
    bool changed() const { return changed_; }
    const QString& kisyu() const { return kisyu_; }
    const QString& kimatu() const { return kimatu_; }

  private:
    void fillRows();
    bool refreshTotals();
    // The first account whose subsidiaries' total (when not 0) differs from its own balance.
    bool subsidiariesAgree();
    bool storeOnLeaving();

    OpeningBalancesHost& host_;
    QList<OpeningBalanceRow> rows_;
    QString kisyu_;
    QString kimatu_;
    Money debit_;
    Money credit_;
    bool rateEnabled_ = false;
    double rate_ = 0.0;
    bool changed_ = false;
};
