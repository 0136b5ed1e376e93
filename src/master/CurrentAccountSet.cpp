#include "master/CurrentAccountSet.h"

#include "common/DateHelpers.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "db/RowWriters.h"
#include "totals/MonthFlags.h"

QString periodLabelFor(const QString& gkbn, const QString& nendosu, const QString& kisyu) {
    if (gkbn.trimmed() == u"1") {
        return QStringLiteral("第 ") + nendosu.trimmed() + QStringLiteral(" 期");
    }
    return kisyu.left(4) + QStringLiteral("年度");
}

QString monthListLabel(const QString& month) {
    return month.left(4) + u'年' + QString::number(month.mid(5, 2).toInt()) + u'月';
}

bool SetDayInputData(const QString& first, const QString& last) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    try {
        const QVariant earliest = db.scalar(
            QStringLiteral("SELECT INYM FROM T_DAY_INPUT WHERE CID = ? ORDER BY INYM"), {cid});
        if (!earliest.isNull() && earliest.toString().trimmed() == first) {
            return true;
        }
        db.execute(QStringLiteral("DELETE FROM T_DAY_INPUT WHERE CID = ?"), {cid});
        QString month = first;
        for (int round = 0; round < 12; ++round) {
            if (!WriteDayInputTable({cid, month, monthListLabel(month)},
                                    QStringLiteral("T_DAY_INPUT"))) {
                break;
            }
            month = addMonths(month, 1);
            if (month > last) {
                break;
            }
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("SetDayInputData"));
        return false;
    }
}

bool ResetCompanyData() {
    Database& db = Database::global();
    Session& s = session();
    try {
        db.execute(QStringLiteral("DELETE FROM WK_COMPANY"));
        db.execute(QStringLiteral("INSERT INTO WK_COMPANY SELECT * FROM T_COMP_MAIN WHERE CID = ?"),
                   {s.CurrentCid});
        RecordSet rs =
            db.query(QStringLiteral("SELECT KISYU, KIMATU, NENDOSU, GKBN FROM WK_COMPANY"));
        if (!rs.eof()) {
            const QString kisyu = rs.text(QStringLiteral("KISYU"));
            const QString kimatu = rs.text(QStringLiteral("KIMATU"));
            s.PeriodLabel = periodLabelFor(rs.text(QStringLiteral("GKBN")),
                                           rs.text(QStringLiteral("NENDOSU")), kisyu);
            rs.close();
            if (!SetDayInputData(kisyu.left(7), kimatu.left(7)) ||
                !SetTukisimeData(kisyu.left(7), kimatu.left(7))) {
                return false;
            }
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("ResetCompanyData"));
        return false;
    }
}

namespace {

const QString kChartColumns = QStringLiteral(
    "KOCODE, KMCODE, KNBUN, KANNAME, SYORIKBN, TAIKBN, TOCODE, BUNCODE, NOCNG, BUMONSET, HOJOSET, "
    "HOSETNO, SIYOU, PCODE1, PCODE2, PCODE3, KAIPAGE, KISYUZAN, AICODE, DAIBUN, TYUBUN, SYOBUN, "
    "JUN, KISYUMKBN");
const QString kPerSetColumns = QStringLiteral(
    "CID, KOCODE, KMCODE, KANNAME, KISYUZAN, JUN, SIYOU, AICODE, HOJOSET, KISYUMKBN");

void loadTemplateChart(Database& db, const QString& cid) {
    db.execute(QStringLiteral("DELETE FROM T_KANJO"));
    db.execute(
        QStringLiteral("INSERT INTO T_KANJO( %1 ) SELECT %1 FROM MT_KANJO").arg(kChartColumns));
    db.execute(QStringLiteral("UPDATE MT_KANJO SET CID = ?"), {cid});
    db.execute(
        QStringLiteral("INSERT INTO T_KISYUZAN( %1 ) SELECT %1 FROM MT_KANJO").arg(kPerSetColumns));
}

void overlaySetValues(Database& db, RecordSet& rs) {
    const QString update = QStringLiteral(
        "UPDATE T_KANJO SET KMCODE = ?, KANNAME = ?, KISYUZAN = ?, JUN = ?, SIYOU = ?, "
        "AICODE = ?, HOJOSET = ?, KISYUMKBN = ? WHERE KOCODE = ?");
    for (; !rs.eof(); rs.moveNext()) {
        db.execute(update,
                   {rs.text(QStringLiteral("KMCODE")), rs.text(QStringLiteral("KANNAME")),
                    rs.money(QStringLiteral("KISYUZAN")).toDb(), rs.number(QStringLiteral("JUN")),
                    rs.text(QStringLiteral("SIYOU")), rs.text(QStringLiteral("AICODE")),
                    rs.text(QStringLiteral("HOJOSET")), rs.text(QStringLiteral("KISYUMKBN")),
                    rs.text(QStringLiteral("KOCODE"))});
    }
}

}  // namespace

void change_kanjo_data(bool& ok) {
    ok = false;
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    try {
        RecordSet rs = db.query(QStringLiteral("SELECT * FROM T_KISYUZAN WHERE CID = ?"), {cid});
        if (rs.eof()) {
            rs.close();
            loadTemplateChart(db, cid);
        } else {
            overlaySetValues(db, rs);
        }
        ok = true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("change_kanjo_data"));
    }
}
