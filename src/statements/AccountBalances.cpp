#include "statements/AccountBalances.h"

#include <QRegularExpression>
#include <QStringList>

#include "db/Database.h"
#include "db/DbError.h"

namespace {

DbError badCondition(const QString& text) {
    return DbError(DbError::kInvalidValue, QStringLiteral("科目条件有误：") + text);
}

// Quoted keys, words and the punctuation of a list.
QStringList tokens(const QString& text) {
    static const QRegularExpression token(QStringLiteral("'[^']*'|[A-Za-z_.]+|[=(),]|\\S"));
    QStringList all;
    for (auto it = token.globalMatch(text); it.hasNext();) {
        all.append(it.next().captured());
    }
    return all;
}

}  // namespace

AccountCondition AccountCondition::parse(const QString& text) {
    const QStringList t = tokens(text);
    qsizetype i = 0;
    const auto word = [&](const char* expected) {
        return i < t.size() && t.at(i).compare(QLatin1String(expected), Qt::CaseInsensitive) == 0;
    };
    const auto key = [&]() {
        if (i >= t.size() || !t.at(i).startsWith(u'\'')) {
            throw badCondition(text);
        }
        return t.at(i++).mid(1).chopped(1);
    };
    const auto expect = [&](const char* expected) {
        if (!word(expected)) {
            throw badCondition(text);
        }
        ++i;
    };
    AccountCondition condition;
    for (;;) {
        if (word("=")) {
            ++i;
            const QString k = key();
            condition.ranges_.emplace_back(k, k);
        } else if (word("BETWEEN")) {
            ++i;
            const QString low = key();
            expect("AND");
            condition.ranges_.emplace_back(low, key());
        } else if (word("IN")) {
            ++i;
            expect("(");
            for (;;) {
                const QString k = key();
                condition.ranges_.emplace_back(k, k);
                if (word(")")) {
                    ++i;
                    break;
                }
                expect(",");
            }
        } else {
            throw badCondition(text);
        }
        if (i == t.size()) {
            return condition;
        }
        expect("OR");
        expect("K.KOCODE");
    }
}

bool AccountCondition::matches(const QString& kocode) const {
    for (const auto& [low, high] : ranges_) {
        if (kocode >= low && kocode <= high) {
            return true;
        }
    }
    return false;
}

MonthBalances MonthBalances::read(const QString& cid, const QString& month) {
    MonthBalances balances;
    for (const QVariantList& row : Database::global().selectAll(
             QStringLiteral("SELECT T.KANKOCODE, K.TAIKBN, T.KRTOTAL, T.KSTOTAL, T.KRRUI, T.KSRUI "
                            "FROM T_TUKIKAN T JOIN T_KANJO K ON K.KOCODE = T.KANKOCODE WHERE "
                            "T.CID = ? AND T.DATEYM = ?"),
             {cid, month})) {
        const bool debitSided = row.at(1).toString() == u"0";
        const auto net = [&](int debit, int credit) {
            const Money d = Money::fromDb(row.at(debit));
            const Money c = Money::fromDb(row.at(credit));
            return debitSided ? d - c : c - d;
        };
        const QString key = row.at(0).toString();
        balances.turnover.insert(key, net(2, 3));
        balances.cumulative.insert(key, net(4, 5));
    }
    return balances;
}

AccountBalances::AccountBalances(const QString& cid, const QString& month) {
    const MonthBalances read = MonthBalances::read(cid, month);
    balances_.reserve(read.cumulative.size());
    for (auto it = read.cumulative.begin(); it != read.cumulative.end(); ++it) {
        balances_.emplace_back(it.key(), it.value());
    }
}

Money AccountBalances::of(const AccountCondition& condition) const {
    Money sum;
    for (const auto& [kocode, balance] : balances_) {
        if (condition.matches(kocode)) {
            sum += balance;
        }
    }
    return sum;
}

Money BalanceCache::balance(const QString& cid, const QString& month, const QString& condition) {
    const AccountCondition parsed = AccountCondition::parse(condition);
    const QString key = cid + u'|' + month;
    auto found = months_.constFind(key);
    if (found == months_.constEnd()) {
        found = months_.insert(key, AccountBalances(cid, month));
    }
    return found->of(parsed);
}
