#include <vector>

#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "totals/TotalsInternal.h"

// Cumulative amounts: the sum of every row from the opening month through a month, so they
// start from the opening balance.

namespace {

struct Cumulative {
    QString kankocode;
    QString hocode;
    Money kr;
    Money ks;
};

std::vector<Cumulative> accountSumsThrough(const QString& cid, const QString& month) {
    std::vector<Cumulative> sums;
    RecordSet rs = Database::global().query(
        QStringLiteral("SELECT KANKOCODE, SUM(KRTOTAL) AS KR_TOTAL, SUM(KSTOTAL) AS KS_TOTAL "
                       "FROM T_TUKIKAN WHERE CID = ? AND DATEYM <= ? GROUP BY KANKOCODE"),
        {cid, month});
    for (; !rs.eof(); rs.moveNext()) {
        sums.push_back({rs.text(QStringLiteral("KANKOCODE")), QString(),
                        rs.money(QStringLiteral("KR_TOTAL")),
                        rs.money(QStringLiteral("KS_TOTAL"))});
    }
    return sums;
}

std::vector<Cumulative> subsidiarySumsThrough(const QString& cid, const QString& month) {
    std::vector<Cumulative> sums;
    RecordSet rs = Database::global().query(
        QStringLiteral("SELECT KANKOCODE, HOCODE, SUM(KRTOTAL) AS KR_TOTAL, SUM(KSTOTAL) AS "
                       "KS_TOTAL FROM T_TUKIHOJO WHERE CID = ? AND DATEYM <= ? GROUP BY "
                       "KANKOCODE, HOCODE"),
        {cid, month});
    for (; !rs.eof(); rs.moveNext()) {
        sums.push_back({rs.text(QStringLiteral("KANKOCODE")), rs.text(QStringLiteral("HOCODE")),
                        rs.money(QStringLiteral("KR_TOTAL")),
                        rs.money(QStringLiteral("KS_TOTAL"))});
    }
    return sums;
}

void updateAccount(const QString& cid, const Cumulative& sum, const QString& month) {
    Database::global().execute(
        QStringLiteral("UPDATE T_TUKIKAN SET KRRUI = ?, KSRUI = ? WHERE CID = ? AND KANKOCODE = "
                       "? AND DATEYM = ?"),
        {sum.kr.toDb(), sum.ks.toDb(), cid, sum.kankocode, month});
}

void updateSubsidiary(const QString& cid, const Cumulative& sum, const QString& month) {
    Database::global().execute(
        QStringLiteral("UPDATE T_TUKIHOJO SET KRRUI = ?, KSRUI = ? WHERE CID = ? AND KANKOCODE "
                       "= ? AND HOCODE = ? AND DATEYM = ?"),
        {sum.kr.toDb(), sum.ks.toDb(), cid, sum.kankocode, sum.hocode, month});
}

}  // namespace

bool msum_update_tukikanjo0(const QString& month) {
    const QString cid = session().CurrentCid;
    try {
        for (const Cumulative& sum : accountSumsThrough(cid, month)) {
            updateAccount(cid, sum, month);
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msum_update_tukikanjo0"));
        return false;
    }
}

bool msum_update_tukihojo0(const QString& month) {
    const QString cid = session().CurrentCid;
    try {
        for (const Cumulative& sum : subsidiarySumsThrough(cid, month)) {
            updateSubsidiary(cid, sum, month);
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msum_update_tukihojo0"));
        return false;
    }
}

bool msum_update_tukikanjo(const QString& end) {
    const QString cid = session().CurrentCid;
    try {
        for (const Cumulative& sum : accountSumsThrough(cid, end)) {
            upsertTukikanRow({cid, sum.kankocode, end, {}, {}, sum.kr, sum.ks}, kCumulative);
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msum_update_tukikanjo"));
        return false;
    }
}

bool msum_update_tukihojo(const QString& end) {
    const QString cid = session().CurrentCid;
    try {
        for (const Cumulative& sum : subsidiarySumsThrough(cid, end)) {
            upsertTukihojoRow({cid, sum.kankocode, sum.hocode, end, {}, {}, sum.kr, sum.ks},
                              kCumulative);
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msum_update_tukihojo"));
        return false;
    }
}
