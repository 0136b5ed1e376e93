#include "maintenance/YearEndUpdate.h"

#include <QDate>
#include <optional>

#include "common/Messages.h"
#include "common/Money.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "db/RowWriters.h"
#include "maintenance/BackupReader.h"
#include "maintenance/BackupSet.h"
#include "master/CurrentAccountSet.h"
#include "statements/StatutoryProfitStatement.h"
#include "totals/MonthFlags.h"
#include "totals/TotalsPass.h"

namespace {

// The totals pass also completes the subsidiary totals for this caller.
const QString kSubsidiaryCaller = QStringLiteral("prtSoukanjoHojoMotocho");

// The live tables of a year besides the chart, in copy order; each has a BT_ twin.
const char* const kYearTables[] = {"COMP_MAIN", "SIWAKE",   "SI_MEISAI",  "DAY_INPUT", "SI_PATTERN",
                                   "DAY_TORAN", "KISYUZAN", "HOJOKAMOKU", "TEKIYO",    "TUKISIME"};

const QString kChartColumns = QStringLiteral(
    " KOCODE, KMCODE, KNBUN, KANNAME, SYORIKBN, TAIKBN, TOCODE, BUNCODE, NOCNG, BUMONSET, "
    "HOJOSET, HOSETNO, SIYOU, PCODE1, PCODE2, PCODE3, KAIPAGE, KISYUZAN, AICODE, DAIBUN, "
    "TYUBUN, SYOBUN, JUN, KISYUMKBN ");

// The carried accounts: posting balance-sheet accounts and 353 (this year's profit).
const QString kCarried = QStringLiteral(
    "K.SIYOU = 'Y' AND ((K.KOCODE BETWEEN '004' AND '173' AND K.SYORIKBN = '0') OR "
    "K.KOCODE = '353')");

// A step that reported its own failure (or returned false) ends the operation.
constexpr int kStepFailed = 0;
[[noreturn]] void stepFailed(const QString& step) {
    throw DbError(kStepFailed, step + QStringLiteral(" 未能完成。"));
}

// The caller's transaction when one is open (the command-line tool), else one of our own.
class OperationTransaction {
  public:
    OperationTransaction() {
        if (!Database::global().inTransaction()) {
            own_.emplace();
        }
    }
    void commit() {
        if (own_) {
            own_->commit();
        }
    }

  private:
    std::optional<TransactionGuard> own_;
};

QDate day(const QString& text) {
    const QDate date = QDate::fromString(text.trimmed(), QStringLiteral("yyyy/MM/dd"));
    if (!date.isValid()) {
        throw DbError(DbError::kInvalidValue, QStringLiteral("会计期间的日期无效: ") + text);
    }
    return date;
}

QString dayText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

// 2025/01/01 gives 2025年01月01日.
QString printedDay(const QString& day) {
    return day.left(4) + u'年' + day.mid(5, 2) + u'月' + day.mid(8, 2) + u'日';
}

// A balance in the account's own direction.
Money balanceOf(const RecordSet& rs) {
    const Money debit = rs.money(QStringLiteral("KRRUI"));
    const Money credit = rs.money(QStringLiteral("KSRUI"));
    return rs.text(QStringLiteral("TAIKBN")).trimmed() == u"0" ? debit - credit : credit - debit;
}

void setOpeningBalance(const QString& kocode, const Money& balance) {
    Database& db = Database::global();
    db.execute(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = ? WHERE KOCODE = ?"),
               {balance.toDb(), kocode});
    db.execute(QStringLiteral("UPDATE T_KISYUZAN SET KISYUZAN = ? WHERE CID = ? AND KOCODE = ?"),
               {balance.toDb(), session().CurrentCid, kocode});
}

// The closing balances of the carried accounts become the opening balances; 171 (profit brought
// forward) takes the balance of 353 in place of its own.
void update_kisyuzan_data(const QString& closingQuery, const QString& lastMonth) {
    RecordSet rs = Database::global().query(closingQuery, {session().CurrentCid, lastMonth});
    Money profit;
    for (; !rs.eof(); rs.moveNext()) {
        const QString kocode = rs.text(QStringLiteral("KOCODE")).trimmed();
        const Money balance = balanceOf(rs);
        setOpeningBalance(kocode, balance);
        if (kocode == u"353") {
            profit = balance;
        }
    }
    rs.close();
    setOpeningBalance(QStringLiteral("171"), profit);
}

// Every subsidiary account with totals in the last month is carried, whatever its parent.
void update_kisyuzan_hojo(const QString& lastMonth) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    db.execute(QStringLiteral("UPDATE T_HOJOKAMOKU SET KISYUZAN = 0 WHERE CID = ?"), {cid});
    RecordSet rs = db.query(
        QStringLiteral("SELECT K.KOCODE, K.TAIKBN, T.HOCODE, T.KRRUI, T.KSRUI FROM T_KANJO AS K "
                       "INNER JOIN T_TUKIHOJO AS T ON K.KOCODE = T.KANKOCODE WHERE T.CID = ? AND "
                       "T.DATEYM = ?"),
        {cid, lastMonth});
    for (; !rs.eof(); rs.moveNext()) {
        db.execute(QStringLiteral("UPDATE T_HOJOKAMOKU SET KISYUZAN = ? WHERE CID = ? AND "
                                  "KANKOCODE = ? AND HOKOCODE = ?"),
                   {balanceOf(rs).toDb(), cid, rs.text(QStringLiteral("KOCODE")),
                    rs.text(QStringLiteral("HOCODE"))});
    }
}

// The next period: one year on from the day after the old end.
void update_company_data(const QString& newStart, const QString& oldEnd) {
    Database& db = Database::global();
    const QString newEnd = dayText(day(oldEnd).addYears(1));
    const QVariantList values = {
        newStart, newEnd, newStart.left(7), newEnd, printedDay(newStart), printedDay(newEnd)};
    db.execute(QStringLiteral("UPDATE WK_COMPANY SET KISYU = ?, KIMATU = ?, NENDOSU = NENDOSU + 1, "
                              "KISYUM = ?, SIINLDAY = ?, PKISYU = ?, PKIMATU = ?"),
               values);
    const QVariant nendosu = db.scalar(QStringLiteral("SELECT NENDOSU FROM WK_COMPANY"));
    db.execute(QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = ?, KIMATU = ?, NENDOSU = ?, "
                              "KISYUM = ?, SIINLDAY = ?, PKISYU = ?, PKIMATU = ? WHERE CID = ?"),
               {newStart, newEnd, nendosu, newStart.left(7), newEnd, printedDay(newStart),
                printedDay(newEnd), session().CurrentCid});
}

// The vouchers left after the closed year, numbered 00001 upwards in their old order.
void reset_siwake() {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    const QList<QVariantList> codes = db.selectAll(
        QStringLiteral("SELECT DENCODE FROM T_SIWAKE WHERE CID = ? ORDER BY DENCODE"), {cid});
    int n = 0;
    for (const QVariantList& row : codes) {
        const QString old = row.first().toString();
        const QString code = QStringLiteral("%1").arg(++n, 5, 10, QLatin1Char('0'));
        if (code == old) {
            continue;
        }
        db.execute(QStringLiteral("UPDATE T_SIWAKE SET DENCODE = ?, DENNO = ? WHERE CID = ? AND "
                                  "DENCODE = ?"),
                   {code, code, cid, old});
        db.execute(
            QStringLiteral("UPDATE T_SI_MEISAI SET DENCODE = ? WHERE CID = ? AND DENCODE = ?"),
            {code, cid, old});
    }
}

void markBothStale(const QString& first, const QString& last) {
    if (!MarkMonthsStale(openingMonth(first), last)) {
        stepFailed(QStringLiteral("UpdateTukiSimebi"));
    }
}

void deleteMonthTotals() {
    Database& db = Database::global();
    db.execute(QStringLiteral("DELETE FROM T_TUKIKAN  WHERE CID = ?"), {session().CurrentCid});
    db.execute(QStringLiteral("DELETE FROM T_TUKIHOJO WHERE CID = ?"), {session().CurrentCid});
}

}  // namespace

YearEndUpdate::YearEndUpdate(QString accountSetText, YearEndHost* host)
    : accountSetText_(std::move(accountSetText)), host_(host) {}

QString YearEndUpdate::temporaryFolder() const {
    return temporaryBackupFolder(accountSetText_);
}

void YearEndUpdate::busy(bool on) {
    if (host_) {
        host_->showMessageLabel(on);
        host_->setBusy(on);
    }
}

void YearEndUpdate::updateButtons() {
    const bool current = session().CurrentYearLoaded;
    cmdJikkouEnabled = current;
    cmdPerYearEnabled = current;
    cmdNowYearEnabled = !current;
}

bool YearEndUpdate::Form_Load() {
    try {
        const QVariant kancng = Database::global().scalar(
            QStringLiteral("SELECT KANCNG FROM T_COMP_MAIN WHERE CID = ?"), {session().CurrentCid});
        rateShown = !kancng.isNull() && kancng.toString().trimmed() == u"1";
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("Form_Load"));
        return false;
    }
    lblReadMe = QStringLiteral("请确认本年度的年底结转是否完成。");
    if (rateShown) {
        lblReadMe += Messages::kCrLf + QStringLiteral("开始结转之前请先输入下一年度期首日汇率。");
    }
    updateButtons();
    return form_init();
}

bool YearEndUpdate::form_init() {
    try {
        RecordSet rs = Database::global().query(
            QStringLiteral("SELECT KISYU, KIMATU, NENDOSU, GKBN FROM WK_COMPANY"));
        if (rs.eof()) {
            throw DbError(DbError::kInvalidValue, QStringLiteral("没有当前账套。"));
        }
        periodStart = rs.text(QStringLiteral("KISYU")).trimmed();
        periodEnd = rs.text(QStringLiteral("KIMATU")).trimmed();
        firstMonth = periodStart.left(7);
        lastMonth = periodEnd.left(7);
        lblKisyubi = dayText(day(periodEnd).addDays(1));
        session().PeriodLabel = periodLabelFor(rs.text(QStringLiteral("GKBN")),
                                               rs.text(QStringLiteral("NENDOSU")), periodStart);
        caption = accountSetText_ + QStringLiteral(" — ") + session().PeriodLabel;
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("form_init"));
        return false;
    }
}

void YearEndUpdate::loadSessionCopy() {
    Database& db = Database::global();
    db.execute(QStringLiteral("DELETE FROM WK_COMPANY"));
    db.execute(QStringLiteral("INSERT INTO WK_COMPANY SELECT * FROM T_COMP_MAIN WHERE CID = ?"),
               {session().CurrentCid});
    if (!form_init()) {
        stepFailed(QStringLiteral("form_init"));
    }
}

bool YearEndUpdate::save_now_data(const QString& first, const QString& last, const QString& end) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    for (const char* table : {"BT_KANJO", "BT_COMP_MAIN", "BT_SIWAKE", "BT_SI_MEISAI",
                              "BT_DAY_INPUT", "BT_SI_PATTERN", "BT_DAY_TORAN", "BT_KISYUZAN",
                              "BT_HOJOKAMOKU", "BT_TEKIYO", "BT_TUKISIME", "BT_KESANSYO"}) {
        db.execute(QStringLiteral("DELETE FROM %1 WHERE CID = ?").arg(QLatin1String(table)), {cid});
    }
    const QList<Column>& chart = db.columns(QStringLiteral("T_KANJO"));
    for (RecordSet rs = db.query(QStringLiteral("SELECT * FROM T_KANJO")); !rs.eof();
         rs.moveNext()) {
        QStringList fields{cid};
        for (int i = 0; i < chart.size(); ++i) {
            const QVariant v = rs.valueAt(i);
            fields.append(chart.at(i).kind == ColumnKind::Money ? Money::fromDb(v).toText()
                                                                : v.toString());
        }
        if (!WriteBKanjoTable(fields, QStringLiteral("BT_KANJO"))) {
            throw DbError(db.lastErrorNumber(), db.lastErrorText());
        }
    }
    for (const char* table : kYearTables) {
        db.execute(QStringLiteral("INSERT INTO BT_%1 SELECT * FROM T_%1 WHERE CID = ?")
                       .arg(QLatin1String(table)),
                   {cid});
    }
    db.execute(QStringLiteral("INSERT INTO BT_KESANSYO SELECT * FROM P_KESANSYO WHERE CID = ?"),
               {cid});
    db.execute(QStringLiteral("DELETE FROM P_KESANSYO WHERE CID = ?"), {cid});

    if (!msum_tukisime(first, last, kSubsidiaryCaller)) {
        messages().plain(QStringLiteral("月次总计出现异常。"));
        return false;
    }
    StatutoryProfitStatement statement;
    if (!statement.set_hyouji_table(last)) {
        return false;
    }
    for (const QVariantList& row : db.selectAll(QStringLiteral("SELECT * FROM P_KESANSYO_E"))) {
        QStringList fields{cid};
        for (int line = 0; line < 64; ++line) {
            fields.append(Money::fromDb(row.at(line)).toText());
        }
        fields.append(end);
        if (!WriteBKesansyoTable(fields, QStringLiteral("P_KESANSYO"))) {
            throw DbError(db.lastErrorNumber(), db.lastErrorText());
        }
    }
    return true;
}

bool YearEndUpdate::cmdJikkou_Click() {
    if (rateMissing()) {
        messages().exclamation(QStringLiteral("汇率未输入。"));
        return false;
    }
    if (messages().askYesNo(QStringLiteral("进行下一年度的更新。") + Messages::kCrLf +
                                QStringLiteral("进行结余转入和凭证删除等处理。") + Messages::kCrLf +
                                QStringLiteral("前一年度的数据备份了吗？"),
                            MsgAnswer::Yes) != MsgAnswer::Yes) {
        return false;
    }
    if (messages().askYesNo(QStringLiteral("可以开始年底结转了吗?"), MsgAnswer::No,
                            MsgIcon::Exclamation) != MsgAnswer::Yes) {
        return false;
    }
    return carryForward();
}

bool YearEndUpdate::carryForward() {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    busy(true);
    try {
        OperationTransaction transaction;
        // The closed year's bounds, as the screen shows them.
        const QString first = firstMonth;
        const QString last = lastMonth;
        const QString end = periodEnd;
        if (!save_now_data(first, last, end)) {
            stepFailed(QStringLiteral("save_now_data"));
        }
        db.execute(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 0"));
        db.execute(QStringLiteral("UPDATE T_KISYUZAN SET KISYUZAN = 0, RATE = ? WHERE CID = ?"),
                   {rate, cid});
        update_kisyuzan_data(
            QStringLiteral("SELECT K.KOCODE, K.TAIKBN, T.KRRUI, T.KSRUI FROM T_KANJO K, T_TUKIKAN "
                           "T WHERE K.KOCODE = T.KANKOCODE AND T.CID = ? AND ") +
                kCarried + QStringLiteral(" AND T.DATEYM = ?"),
            last);
        update_kisyuzan_hojo(last);
        update_company_data(lblKisyubi, end);
        db.execute(QStringLiteral("DELETE FROM T_SIWAKE    WHERE CID = ? AND DENDAY <= ?"),
                   {cid, end});
        db.execute(QStringLiteral("DELETE FROM T_SI_MEISAI WHERE CID = ? AND SIDAY  <= ?"),
                   {cid, end});
        db.execute(QStringLiteral("DELETE FROM T_DAY_TORAN WHERE CID = ? AND DATEYM <= ?"),
                   {cid, last});
        deleteMonthTotals();
        if (!form_init()) {
            stepFailed(QStringLiteral("form_init"));
        }
        if (!SetDayInputData(firstMonth, lastMonth) || !SetTukisimeData(firstMonth, lastMonth)) {
            stepFailed(QStringLiteral("SetTukisimeData"));
        }
        reset_siwake();
        transaction.commit();
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdJikkou_Click"));
        busy(false);
        // The screen values of the year that stays.
        form_init();
        return false;
    }
    busy(false);
    messages().information(QStringLiteral("年底结转成功！"));
    return true;
}

bool YearEndUpdate::cmdPerYear_Click() {
    if (messages().askYesNo(QStringLiteral("是要转到上一年度吗?"), MsgAnswer::No,
                            MsgIcon::Exclamation) != MsgAnswer::Yes) {
        return false;
    }
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    try {
        const QVariant savedEnd =
            db.scalar(QStringLiteral("SELECT KIMATU FROM BT_COMP_MAIN WHERE CID = ?"), {cid});
        const QDate end = savedEnd.isNull() ? QDate()
                                            : QDate::fromString(savedEnd.toString().trimmed(),
                                                                QStringLiteral("yyyy/MM/dd"));
        if (!end.isValid() || dayText(end.addDays(1)) != periodStart) {
            messages().information(QStringLiteral("没有上一年度的数据。"));
            return false;
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdPerYear_Click"));
        return false;
    }
    if (host_) {
        host_->setBusy(true);
    }
    // Without this copy the current year could not come back, so a failed backup stops here.
    if (!DataBackUp(temporaryFolder(), BackupUse::YearEnd)) {
        if (host_) {
            host_->setBusy(false);
        }
        return false;
    }
    try {
        OperationTransaction transaction;
        db.execute(QStringLiteral("DELETE FROM T_KANJO"));
        for (const char* table : kYearTables) {
            db.execute(QStringLiteral("DELETE FROM T_%1 WHERE CID = ?").arg(QLatin1String(table)),
                       {cid});
        }
        db.execute(QStringLiteral("DELETE FROM P_KESANSYO WHERE CID = ?"), {cid});
        db.execute(QStringLiteral("INSERT INTO T_KANJO(%1) SELECT%1FROM BT_KANJO WHERE CID = ?")
                       .arg(kChartColumns),
                   {cid});
        for (const char* table : kYearTables) {
            db.execute(QStringLiteral("INSERT INTO T_%1 SELECT * FROM BT_%1 WHERE CID = ?")
                           .arg(QLatin1String(table)),
                       {cid});
        }
        db.execute(QStringLiteral("INSERT INTO P_KESANSYO SELECT * FROM BT_KESANSYO WHERE CID = ?"),
                   {cid});
        loadSessionCopy();
        markBothStale(firstMonth, lastMonth);
        deleteMonthTotals();
        transaction.commit();
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdPerYear_Click"));
        if (host_) {
            host_->setBusy(false);
        }
        form_init();
        return false;
    }
    if (host_) {
        host_->setBusy(false);
    }
    messages().information(QStringLiteral("上一年度数据导入成功！"));
    session().CurrentYearLoaded = false;
    updateButtons();
    return true;
}

bool YearEndUpdate::cmdNowYear_Click() {
    busy(true);
    const bool done = reset_now_year_data(firstMonth, lastMonth);
    busy(false);
    updateButtons();
    return done;
}

bool YearEndUpdate::cmdSyokika_Click() {
    if (messages().askYesNo(QStringLiteral("进行数据的初始化。删除以前的全部凭证，可以吗?"),
                            MsgAnswer::No, MsgIcon::Exclamation) != MsgAnswer::Yes) {
        return false;
    }
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    busy(true);
    try {
        OperationTransaction transaction;
        db.execute(QStringLiteral("DELETE FROM T_SIWAKE    WHERE CID = ?"), {cid});
        db.execute(QStringLiteral("DELETE FROM T_SI_MEISAI WHERE CID = ?"), {cid});
        db.execute(QStringLiteral("DELETE FROM T_DAY_TORAN WHERE CID = ?"), {cid});
        deleteMonthTotals();
        db.execute(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 0"));
        db.execute(QStringLiteral("UPDATE T_KISYUZAN SET KISYUZAN = 0, RATE = 0 WHERE CID=?"),
                   {cid});
        db.execute(QStringLiteral("UPDATE T_HOJOKAMOKU SET KISYUZAN = 0 WHERE CID=?"), {cid});
        if (!SetTukisimeData(firstMonth, lastMonth)) {
            stepFailed(QStringLiteral("SetTukisimeData"));
        }
        // The flags may already describe this period; with the totals gone every month is stale.
        markBothStale(firstMonth, lastMonth);
        transaction.commit();
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdSyokika_ClickErr"));
        busy(false);
        return false;
    }
    busy(false);
    messages().information(QStringLiteral("数据初始化结束。"));
    return true;
}

bool YearEndUpdate::reset_now_year_data(const QString& first, const QString& last) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    const QString folder = temporaryFolder();
    try {
        OperationTransaction transaction;
        const QString loadedEnd =
            db.scalar(QStringLiteral("SELECT KIMATU FROM WK_COMPANY")).toString().trimmed();
        if (!save_now_data(first, last, loadedEnd)) {
            stepFailed(QStringLiteral("save_now_data"));
        }
        const QList<QVariantList> files = db.selectAll(
            QStringLiteral("SELECT SEQNO, TEXTNAME, FLPNO, KEISIKI FROM T_BACKUP ORDER BY SEQNO"));
        for (const QVariantList& file : files) {
            const int seqNo = file.at(0).toInt();
            if (seqNo == 12) {
                break;
            }
            const QString table = file.at(3).toString();
            // Table names come from the shipped list; the reader checks them against the schema.
            if (seqNo > 1) {
                db.execute(QStringLiteral("DELETE FROM %1 WHERE CID = ?").arg(table), {cid});
            } else {
                db.execute(QStringLiteral("DELETE FROM %1").arg(table));
            }
            if (!write_data_to_table(folder + file.at(1).toString() + QStringLiteral(".txt"), table,
                                     seqNo, file.at(2).toInt())) {
                stepFailed(QStringLiteral("write_data_to_table"));
            }
        }
        db.execute(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 0"));
        db.execute(QStringLiteral("UPDATE T_KISYUZAN SET KISYUZAN = 0 WHERE CID = ?"), {cid});
        update_kisyuzan_data(
            QStringLiteral("SELECT K.KOCODE, K.TAIKBN, T.KRRUI, T.KSRUI FROM BT_KANJO AS K INNER "
                           "JOIN T_TUKIKAN AS T ON K.KOCODE = T.KANKOCODE AND K.CID = T.CID WHERE "
                           "T.CID = ? AND ") +
                kCarried + QStringLiteral(" AND T.DATEYM = ?"),
            last);
        update_kisyuzan_hojo(last);
        loadSessionCopy();
        markBothStale(first, last);
        deleteMonthTotals();
        // The restored flags describe totals that are gone and opening balances that moved: every
        // month of the current year is computed afresh.
        if (!SetTukisimeData(firstMonth, lastMonth)) {
            stepFailed(QStringLiteral("SetTukisimeData"));
        }
        markBothStale(firstMonth, lastMonth);
        transaction.commit();
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("reset_now_year_data"));
        form_init();
        return false;
    }
    messages().information(QStringLiteral("数据恢复成功！"));
    session().CurrentYearLoaded = true;
    return true;
}
