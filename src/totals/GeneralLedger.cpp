#include "totals/GeneralLedger.h"

#include <QStringList>
#include <optional>

#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "print/PrintAccessReport.h"
#include "totals/MonthFlags.h"
#include "totals/TotalsPass.h"

const QString GeneralLedger::kForm = QStringLiteral("prtSoukanjoMotocho");
const QString GeneralLedger::kTitle = QStringLiteral("总账");
const QString GeneralLedger::kLayout = QStringLiteral("R_KANJYOMOTOTYO");

namespace {

const QString kWrongAccounts =
    QStringLiteral("科目的指定出现错误。") + Messages::kCrLf + QStringLiteral("请重新选择一次。");

const QString kCarriedForward = QStringLiteral("结转余额");

// The posting accounts a fill covers, by number; 202 and 258 are never printed.
QString accountIn(const QString& chart) {
    return QStringLiteral(
               "%1.SYORIKBN = '0' AND %1.SIYOU = 'Y' AND %1.KMCODE <> '' AND %1.KMCODE NOT IN "
               "('202', '258') AND %1.KOCODE NOT IN ('202', '258') AND CAST(%1.KMCODE AS INTEGER) "
               "BETWEEN ?1 AND ?2")
        .arg(chart);
}
const QString kAccount = accountIn(QStringLiteral("K"));
const QString kSign = QStringLiteral("CASE WHEN K.TAIKBN = '0' THEN 1 ELSE -1 END");

// The lines of one side before the first month (FROM ?5) or in the chosen months (FROM ?6),
// summed per account, through that side's index.
QString sideSums(const QString& side, const QString& alias, const QString& months) {
    return QStringLiteral(
               "LEFT JOIN (SELECT %1KOCODE AS KO, SUM(%1KIN) AS S FROM T_SI_MEISAI "
               "WHERE CID = ?3 AND %3 GROUP BY %1KOCODE) %2 ON %2.KO = K.KOCODE ")
        .arg(side, alias, months);
}

// The carried-forward row of each account, sorting before its lines (SIDAY ''): the opening
// month's row (the opening balance, exact whatever month the totals pass ended at) signed in the
// account's direction in CF, and each side's lines of the period before the first month in DR
// and CR. Its balance is therefore reached as every row's is, and its DR/CR, the turnover the
// year-to-date totals start from, are written apart from the line amounts. An account without a
// balance gets none unless it has lines in the chosen months.
QString carriedForward() {
    const QString before = QStringLiteral("DATEYM >= ?5 AND DATEYM < ?6");
    const QString chosen = QStringLiteral("DATEYM BETWEEN ?6 AND ?8");
    return QStringLiteral(
               "SELECT JUN, KO, LINE, SIGN, SIDAY, DENNO, DENMENO, DR, CR, CF FROM (SELECT 0 AS "
               "JUN, K.KOCODE AS KO, NULL AS LINE, %1 AS SIGN, '' AS SIDAY, '0' AS DENNO, '0' "
               "AS DENMENO, COALESCE(BD.S, 0) AS DR, COALESCE(BC.S, 0) AS CR, %1 * "
               "(COALESCE(O.KRTOTAL, 0) - COALESCE(O.KSTOTAL, 0)) AS CF, "
               "COALESCE(ND.KO, NC.KO) AS USED FROM T_KANJO K "
               "LEFT JOIN T_TUKIKAN O ON O.CID = ?3 AND O.KANKOCODE = K.KOCODE AND O.DATEYM = ?4 "
               "%3 WHERE %2) WHERE CF + SIGN * (DR - CR) <> 0 OR USED IS NOT NULL")
        .arg(kSign, kAccount,
             sideSums(QStringLiteral("KR"), QStringLiteral("BD"), before) +
                 sideSums(QStringLiteral("KS"), QStringLiteral("BC"), before) +
                 sideSums(QStringLiteral("KR"), QStringLiteral("ND"), chosen) +
                 sideSums(QStringLiteral("KS"), QStringLiteral("NC"), chosen));
}

// One side of the voucher lines of the chosen months, account by account in ledger order: that
// side's ledger index holds every column read, sorted by account and day, so that the rows need
// sorting only within a day and no line is looked up.
QString sideLines(const QString& side, int jun) {
    return QStringLiteral(
               "SELECT %2, SM.%1KOCODE, SM.rowid, %5, SM.SIDAY, SW.DENNO, SM.DENMENO, %3, %4, 0 "
               "FROM T_SI_MEISAI SM INDEXED BY IX_T_SI_MEISAI_%1_LEDGER CROSS JOIN T_KANJO K "
               "CROSS JOIN T_SIWAKE SW WHERE SM.CID = ?3 AND SM.%1KOCODE IN (SELECT A.KOCODE FROM "
               "T_KANJO A WHERE %6) AND SM.SIDAY BETWEEN ?6 || '/01' AND ?8 || '/31' AND "
               "SM.DATEYM BETWEEN ?6 AND ?8 AND K.KOCODE = SM.%1KOCODE AND SW.CID = SM.CID AND "
               "SW.DENCODE = SM.DENCODE")
        .arg(side)
        .arg(jun)
        .arg(jun == 0 ? QStringLiteral("COALESCE(SM.KRKIN, 0)") : QStringLiteral("0"),
             jun == 0 ? QStringLiteral("0") : QStringLiteral("COALESCE(SM.KSKIN, 0)"), kSign,
             accountIn(QStringLiteral("A")));
}

const QString kLedgerOrder = QStringLiteral("W.KO, W.SIDAY, W.DENNO, W.DENMENO, W.JUN");

// Every row of the ledger: the carried-forward rows and both sides of the chosen months' lines.
QString ledgerLines() {
    return carriedForward() + QStringLiteral(" UNION ALL ") + sideLines(QStringLiteral("KR"), 0) +
           QStringLiteral(" UNION ALL ") + sideLines(QStringLiteral("KS"), 1);
}

// running_sum needs the rows in ledger order. The three parts, each already in that order, are
// merged into a table of this connection and read back by rowid: a sorted subquery joined to
// the chart would lose its ORDER BY to the optimizer or, held by a LIMIT, be sorted whole
// through a b-tree.
const QString kOrderTable = QStringLiteral("temp.GL_ORDER");

QString orderedLines() {
    return QStringLiteral("INSERT INTO %1 %2 ORDER BY KO, SIDAY, DENNO, DENMENO, JUN")
        .arg(kOrderTable, ledgerLines());
}

// The whole ledger in one statement from rows in ledger order (L), with zan the running balance:
// names from the chart joined once, after the sort, which carries only keys and amounts. The
// carried-forward row is the one without a line (a null test is cheaper than the day's text).
QString ledgerRows(const QString& rows, const QString& zan, const QString& order) {
    return QStringLiteral(
               "INSERT INTO T_SKANMT_OUT (KANKOCODE, SIDAY, DENNO, DENMENO, JUN, KMCODE, KMNAME, "
               "AICODE, AINAME, AIHOCODE, AIHONAME, TEKIYO, KRKIN, KSKIN, ZAN, YKRKIN, YKSKIN) "
               "SELECT L.KO, CASE WHEN L.LINE IS NULL THEN '00.01.01' WHEN length(L.SIDAY) = 10 "
               "THEN replace(substr(L.SIDAY, 3), '/', '.') ELSE L.SIDAY END, L.DENNO, L.DENMENO, "
               "L.JUN, K.KMCODE, K.KANNAME, CASE WHEN L.LINE IS NULL THEN '0' ELSE "
               "COALESCE(AI.KMCODE, '') END, COALESCE(AI.KANNAME, ''), COALESCE(H.HOCODE, ''), "
               "COALESCE(H.HONAME, ''), CASE WHEN L.LINE IS NULL THEN ?7 ELSE SM.TEKIYO END, CASE "
               "WHEN L.LINE IS NULL THEN 0 ELSE L.DR END, CASE WHEN L.LINE IS NULL THEN 0 ELSE "
               "L.CR END, %2, CASE WHEN L.LINE IS NULL THEN L.DR ELSE 0 END, CASE WHEN L.LINE IS "
               "NULL THEN L.CR ELSE 0 END "
               "FROM %1 "
               "LEFT JOIN T_KANJO K ON K.KOCODE = L.KO "
               "LEFT JOIN T_SI_MEISAI SM ON SM.rowid = L.LINE "
               "LEFT JOIN T_KANJO AI ON AI.KOCODE = CASE L.JUN WHEN 0 THEN SM.KRAICODE ELSE "
               "SM.KSAICODE END "
               "LEFT JOIN T_HOJOKAMOKU H ON H.CID = ?3 AND H.KANKOCODE = CASE L.JUN WHEN 0 THEN "
               "SM.KRAICODE ELSE SM.KSAICODE END AND "
               "H.HOKOCODE = CASE L.JUN WHEN 0 THEN SM.KRAIHOCODE ELSE SM.KSAIHOCODE END AND "
               "COALESCE(CASE L.JUN WHEN 0 THEN SM.KRAIHOCODE ELSE SM.KSAIHOCODE END, '') <> ''%3")
        .arg(rows, zan, order);
}

// From the ordered table, each row's balance is the carried-forward balance plus the signed rows
// so far, added up as the rows are read.
QString ledgerWithRunningSum() {
    return ledgerRows(kOrderTable + QStringLiteral(" L"),
                      QStringLiteral("running_sum(L.KO, L.SIGN * (L.DR - L.CR) + L.CF)"),
                      QStringLiteral(" ORDER BY L.rowid"));
}

// A connection without running_sum numbers the balances with the window function instead.
QString ledgerWithWindow() {
    return ledgerRows(QStringLiteral("(SELECT W.*, SUM(W.SIGN * (W.DR - W.CR) + W.CF) OVER "
                                     "(PARTITION BY W.KO ORDER BY %1 ROWS UNBOUNDED PRECEDING) "
                                     "AS ZAN FROM (%2) W) L")
                          .arg(kLedgerOrder, ledgerLines()),
                      QStringLiteral("L.ZAN"), QString());
}

}  // namespace

bool PrintSokanjo(const LedgerRange& range, const QString& caller) {
    if (!msum_tukisime(range.periodFirst, range.last, caller)) {
        return false;
    }
    Database& db = Database::global();
    try {
        std::optional<TransactionGuard> transaction;
        if (!db.inTransaction()) {
            transaction.emplace(db);
        }
        db.execute(QStringLiteral("DELETE FROM T_SKANMT_OUT"));
        // ?1 ?2 accounts, ?3 set, ?4 opening month, ?5 period start, ?6 first month, ?7 the
        // carried-forward text, ?8 last month.
        const QVariantList params{range.firstAccount,   range.lastAccount,
                                  session().CurrentCid, openingMonth(range.periodFirst),
                                  range.periodFirst,    range.first,
                                  kCarriedForward,      range.last};
        if (db.startRunningSum()) {
            static const QString ordered = orderedLines();
            static const QString ledger = ledgerWithRunningSum();
            db.execute(
                QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS GL_ORDER (JUN, KO, LINE, "
                               "SIGN, SIDAY, DENNO, DENMENO, DR, CR, CF)"));
            db.execute(ordered, params);
            db.execute(ledger, params.mid(0, 7));
            db.execute(QStringLiteral("DELETE FROM ") + kOrderTable);
        } else {
            static const QString ledger = ledgerWithWindow();
            db.execute(ledger, params);
        }
        if (transaction) {
            transaction->commit();
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("PrintSokanjo"));
        return false;
    }
}

bool GeneralLedger::Form_Load() {
    session().CallerForm = kForm;
    return load();
}

bool GeneralLedger::load() {
    try {
        loadLists(QStringLiteral("SELECT KOCODE, KMCODE, KANNAME FROM T_KANJO WHERE ") +
                  kPostingAccounts + QStringLiteral(" ORDER BY KMCODE"));
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("Form_Load"));
        return false;
    }
}

bool GeneralLedger::checkSelections() {
    return checkLists(kWrongAccounts);
}

LedgerRange GeneralLedger::range() const {
    return {months_.first().month, months_.at(firstMonth_).month, months_.at(lastMonth_).month,
            accounts_.at(firstAccount_).number, accounts_.at(lastAccount_).number};
}

bool GeneralLedger::PrintSokanjo() {
    return ::PrintSokanjo(range(), kForm);
}

bool GeneralLedger::fill() {
    if (busy_) {
        busy_(true);
    }
    const bool filled = PrintSokanjo();
    if (busy_) {
        busy_(false);
    }
    return filled;
}

bool GeneralLedger::print_data(int mode) {
    singleAccount_ = false;
    if (!checkSelections() || !fill()) {
        return false;
    }
    try {
        if (Database::global()
                .scalar(QStringLiteral("SELECT KANKOCODE FROM T_SKANMT_OUT LIMIT 1"))
                .isNull()) {
            messages().exclamation(QStringLiteral("没有符合条件的数据。"));
            return false;
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("print_data"));
        return false;
    }
    if (!WritePrintKomokuTable(headerSlots(), QStringLiteral("T_PRINTKOMOKU"))) {
        return false;
    }
    dataHyojiEnabled_ = true;
    return PrintAccessReport(session().AppFolder + QStringLiteral("Kaikei.mdb"), kLayout, mode);
}

bool GeneralLedger::cmdDataHyoji_Click() {
    singleAccount_ = true;
    return checkSelections() && fill();
}

void GeneralLedger::cmdQuestion_Click() {
    messages().help(MsgIcon::Information,
                    QStringLiteral("把录入的交易内容作为总账打印。") + Messages::kCrLf +
                        QStringLiteral("用A4纸打印。") + Messages::kCrLf +
                        QStringLiteral("在下拉框中选择日期后单击“打印预览”就会显示一览表。"),
                    QStringLiteral("journal-ledgers"));
}

void GeneralLedger::Command1_Click() {
    messages().help(MsgIcon::Exclamation,
                    QStringLiteral("如果要修改在打印预览里看到的数据，") + Messages::kCrLf +
                        QStringLiteral("请选择想要修改的科目名然后单击“账目预览”，") +
                        Messages::kCrLf + QStringLiteral("进入账目预览画面即可修改。"),
                    QStringLiteral("journal-ledgers"));
}

bool GeneralLedger::fillFor(const QString& fromMonth, const QString& toMonth, int firstAccount,
                            int lastAccount) {
    return load() && chooseFor(fromMonth, toMonth, firstAccount, lastAccount, kWrongAccounts) &&
           checkSelections() && fill() &&
           WritePrintKomokuTable(headerSlots(), QStringLiteral("T_PRINTKOMOKU"));
}
