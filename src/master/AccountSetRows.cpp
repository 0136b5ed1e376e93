#include "master/AccountSetRows.h"

#include <QVariantList>

#include "common/DateHelpers.h"
#include "db/Database.h"

namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");

// The tables that hold rows of one set besides T_COMP_MAIN, emptied in this order on delete.
const QStringList kSetTables = {
    QStringLiteral("T_HOJOKAMOKU"), QStringLiteral("T_KISYUZAN"), QStringLiteral("T_DAY_INPUT"),
    QStringLiteral("T_DAY_TORAN"),  QStringLiteral("T_SIWAKE"),   QStringLiteral("T_SI_MEISAI"),
    QStringLiteral("T_SI_PATTERN"), QStringLiteral("T_TEKIYO"),   QStringLiteral("T_TUKIKAN"),
    QStringLiteral("T_TUKIHOJO"),   QStringLiteral("T_TUKISIME"), QStringLiteral("T_TUKISIMECHECK"),
};

QString dateText(const QDate& date) {
    return date.toString(kDateFormat);
}

// An empty box is stored as "", never as NULL.
QVariant textValue(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

// A number box: empty counts as 0; anything else must be a whole number.
qlonglong wholeNumber(const QString& text, const QString& column) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return 0;
    }
    bool ok = false;
    const qlonglong n = trimmed.toLongLong(&ok);
    if (!ok) {
        throw DbError(DbError::kInvalidValue,
                      QStringLiteral("%1 不能写入“%2”。").arg(column, trimmed));
    }
    return n;
}

QString flag(bool set) {
    return set ? QStringLiteral("1") : QStringLiteral("0");
}

// The columns every save derives from the two period dates.
struct PeriodColumns {
    QString kisyu, kimatu, pkisyu, pkimatu, kisyum, siinlday;
};

PeriodColumns periodColumns(const AccountSetFields& f) {
    const QString kisyu = typedDateNormalise(f.txtKisyubi);
    const QString kimatu = typedDateNormalise(f.txtKimatubi);
    return {kisyu,
            kimatu,
            periodText(kisyu),
            periodText(kimatu),
            kisyu.left(7),
            dateText(accountSetDate(kimatu).addMonths(3))};
}

}  // namespace

QDate accountSetDate(const QString& text) {
    const QString normal = typedDateNormalise(text);
    return normal.isEmpty() ? QDate() : QDate::fromString(normal, kDateFormat);
}

QDate fullYearEnd(const QDate& start) {
    return start.addYears(1).addDays(-1);
}

QString periodText(const QString& date) {
    return date.left(4) + u'年' + date.mid(5, 2) + u'月' + date.mid(8, 2) + u'日';
}

QStringList companyRowValues(const AccountSetFields& f, const QString& cid) {
    using F = AccountSetFields;
    const PeriodColumns p = periodColumns(f);
    return {cid, f.txtKaisyaName, f.txtKaisyaFurigana, f.txtYubin, f.txtTodohuken, f.txtJyusho1,
            f.txtJyusho2, f.txtTel, f.txtFax, f.txtDaihyoYakusyoku,
            // The representative's name goes into TNAME and TFKN alike.
            f.txtDaihyoName, f.txtDaihyoName, flag(f.period == F::Period::Kichu), p.kisyu, p.kimatu,
            flag(f.owner == F::Owner::Hojin), QString(), flag(f.rateUse == F::RateUse::Yes),
            f.txtKaikeiNendo, p.pkisyu, p.pkimatu, p.kisyum, f.txtSeturituNen, f.txtShihonkin,
            p.siinlday, QStringLiteral("004"), QString::number(f.numRate, 'g', 15)};
}

void updateCompanyRow(const AccountSetFields& f, const QString& cid) {
    using F = AccountSetFields;
    const PeriodColumns p = periodColumns(f);
    Database::global().execute(
        QStringLiteral("UPDATE T_COMP_MAIN SET CFKN = ?, COMPANY = ?, ZIP = ?, ADRSTDHK = ?, "
                       "ADRS1 = ?, ADRS2 = ?, TEL = ?, TFKN = ?, FAX = ?, TNAME = ?, TYAKU = ?, "
                       "SETURITU = ?, SIHON = ?, NENDOSU = ?, KISYU = ?, KIMATU = ?, PKISYU = ?, "
                       "PKIMATU = ?, KISYUM = ?, SIINLDAY = ?, NOMAL = ?, GKBN = ?, KANCNG = ?, "
                       "AICODE = '004', RATE = ? WHERE CID = ?"),
        {textValue(f.txtKaisyaFurigana),
         textValue(f.txtKaisyaName),
         textValue(f.txtYubin),
         textValue(f.txtTodohuken),
         textValue(f.txtJyusho1),
         textValue(f.txtJyusho2),
         textValue(f.txtTel),
         textValue(f.txtDaihyoName),
         textValue(f.txtFax),
         textValue(f.txtDaihyoName),
         textValue(f.txtDaihyoYakusyoku),
         textValue(typedDateNormalise(f.txtSeturituNen)),
         wholeNumber(f.txtShihonkin, QStringLiteral("SIHON")),
         wholeNumber(f.txtKaikeiNendo, QStringLiteral("NENDOSU")),
         p.kisyu,
         p.kimatu,
         p.pkisyu,
         p.pkimatu,
         p.kisyum,
         p.siinlday,
         flag(f.period == F::Period::Kichu),
         flag(f.owner == F::Owner::Hojin),
         flag(f.rateUse == F::RateUse::Yes),
         f.numRate,
         cid});
}

AccountSetFields companyRowFields(const RecordSet& rs) {
    using F = AccountSetFields;
    const auto text = [&rs](const char* column) { return rs.text(QLatin1String(column)); };
    F f;
    f.txtKaisyaName = text("COMPANY");
    f.txtKaisyaFurigana = text("CFKN");
    f.txtYubin = text("ZIP");
    f.txtTodohuken = text("ADRSTDHK");
    f.txtJyusho1 = text("ADRS1");
    f.txtJyusho2 = text("ADRS2");
    f.txtTel = text("TEL");
    f.txtFax = text("FAX");
    f.txtDaihyoYakusyoku = text("TYAKU");
    f.txtDaihyoName = text("TNAME");
    f.txtKaikeiNendo = QString::number(rs.number(QStringLiteral("NENDOSU")));
    f.txtKisyubi = text("KISYU").trimmed();
    f.txtKimatubi = text("KIMATU").trimmed();
    f.txtSeturituNen = text("SETURITU").trimmed();
    f.txtShihonkin = QString::number(rs.number(QStringLiteral("SIHON")));
    f.period = text("NOMAL").trimmed() == u"1" ? F::Period::Kichu : F::Period::Tujo;
    f.owner = text("GKBN").trimmed() == u"1" ? F::Owner::Hojin : F::Owner::Kojin;
    f.rateUse = text("KANCNG").trimmed() == u"1" ? F::RateUse::Yes : F::RateUse::No;
    f.numRate = rs.real(QStringLiteral("RATE"));
    return f;
}

void deleteAccountSetRows(const QString& cid) {
    Database& db = Database::global();
    db.execute(QStringLiteral("DELETE FROM T_COMP_MAIN WHERE CID = ?"), {cid});
    db.execute(QStringLiteral("DELETE FROM WK_COMPANY"));
    for (const QString& table : kSetTables) {
        db.execute(QStringLiteral("DELETE FROM %1 WHERE CID = ?").arg(table), {cid});
    }
}
