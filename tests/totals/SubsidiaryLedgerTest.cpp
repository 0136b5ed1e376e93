#include <gtest/gtest.h>
#include <functional>

#include "common/DateHelpers.h"
#include "common/Messages.h"
#include "common/Money.h"
#include "common/Session.h"
#include "db/Database.h"
#include "master/CurrentAccountSet.h"
#include "support/CliRunner.h"
#include "support/GeneratedYears.h"
#include "support/GoldenText.h"
#include "support/JournalLine.h"
#include "support/LedgerPages.h"
#include "support/SetSnapshot.h"
#include "support/TestDatabase.h"
#include "totals/MonthFlags.h"
#include "totals/SubsidiaryLedger.h"
#include "totals/TotalsPass.h"

namespace {

using Ledger = SubsidiaryLedger;

// Makes set cid current as the main window's switch does.
void useSet(const QString& cid) {
    session().CurrentCid = cid;
    bool ok = false;
    ASSERT_TRUE(ResetCompanyData());
    change_kanjo_data(ok);
    ASSERT_TRUE(ok);
}

class SubsidiaryLedgerTest : public DatabaseTest {
  protected:
    // Every subsidiary ledger row of the months from..to as the voucher lines and the opening
    // balances of the current set give it: "KANKOCODE|HOCODE|SIDAY|DENNO|DENMENO|JUN|KRKIN|KSKIN|
    // ZAN", ledgers ordered by account key and subsidiary code.
    QStringList expectedRows(const QString& periodStart, const QString& from, const QString& to,
                             const QString& kmcodes) {
        const QString cid = session().CurrentCid;
        QStringList expected;
        const QStringList pairs =
            rows(QStringLiteral("SELECT H.KANKOCODE, H.HOKOCODE, H.HOCODE, K.TAIKBN, H.KISYUZAN "
                                "FROM T_HOJOKAMOKU H JOIN T_KANJO K ON K.KOCODE = H.KANKOCODE "
                                "WHERE H.CID = ? AND K.KMCODE IN (%1) ORDER BY H.KANKOCODE, "
                                "H.HOCODE")
                     .arg(kmcodes),
                 {cid}, 4);
        for (const QString& pair : pairs) {
            const QStringList p = pair.split(u'|');
            const qint64 sign = p[3] == u"0" ? 1 : -1;
            const QVariantList key = {cid, p[0], p[1]};
            // Debit minus credit of the subsidiary over a range of months.
            const auto net = [&](const QString& a, const QString& b) {
                return Money::fromDb(Database::global().scalar(
                    QStringLiteral(
                        "SELECT COALESCE((SELECT SUM(KRKIN) FROM T_SI_MEISAI WHERE CID = ? AND "
                        "KRKOCODE = ? AND KRHOKOCODE = ? AND DATEYM BETWEEN ? AND ?), 0) - "
                        "COALESCE((SELECT SUM(KSKIN) FROM T_SI_MEISAI WHERE CID = ? AND KSKOCODE "
                        "= ? AND KSHOKOCODE = ? AND DATEYM BETWEEN ? AND ?), 0)"),
                    key + QVariantList{a, b} + key + QVariantList{a, b}));
            };
            // Lines before the first chosen month (none when it is the period's first).
            qint64 balance = Money::parse(p[4]).value().units() +
                             sign * net(periodStart, addMonths(from, -1)).units();
            const QStringList lines = rows(
                QStringLiteral("SELECT SIDAY, DENCODE, DENMENO, 0 AS JUN, KRKIN, 0 FROM "
                               "T_SI_MEISAI WHERE CID = ? AND KRKOCODE = ? AND KRHOKOCODE = ? AND "
                               "DATEYM BETWEEN ? AND ? UNION ALL SELECT SIDAY, DENCODE, DENMENO, "
                               "1, 0, KSKIN FROM T_SI_MEISAI WHERE CID = ? AND KSKOCODE = ? AND "
                               "KSHOKOCODE = ? AND DATEYM BETWEEN ? AND ? ORDER BY 1, 2, 3, 4"),
                key + QVariantList{from, to} + key + QVariantList{from, to}, 4);
            if (balance == 0 && lines.isEmpty()) {
                continue;
            }
            const auto text = [](qint64 units) { return Money::fromUnits(units).toText(); };
            expected.append(
                QStringLiteral("%1|%2|00.01.01|0|0|0|0|0|%3").arg(p[0], p[2], text(balance)));
            for (const QString& line : lines) {
                QStringList l = line.split(u'|');
                balance += sign * (Money::parse(l[4]).value() - Money::parse(l[5]).value()).units();
                l[0] = l[0].mid(2).replace(u'/', u'.');
                expected.append(QStringLiteral("%1|%2|").arg(p[0], p[2]) + l.join(u'|') + u'|' +
                                text(balance));
            }
        }
        return expected;
    }

    QStringList actualRows() {
        return rows(QStringLiteral("SELECT KANKOCODE, HOCODE, SIDAY, DENNO, DENMENO, JUN, KRKIN, "
                                   "KSKIN, ZAN FROM T_SKANSUBMT_OUT ORDER BY rowid"),
                    {}, 6);
    }

    void generate(const QString& cid, const QDate& start, quint32 seed) {
        generateYear(cid, start, 365, 8, seed);
    }
};

struct Range {
    const char* from;
    const char* to;
    const char* firstAccount;  // "" for the first/last entry of the list
    const char* lastAccount;
    const char* kmcodes;  // the accounts whose subsidiaries the ledger holds
};

// Each ledger row's amount and running balance equal what the set's own lines and subsidiary
// opening balances give, for every range tried, with a second set sharing the voucher codes
// (other amounts) that must come out unchanged; the last balance of the whole year also equals
// the totals engine's cumulative amounts.
TEST_F(SubsidiaryLedgerTest, RowsAndBalancesEqualTheVoucherLines) {
    const Range calendar[] = {{"2024/01", "2024/12", "", "", "'122', '204'"},
                              {"2024/03", "2024/05", "", "", "'122', '204'"},
                              {"2024/07", "2024/07", "", "", "'122', '204'"},
                              {"2024/12", "2024/12", "", "", "'122', '204'"},
                              {"2024/01", "2024/01", "", "", "'122', '204'"},
                              {"2024/03", "2024/05", "122", "122", "'122'"},
                              {"2024/07", "2024/07", "204", "204", "'204'"}};
    const Range crossing[] = {{"2024/04", "2025/03", "", "", "'122', '204'"},
                              {"2024/12", "2025/01", "", "", "'122', '204'"},
                              {"2025/01", "2025/03", "204", "204", "'204'"},
                              {"2025/03", "2025/03", "", "", "'122', '204'"}};
    struct Book {
        QDate start;
        quint32 seed;
        QString periodStart;
        QList<Range> ranges;
    };
    const Book books[] = {{QDate(2024, 1, 1),
                           1,
                           QStringLiteral("2024/01"),
                           {std::begin(calendar), std::end(calendar)}},
                          {QDate(2024, 1, 1),
                           7,
                           QStringLiteral("2024/01"),
                           {std::begin(calendar), std::end(calendar)}},
                          {QDate(2024, 4, 1),
                           3,
                           QStringLiteral("2024/04"),
                           {std::begin(crossing), std::end(crossing)}}};
    for (const Book& book : books) {
        SCOPED_TRACE(book.seed);
        generateTwoSets(QStringLiteral("51"), book.start, 365, 8, book.seed);
        const SetSnapshot other(kOtherGeneratedSet);
        for (const Range& r : book.ranges) {
            SCOPED_TRACE(std::string(r.from) + "-" + r.to + " " + r.firstAccount);
            ASSERT_TRUE(Ledger().fillFor(QLatin1String(r.from), QLatin1String(r.to),
                                         QString::fromLatin1(r.firstAccount).toInt(),
                                         QString::fromLatin1(r.lastAccount).toInt()));
            const QStringList expected =
                expectedRows(book.periodStart, QLatin1String(r.from), QLatin1String(r.to),
                             QLatin1String(r.kmcodes));
            ASSERT_GT(expected.size(), 3);
            EXPECT_TRUE(sameRows(actualRows(), expected));
            // 本年累计 counts the months before the first shown.
            if (QLatin1String(r.from) != book.periodStart) {
                const QStringList totals =
                    expectedMonthTotals(true, session().CurrentCid, book.periodStart,
                                        QLatin1String(r.from), QLatin1String(r.to));
                EXPECT_GT(totals.size(), 2);
                EXPECT_TRUE(sameRows(printedMonthTotals(Ledger::kLayout), totals));
            }
        }
        EXPECT_TRUE(other.unchanged());
        EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
    }

    // The whole year against the totals engine's cumulative amounts of its last month.
    ASSERT_TRUE(Ledger().fillFor(QString(), QString(), 0, 0));
    const QStringList last = rows(
        QStringLiteral(
            "SELECT O.KANKOCODE, H.HOKOCODE, O.ZAN FROM T_SKANSUBMT_OUT O JOIN T_HOJOKAMOKU H ON "
            "H.CID = '51' AND H.KANKOCODE = O.KANKOCODE AND H.HOCODE = O.HOCODE WHERE O.rowid IN "
            "(SELECT MAX(rowid) FROM T_SKANSUBMT_OUT GROUP BY KANKOCODE, HOCODE) ORDER BY 1, 2"),
        {}, 2);
    const QStringList totals =
        rows(QStringLiteral(
                 "SELECT T.KANKOCODE, T.HOCODE, CASE K.TAIKBN WHEN '0' THEN T.KRRUI - T.KSRUI ELSE "
                 "T.KSRUI - T.KRRUI END FROM T_TUKIHOJO T JOIN T_KANJO K ON K.KOCODE = T.KANKOCODE "
                 "WHERE T.CID = '51' AND T.DATEYM = '2025/03' ORDER BY 1, 2"),
             {}, 2);
    EXPECT_EQ(last.size(), 6);
    EXPECT_EQ(last, totals);
}

// A January line edited after a print: the next print of later months carries the new amount.
TEST_F(SubsidiaryLedgerTest, AnEditedJanuaryLineReachesTheCarriedForwardBalance) {
    generate(QStringLiteral("51"), QDate(2024, 1, 1), 5);
    ASSERT_TRUE(Ledger().fillFor(QStringLiteral("2024/03"), QStringLiteral("2024/05"), 0, 0));
    exec(
        QStringLiteral("UPDATE T_SI_MEISAI SET KRKIN = KRKIN + 12345, KRTKIN = KRTKIN + 12345, "
                       "KSKIN = KSKIN + 12345, KSTKIN = KSTKIN + 12345 WHERE CID = '51' AND "
                       "DATEYM = '2024/01' AND KRKOCODE = '034' AND KRHOKOCODE = '02'"));
    ASSERT_TRUE(UpdateTukiSimebi(TotalsKind::Accounts, MonthState::Stale, QStringLiteral("2024/01"),
                                 QStringLiteral("2024/01")));
    ASSERT_TRUE(UpdateTukiSimebi(TotalsKind::Subsidiaries, MonthState::Stale,
                                 QStringLiteral("2024/01"), QStringLiteral("2024/01")));
    ASSERT_TRUE(Ledger().fillFor(QStringLiteral("2024/03"), QStringLiteral("2024/05"), 0, 0));
    EXPECT_TRUE(sameRows(actualRows(),
                         expectedRows(QStringLiteral("2024/01"), QStringLiteral("2024/03"),
                                      QStringLiteral("2024/05"), QStringLiteral("'122', '204'"))));
}

// A print leaves T_TUKIHOJO as the totals pass alone leaves it: no rows for the first chosen
// month are kept.
TEST_F(SubsidiaryLedgerTest, APrintAddsNoSubsidiaryTotals) {
    generate(QStringLiteral("51"), QDate(2024, 1, 1), 2);
    // A customer with an opening balance and no lines has no monthly row in the chosen month.
    exec(
        QStringLiteral("INSERT INTO T_HOJOKAMOKU VALUES ('51', '034', '04', '1224', '客户4', "
                       "10000000)"));
    ASSERT_TRUE(msum_tukisime(QStringLiteral("2024/01"), QStringLiteral("2024/09"), Ledger::kForm));
    const QString query = QStringLiteral(
        "SELECT KANKOCODE, HOCODE, DATEYM, KRTOTAL, KSTOTAL, KRRUI, KSRUI FROM T_TUKIHOJO ORDER BY "
        "CID, KANKOCODE, HOCODE, DATEYM");
    const QStringList before = rows(query);
    ASSERT_TRUE(Ledger().fillFor(QStringLiteral("2024/07"), QStringLiteral("2024/09"), 0, 0));
    EXPECT_EQ(rows(query), before);
    EXPECT_EQ(rows(QStringLiteral("SELECT SIDAY, TEKIYO, ZAN FROM T_SKANSUBMT_OUT WHERE HOCODE = "
                                  "'1224'"),
                   {}, 2),
              QStringList{QStringLiteral("00.01.01|结转余额|1000")});
}

// Set 01 over 2024/04-2025/03: loans given (034, debit side) and taken (120, credit side), whose
// subsidiaries share the key "01"; set 02 holds other lines under the same voucher numbers.
class SmallSubsidiaryBook : public SubsidiaryLedgerTest {
  protected:
    void SetUp() override {
        SubsidiaryLedgerTest::SetUp();
        exec(
            QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = '2024/04/01', KIMATU = '2025/03/31' "
                           "WHERE CID IN ('01', '02')"));
        useSet(QStringLiteral("01"));
        exec(QStringLiteral("UPDATE T_KANJO SET HOJOSET = 'Y' WHERE KOCODE IN ('034', '120')"));
        exec(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 20000000 WHERE KOCODE = '034'"));
        exec(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 8000000 WHERE KOCODE = '120'"));
        exec(QStringLiteral(
            "INSERT INTO T_HOJOKAMOKU VALUES ('01', '034', '01', '1221', '张三', 15000000), ('01', "
            "'034', '02', '1222', '李四', 5000000), ('01', '120', '01', '2041', '王五', 8000000), "
            "('01', '120', '02', '2042', '赵六', 0), ('02', '034', '01', '1221', '张三', 1)"));
        ASSERT_TRUE(SetTukisimeData(QStringLiteral("2024/04"), QStringLiteral("2025/03")));
        const auto line = [](const char* cid, int voucher, const char* day, const char* debit,
                             const char* debitSub, const char* credit, const char* creditSub,
                             const char* amount) {
            writeJournalLine(QLatin1String(cid), voucher, QLatin1String(day), QLatin1String(debit),
                             QLatin1String(debitSub), QLatin1String(credit),
                             QLatin1String(creditSub), QLatin1String(amount));
        };
        line("01", 1, "2024/04/10", "034", "01", "004", "", "3000");
        line("01", 2, "2024/05/06", "009", "", "034", "01", "1000.5");
        line("01", 3, "2024/06/01", "263", "", "004", "", "80");
        line("01", 4, "2024/12/20", "120", "01", "009", "", "300");
        line("01", 5, "2025/01/15", "009", "", "120", "01", "2000");
        line("01", 6, "2025/02/01", "034", "01", "120", "01", "250.25");
        line("02", 4, "2024/12/20", "034", "01", "009", "", "999");
        line("02", 6, "2025/02/01", "034", "01", "120", "01", "777");
    }
};

// The work table of a print of 2024/12-2025/02, by column, against its golden file:
// carried-forward balances from the openings and the lines
// before December, a subsidiary with only a balance, the counter subsidiary of a line.
TEST_F(SmallSubsidiaryBook, WorkTableGolden) {
    const SetSnapshot other(QStringLiteral("02"));
    Ledger ledger;
    ASSERT_TRUE(ledger.Form_Load());
    ledger.setFirstMonth(8);
    ledger.setLastMonth(10);
    ASSERT_TRUE(ledger.cmdHyouji_Click());
    const QStringList actual =
        rows(QStringLiteral("SELECT KANKOCODE, SIDAY, DENNO, DENMENO, JUN, KMCODE, HOCODE, KMNAME, "
                            "HONAME, AICODE, AIHOCODE, AINAME, AIHONAME, TEKIYO, KRKIN, KSKIN, ZAN "
                            "FROM T_SKANSUBMT_OUT ORDER BY rowid"),
             {}, 14);
    EXPECT_TRUE(sameRows(actualRows(),
                         expectedRows(QStringLiteral("2024/04"), QStringLiteral("2024/12"),
                                      QStringLiteral("2025/02"), QStringLiteral("'122', '204'"))));
    expectGoldenText(QStringLiteral("totals"), QStringLiteral("SubsidiaryLedger"),
                     actual.join(u'\n') + u'\n');
    // Empty texts are '', as readers that compare with '' expect.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SKANSUBMT_OUT WHERE KMCODE IS NULL OR "
                                   "AICODE IS NULL OR AIHOCODE IS NULL OR AINAME IS NULL OR "
                                   "AIHONAME IS NULL OR TEKIYO IS NULL")),
              0);
    EXPECT_TRUE(other.unchanged());
}

// Every message of the screen, as the user would see it.
TEST_F(SmallSubsidiaryBook, Messages) {
    const QString again = Messages::kCrLf + QStringLiteral("请重新选择一次");
    struct Case {
        const char* name;
        std::function<bool(Ledger&)> act;
        MsgIcon icon;
        QString text;
    };
    const Case cases[] = {
        {"months reversed",
         [](Ledger& l) {
             l.setFirstMonth(3);
             l.setLastMonth(2);
             return l.cmdHyouji_Click();
         },
         MsgIcon::Exclamation, QStringLiteral("指定的对象年月出现错误。") + again + u'。'},
        {"accounts reversed",
         [](Ledger& l) {
             l.setFirstAccount(1);
             l.setLastAccount(0);
             return l.cmdInsatu_Click();
         },
         MsgIcon::Exclamation, QStringLiteral("指定的科目出现错误") + again},
        {"nothing in the range",
         [this](Ledger& l) {
             l.setFirstAccount(1);
             l.setLastAccount(1);
             exec(QStringLiteral("UPDATE T_HOJOKAMOKU SET KISYUZAN = 0 WHERE KANKOCODE = '120'"));
             l.setFirstMonth(3);
             l.setLastMonth(4);
             return l.cmdHyouji_Click();
         },
         MsgIcon::Exclamation, QStringLiteral("没有符合条件的数据。")},
        {"help",
         [](Ledger& l) {
             l.cmdQuestion_Click();
             return false;
         },
         MsgIcon::Information,
         QStringLiteral("把输入的交易内容作为辅助账打印。") + Messages::kCrLf +
             QStringLiteral("用A4纸打印。") + Messages::kCrLf +
             QStringLiteral("在下拉框中选择日期，单击“打印预览”就会显示一览表。")},
        {"correction help",
         [](Ledger& l) {
             l.Command1_Click();
             return false;
         },
         MsgIcon::Exclamation,
         QStringLiteral("如果要修改在打印预览里看到的数据，") + Messages::kCrLf +
             QStringLiteral("选择想要修改的科目名后单击“账目预览”，") + Messages::kCrLf +
             QStringLiteral("进入账目预览画面即可修改。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        Ledger ledger;
        ASSERT_TRUE(ledger.Form_Load());
        EXPECT_FALSE(c.act(ledger));
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.last().icon, c.icon);
        EXPECT_EQ(messages.last().title, QStringLiteral("Ombrel"));
        EXPECT_EQ(messages.last().text, c.text);
    }
}

// The lists: the period's months up to its end, the accounts that have subsidiary accounts;
// the correction path fills the first chosen account alone.
TEST_F(SmallSubsidiaryBook, ListsAndTheCorrectionPath) {
    Ledger ledger;
    ASSERT_TRUE(ledger.Form_Load());
    EXPECT_EQ(session().CallerForm, QStringLiteral("prtSoukanjoHojoMotocho"));
    ASSERT_EQ(ledger.months().size(), 12);
    EXPECT_EQ(ledger.months().first().text, QStringLiteral("2024年4月"));
    EXPECT_EQ(ledger.months().last().month, QStringLiteral("2025/03"));
    ASSERT_EQ(ledger.accounts().size(), 2);
    EXPECT_EQ(ledger.accounts().at(0).text, QStringLiteral("122 借出款"));
    EXPECT_EQ(ledger.accounts().at(1).number, 204);
    EXPECT_FALSE(ledger.dataHyojiEnabled());
    ledger.setFirstAccount(1);
    ASSERT_TRUE(ledger.cmdDataHyoji_Click());
    EXPECT_EQ(rows(QStringLiteral("SELECT DISTINCT KANKOCODE FROM T_SKANSUBMT_OUT")),
              QStringList{QStringLiteral("120")});
    EXPECT_EQ(ledger.lastAccount(), 1);
}

// The command-line report takes months and account numbers and leaves the work table filled.
TEST_F(SubsidiaryLedgerTest, CommandLineReport) {
    const QString books = folder.filePath(QStringLiteral("books.mdb"));
    const QString pdf = folder.filePath(QStringLiteral("h.pdf"));
    const auto run = [&](const QString& line) { return cliOn(books, line); };
    ASSERT_EQ(run(QStringLiteral("generate --set 51 --start 2024/01/01 --days 160 "
                                 "--lines-per-day 8 --seed 4"))
                  .status,
              0);
    const CliRun done = run(QStringLiteral("report R_HOJOMOTOTYO --set 51 --pdf ") + pdf +
                            QStringLiteral(" --from 2024/03 --to 2024/05 --first-account 204 "
                                           "--last-account 204"));
    ASSERT_EQ(done.status, 0) << done.err.toStdString();
    Database::global().close();
    Database::global().open(books);
    useSet(QStringLiteral("51"));
    EXPECT_TRUE(done.out.contains(QStringLiteral(" %1 行 -> ").arg(actualRows().size())))
        << done.out.toStdString();
    EXPECT_TRUE(
        sameRows(actualRows(), expectedRows(QStringLiteral("2024/01"), QStringLiteral("2024/03"),
                                            QStringLiteral("2024/05"), QStringLiteral("'204'"))));
}

}  // namespace
