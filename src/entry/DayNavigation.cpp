#include <QDate>

#include "common/Clock.h"
#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "entry/DailyEntry.h"
#include "totals/MonthFlags.h"

namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");

QString shiftDay(const QString& day, int days) {
    return QDate::fromString(day, kDateFormat).addDays(days).toString(kDateFormat);
}

void sayInThePast() {
    messages().exclamation(QStringLiteral("选择的日期是过去时，数据不存在。"));
}

void sayInTheFuture() {
    messages().exclamation(QStringLiteral("选择的日期是将来时，数据不存在。"));
}

}  // namespace

bool DailyEntry::set_siwake_day() {
    if (!check_SyoriNen()) {
        return false;
    }
    Voucher found;
    const VoucherLookup lookup = get_siwake_data(QStringLiteral("DENDAY"), dateBox_, found);
    if (lookup != VoucherLookup::Found) {
        // A failed lookup has been reported already.
        if (lookup == VoucherLookup::Missing) {
            messages().exclamation(QStringLiteral("符合日期的数据不存在。"));
        }
        return false;
    }
    const Session& s = session();
    if (found.DENCODE < s.MinDencode || found.DENCODE > s.MaxDencode) {
        messages().exclamation(QStringLiteral("选择范围内没有数据。") + Messages::kCrLf +
                               QStringLiteral("请确认选择范围是否合适。"));
        return false;
    }
    host_.setBusy(true);
    showVoucher(found);
    dirty_ = false;
    const bool ok = set_start_spread() && set_day_gokei();
    host_.setBusy(false);
    if (ok) {
        sayReadOnly();
    }
    return ok;
}

bool DailyEntry::askToLeaveDay() {
    return !(check_henko() && dirty_) ||
           messages().askYesNo(QStringLiteral("编辑过程中的数据还未确定，是要变更日期吗？"),
                               MsgAnswer::Yes, MsgIcon::Exclamation) == MsgAnswer::Yes;
}

bool DailyEntry::firstVoucherDay(QString& day, const QString& routine) {
    try {
        day = Database::global()
                  .scalar(QStringLiteral("SELECT DENDAY FROM T_SIWAKE WHERE DENNO = ? AND CID = ? "
                                         "ORDER BY DENCODE LIMIT 1"),
                          {QStringLiteral("00001"), session().CurrentCid})
                  .toString();
        return true;
    } catch (const DbError& error) {
        reportError(error, routine);
        return false;
    }
}

bool DailyEntry::cmdZenjitu_Click() {
    if (!askToLeaveDay()) {
        return false;
    }
    const QString before = dateBox_;
    dateBox_ = shiftDay(dateBox_, -1);
    QString firstDay;
    bool moved = false;
    if (firstVoucherDay(firstDay, QStringLiteral("cmdZenjitu_Click"))) {
        if (dateBox_ < firstDay) {
            sayInThePast();
        } else {
            moved = set_siwake_day();
        }
    }
    if (!moved) {
        dateBox_ = before;
    }
    return moved;
}

bool DailyEntry::cmdYokujitu_Click() {
    const QString next = shiftDay(dateBox_, 1);
    if (next > Clock::todayText()) {
        sayInTheFuture();
        return false;
    }
    if (!askToLeaveDay()) {
        return false;
    }
    dateBox_ = next;
    if (!set_siwake_day()) {
        dateBox_ = voucher_.DENDAY;
        return false;
    }
    return true;
}

bool DailyEntry::txtSyoriNen_LostFocus() {
    if (dateBox_ == voucher_.DENDAY) {
        host_.focusIncomeGrid();
        return true;
    }
    const auto restore = [this] {
        dateBox_ = voucher_.DENDAY;
        return false;
    };
    if (!checkDateText() || !askToLeaveDay()) {
        return restore();
    }
    if (dateBox_ > Clock::todayText()) {
        sayInTheFuture();
        return restore();
    }
    QString firstDay;
    if (!firstVoucherDay(firstDay, QStringLiteral("txtSyoriNen_LostFocus"))) {
        return restore();
    }
    if (dateBox_ < firstDay) {
        sayInThePast();
        return restore();
    }
    const bool moved = set_siwake_day();
    if (!moved) {
        restore();
    }
    host_.focusIncomeGrid();
    return moved;
}

bool DailyEntry::cmdDelete_Click() {
    if (sayReadOnly()) {
        return false;
    }
    Database& db = Database::global();
    const QString& cid = session().CurrentCid;
    try {
        if (!db.scalar(QStringLiteral("SELECT DENCODE FROM T_SI_MEISAI WHERE DENCODE = ? AND "
                                      "CID = ? LIMIT 1"),
                       {voucher_.DENCODE, cid})
                 .isValid()) {
            messages().exclamation(QStringLiteral("这个凭证不存在。"));
            return false;
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdDelete_Click"));
        return false;
    }
    const QString question =
        QStringLiteral("单击“确定”后，此日的数据就被全部删除。") + Messages::kCrLf +
        QStringLiteral("要想删除汇总分类数据，请单击汇总分类数据所在行最左边的“D”。") +
        Messages::kCrLf + Messages::kCrLf + QStringLiteral("是要删除此日的数据吗？");
    if (messages().askOkCancel(question, MsgAnswer::Cancel, MsgIcon::Exclamation) !=
        MsgAnswer::Ok) {
        return false;
    }
    return deleteDay();
}

bool DailyEntry::deleteDay() {
    Database& db = Database::global();
    const QString& cid = session().CurrentCid;
    const Voucher before = voucher_;
    const double rateBefore = rate_;
    try {
        TransactionGuard transaction(db);
        db.execute(QStringLiteral("DELETE FROM T_SI_MEISAI WHERE DENCODE = ? AND CID = ?"),
                   {voucher_.DENCODE, cid});
        db.execute(QStringLiteral("UPDATE T_SIWAKE SET KESSAN = '0', DAYZAN = ?, RATE = 0 WHERE "
                                  "DENCODE = ? AND CID = ?"),
                   {previousBalance_.toDb(), voucher_.DENCODE, cid});
        rate_ = 0.0;
        voucher_.DAYZAN = previousBalance_;
        voucher_.RATE = 0.0;
        bool ok = update_next_zandaka(voucher_.DENDAY);
        if (ok) {
            db.execute(QStringLiteral("UPDATE T_DAY_TORAN SET KIN%1 = 0 WHERE CID = ? AND DATEYM "
                                      "= ?")
                           .arg(dateBox_.mid(8, 2).toInt()),
                       {cid, dateBox_.left(7)});
            const QString month = voucher_.DENDAY.left(7);
            ok = set_start_spread() && set_day_gokei() && MarkMonthsStale(month, month);
        }
        if (ok) {
            transaction.commit();
            dirty_ = false;
            return true;
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdDelete_Click"));
    }
    // The day stays as it was, on screen as in the database.
    voucher_ = before;
    rate_ = rateBefore;
    set_start_spread();
    set_day_gokei();
    return false;
}
