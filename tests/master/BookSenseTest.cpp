#include <gtest/gtest.h>
#include <QHash>

#include "common/Session.h"
#include "db/Database.h"
#include "db/RowWriters.h"
#include "support/JournalLine.h"
#include "support/TestDatabase.h"

namespace {

// A small retail book written through the program's own row writers: opening balances and three
// months of journal lines. Until the totals pass exists, the roll-up is followed here by hand:
// the chart must turn any balanced book into assets = liabilities + equity + profit.
class BookSense : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("02");
        TransactionGuard transaction;
        opening(QStringLiteral("004"), 10000);
        opening(QStringLiteral("009"), 50000);
        opening(QStringLiteral("049"), 20000);
        opening(QStringLiteral("165"), 70000);
        opening(QStringLiteral("171"), 10000);
        const QList<std::tuple<const char*, const char*, const char*, const char*>> lines = {
            {"2024/01/05", "004", "180", "5000"},  {"2024/01/06", "247", "004", "3000"},
            {"2024/01/10", "276", "009", "1500"},  {"2024/01/12", "009", "004", "1000"},
            {"2024/01/20", "009", "124", "20000"}, {"2024/02/01", "009", "314", "50.25"},
            {"2024/02/10", "263", "004", "2000"},  {"2024/02/11", "074", "009", "8000"},
            {"2024/02/28", "278", "081", "200"},   {"2024/02/28", "347", "138", "150"},
            {"2024/02/28", "999", "004", "100"},   {"2024/02/28", "034", "999", "100"},
            {"2024/03/03", "186", "004", "300"},   {"2024/03/31", "301", "138", "400.75"}};
        int number = 0;
        for (const auto& [day, debit, credit, amount] : lines) {
            writeJournalLine(QStringLiteral("02"), ++number, QLatin1String(day),
                             QLatin1String(debit), QString(), QLatin1String(credit), QString(),
                             QLatin1String(amount));
        }
        transaction.commit();
    }
    void opening(const QString& kocode, int amount) {
        exec(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = ? WHERE KOCODE = ?"),
             {Money::fromInt(amount).toDb(), kocode});
    }

    // Net debit movement (opening balances included) of every account in use.
    QHash<QString, Money> netDebit() {
        QHash<QString, Money> net;
        RecordSet rs = Database::global().query(QStringLiteral(
            "SELECT K.KOCODE, K.TAIKBN, K.KISYUZAN, "
            "(SELECT COALESCE(SUM(KRKIN), 0) FROM T_SI_MEISAI WHERE CID = '02' AND "
            "KRKOCODE = K.KOCODE) AS DR, "
            "(SELECT COALESCE(SUM(KSKIN), 0) FROM T_SI_MEISAI WHERE CID = '02' AND "
            "KSKOCODE = K.KOCODE) AS CR FROM T_KANJO K WHERE K.SYORIKBN = '0' AND K.SIYOU = 'Y'"));
        for (; !rs.eof(); rs.moveNext()) {
            const Money opening = rs.money(QStringLiteral("KISYUZAN"));
            net[rs.text(QStringLiteral("KOCODE"))] =
                (rs.text(QStringLiteral("TAIKBN")) == u"0" ? opening : -opening) +
                rs.money(QStringLiteral("DR")) - rs.money(QStringLiteral("CR"));
        }
        return net;
    }

    // The top total an account rolls up into.
    QString root(const QString& kocode) {
        QString at = kocode;
        for (int depth = 0; depth < 10; ++depth) {
            const QString parent =
                value(QStringLiteral("SELECT TOCODE FROM T_KANJO WHERE KOCODE = ?"), {at});
            if (parent <= u"003") {
                return at;
            }
            at = parent;
        }
        return QString();
    }
};

TEST_F(BookSense, AssetsEqualLiabilitiesEquityAndProfit) {
    Money assets;
    Money liabilitiesAndEquity;
    Money profit;
    Money clearing;
    const QHash<QString, Money> net = netDebit();
    for (auto it = net.begin(); it != net.end(); ++it) {
        const QString top = root(it.key());
        if (top == u"113") {
            assets += it.value();
        } else if (top == u"176") {
            liabilitiesAndEquity -= it.value();
        } else if (it.key() == u"999") {
            clearing += it.value();
        } else {
            ASSERT_GE(it.key(), QStringLiteral("177")) << it.key().toStdString();
            profit -= it.value();
        }
    }
    // 5000 + 50.25 − 3000 − 1500 − 2000 − 200 − 150 − 300 − 400.75
    EXPECT_EQ(profit, Money::parse(u"-2500.5").value());
    EXPECT_TRUE(clearing.isZero());
    EXPECT_EQ(assets, liabilitiesAndEquity + profit);
    // What the totals pass will compute as the year's profit: net assets minus net L&E movement.
    EXPECT_EQ(assets - Money::fromInt(80000),
              liabilitiesAndEquity - Money::fromInt(80000) + profit);
    // 80000 opening + 20000 loan + 550.75 taxes owed − 2500.5 loss
    EXPECT_EQ(assets, Money::parse(u"98050.25").value());
}

TEST_F(BookSense, DailyGridsOfEveryPreparedSetPostAgainstCash) {
    // Every account the simple grids offer is a profit-and-loss account on the side the grid
    // posts it, with cash as its counter account.
    EXPECT_EQ(count(QStringLiteral(
                  "SELECT COUNT(*) FROM T_KISYUZAN S JOIN MT_KANJO M ON M.KOCODE = S.KOCODE "
                  "WHERE S.JUN <> 0 AND M.DAIBUN IN ('1', '2', '3') AND S.KISYUMKBN NOT IN "
                  "('1', '2') AND (S.AICODE <> '004' OR M.KOCODE < '177' OR "
                  "(M.DAIBUN = '1') <> (M.TAIKBN = '1'))")),
              0);
    EXPECT_EQ(count(QStringLiteral(
                  "SELECT COUNT(*) FROM T_KISYUZAN S JOIN MT_KANJO M ON M.KOCODE = S.KOCODE "
                  "WHERE S.CID = '01' AND S.JUN <> 0 AND M.DAIBUN = '1'")),
              7);
}

}  // namespace
