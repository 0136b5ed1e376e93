#include <vector>

#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "totals/TotalsInternal.h"

// Opening-month rows and the monthly turnover of accounts and subsidiary accounts.

namespace {

// The column names come from the pass itself; anything else is a programming error, refused
// before it can reach the SQL text.
void requireOneOf(const QString& column, const QString& a, const QString& b) {
    if (column != a && column != b) {
        throw DbError(DbError::kInvalidValue, QStringLiteral("不能使用的列: ") + column);
    }
}

bool isDebitColumn(const QString& amountColumn) {
    requireOneOf(amountColumn, QStringLiteral("KRKIN"), QStringLiteral("KSKIN"));
    return amountColumn == u"KRKIN";
}

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

bool msum_to_tukikanjo(const QString& opening, const QString& month, const QString& codeColumn,
                       const QString& amountColumn) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    try {
        const bool debit = isDebitColumn(amountColumn);
        requireOneOf(codeColumn, QStringLiteral("KRKOCODE"), QStringLiteral("KSKOCODE"));
        struct Group {
            QString kocode;
            Money total;
        };
        std::vector<Group> groups;
        RecordSet rs = db.query(QStringLiteral("SELECT %1 AS KOCODE, SUM(%2) AS KINTOTAL FROM "
                                               "T_SI_MEISAI WHERE CID = ? AND DATEYM = ? GROUP "
                                               "BY %1")
                                    .arg(codeColumn, amountColumn),
                                {cid, month});
        for (; !rs.eof(); rs.moveNext()) {
            groups.push_back(
                {rs.text(QStringLiteral("KOCODE")), rs.money(QStringLiteral("KINTOTAL"))});
        }
        rs.close();
        const QString update =
            QStringLiteral(
                "UPDATE T_TUKIKAN SET %1 = ? WHERE CID = ? AND KANKOCODE = ? AND "
                "DATEYM = ?")
                .arg(debit ? QStringLiteral("KRTOTAL") : QStringLiteral("KSTOTAL"));
        QSet<QString> openingRows = accountsWithRow(opening);
        QSet<QString> otherMonth = opening == month ? QSet<QString>() : accountsWithRow(month);
        QSet<QString>& monthRows = opening == month ? openingRows : otherMonth;
        for (const Group& g : groups) {
            // Every account with turnover gets an opening-month row; most already have one.
            if (!openingRows.contains(g.kocode) &&
                WriteTukikanRow({cid, g.kocode, opening, {}, {}, {}, {}}, kTukikanTable)) {
                openingRows.insert(g.kocode);
            }
            const TukikanRow row{
                cid, g.kocode, month, debit ? g.total : Money(), debit ? Money() : g.total, {}, {}};
            if (monthRows.contains(g.kocode) || !WriteTukikanRow(row, kTukikanTable)) {
                db.execute(update, {g.total.toDb(), cid, g.kocode, month});
            } else {
                monthRows.insert(g.kocode);
            }
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msum_to_tukikanjo"));
        return false;
    }
}

bool msum_to_tukihojo(const QString& opening, const QString& month, const QString& codeColumn,
                      const QString& subColumn, const QString& amountColumn) {
    Database& db = Database::global();
    const QString cid = session().CurrentCid;
    try {
        const bool debit = isDebitColumn(amountColumn);
        requireOneOf(codeColumn, QStringLiteral("KRKOCODE"), QStringLiteral("KSKOCODE"));
        requireOneOf(subColumn, QStringLiteral("KRHOKOCODE"), QStringLiteral("KSHOKOCODE"));
        struct Group {
            QString kocode;
            QString hocode;
            Money total;
        };
        std::vector<Group> groups;
        RecordSet rs = db.query(
            QStringLiteral("SELECT %1 AS KOCODE, %2 AS HOCODE, SUM(%3) AS KINTOTAL FROM "
                           "T_SI_MEISAI WHERE CID = ? AND DATEYM = ? AND %1 <> '' AND %2 <> '' "
                           "GROUP BY %1, %2")
                .arg(codeColumn, subColumn, amountColumn),
            {cid, month});
        for (; !rs.eof(); rs.moveNext()) {
            groups.push_back({rs.text(QStringLiteral("KOCODE")), rs.text(QStringLiteral("HOCODE")),
                              rs.money(QStringLiteral("KINTOTAL"))});
        }
        rs.close();
        const QString update =
            QStringLiteral(
                "UPDATE T_TUKIHOJO SET %1 = ? WHERE CID = ? AND KANKOCODE = ? AND "
                "DATEYM = ? AND HOCODE = ?")
                .arg(debit ? QStringLiteral("KRTOTAL") : QStringLiteral("KSTOTAL"));
        QSet<QString> openingRows = subsidiariesWithRow(opening);
        QSet<QString> otherMonth = opening == month ? QSet<QString>() : subsidiariesWithRow(month);
        QSet<QString>& monthRows = opening == month ? openingRows : otherMonth;
        for (const Group& g : groups) {
            const QString key = subsidiaryKey(g.kocode, g.hocode);
            if (!openingRows.contains(key) &&
                WriteTukihojoRow({cid, g.kocode, g.hocode, opening, {}, {}, {}, {}},
                                 kTukihojoTable)) {
                openingRows.insert(key);
            }
            const TukihojoRow row{cid,
                                  g.kocode,
                                  g.hocode,
                                  month,
                                  debit ? g.total : Money(),
                                  debit ? Money() : g.total,
                                  {},
                                  {}};
            if (monthRows.contains(key) || !WriteTukihojoRow(row, kTukihojoTable)) {
                db.execute(update, {g.total.toDb(), cid, g.kocode, month, g.hocode});
            } else {
                monthRows.insert(key);
            }
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msum_to_tukihojo"));
        return false;
    }
}
