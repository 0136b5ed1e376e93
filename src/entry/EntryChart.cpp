#include "common/DateHelpers.h"
#include "db/Database.h"
#include "entry/EntryRows.h"

namespace {

QString numberAndName(const QString& kmcode, const QString& kanname) {
    return kmcode + u'\t' + kanname;
}

// The keys of the accounts a statement selects.
QList<QString> keysOf(const QString& sql) {
    QList<QString> keys;
    for (RecordSet rs = Database::global().query(sql); !rs.eof(); rs.moveNext()) {
        keys.append(rs.text(QStringLiteral("KOCODE")));
    }
    return keys;
}

}  // namespace

void EntryChart::load(const QString& cid) {
    accounts_.clear();
    byNumberAndName_.clear();
    nameByNumber_.clear();
    subsidiaries_.clear();
    Database& db = Database::global();
    for (RecordSet rs = db.query(QStringLiteral(
             "SELECT KOCODE, KMCODE, KANNAME, TAIKBN, HOJOSET, HOSETNO FROM T_KANJO"));
         !rs.eof(); rs.moveNext()) {
        Account account;
        account.KOCODE = rs.text(QStringLiteral("KOCODE"));
        account.KMCODE = rs.text(QStringLiteral("KMCODE"));
        account.KANNAME = rs.text(QStringLiteral("KANNAME"));
        account.TAIKBN = rs.text(QStringLiteral("TAIKBN"));
        account.hasSubsidiaries = rs.text(QStringLiteral("HOJOSET")) == u"Y" &&
                                  rs.text(QStringLiteral("HOSETNO")) == u"N";
        const QString key = numberAndName(account.KMCODE, account.KANNAME);
        if (!byNumberAndName_.contains(key)) {
            byNumberAndName_.insert(key, account.KOCODE);
        }
        if (!nameByNumber_.contains(account.KMCODE)) {
            nameByNumber_.insert(account.KMCODE, account.KANNAME);
        }
        accounts_.insert(account.KOCODE, account);
    }
    // The income and expense accounts by number, as the day's totals count them.
    const QList<QString> income = keysOf(QStringLiteral(
        "SELECT KOCODE FROM T_KANJO WHERE (KMCODE BETWEEN '500' AND '549') OR KMCODE IN('811', "
        "'812', '813', '814', '851', '853', '855', '872', '911', '913', '999')"));
    for (const QString& kocode : income) {
        accounts_[kocode].income = true;
    }
    const QList<QString> expense = keysOf(QStringLiteral(
        "SELECT KOCODE FROM T_KANJO WHERE (KMCODE BETWEEN '550' AND '799') OR KMCODE IN('821', "
        "'822', '823', '824', '862', '864', '871', '873', '874', '875', '876')"));
    for (const QString& kocode : expense) {
        accounts_[kocode].expense = true;
    }
    for (RecordSet rs = db.query(QStringLiteral("SELECT KANKOCODE, HOKOCODE, HOCODE, HONAME FROM "
                                                "T_HOJOKAMOKU WHERE CID = ? ORDER BY HOCODE"),
                                 {cid});
         !rs.eof(); rs.moveNext()) {
        subsidiaries_[rs.text(QStringLiteral("KANKOCODE"))].append(
            {rs.text(QStringLiteral("HOKOCODE")), rs.text(QStringLiteral("HOCODE")),
             rs.text(QStringLiteral("HONAME"))});
    }
}

const EntryChart::Account* EntryChart::byKocode(const QString& kocode) const {
    const auto it = accounts_.constFind(kocode);
    return it == accounts_.cend() ? nullptr : &*it;
}

QString EntryChart::return_KanjoKoCode(const QString& kmcode, const QString& kanname) const {
    return byNumberAndName_.value(numberAndName(kmcode, kanname));
}

QString EntryChart::return_KanjoKMCode(const QString& kocode) const {
    const Account* account = byKocode(kocode);
    return account ? account->KMCODE : QString();
}

bool EntryChart::nameOfNumber(const QString& kmcode, QString& kanname) const {
    const auto it = nameByNumber_.constFind(kmcode);
    kanname = it == nameByNumber_.cend() ? QString() : *it;
    return it != nameByNumber_.cend();
}

QString EntryChart::accountText(const QString& kocode) const {
    const Account* account = byKocode(kocode);
    return account ? account->KMCODE + u' ' + account->KANNAME : QString();
}

QStringList EntryChart::subsidiaryList(const QString& accountText) const {
    QString name;
    const QString number = splitAtBlank(accountText, name);
    const Account* account = byKocode(return_KanjoKoCode(number, name));
    QStringList list;
    if (account && account->hasSubsidiaries) {
        for (const Subsidiary& sub : subsidiaries_.value(account->KOCODE)) {
            list.append(sub.HOCODE + u' ' + sub.HONAME);
        }
    }
    return list;
}

QString EntryChart::subsidiaryText(const QString& kocode, const QString& hokocode) const {
    for (const Subsidiary& sub : subsidiaries_.value(kocode)) {
        if (sub.HOKOCODE == hokocode) {
            return sub.HOCODE + u' ' + sub.HONAME;
        }
    }
    return {};
}

QString EntryChart::subsidiaryKey(const QString& kocode, const QString& hocode) const {
    for (const Subsidiary& sub : subsidiaries_.value(kocode)) {
        if (sub.HOCODE == hocode) {
            return sub.HOKOCODE;
        }
    }
    return {};
}

bool EntryChart::kingaku_keisan(const QString& kocode, Money amount, bool debitSide, Money& income,
                                Money& expense) const {
    const Account* account = byKocode(kocode);
    if (!account || (!account->income && !account->expense)) {
        return false;
    }
    // A debit on a debit-natured account or a credit on a credit-natured one adds.
    const bool adds = debitSide == (account->TAIKBN == u"0");
    const Money signedAmount = adds ? amount : -amount;
    if (account->income) {
        income += signedAmount;
    }
    if (account->expense) {
        expense += signedAmount;
    }
    return true;
}
