#include <optional>
#include <vector>

#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "totals/TotalsInternal.h"

// Roll-up of account turnover into the total accounts, and the profit accounts.

namespace {

struct Amounts {
    QString code;
    Money kr;
    Money ks;
};

// Step 1 of the roll-up: the month rows of posting accounts summed per total account.
std::vector<Amounts> postingTurnoverByTotal(const QString& cid, const QString& from,
                                            const QString& to) {
    std::vector<Amounts> groups;
    RecordSet rs = Database::global().query(
        QStringLiteral("SELECT K.TOCODE, SUM(T.KRTOTAL) AS KR_TOTAL, SUM(T.KSTOTAL) AS KS_TOTAL "
                       "FROM T_KANJO K, T_TUKIKAN T WHERE K.KOCODE = T.KANKOCODE AND T.CID = ? "
                       "AND T.DATEYM BETWEEN ? AND ? AND K.SIYOU = 'Y' GROUP BY K.SYORIKBN, "
                       "K.TOCODE HAVING K.SYORIKBN = '0'"),
        {cid, from, to});
    for (; !rs.eof(); rs.moveNext()) {
        groups.push_back({rs.text(QStringLiteral("TOCODE")), rs.money(QStringLiteral("KR_TOTAL")),
                          rs.money(QStringLiteral("KS_TOTAL"))});
    }
    return groups;
}

// Which pair of amounts monthRow reads.
enum class RowAmounts { Turnover, Cumulative };

// The debit and credit amounts of the month row of one account, if it has one.
std::optional<std::pair<Money, Money>> monthRow(const QString& cid, const QString& kankocode,
                                                const QString& month, RowAmounts amounts) {
    const bool turnover = amounts == RowAmounts::Turnover;
    const QString kr = turnover ? turnoverColumn(Side::Debit) : cumulativeColumn(Side::Debit);
    const QString ks = turnover ? turnoverColumn(Side::Credit) : cumulativeColumn(Side::Credit);
    RecordSet rs = Database::global().query(
        QStringLiteral("SELECT %1, %2 FROM T_TUKIKAN WHERE CID = ? AND KANKOCODE = ? AND "
                       "DATEYM = ?")
            .arg(kr, ks),
        {cid, kankocode, month});
    if (rs.eof()) {
        return std::nullopt;
    }
    return std::pair{rs.money(kr), rs.money(ks)};
}

}  // namespace

bool isOpeningMonthKey(const QString& month) {
    return month.mid(5, 2) == u"00";
}

bool msum_syukei(const QString& from, const QString& to) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    // Only the opening month carries its turnover as cumulative amounts here; other months get
    // theirs from the cumulative step.
    const bool opening = isOpeningMonthKey(to);
    try {
        const std::vector<Amounts> groups = postingTurnoverByTotal(cid, from, to);
        if (groups.empty()) {
            return true;
        }
        for (const Amounts& g : groups) {
            const Money r1 = opening ? g.kr : Money();
            const Money r2 = opening ? g.ks : Money();
            upsertTukikanRow({cid, g.code, to, g.kr, g.ks, r1, r2}, kAllAmounts);
        }

        // Totals into their parents, in this order: a parent must be complete before it is
        // rolled on itself.
        std::vector<std::pair<QString, QString>> totals;
        RecordSet rs = db.query(
            QStringLiteral("SELECT KOCODE, TOCODE FROM T_KANJO WHERE SYORIKBN = '1' AND TOCODE > "
                           "'003' AND SIYOU = 'Y' ORDER BY TOCODE, KOCODE"));
        for (; !rs.eof(); rs.moveNext()) {
            totals.emplace_back(rs.text(QStringLiteral("KOCODE")),
                                rs.text(QStringLiteral("TOCODE")));
        }
        rs.close();
        for (const auto& [kocode, tocode] : totals) {
            rs = db.query(QStringLiteral("SELECT SUM(KRTOTAL) AS KR_TOTAL, SUM(KSTOTAL) AS "
                                         "KS_TOTAL FROM T_TUKIKAN WHERE CID = ? AND KANKOCODE = ? "
                                         "AND DATEYM BETWEEN ? AND ?"),
                          {cid, kocode, from, to});
            const Money kr = rs.eof() ? Money() : rs.money(QStringLiteral("KR_TOTAL"));
            const Money ks = rs.eof() ? Money() : rs.money(QStringLiteral("KS_TOTAL"));
            rs.close();
            const Money r1 = opening ? kr : Money();
            const Money r2 = opening ? ks : Money();
            // An existing parent row grows; in the opening month its cumulative amounts follow.
            upsertTukikanRow({cid, tocode, to, kr, ks, r1, r2}, opening ? kAllAmounts : kTurnover,
                             Merge::Add);
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msum_syukei"));
        return false;
    }
}

bool msum_misyobunrieki(const QString& opening, const QString& end) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    try {
        struct Month {
            QString dateym;
            Money kr;
            Money ks;
        };
        std::vector<Month> assets;
        RecordSet rs = db.query(
            QStringLiteral("SELECT DATEYM, KRTOTAL, KSTOTAL FROM T_TUKIKAN WHERE CID = ? AND "
                           "KANKOCODE = '113' AND DATEYM BETWEEN ? AND ? ORDER BY DATEYM"),
            {cid, opening, end});
        for (; !rs.eof(); rs.moveNext()) {
            assets.push_back({rs.text(QStringLiteral("DATEYM")),
                              rs.money(QStringLiteral("KRTOTAL")),
                              rs.money(QStringLiteral("KSTOTAL"))});
        }
        rs.close();

        // A month in which 176 or 171 has no row keeps the values read for an earlier month.
        Money net176;
        Money cum171d;
        Money cum171c;
        for (const Month& m : assets) {
            const Money net113 = m.kr - m.ks;
            if (const auto row =
                    monthRow(cid, QStringLiteral("176"), m.dateym, RowAmounts::Turnover)) {
                net176 = row->second - row->first;
            }
            if (const auto row =
                    monthRow(cid, QStringLiteral("171"), m.dateym, RowAmounts::Cumulative)) {
                cum171d = row->first;
                cum171c = row->second;
            }
            Money profitD;
            Money profitC;
            if (net113 > net176) {
                profitC = net113 - net176;
            } else {
                profitD = net176 - net113;
            }
            const bool openingMonth = isOpeningMonthKey(m.dateym);
            const Money d = openingMonth ? profitD + cum171d : profitD;
            const Money c = openingMonth ? profitC + cum171c : profitC;
            upsertTukikanRow({cid, QStringLiteral("353"), m.dateym, d, c, d, c}, kAllAmounts);
            if (openingMonth) {
                upsertTukikanRow(
                    {cid, QStringLiteral("171"), m.dateym, cum171d, cum171c, cum171d, cum171c},
                    kAllAmounts);
            } else {
                upsertTukikanRow({cid, QStringLiteral("348"), m.dateym, profitD, profitC, {}, {}},
                                 kTurnover);
            }
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msum_misyobunrieki"));
        return false;
    }
}
