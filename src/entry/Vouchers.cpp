#include "entry/Vouchers.h"

#include <QDate>

#include "common/Clock.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "entry/VoucherRange.h"
#include "totals/DayBalances.h"

namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");

QString queryColumnFor(const QString& column) {
    if (column == u"DENCODE" || column == u"DENNO" || column == u"DENDAY") {
        return column;
    }
    return {};
}

void insertVoucher(const QString& code, const QString& day, Money balance, double rate) {
    Database::global().execute(
        QStringLiteral("INSERT INTO T_SIWAKE (CID, DENCODE, DENNO, DENDAY, SYORIDAY, KESSAN, "
                       "YDAYZAN, DAYZAN, RATE) VALUES (?, ?, ?, ?, ?, '0', ?, ?, ?)"),
        {session().CurrentCid, code, code, day, Clock::todayText(), balance.toDb(), balance.toDb(),
         rate});
}

}  // namespace

QString voucherCode(int number) {
    return QStringLiteral("%1").arg(number, 5, 10, QLatin1Char('0'));
}

int get_siwake_MaxNo() {
    try {
        const QVariant max = Database::global().scalar(
            QStringLiteral("SELECT MAX(DENCODE) AS BANGOU FROM T_SIWAKE WHERE CID = ?"),
            {session().CurrentCid});
        return max.isNull() ? 0 : max.toString().toInt();
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("get_siwake_MaxNo"));
        return 0;
    }
}

int get_siwake_meisai_MaxNo(const QString& dencode) {
    try {
        const QVariant max = Database::global().scalar(
            QStringLiteral("SELECT MAX(DENMENO) AS BANGOU FROM T_SI_MEISAI WHERE CID = ? AND "
                           "DENCODE = ?"),
            {session().CurrentCid, dencode});
        return max.isNull() ? 0 : max.toString().toInt();
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("get_siwake_meisai_MaxNo"));
        return 0;
    }
}

VoucherLookup get_siwake_data(const QString& column, const QString& value, Voucher& voucher) {
    voucher = Voucher();
    const QString key = queryColumnFor(column);
    if (key.isEmpty()) {
        return VoucherLookup::Missing;
    }
    try {
        RecordSet rs = Database::global().query(
            QStringLiteral("SELECT DENCODE, DENDAY, DENNO, YDAYZAN, DAYZAN, RATE FROM T_SIWAKE "
                           "WHERE %1 = ? AND CID = ? ORDER BY +DENCODE LIMIT 1")
                .arg(key),
            {value, session().CurrentCid});
        if (rs.eof()) {
            return VoucherLookup::Missing;
        }
        Voucher found;
        found.DENCODE = rs.text(QStringLiteral("DENCODE"));
        found.DENDAY = rs.text(QStringLiteral("DENDAY"));
        found.DENNO = rs.text(QStringLiteral("DENNO"));
        found.YDAYZAN = rs.money(QStringLiteral("YDAYZAN"));
        found.DAYZAN = rs.money(QStringLiteral("DAYZAN"));
        found.RATE = rs.real(QStringLiteral("RATE"));
        voucher = found;
        return VoucherLookup::Found;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("get_siwake_data"));
        return VoucherLookup::Failed;
    }
}

bool make_new_siwake_data() {
    Database& db = Database::global();
    try {
        RecordSet period = db.query(QStringLiteral("SELECT KISYU, SIINLDAY FROM WK_COMPANY"));
        const QString kisyu = period.eof() ? QString() : period.text(QStringLiteral("KISYU"));
        const QString lastInputDay =
            period.eof() ? QString() : period.text(QStringLiteral("SIINLDAY"));
        period.close();

        if (get_siwake_MaxNo() == 0) {
            Money opening;
            double rate = 0.0;
            if (!get_Kisyuzan(opening, rate)) {
                return false;
            }
            insertVoucher(voucherCode(1), kisyu, opening, rate);
        }

        Voucher last;
        const QString lastCode = voucherCode(get_siwake_MaxNo());
        const VoucherLookup lastFound = get_siwake_data(QStringLiteral("DENNO"), lastCode, last);
        if (lastFound == VoucherLookup::Failed) {
            return false;
        }
        if (lastFound == VoucherLookup::Missing) {
            return GetMinMaxSiwakeDenCode();
        }
        QString target = Clock::todayText();
        if (!lastInputDay.isEmpty() && lastInputDay < target) {
            target = lastInputDay;
        }
        const QDate lastDay = QDate::fromString(last.DENDAY, kDateFormat);
        const QDate targetDay = QDate::fromString(target, kDateFormat);
        if (target != last.DENDAY && lastDay.isValid() && targetDay.isValid()) {
            const qint64 days = lastDay.daysTo(targetDay);
            int code = last.DENCODE.toInt();
            for (qint64 i = 1; i <= days; ++i) {
                insertVoucher(voucherCode(++code), lastDay.addDays(i).toString(kDateFormat),
                              last.DAYZAN, 0.0);
            }
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("make_new_siwake_data"));
        return false;
    }
    return GetMinMaxSiwakeDenCode();
}

bool update_next_zandaka(const QString& day) {
    // Even on today's voucher the later days are looked for: after the clock was set back, days
    // beyond today exist and must follow.
    const QDate date = QDate::fromString(day, kDateFormat);
    Voucher current;
    const VoucherLookup currentFound = get_siwake_data(QStringLiteral("DENDAY"), day, current);
    if (currentFound != VoucherLookup::Found) {
        return currentFound == VoucherLookup::Missing;
    }
    Voucher next;
    const QString nextDay = date.addDays(1).toString(kDateFormat);
    if (get_siwake_data(QStringLiteral("DENDAY"), nextDay, next) == VoucherLookup::Failed) {
        return false;
    }
    return UpdateSiwakeZandaka(nextDay, current.DAYZAN - next.YDAYZAN,
                               QStringLiteral("InpKantanSiwake"));
}
