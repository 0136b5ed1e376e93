#include "common/DateHelpers.h"
#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "db/LineSides.h"
#include "entry/DailyEntry.h"

// Filling the grids of the day shown from the database.

bool DailyEntry::loadLists() {
    Database& db = Database::global();
    const QString& cid = session().CurrentCid;
    QString routine = QStringLiteral("set_cmbTekiyo");
    try {
        descriptionList_.clear();
        descriptionNumbers_.clear();
        for (RecordSet rs = db.query(
                 QStringLiteral("SELECT TEKINO, TENAME FROM T_TEKIYO WHERE CID = ?"), {cid});
             !rs.eof(); rs.moveNext()) {
            const QString name = rs.text(QStringLiteral("TENAME"));
            descriptionList_.append(name);
            if (!descriptionNumbers_.contains(name)) {
                descriptionNumbers_.insert(name, rs.text(QStringLiteral("TEKINO")));
            }
        }
        routine = QStringLiteral("set_cmbKamoku");
        accountList_ = QStringList{QString()};
        for (RecordSet rs = db.query(QStringLiteral(
                 "SELECT KOCODE, KMCODE, KANNAME FROM T_KANJO WHERE SYORIKBN = '0' AND SIYOU = "
                 "'Y' AND KMCODE <> '' AND KANNAME <> '' ORDER BY KMCODE"));
             !rs.eof(); rs.moveNext()) {
            accountList_.append(rs.text(QStringLiteral("KMCODE")) + u' ' +
                                rs.text(QStringLiteral("KANNAME")));
        }
        routine = QStringLiteral("set_cmbIkkatuSiwake");
        patternList_.clear();
        for (RecordSet rs = db.query(
                 QStringLiteral("SELECT KRCODE, KSCODE, SINAME FROM T_SI_PATTERN WHERE CID = ?"),
                 {cid});
             !rs.eof(); rs.moveNext()) {
            patternList_.append(rs.text(QStringLiteral("KRCODE")) +
                                rs.text(QStringLiteral("KSCODE")) + u' ' +
                                rs.text(QStringLiteral("SINAME")));
        }
        routine = QStringLiteral("set_cmbHojokamoku");
        chart_.load(cid);
        return true;
    } catch (const DbError& error) {
        reportError(error, routine);
        return false;
    }
}

bool DailyEntry::set_start_spread() {
    if (!loadLists()) {
        return false;
    }
    income_.clear();
    expense_.clear();
    transfer_.clear();
    readOnly_ = false;
    if (!loadSimpleGrid(EntryGrid::Income) || !loadSimpleGrid(EntryGrid::Expense) ||
        !loadTransferLines()) {
        return false;
    }
    readOnly_ = transfer_.size() > kMaxTransferRows;
    while (transfer_.size() < 2) {
        transfer_.append(TransferEntryRow());
    }
    takeSnapshot();
    return true;
}

bool DailyEntry::loadSimpleGrid(EntryGrid grid) {
    const bool incomeGrid = grid == EntryGrid::Income;
    Database& db = Database::global();
    const QString& cid = session().CurrentCid;
    const QString month = dateBox_.left(7);
    const QString dayColumn = QStringLiteral("KIN%1").arg(dateBox_.mid(8, 2).toInt());
    QList<SimpleEntryRow>& rows = incomeGrid ? income_ : expense_;
    const int limit = incomeGrid ? kMaxIncomeRows : kMaxExpenseRows;
    try {
        // The day's amounts and the descriptions of its simple lines, read once for the grid.
        QHash<QString, Money> amounts;
        for (RecordSet rs = db.query(QStringLiteral("SELECT KOCODE, %1 AS KIN FROM T_DAY_TORAN "
                                                    "WHERE CID = ? AND DATEYM = ?")
                                         .arg(dayColumn),
                                     {cid, month});
             !rs.eof(); rs.moveNext()) {
            amounts.insert(rs.text(QStringLiteral("KOCODE")), rs.money(QStringLiteral("KIN")));
        }
        // Income is the credit side of a cash line, an expense the debit side.
        const QString side = codeColumn(incomeGrid ? Side::Credit : Side::Debit);
        QHash<QString, QPair<QString, QString>> descriptions;
        for (RecordSet rs = db.query(QStringLiteral("SELECT %1 AS KOCODE, TECODE, TEKIYO FROM "
                                                    "T_SI_MEISAI WHERE CID = ? AND DENCODE = ? "
                                                    "AND SISYU = '0' ORDER BY DENMENO")
                                         .arg(side),
                                     {cid, voucher_.DENCODE});
             !rs.eof(); rs.moveNext()) {
            const QString kocode = rs.text(QStringLiteral("KOCODE"));
            if (!descriptions.contains(kocode)) {
                descriptions.insert(
                    kocode, {rs.text(QStringLiteral("TECODE")), rs.text(QStringLiteral("TEKIYO"))});
            }
        }
        const QString first = incomeGrid ? QStringLiteral("dummy") : QStringLiteral("3");
        const QString second = incomeGrid ? QStringLiteral("1") : QStringLiteral("2");
        for (RecordSet rs = db.query(
                 QStringLiteral("SELECT KOCODE, KMCODE, KANNAME, AICODE, TAIKBN FROM T_KANJO WHERE "
                                "SIYOU = 'Y' AND KANNAME <> '' AND JUN <> 0 AND DAIBUN IN(?, ?) "
                                "AND KISYUMKBN NOT IN('1', '2') ORDER BY KOCODE, JUN"),
                 {first, second});
             !rs.eof(); rs.moveNext()) {
            if (rows.size() == limit) {
                messages().error(9,
                                 incomeGrid ? QStringLiteral("收入科目最多只能显示16个。")
                                            : QStringLiteral("支出科目最多只能显示64个。"),
                                 QStringLiteral("set_spread_sheet12"));
                return false;
            }
            SimpleEntryRow row;
            row.KOCODE = rs.text(QStringLiteral("KOCODE"));
            row.KANNAME = rs.text(QStringLiteral("KANNAME")).trimmed();
            row.KMCODE = rs.text(QStringLiteral("KMCODE"));
            row.AICODE = rs.text(QStringLiteral("AICODE"));
            row.TAIKBN = rs.text(QStringLiteral("TAIKBN"));
            row.amount = amounts.value(row.KOCODE);
            const auto description = descriptions.value(row.KOCODE);
            row.TECODE = description.first;
            row.description = description.second;
            rows.append(row);
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("set_spread_sheet12"));
        return false;
    }
}

bool DailyEntry::loadTransferLines() {
    try {
        QHash<QString, QString> patternTexts;
        for (const QString& pattern : patternList_) {
            QString name;
            patternTexts.insert(splitAtBlank(pattern, name), pattern);
        }
        for (RecordSet rs = Database::global().query(
                 // "+" keeps the planner on the day index instead of walking the set's lines
                 // in voucher order.
                 QStringLiteral("SELECT * FROM T_SI_MEISAI WHERE CID = ? AND SIDAY = ? AND SISYU "
                                "= '1' ORDER BY +DENCODE, +DENMENO"),
                 {session().CurrentCid, dateBox_});
             !rs.eof(); rs.moveNext()) {
            TransferEntryRow row;
            const QString ptcode = rs.text(QStringLiteral("ptcode"));
            row.pattern = ptcode.isEmpty() ? QString() : patternTexts.value(ptcode);
            row.debitKocode = rs.text(QStringLiteral("KRKOCODE"));
            row.creditKocode = rs.text(QStringLiteral("KSKOCODE"));
            row.debit = chart_.accountText(row.debitKocode);
            row.credit = chart_.accountText(row.creditKocode);
            row.debitSubList = chart_.subsidiaryList(row.debit);
            row.creditSubList = chart_.subsidiaryList(row.credit);
            if (!row.debitSubList.isEmpty()) {
                row.debitSub =
                    chart_.subsidiaryText(row.debitKocode, rs.text(QStringLiteral("KRHOKOCODE")));
            }
            if (!row.creditSubList.isEmpty()) {
                row.creditSub =
                    chart_.subsidiaryText(row.creditKocode, rs.text(QStringLiteral("KSHOKOCODE")));
            }
            row.amount = rs.money(QStringLiteral("KRKIN"));
            row.description = rs.text(QStringLiteral("TEKIYO"));
            transfer_.append(row);
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("set_start_spread"));
        return false;
    }
}
