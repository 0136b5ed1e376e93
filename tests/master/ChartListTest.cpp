#include <gtest/gtest.h>

#include "common/Session.h"
#include "db/Database.h"
#include "master/ChartList.h"
#include "support/RecordingReportOutput.h"
#include "support/TestDatabase.h"

namespace {

class ChartListTest : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("01");
    }

    static QStringList texts(const QList<ClassEntry>& entries) {
        QStringList all;
        for (const ClassEntry& e : entries) {
            all.append(e.text + u' ' + QString::number(e.itemData));
        }
        return all;
    }
    // Big, middle and small class.
    static QString classes(const ChartList& list) {
        return list.bigClass() + u'/' + list.middleClass() + u'/' + list.smallClass();
    }
    static QStringList grid(const ChartList& list) {
        QStringList all;
        for (const ChartRow& r : list.rows()) {
            all.append(QStringList{r.kmcode, r.kanname, r.taisyaku, r.kocode,
                                   QString::number(r.jun), r.hojoset}
                           .join(u'|'));
        }
        return all;
    }
    // The list opened on 001 资产类 → 410 流动资产 → 411 货币资金.
    void openOnCash(ChartList& list) {
        ASSERT_TRUE(list.Form_Load());
        list.cmbDaiBunrui_Click(0);
        ASSERT_EQ(list.smallClass(), QStringLiteral("411"));
    }
    QString chartRow(const QString& kocode) {
        return rows(QStringLiteral("SELECT KMCODE, KANNAME, JUN, HOJOSET, SIYOU FROM T_KANJO "
                                   "WHERE KOCODE = ?"),
                    {kocode})
            .value(0);
    }
    QString setRow(const QString& kocode) {
        return rows(QStringLiteral("SELECT KMCODE, KANNAME, JUN, HOJOSET, SIYOU FROM T_KISYUZAN "
                                   "WHERE CID = '01' AND KOCODE = ?"),
                    {kocode})
            .value(0);
    }
};

TEST_F(ChartListTest, CascadingBoxesReachTheAccountsOfASmallClass) {
    // An account out of use and one without a number are not listed.
    exec(QStringLiteral("UPDATE T_KANJO SET SIYOU = 'N' WHERE KOCODE = '010'"));
    exec(QStringLiteral("UPDATE T_KANJO SET KMCODE = '' WHERE KOCODE = '011'"));
    exec(QStringLiteral("UPDATE T_KANJO SET JUN = 7, HOJOSET = 'Y' WHERE KOCODE = '009'"));
    ChartList list;
    ASSERT_TRUE(list.Form_Load());
    EXPECT_EQ(texts(list.daiEntries()),
              (QStringList{QStringLiteral("资产类 1"), QStringLiteral("负债类 2"),
                           QStringLiteral("所有者权益类 3"), QStringLiteral("损益类 177"),
                           QStringLiteral("其他类 990")}));
    EXPECT_EQ(list.smallClass(), QStringLiteral("0"));
    EXPECT_TRUE(list.rows().isEmpty());
    EXPECT_EQ(list.gridRowCount(), ChartList::kMinimumGridRows);

    list.cmbDaiBunrui_Click(0);
    EXPECT_EQ(classes(list), QStringLiteral("001/410/411"));
    EXPECT_EQ(list.chuIndex() + list.syoIndex(), 0);
    EXPECT_EQ(texts(list.syoEntries()),
              (QStringList{QStringLiteral("货币资金 411"), QStringLiteral("短期投资 412"),
                           QStringLiteral("应收及预付款项 413"), QStringLiteral("存货 414"),
                           QStringLiteral("待摊费用及其他 415")}));
    EXPECT_EQ(grid(list), (QStringList{QStringLiteral("101|现金|借方|004|0|N"),
                                       QStringLiteral("102|外币现金|借方|005|0|N"),
                                       QStringLiteral("111|银行存款|借方|009|7|Y"),
                                       QStringLiteral("119|其他货币资金|借方|020|0|N")}));
    EXPECT_FALSE(list.editButtonsEnabled());

    // A click on an account enables editing; a click on a blank row selects nothing.
    list.spdSS_Click(2);
    EXPECT_TRUE(list.editButtonsEnabled());
    EXPECT_EQ(list.activeChartRow().kocode, QStringLiteral("009"));
    list.spdSS_Click(10);
    EXPECT_FALSE(list.editButtonsEnabled());

    // One level lower: the big class stays, the grid follows the new small class.
    list.spdSS_Click(0);
    list.cmbChuBunrui_Click(1);
    EXPECT_EQ(classes(list), QStringLiteral("001/420/421"));
    EXPECT_FALSE(list.hasActiveRow());
    EXPECT_EQ(grid(list).first(), QStringLiteral("151|长期股权投资|借方|093|0|N"));

    // Credit accounts read "贷方".
    list.cmbDaiBunrui_Click(1);
    EXPECT_EQ(grid(list).first(), QStringLiteral("201|短期借款|贷方|124|0|N"));
    list.cmbSyoBunrui_Click(1);
    EXPECT_EQ(classes(list), QStringLiteral("002/440/442"));
    EXPECT_TRUE(messages.shown.isEmpty());

    // The print button prints the accounts in use, grouped under their headings.
    RecordingReportOutput output;
    list.cmdInsatu_Click();
    EXPECT_TRUE(messages.shown.isEmpty());
    ASSERT_EQ(output.jobs.size(), 1);
    EXPECT_EQ(output.calls().first().section(u' ', 0, 1), QStringLiteral("print R_KANJO_LISTH"));
    EXPECT_EQ(
        output.last().data.rows.size(),
        value(QStringLiteral("SELECT COUNT(*) FROM T_KANJO WHERE KMCODE <> '' AND SIYOU = 'Y'"))
            .toInt());

    // A fill that fails prints nothing.
    exec(QStringLiteral("DROP TABLE WK_KANJO_PRINT"));
    list.cmdInsatu_Click();
    EXPECT_TRUE(messages.last().text.endsWith(u"(cmdInsatu_Click)"));
    EXPECT_EQ(output.jobs.size(), 1);
}

TEST_F(ChartListTest, DeleteAsksThenClearsNumberAndNameInBothTables) {
    exec(QStringLiteral(
        "INSERT INTO T_HOJOKAMOKU VALUES ('01', '009', '01', '1111', '工商银行', 0)"));
    const QString before = chartRow(QStringLiteral("009"));
    ChartList list;
    openOnCash(list);
    list.spdSS_Click(2);

    messages.answers = {MsgAnswer::No};
    list.cmdDelete_Click();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("清除科目的信息，可以吗？")});
    EXPECT_EQ(messages.last().buttons, MsgButtons::YesNo);
    EXPECT_EQ(chartRow(QStringLiteral("009")), before);
    EXPECT_EQ(list.activeChartRow().kmcode, QStringLiteral("111"));

    messages.answers = {MsgAnswer::Yes};
    list.cmdDelete_Click();
    EXPECT_EQ(chartRow(QStringLiteral("009")), QStringLiteral("||0|N|N"));
    EXPECT_EQ(setRow(QStringLiteral("009")), QStringLiteral("||0|N|N"));
    EXPECT_EQ(list.activeChartRow().kmcode + list.activeChartRow().kanname, QString());
    EXPECT_FALSE(Database::global().inTransaction());
    // The account keeps its key and subsidiary rows but leaves the list.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_HOJOKAMOKU WHERE KANKOCODE = '009'")),
              1);
    list.cmbSyoBunrui_Click(0);
    for (const ChartRow& row : list.rows()) {
        EXPECT_NE(row.kocode, QStringLiteral("009"));
    }
    EXPECT_EQ(messages.shown.size(), 2);
}

TEST_F(ChartListTest, AFailedDeleteChangesNothing) {
    ChartList list;
    openOnCash(list);
    list.spdSS_Click(0);
    exec(QStringLiteral("DROP TABLE T_KISYUZAN"));
    messages.answers = {MsgAnswer::Yes};
    list.cmdDelete_Click();
    EXPECT_TRUE(messages.last().text.endsWith(u"(save_data)"));
    // The first update was rolled back with the second.
    EXPECT_EQ(chartRow(QStringLiteral("004")), QStringLiteral("101|现金|0|N|Y"));
    EXPECT_EQ(list.activeChartRow().kmcode, QStringLiteral("101"));
    EXPECT_FALSE(Database::global().inTransaction());
}

}  // namespace
