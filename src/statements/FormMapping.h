#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "common/Money.h"

// One row of MT_FORMLINE as stored.
struct FormLineRow {
    int line = 0;
    QString accounts;
    QString formula;
};

// The lines of one form, checked and with their key ranges resolved against the chart: a line's
// value is the signed balances of its accounts plus the signed values of lower lines.
class FormMapping {
  public:
    // Forms hold at most this many lines (the columns KIN1.. of the work tables).
    static constexpr int kMaxLines = 88;

    // Checks the rows of form (its code, for messages) against the chart: chartKeys are every
    // account key, postingKeys the keys of posting accounts, which alone a range takes in. A
    // single key may name any account of the chart. nullopt with the reason in error when a row
    // is malformed: a line number out of 1..88 or given twice, a key that is not three digits or
    // not in the chart, a range whose ends are reversed, a formula term that is not a sign and a
    // line number, or one naming a line that is not lower or does not exist.
    static std::optional<FormMapping> parse(const QString& form, const QList<FormLineRow>& rows,
                                            const QStringList& chartKeys,
                                            const QStringList& postingKeys, QString* error);

    // The rows of form from MT_FORMLINE checked against T_KANJO. Throws DbError.
    static std::optional<FormMapping> load(const QString& form, QString* error);

    // Line values, index = line number (index 0 unused, kMaxLines + 1 entries), from each
    // account's balance in its own direction (a missing key counts 0).
    std::vector<Money> evaluate(const QHash<QString, Money>& balances) const;

    // How many times, with sign, each account's balance reaches the line through its accounts
    // and formulas.
    QHash<QString, int> weights(int line) const;

  private:
    struct Line {
        int number = 0;
        QList<std::pair<int, QString>> accounts;  // (sign, key)
        QList<std::pair<int, int>> formula;       // (sign, lower line)
    };
    std::vector<Line> lines_;  // ascending line numbers
};
