#include "master/OpeningBalances.h"

#include <optional>

#include "common/Messages.h"
#include "common/Session.h"
#include "common/TypedAmount.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "totals/DayBalances.h"
#include "totals/MonthFlags.h"

namespace {

const QString& kForm = kOpeningBalanceForm;
const QString kCashKocode = QStringLiteral("004");

}  // namespace

QString OpeningBalances::readMeText() {
    return QStringList{QStringLiteral("借贷差异如果不是“0”的话，那么余额录入就是错误的。"),
                       QStringLiteral("请进行修改，使之为“0”。"),
                       QStringLiteral("辅助科目如果被登录，期初余额就不能被设定。"
                                      "这时要先设置辅助科目，使之无效。")}
        .join(Messages::kCrLf);
}

bool OpeningBalances::Form_Load() {
    session().CallerForm = kForm;
    changed_ = false;
    rateEnabled_ = false;
    rate_ = 0.0;
    rows_.clear();
    Database& db = Database::global();
    try {
        RecordSet period = db.query(QStringLiteral("SELECT KISYU, KIMATU FROM WK_COMPANY"));
        kisyu_ = period.eof() ? QString() : period.text(QStringLiteral("KISYU"));
        kimatu_ = period.eof() ? QString() : period.text(QStringLiteral("KIMATU"));
        period.close();
        fillRows();
        if (!refreshTotals()) {
            return false;
        }
        const QVariant kancng = db.scalar(
            QStringLiteral("SELECT KANCNG FROM T_COMP_MAIN WHERE CID = ?"), {session().CurrentCid});
        if (kancng.toString() == u"1") {
            rateEnabled_ = true;
            Money cash;
            return get_Kisyuzan(cash, rate_);
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("Form_Load"));
        return false;
    }
}

void OpeningBalances::fillRows() {
    rows_.clear();
    RecordSet rs = Database::global().query(
        QStringLiteral("SELECT KOCODE, KMCODE, KANNAME, TAIKBN, KISYUZAN FROM T_KANJO "
                       "WHERE KOCODE < '177' AND SYORIKBN = '0' AND SIYOU = 'Y' ORDER BY KOCODE"));
    for (; !rs.eof(); rs.moveNext()) {
        OpeningBalanceRow row;
        row.KMCODE = rs.text(QStringLiteral("KMCODE"));
        row.KANNAME = rs.text(QStringLiteral("KANNAME"));
        row.TAIKBN = rs.text(QStringLiteral("TAIKBN"));
        row.TAISYAKU = row.TAIKBN == u"0" ? QStringLiteral("借") : QStringLiteral("贷");
        row.KISYUZAN = rs.money(QStringLiteral("KISYUZAN"));
        row.KOCODE = rs.text(QStringLiteral("KOCODE"));
        rows_.append(row);
    }
}

bool OpeningBalances::total_Kisyuzan(const QString& side, Money& total) {
    total = Money();
    try {
        total = Money::fromDb(Database::global().scalar(
            QStringLiteral("SELECT SUM(KISYUZAN) AS TOTAL_ZAN FROM T_KANJO WHERE KMCODE <> '' "
                           "AND KOCODE NOT IN('202', '258', '362') AND SYORIKBN = '0' "
                           "AND TAIKBN = ? AND SIYOU = 'Y'"),
            {side}));
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("total_Kisyuzan"));
        return false;
    }
}

bool OpeningBalances::refreshTotals() {
    return total_Kisyuzan(QStringLiteral("0"), debit_) &&
           total_Kisyuzan(QStringLiteral("1"), credit_);
}

bool OpeningBalances::spdSS_Change(int row, const QString& amountText) {
    if (row < 0 || row >= rows_.size()) {
        return false;
    }
    Money value;
    if (!readTypedAmount(amountText, value)) {
        return false;
    }
    OpeningBalanceRow& changedRow = rows_[row];
    Database& db = Database::global();
    try {
        // Both tables or neither, unless the caller already holds a transaction.
        std::optional<TransactionGuard> transaction;
        if (!db.inTransaction()) {
            transaction.emplace(db);
        }
        db.execute(
            QStringLiteral("UPDATE T_KISYUZAN SET KISYUZAN = ? WHERE CID = ? AND KOCODE = ?"),
            {value.toDb(), session().CurrentCid, changedRow.KOCODE});
        db.execute(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = ? WHERE KOCODE = ?"),
                   {value.toDb(), changedRow.KOCODE});
        if (transaction) {
            transaction->commit();
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("spdSS_Change"));
        return false;
    }
    changedRow.KISYUZAN = value;
    changed_ = true;
    return refreshTotals();
}

bool OpeningBalances::cmdClear_Click() {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    try {
        RecordSet rs = db.query(
            QStringLiteral("SELECT H.KANKOCODE FROM T_KANJO K, T_HOJOKAMOKU H "
                           "WHERE H.KANKOCODE = K.KOCODE AND K.HOJOSET = 'Y' AND H.CID = ? "
                           "AND K.SIYOU = 'Y'"),
            {cid});
        if (!rs.eof()) {
            const QString kocode = rs.text(QStringLiteral("KANKOCODE"));
            rs.close();
            const QString name =
                db.scalar(QStringLiteral("SELECT KANNAME FROM T_KANJO WHERE KOCODE = ?"), {kocode})
                    .toString();
            messages().exclamation(name +
                                   QStringLiteral("的辅助科目期初余额被设定，所以不能被清除。"));
            return false;
        }
        rs.close();
        if (messages().askOkCancel(QStringLiteral("置期初余额的值为0。"), MsgAnswer::Cancel,
                                   MsgIcon::Exclamation) != MsgAnswer::Ok) {
            return false;
        }
        {
            TransactionGuard transaction(db);
            db.execute(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 0"));
            db.execute(QStringLiteral("UPDATE T_KISYUZAN SET KISYUZAN = 0 WHERE CID = ?"), {cid});
            transaction.commit();
        }
        // The cash opening balance may have moved: the day balances follow on leaving.
        changed_ = true;
        fillRows();
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdClear_Click"));
        return false;
    }
    refreshTotals();
    return true;
}

void OpeningBalances::setNumRate(double rate) {
    if (rate != rate_) {
        rate_ = rate;
        // A new rate is only written on leaving, as part of the changes.
        changed_ = true;
    }
}

bool OpeningBalances::subsidiariesAgree() {
    RecordSet rs = Database::global().query(
        QStringLiteral("SELECT K.KANNAME, K.KISYUZAN, SUM(H.KISYUZAN) AS TOTAL_HOJOKISYU "
                       "FROM T_KANJO K, T_HOJOKAMOKU H WHERE H.CID = ? AND K.SIYOU = 'Y' "
                       "AND K.KOCODE = H.KANKOCODE GROUP BY K.KOCODE, K.KANNAME, K.KISYUZAN "
                       "HAVING SUM(H.KISYUZAN) <> 0 ORDER BY K.KOCODE"),
        {session().CurrentCid});
    for (; !rs.eof(); rs.moveNext()) {
        const Money own = rs.money(QStringLiteral("KISYUZAN"));
        const Money subsidiaries = rs.money(QStringLiteral("TOTAL_HOJOKISYU"));
        if (own != subsidiaries) {
            messages().exclamation(rs.text(QStringLiteral("KANNAME")) +
                                   QStringLiteral("的期初余额和辅助科目的期初余额不一致。") +
                                   Messages::kCrLf + QStringLiteral("辅助科目的期初余额总计为 ") +
                                   subsidiaries.toExactDisplay());
            return false;
        }
    }
    return true;
}

bool OpeningBalances::update_siwake() {
    try {
        const Money cash = Money::fromDb(Database::global().scalar(
            QStringLiteral("SELECT KISYUZAN FROM T_KISYUZAN WHERE CID = ? AND KOCODE = ?"),
            {session().CurrentCid, kCashKocode}));
        return UpdateSiwakeZandaka(kisyu_, cash, kForm);
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("update_siwake"));
        return false;
    }
}

bool OpeningBalances::storeOnLeaving() {
    Database& db = Database::global();
    TransactionGuard transaction(db);
    const QString first = openingMonth(kisyu_);
    const QString last = kimatu_.left(7);
    if (!update_siwake() || !MarkMonthsStale(first, last)) {
        return false;
    }
    db.execute(QStringLiteral("UPDATE T_KISYUZAN SET RATE = ? WHERE CID = ?"),
               {rate_, session().CurrentCid});
    transaction.commit();
    return true;
}

bool OpeningBalances::unload_form() {
    if (!txtTaisyakuSai().isZero()) {
        messages().exclamation(
            QStringLiteral("借贷差异不为\"0\"时不能返回上一页。请订正借贷科目使之为\"0\"。"));
        return false;
    }
    if (rateEnabled_ && rate_ == 0.0) {
        messages().exclamation(QStringLiteral("汇率未输入。"));
        host_.focusRate();
        return false;
    }
    try {
        if (!subsidiariesAgree()) {
            return false;
        }
        if (changed_) {
            if (!storeOnLeaving()) {
                return false;
            }
            changed_ = false;
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("unload_form"));
        return false;
    }
}
