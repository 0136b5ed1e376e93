#pragma once

#include <QHash>
#include <QString>
#include <utility>
#include <vector>

#include "common/Money.h"

// Which account keys a statement line takes: the text that follows "K.KOCODE " in the line's
// query, e.g. "= '056'", "BETWEEN '004' AND '005'", "IN('054', '055')", or alternatives joined
// by "OR K.KOCODE". Keys compare as text, as the database compares them.
class AccountCondition {
  public:
    // Throws DbError for text outside that form.
    static AccountCondition parse(const QString& text);
    bool matches(const QString& kocode) const;

  private:
    // Inclusive [low, high] ranges; an equality or list entry is a range of one key.
    std::vector<std::pair<QString, QString>> ranges_;
};

// Each account's balances in one month of T_TUKIKAN of one account set, read with one query, in
// the account's own direction (TAIKBN "0": debit − credit, else credit − debit): cumulative from
// KRRUI/KSRUI, the month's own from KRTOTAL/KSTOTAL. Throws DbError.
struct MonthBalances {
    QHash<QString, Money> cumulative;
    QHash<QString, Money> turnover;
    static MonthBalances read(const QString& cid, const QString& month);
};

// The cumulative balances of one month, summed by condition.
class AccountBalances {
  public:
    AccountBalances() = default;
    // Throws DbError.
    AccountBalances(const QString& cid, const QString& month);
    // The sum of the balances of the accounts the condition takes.
    Money of(const AccountCondition& condition) const;

  private:
    std::vector<std::pair<QString, Money>> balances_;
};

// Each month read once for a computation; clear() before the next, as the totals may have moved.
class BalanceCache {
  public:
    // Throws DbError.
    Money balance(const QString& cid, const QString& month, const QString& condition);
    void clear() { months_.clear(); }

  private:
    QHash<QString, AccountBalances> months_;
};
