#include <QRegularExpression>

#include "common/DateHelpers.h"
#include "common/Messages.h"
#include "common/SavedBooks.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "entry/DailyEntry.h"
#include "totals/MonthFlags.h"

namespace {

const QString kErrorTitle = QStringLiteral("错误");

// A cell counts as filled in when its text starts with a number other than zero, as an account
// or subsidiary text ("101 现金") or an amount does; a bare description does not.
bool leadsWithNonZeroNumber(const QString& text) {
    static const QRegularExpression leadingNumber(QStringLiteral("^\\s*[+-]?(\\d*)(?:\\.(\\d*))?"));
    const QRegularExpressionMatch match = leadingNumber.match(text);
    const QString digits = match.captured(1) + match.captured(2);
    return digits.contains(QRegularExpression(QStringLiteral("[1-9]")));
}

bool hasContent(const TransferEntryRow& row) {
    if (!row.amount.isZero()) {
        return true;
    }
    for (const QString* cell :
         {&row.pattern, &row.debit, &row.credit, &row.debitSub, &row.creditSub, &row.description}) {
        if (!cell->isEmpty() && leadsWithNonZeroNumber(*cell)) {
            return true;
        }
    }
    return false;
}

QString codeOf(const QString& text) {
    QString rest;
    return splitAtBlank(text, rest);
}

struct LineSides {
    QString debit;
    QString debitSub;
    QString credit;
    QString creditSub;
};

// Text columns are NOT NULL: an empty cell is stored as "".
QVariant textValue(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

// One voucher line with the fixed columns every line of the daily entry screen carries.
void insertLine(const QString& dencode, int number, const QString& day, bool transfer,
                const LineSides& sides, Money amount, const QString& tecode, const QString& tekiyo,
                const QString& ptcode) {
    const QString kind = transfer ? QStringLiteral("1") : QStringLiteral("0");
    const QString tkbn = transfer ? QStringLiteral("5") : QStringLiteral("1");
    const QString tritu = transfer ? QStringLiteral("0") : QStringLiteral("1");
    const QVariant money = amount.toDb();
    Database::global().execute(
        QStringLiteral(
            "INSERT INTO T_SI_MEISAI (DENCODE, DENMENO, CID, SIDAY, DATEYM, SISYU, KRKOCODE, "
            "KRHOKOCODE, KRBUKBN, KRTKBN, KRTKOCODE, KRTRITU, KRTKINNO, KRKIN, KRTKIN, KRAICODE, "
            "KRAIHOCODE, KSKOCODE, KSHOKOCODE, KSBUKBN, KSTKBN, KSTKOCODE, KSTRITU, KSTKINNO, "
            "KSKIN, KSTKIN, KSAICODE, KSAIHOCODE, TECODE, TEKIYO, ptcode) VALUES (?, ?, ?, ?, ?, "
            "?, ?, ?, '00', ?, '000', ?, 0, ?, ?, ?, ?, ?, ?, '00', ?, '000', ?, 0, ?, ?, ?, ?, "
            "?, ?, ?)"),
        {dencode,
         QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')),
         session().CurrentCid,
         day,
         day.left(7),
         kind,
         textValue(sides.debit),
         textValue(sides.debitSub),
         tkbn,
         tritu,
         money,
         money,
         textValue(sides.credit),
         textValue(sides.creditSub),
         textValue(sides.credit),
         textValue(sides.creditSub),
         tkbn,
         tritu,
         money,
         money,
         textValue(sides.debit),
         textValue(sides.debitSub),
         textValue(tecode),
         textValue(tekiyo),
         textValue(ptcode)});
}

}  // namespace

bool DailyEntry::check_spread_data() {
    Money debitClearing;
    Money creditClearing;
    for (const TransferEntryRow& row : transfer_) {
        const bool content = hasContent(row);
        const QString debit = row.debit.trimmed();
        const QString credit = row.credit.trimmed();
        if (debit.isEmpty() && content) {
            messages().exclamation(QStringLiteral("未选择借方科目。"), kErrorTitle);
            return false;
        }
        if (codeOf(debit).startsWith(u"999")) {
            debitClearing += row.amount;
        }
        if (credit.isEmpty() && content) {
            messages().exclamation(QStringLiteral("未选择贷方科目。"), kErrorTitle);
            return false;
        }
        if (codeOf(credit).startsWith(u"999")) {
            creditClearing += row.amount;
        }
        if (row.amount.isZero() && content) {
            messages().exclamation(QStringLiteral("请输入金额。"));
            return false;
        }
        // An account text the chart no longer knows would be saved without its account.
        if (!debit.isEmpty() && row.debitKocode.isEmpty()) {
            messages().exclamation(QStringLiteral("借方科目名称未被录入。"), kErrorTitle);
            return false;
        }
        if (!debit.isEmpty() && !credit.isEmpty() && row.creditKocode.isEmpty()) {
            messages().exclamation(QStringLiteral("贷方科目名称未被录入。"), kErrorTitle);
            return false;
        }
    }
    if (debitClearing != creditClearing) {
        messages().exclamation(QStringLiteral("请输入各个分类的借贷金额，使其差值为0。"));
        return false;
    }
    return true;
}

bool DailyEntry::writeDayToran(EntryGrid grid) {
    Database& db = Database::global();
    const QString& cid = session().CurrentCid;
    const QString month = dateBox_.left(7);
    const QString column = QStringLiteral("KIN%1").arg(dateBox_.mid(8, 2).toInt());
    const QString insert = QStringLiteral(
                               "INSERT INTO T_DAY_TORAN (CID, KOCODE, DATEYM, KMCODE, %1) VALUES "
                               "(?, ?, ?, ?, ?)")
                               .arg(column);
    const QString update =
        QStringLiteral("UPDATE T_DAY_TORAN SET %1 = ? WHERE KOCODE = ? AND DATEYM = ? AND CID = ?")
            .arg(column);
    try {
        for (const SimpleEntryRow& row : rows(grid)) {
            const QVariant amount = row.amount.toDb();
            if (!db.tryExecute(insert, {cid, row.KOCODE, month, row.KMCODE, amount})) {
                db.execute(update, {amount, row.KOCODE, month, cid});
            }
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("write_day_toran_data"));
        return false;
    }
}

bool DailyEntry::writeSimpleLines(EntryGrid grid, int& lineNumber) {
    try {
        for (const SimpleEntryRow& row : rows(grid)) {
            if (row.amount.isZero() || row.TAIKBN.trimmed().isEmpty()) {
                continue;
            }
            // A debit-natured account is paid out of its counter-account; any other is received.
            const bool debitNatured = row.TAIKBN.trimmed() == u"0";
            LineSides sides;
            sides.debit = debitNatured ? row.KOCODE : row.AICODE;
            sides.credit = debitNatured ? row.AICODE : row.KOCODE;
            insertLine(voucher_.DENCODE, ++lineNumber, dateBox_, false, sides, row.amount,
                       row.TECODE, row.description, QString());
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("write_siwake_meisai_data12"));
        return false;
    }
}

bool DailyEntry::writeTransferLines(int& lineNumber) {
    try {
        for (const TransferEntryRow& row : transfer_) {
            if (row.debit.trimmed().isEmpty()) {
                continue;
            }
            LineSides sides;
            sides.debit = row.debitKocode;
            sides.credit = row.creditKocode;
            if (!row.debitSub.isEmpty()) {
                sides.debitSub = chart_.subsidiaryKey(sides.debit, codeOf(row.debitSub));
            }
            if (!row.creditSub.isEmpty()) {
                sides.creditSub = chart_.subsidiaryKey(sides.credit, codeOf(row.creditSub));
            }
            // A registered description also stores its number.
            const QString tecode = descriptionNumbers_.value(row.description.trimmed());
            insertLine(voucher_.DENCODE, ++lineNumber, dateBox_, true, sides, row.amount, tecode,
                       row.description, row.pattern.isEmpty() ? QString() : codeOf(row.pattern));
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("write_siwake_meisai_data3"));
        return false;
    }
}

bool DailyEntry::cmdTouroku_Click() {
    // A date typed but not yet left first moves to that day, as leaving the box does; the
    // grids shown belong to the voucher, so nothing is saved on this click.
    if (dateBox_ != voucher_.DENDAY) {
        txtSyoriNen_LostFocus();
        return false;
    }
    if (sayReadOnly()) {
        return false;
    }
    if (!check_SyoriNen()) {
        host_.focusDateBox();
        return false;
    }
    if (rateVisible_ && rate_ == 0.0) {
        messages().exclamation(QStringLiteral("汇率未输入。"));
        host_.focusRate();
        return false;
    }
    if (!check_spread_data()) {
        return false;
    }
    host_.setBusy(true);
    const bool saved = saveDay();
    host_.setBusy(false);
    if (!saved) {
        return false;
    }
    messages().exclamation(QStringLiteral("数据保存成功。"));
    host_.focusDateBox();
    dirty_ = false;
    return true;
}

bool DailyEntry::saveDay() {
    Database& db = Database::global();
    try {
        TransactionGuard transaction(db);
        if (!writeDayToran(EntryGrid::Income) || !writeDayToran(EntryGrid::Expense)) {
            return false;
        }
        db.execute(QStringLiteral("DELETE FROM T_SI_MEISAI WHERE DENCODE = ? AND CID = ?"),
                   {voucher_.DENCODE, session().CurrentCid});
        int lineNumber = get_siwake_meisai_MaxNo(voucher_.DENCODE);
        if (!writeSimpleLines(EntryGrid::Income, lineNumber) ||
            !writeSimpleLines(EntryGrid::Expense, lineNumber) || !writeTransferLines(lineNumber)) {
            return false;
        }
        db.execute(QStringLiteral("UPDATE T_SIWAKE SET KESSAN = '1', DAYZAN = ?, RATE = ? WHERE "
                                  "CID = ? AND DENCODE = ?"),
                   {totals_.closing.toDb(), rate_, session().CurrentCid, voucher_.DENCODE});
        if (!update_next_zandaka(voucher_.DENDAY)) {
            return false;
        }
        const QString month = voucher_.DENDAY.left(7);
        if (!MarkMonthsStale(month, month)) {
            return false;
        }
        transaction.commit();
        voucher_.DAYZAN = totals_.closing;
        voucher_.RATE = rate_;
        SavedBooks::notify(session().CurrentCid);
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdTouroku_Click"));
        return false;
    }
}
