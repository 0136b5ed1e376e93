#include <gtest/gtest.h>

#include "DailyEntryFixture.h"

namespace {

class DayLimits : public DailyEntryFixture {
  protected:
    // Makes the chart offer exactly `wanted` accounts to the grid of the two classes (DAIBUN),
    // cloning one of them or retiring the last ones.
    void offerAccounts(const QString& first, const QString& second, int wanted) {
        const QString offered = QStringLiteral(
            "FROM T_KANJO WHERE SIYOU = 'Y' AND KANNAME <> '' AND JUN <> 0 AND DAIBUN IN(?, ?) "
            "AND KISYUMKBN NOT IN('1', '2')");
        const QVariantList classes{first, second};
        const int have =
            static_cast<int>(count(QStringLiteral("SELECT COUNT(*) ") + offered, classes));
        const QString model = value(QStringLiteral("SELECT MIN(KOCODE) ") + offered, classes);
        for (int i = have; i < wanted; ++i) {
            exec(
                QStringLiteral("CREATE TEMP TABLE CLONE AS SELECT * FROM T_KANJO WHERE KOCODE = ?"),
                {model});
            exec(QStringLiteral("UPDATE CLONE SET KOCODE = ?"),
                 {QStringLiteral("Z%1").arg(i, 2, 10, QLatin1Char('0'))});
            exec(QStringLiteral("INSERT INTO T_KANJO SELECT * FROM CLONE"));
            exec(QStringLiteral("DROP TABLE CLONE"));
        }
        if (have > wanted) {
            exec(QStringLiteral("UPDATE T_KANJO SET SIYOU = 'N' WHERE KOCODE IN (SELECT KOCODE ") +
                     offered + QStringLiteral(" ORDER BY KOCODE DESC LIMIT ?)"),
                 {first, second, have - wanted});
        }
        ASSERT_EQ(count(QStringLiteral("SELECT COUNT(*) ") + offered, classes), wanted);
    }

    // Transfer lines of the newest day (00020, 2024/05/20): food paid in cash, 1 each.
    void writeTransferLines(int lines) {
        exec(QStringLiteral(
                 "INSERT INTO T_SI_MEISAI (CID, DENCODE, DENMENO, SIDAY, DATEYM, SISYU, KRKOCODE, "
                 "KSKOCODE, KRKIN, KSKIN) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                 "FROM n WHERE i < ?) SELECT '01', '00020', printf('%03d', i), '2024/05/20', "
                 "'2024/05', '1', '263', '004', ?, ? FROM n"),
             {lines, Money::fromInt(1).toDb(), Money::fromInt(1).toDb()});
    }
};

TEST_F(DayLimits, TheGridsTakeSixteenIncomeAndSixtyFourExpenseAccounts) {
    struct Case {
        const char* first;
        const char* second;
        EntryGrid grid;
        int limit;
        const char* message;
    };
    for (const Case& c : {Case{"dummy", "1", EntryGrid::Income, 16, "收入科目最多只能显示16个。"},
                          Case{"3", "2", EntryGrid::Expense, 64, "支出科目最多只能显示64个。"}}) {
        SCOPED_TRACE(c.limit);
        offerAccounts(QLatin1String(c.first), QLatin1String(c.second), c.limit);
        DailyEntry full(*this);
        ASSERT_TRUE(full.Form_Load(session().CallerForm));
        EXPECT_EQ(full.rows(c.grid).size(), c.limit);
        EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();

        offerAccounts(QLatin1String(c.first), QLatin1String(c.second), c.limit + 1);
        DailyEntry over(*this);
        EXPECT_FALSE(over.Form_Load(session().CallerForm));
        EXPECT_FALSE(over.loaded());
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.last().text, QStringLiteral("9\r\n") + QString::fromUtf8(c.message) +
                                            QStringLiteral("(set_spread_sheet12)"));
        messages.shown.clear();
        offerAccounts(QLatin1String(c.first), QLatin1String(c.second), c.limit);
    }
}

TEST_F(DayLimits, ADayWithMoreTransferLinesThanTheGridOpensReadOnly) {
    ASSERT_TRUE(make_new_siwake_data());
    writeTransferLines(130);
    const QStringList stored = rows(QStringLiteral("SELECT * FROM T_SI_MEISAI ORDER BY DENMENO"));
    const QString before =
        value(QStringLiteral("SELECT DAYZAN FROM T_SIWAKE WHERE DENCODE = '00020'"));

    DailyEntry entry(*this);
    ASSERT_TRUE(entry.Form_Load(session().CallerForm));
    EXPECT_TRUE(entry.readOnly());
    const QString readOnly = QStringLiteral(
        "此日的汇总分类数据有130行，超过本画面可编辑的128行。\r\n"
        "本画面只能查看此日的数据，不能修改或删除。");
    EXPECT_EQ(messages.texts(), QStringList{readOnly});
    // Every line is shown and counted.
    EXPECT_EQ(entry.transferRows().size(), 130);
    EXPECT_EQ(entry.totals().closing, Money::fromInt(1000 - 130));

    // Nothing of the day can change; saving and deleting say why.
    messages.shown.clear();
    EXPECT_FALSE(entry.setSimpleAmount(EntryGrid::Expense,
                                       rowOf(entry, EntryGrid::Expense, QStringLiteral("263")),
                                       QStringLiteral("5")));
    entry.setSimpleDescription(EntryGrid::Expense, 0, QStringLiteral("备忘"));
    EXPECT_FALSE(entry.setTransferCell(0, kAmountColumn, QStringLiteral("7")));
    EXPECT_FALSE(entry.add_spread_row());
    EXPECT_FALSE(entry.deleteTransferRow(0));
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
    messages.answers = {MsgAnswer::Ok};
    EXPECT_FALSE(entry.cmdTouroku_Click());
    EXPECT_FALSE(entry.cmdDelete_Click());
    EXPECT_EQ(messages.texts(), (QStringList{readOnly, readOnly}));
    EXPECT_FALSE(entry.dirty());
    EXPECT_EQ(entry.transferRows().size(), 130);
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM T_SI_MEISAI ORDER BY DENMENO")), stored);
    EXPECT_EQ(value(QStringLiteral("SELECT DAYZAN FROM T_SIWAKE WHERE DENCODE = '00020'")), before);

    // The day before is edited as usual; coming back shows the day read-only again.
    messages.shown.clear();
    ASSERT_TRUE(entry.cmdZenjitu_Click());
    EXPECT_FALSE(entry.readOnly());
    EXPECT_TRUE(messages.shown.isEmpty());
    ASSERT_TRUE(entry.add_spread_row());
    ASSERT_TRUE(entry.setSimpleAmount(EntryGrid::Expense,
                                      rowOf(entry, EntryGrid::Expense, QStringLiteral("263")),
                                      QStringLiteral("5")));
    ASSERT_TRUE(entry.cmdTouroku_Click());
    ASSERT_TRUE(entry.cmdYokujitu_Click());
    EXPECT_TRUE(entry.readOnly());
    EXPECT_EQ(messages.last().text, readOnly);
}

}  // namespace
