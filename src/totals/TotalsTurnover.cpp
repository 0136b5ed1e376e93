#include <map>
#include <vector>

#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "totals/TotalsInternal.h"

// Opening-month rows and the monthly turnover of accounts and subsidiary accounts.

namespace {

// An opening balance on the account's own side: debit when TAIKBN is "0", credit otherwise.
std::pair<Money, Money> sided(const QString& taikbn, Money amount) {
    return taikbn == u"0" ? std::pair{amount, Money()} : std::pair{Money(), amount};
}

DbError lastWriteError() {
    const Database& db = Database::global();
    return DbError(db.lastErrorNumber(), db.lastErrorText());
}

}  // namespace

bool msum_kisyu_tukikanjo(const QString& kocode, const QString& taikbn, Money kisyuzan,
                          const QString& opening) {
    const auto [debit, credit] = sided(taikbn, kisyuzan);
    if (!WriteTukikanRow({session().CurrentCid, kocode, opening, debit, credit, debit, credit},
                         kTukikanTable)) {
        reportError(lastWriteError(), QStringLiteral("msum_kisyu_tukikanjo"));
        return false;
    }
    return true;
}

bool msum_kisyu_tukihojo(const QString& kankocode, const QString& hokocode, const QString& taikbn,
                         Money kisyuzan, const QString& opening) {
    const auto [debit, credit] = sided(taikbn, kisyuzan);
    if (!WriteTukihojoRow(
            {session().CurrentCid, kankocode, hokocode, opening, debit, credit, debit, credit},
            kTukihojoTable)) {
        reportError(lastWriteError(), QStringLiteral("msum_kisyu_tukihojo"));
        return false;
    }
    return true;
}

bool msum_new_tukidata(const QString& opening) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    try {
        struct Balance {
            QString kankocode;
            QString hokocode;
            QString taikbn;
            Money kisyuzan;
        };
        std::vector<Balance> accounts;
        RecordSet rs = db.query(QStringLiteral(
            "SELECT KOCODE, TAIKBN, KISYUZAN FROM T_KANJO WHERE SIYOU = 'Y' AND ((KOCODE < '177' "
            "AND SYORIKBN = '0' AND KISYUZAN <> 0) OR KOCODE = '353')"));
        for (; !rs.eof(); rs.moveNext()) {
            accounts.push_back({rs.text(QStringLiteral("KOCODE")), QString(),
                                rs.text(QStringLiteral("TAIKBN")),
                                rs.money(QStringLiteral("KISYUZAN"))});
        }
        rs.close();
        for (const Balance& a : accounts) {
            if (!msum_kisyu_tukikanjo(a.kankocode, a.taikbn, a.kisyuzan, opening)) {
                return false;
            }
        }

        std::vector<Balance> subsidiaries;
        rs = db.query(
            QStringLiteral("SELECT H.KANKOCODE, H.HOKOCODE, H.KISYUZAN, K.TAIKBN FROM "
                           "T_HOJOKAMOKU H, T_KANJO K WHERE H.KANKOCODE = K.KOCODE AND H.CID = ?"),
            {cid});
        for (; !rs.eof(); rs.moveNext()) {
            subsidiaries.push_back(
                {rs.text(QStringLiteral("KANKOCODE")), rs.text(QStringLiteral("HOKOCODE")),
                 rs.text(QStringLiteral("TAIKBN")), rs.money(QStringLiteral("KISYUZAN"))});
        }
        rs.close();
        for (const Balance& s : subsidiaries) {
            if (!msum_kisyu_tukihojo(s.kankocode, s.hokocode, s.taikbn, s.kisyuzan, opening)) {
                return false;
            }
        }

        if (!msum_syukei(opening, opening)) {
            return false;
        }

        // Posting accounts without an opening balance but with rows in other months still get
        // an opening-month row.
        std::vector<QString> withHistory;
        rs =
            db.query(QStringLiteral("SELECT DISTINCT T.KANKOCODE FROM T_KANJO K, T_TUKIKAN T WHERE "
                                    "K.KOCODE = T.KANKOCODE AND T.CID = ? AND K.SIYOU = 'Y' AND "
                                    "K.SYORIKBN = '0' AND K.KISYUZAN = 0"),
                     {cid});
        for (; !rs.eof(); rs.moveNext()) {
            withHistory.push_back(rs.text(QStringLiteral("KANKOCODE")));
        }
        rs.close();
        for (const QString& kankocode : withHistory) {
            WriteTukikanRow({cid, kankocode, opening, {}, {}, {}, {}}, kTukikanTable);
        }

        std::vector<std::pair<QString, QString>> pairs;
        rs = db.query(
            QStringLiteral("SELECT KANKOCODE, HOCODE FROM T_TUKIHOJO WHERE CID = ? GROUP BY "
                           "KANKOCODE, HOCODE"),
            {cid});
        for (; !rs.eof(); rs.moveNext()) {
            pairs.emplace_back(rs.text(QStringLiteral("KANKOCODE")),
                               rs.text(QStringLiteral("HOCODE")));
        }
        rs.close();
        for (const auto& [kankocode, hocode] : pairs) {
            WriteTukihojoRow({cid, kankocode, hocode, opening, {}, {}, {}, {}}, kTukihojoTable);
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msum_new_tukidata"));
        return false;
    }
}

namespace {

// One side's lines of month grouped by account and subsidiary code: one pass over the side's
// index range instead of one for the accounts and one for the subsidiaries.
struct SideTurnover {
    std::map<QString, Money> accounts;
    SubsidiaryTurnover subsidiaries;
};

SideTurnover readSideTurnover(const QString& cid, const QString& month, Side side) {
    RecordSet rs = Database::global().query(
        QStringLiteral("SELECT %1, %2, SUM(%3) FROM T_SI_MEISAI WHERE CID = ? AND DATEYM = ? "
                       "GROUP BY %1, %2")
            .arg(codeColumn(side), subsidiaryColumn(side), amountColumn(side)),
        {cid, month});
    SideTurnover turnover;
    for (; !rs.eof(); rs.moveNext()) {
        const QString kocode = rs.valueAt(0).toString();
        const QString hocode = rs.valueAt(1).toString();
        const Money total = Money::fromDb(rs.valueAt(2));
        turnover.accounts[kocode] += total;
        if (!kocode.isEmpty() && !hocode.isEmpty()) {
            turnover.subsidiaries.push_back({kocode, hocode, total});
        }
    }
    return turnover;
}

}  // namespace

bool msum_to_tukikanjo(const QString& opening, const QString& month, Side side,
                       SubsidiaryTurnover& subsidiaries) {
    const QString cid = session().CurrentCid;
    try {
        const bool debit = side == Side::Debit;
        SideTurnover turnover = readSideTurnover(cid, month, side);
        subsidiaries = std::move(turnover.subsidiaries);
        for (const auto& [kocode, total] : turnover.accounts) {
            // Every account with turnover gets an opening-month row; most already have one.
            upsertTukikanRow({cid, kocode, opening, {}, {}, {}, {}}, kNoAmounts);
            upsertTukikanRow(
                {cid, kocode, month, debit ? total : Money(), debit ? Money() : total, {}, {}},
                debit ? kKrTotal : kKsTotal);
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msum_to_tukikanjo"));
        return false;
    }
}

bool msum_to_tukihojo(const QString& opening, const QString& month, Side side,
                      const SubsidiaryTurnover& subsidiaries) {
    const QString cid = session().CurrentCid;
    try {
        const bool debit = side == Side::Debit;
        for (const SubsidiaryTotal& g : subsidiaries) {
            upsertTukihojoRow({cid, g.kocode, g.hocode, opening, {}, {}, {}, {}}, kNoAmounts);
            upsertTukihojoRow({cid,
                               g.kocode,
                               g.hocode,
                               month,
                               debit ? g.total : Money(),
                               debit ? Money() : g.total,
                               {},
                               {}},
                              debit ? kKrTotal : kKsTotal);
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msum_to_tukihojo"));
        return false;
    }
}
