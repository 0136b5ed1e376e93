#include <gtest/gtest.h>

#include "common/Session.h"
#include "db/Database.h"
#include "master/AccountDetail.h"
#include "master/ChartList.h"
#include "support/RecordingReportOutput.h"
#include "support/SetSnapshot.h"
#include "support/TestDatabase.h"
#include "totals/MonthFlags.h"

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

struct FocusRecorder : AccountDetailHost {
    void setFocusTo(const QString& control) override { focus = control; }
    QString focus;
};

// The detail screen opened from the list on 101 现金 (account 004), in a set whose period runs
// from 2024/04 to 2025/03 and whose months were all computed.
class AccountDetailTest : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("01");
        exec(
            QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = '2024/04/01', KIMATU = '2025/03/31' "
                           "WHERE CID = '01'"));
        exec(QStringLiteral("INSERT INTO WK_COMPANY SELECT * FROM T_COMP_MAIN WHERE CID = '01'"));
        ASSERT_TRUE(SetTukisimeData(QStringLiteral("2024/04"), QStringLiteral("2025/03")));
        exec(
            QStringLiteral("UPDATE T_TUKISIME SET SYORIFLG = '1', SYORIFLGH = '1', "
                           "SYORIDAY = '2024/05/01' WHERE CID = '01'"));
        ASSERT_TRUE(list.Form_Load());
        list.cmbDaiBunrui_Click(0);
        list.spdSS_Click(0);
        ASSERT_EQ(list.activeChartRow().kocode, QStringLiteral("004"));
    }

    // Opens the detail screen anew on the list's active row.
    AccountDetail& open() {
        detail = std::make_unique<AccountDetail>(list, host);
        EXPECT_TRUE(detail->Form_Load());
        return *detail;
    }
    static void fill(AccountDetail& d, int row, const QString& code, const QString& name,
                     const QString& amount) {
        d.spdSS_DblClick(row);
        ASSERT_TRUE(d.rowEditMode());
        d.txtHK_Code = code;
        d.txtHK_Name = name;
        d.txtHK_Zandaka = amount;
        d.cmdSyusei_Click();
        ASSERT_FALSE(d.rowEditMode());
    }
    static QString rowText(const SubsidiaryRow& r) {
        return r.hocode + u'|' + r.honame + u'|' + r.kisyuzan.toText() + u'|' + r.hokocode;
    }
    static QStringList grid(const AccountDetail& d) {
        QStringList all;
        for (const SubsidiaryRow& r : d.rows()) {
            all.append(rowText(r));
        }
        return all;
    }
    // Which controls are on: grid, delete, subsidiary switch, row boxes, back.
    static QString controls(const AccountDetail& d) {
        QString on;
        for (bool b : {d.gridEnabled(), d.deleteEnabled(), d.hojoControlsEnabled(),
                       d.editBoxesEnabled(), d.backEnabled()}) {
            on.append(b ? u'1' : u'0');
        }
        return on;
    }
    static QString labels(const AccountDetail& d) {
        return QStringList{d.useLabel(), d.kindLabel(), d.bunName(), d.toName()}.join(u'|');
    }
    QStringList stored() {
        return rows(
            QStringLiteral("SELECT HOKOCODE, HOCODE, HONAME, KISYUZAN FROM T_HOJOKAMOKU "
                           "WHERE CID = '01' AND KANKOCODE = '004' ORDER BY HOKOCODE"));
    }
    // Account 004 in the working chart, or in set 01.
    QString chart(const QString& from = QStringLiteral("T_KANJO WHERE")) {
        return value(QStringLiteral("SELECT KMCODE || '|' || KANNAME || '|' || JUN || '|' || "
                                    "HOJOSET || '|' || SIYOU FROM %1 KOCODE = '004'")
                         .arg(from));
    }
    QString setRow() { return chart(QStringLiteral("T_KISYUZAN WHERE CID = '01' AND")); }
    QStringList flags() {
        return rows(
            QStringLiteral("SELECT DISTINCT SYORIFLG || SYORIFLGH || ' ' || SYORIDAY "
                           "FROM T_TUKISIME WHERE CID = '01'"));
    }
    void expectNothingWritten(const QString& chartBefore) {
        EXPECT_EQ(chart(), chartBefore);
        EXPECT_EQ(setRow(), chartBefore);
        EXPECT_EQ(flags(), QStringList{QStringLiteral("11 2024/05/01")});
        EXPECT_FALSE(Database::global().inTransaction());
    }

    ChartList list;
    FocusRecorder host;
    std::unique_ptr<AccountDetail> detail;
};

TEST_F(AccountDetailTest, LoadsTheAccountItsLabelsAndNineSubsidiaryRows) {
    exec(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 15000000, JUN = 3 WHERE KOCODE = '004'"));
    exec(
        QStringLiteral("INSERT INTO T_HOJOKAMOKU VALUES ('01', '004', '02', 'A2', '钱包', 10000)"));
    exec(QStringLiteral("INSERT INTO T_HOJOKAMOKU VALUES ('01', '004', '05', 'A5', '零钱', 0)"));
    exec(QStringLiteral("INSERT INTO T_HOJOKAMOKU VALUES ('02', '004', '01', 'X', '别的账套', 0)"));
    AccountDetail& d = open();
    EXPECT_EQ(d.txtKamokuCode + u'|' + d.txtKamokuName + u'|' + d.txtNarabijyun,
              QStringLiteral("101|现金|3"));
    EXPECT_EQ(d.kisyuZandaka(), Money::fromInt(1500));
    EXPECT_EQ(labels(d), QStringLiteral("使用中|类    别|货币资金|货币资金合计"));
    EXPECT_EQ(grid(d), (QStringList{QStringLiteral("1011||0|01"), QStringLiteral("A2|钱包|1|02"),
                                    QStringLiteral("1013||0|03"), QStringLiteral("1014||0|04"),
                                    QStringLiteral("A5|零钱|0|05"), QStringLiteral("1016||0|06"),
                                    QStringLiteral("1017||0|07"), QStringLiteral("1018||0|08"),
                                    QStringLiteral("1019||0|09")}));
    // Subsidiary accounts switched off: the grid and its delete button are disabled.
    EXPECT_FALSE(d.hojokamokuTicked());
    EXPECT_EQ(controls(d), QStringLiteral("00101"));

    exec(QStringLiteral("UPDATE T_KANJO SET HOJOSET = 'Y' WHERE KOCODE = '004'"));
    d.cmdCancel_Click();  // outside a row edit: reloads
    EXPECT_TRUE(d.hojokamokuTicked());
    EXPECT_EQ(controls(d), QStringLiteral("11101"));

    // The subsidiary controls are off for numbers from "500" to "800" (text order).
    const QList<std::pair<QString, bool>> numbers = {
        {QStringLiteral("500"), false}, {QStringLiteral("800"), false},
        {QStringLiteral("6"), false},   {QStringLiteral("499"), true},
        {QStringLiteral("801"), true},  {QStringLiteral("50"), true}};
    for (const auto& [number, allowed] : numbers) {
        exec(QStringLiteral("UPDATE T_KANJO SET KMCODE = ? WHERE KOCODE = '004'"), {number});
        d.cmdCancel_Click();
        EXPECT_EQ(d.hojoControlsEnabled(), allowed) << number.toStdString();
        EXPECT_EQ(d.rows().at(2).hocode, number + u'3');
    }

    // A total account out of use, and a heading.
    list.activeChartRow().kocode = QStringLiteral("028");
    exec(QStringLiteral("UPDATE T_KANJO SET SIYOU = 'N' WHERE KOCODE = '028'"));
    EXPECT_EQ(labels(open()), QStringLiteral("未使用|现金存款||流动资产合计"));
    list.activeChartRow().kocode = QStringLiteral("411");
    EXPECT_EQ(labels(open()), QStringLiteral("使用中|现金合计|流动资产|"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(AccountDetailTest, RowEditConfirmCancelAndDelete) {
    AccountDetail& d = open();
    d.spdSS_DblClick(2);  // the grid is disabled while subsidiary accounts are off
    EXPECT_FALSE(d.rowEditMode());
    d.cmdHojokamoku_Click();
    EXPECT_TRUE(d.hojokamokuTicked());
    EXPECT_TRUE(d.gridEnabled());

    d.spdSS_DblClick(2);
    EXPECT_TRUE(d.rowEditMode());
    EXPECT_EQ(d.txtHK_Code + u'|' + d.txtHK_Name + u'|' + d.txtHK_Zandaka,
              QStringLiteral("1013||0"));
    EXPECT_EQ(host.focus, QStringLiteral("txtHK_Code"));
    EXPECT_EQ(controls(d), QStringLiteral("00010"));
    d.cmdHojokamoku_Click();  // disabled in row-edit mode
    EXPECT_TRUE(d.hojokamokuTicked());

    const struct {
        QString code, name, amount, message, focus;
    } refused[] = {
        {QStringLiteral("  "), QString(), QStringLiteral("0"),
         QStringLiteral("请在输入辅助科目代码后单击“确定”。"), QStringLiteral("txtHK_Code")},
        {QStringLiteral("B3"), QString(), QStringLiteral("0"),
         QStringLiteral("请在输入辅助科目名后单击“确定”。"), QStringLiteral("txtHK_Name")},
        {QStringLiteral("B3"), QStringLiteral("工商银行"), QStringLiteral("12,34.5x"),
         QStringLiteral("请输入正确的期初余额。"), QString()},
    };
    for (const auto& c : refused) {
        d.txtHK_Code = c.code;
        d.txtHK_Name = c.name;
        d.txtHK_Zandaka = c.amount;
        host.focus.clear();
        d.cmdSyusei_Click();
        EXPECT_EQ(messages.last().text, c.message);
        EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
        EXPECT_TRUE(d.rowEditMode()) << c.message.toStdString();
        if (!c.focus.isEmpty()) {
            EXPECT_EQ(host.focus, c.focus);
        }
    }
    d.txtHK_Zandaka = QStringLiteral("1,234.5");
    d.cmdSyusei_Click();
    EXPECT_FALSE(d.rowEditMode());
    EXPECT_EQ(controls(d), QStringLiteral("11101"));
    EXPECT_EQ(rowText(d.rows().at(2)), QStringLiteral("B3|工商银行|1234.5|03"));
    EXPECT_EQ(messages.shown.size(), 3);

    // Cancel inside a row edit leaves the row as it was.
    d.spdSS_DblClick(2);
    d.txtHK_Name = QStringLiteral("建设银行");
    d.cmdCancel_Click();
    EXPECT_FALSE(d.rowEditMode());
    EXPECT_EQ(d.rows().at(2).honame, QStringLiteral("工商银行"));

    // Delete empties name and balance; code and key stay.
    d.spdSS_Click(2);
    d.cmdDelete_Click();
    EXPECT_EQ(rowText(d.rows().at(2)), QStringLiteral("B3||0|03"));

    // Cancel outside a row edit reloads the stored account.
    d.txtKamokuName = QStringLiteral("改了");
    d.cmdCancel_Click();
    EXPECT_EQ(d.txtKamokuName, QStringLiteral("现金"));
    EXPECT_EQ(d.rows().at(2).hocode, QStringLiteral("1013"));
    EXPECT_FALSE(d.hojokamokuTicked());
    EXPECT_EQ(messages.shown.size(), 3);
}

TEST_F(AccountDetailTest, NumberAndNameAreCheckedOnLeavingAndNothingIsWritten) {
    const QString before = chart();
    AccountDetail& d = open();
    const QString tooLong = QStringLiteral("科目编号必须在3个字节以内。");
    const struct {
        QString code, name, message, focus;
    } refused[] = {
        // 外币现金 has 102.
        {QStringLiteral("102"), QStringLiteral("零用钱"), QStringLiteral("科目名称重复。"),
         QStringLiteral("txtKamokuCode")},
        {QStringLiteral("1011"), QStringLiteral("零用钱"), tooLong,
         QStringLiteral("txtKamokuCode")},
        {QStringLiteral("现金"), QStringLiteral("零用钱"), tooLong,
         QStringLiteral("txtKamokuCode")},
        {QStringLiteral("1é2"), QStringLiteral("零用钱"), tooLong, QStringLiteral("txtKamokuCode")},
        {QStringLiteral(" 101 "), QStringLiteral("一二三四五六七八九十一二三四五六"),
         QStringLiteral("科目名称必须在15个字以内。"), QStringLiteral("txtKamokuName")},
    };
    for (const auto& c : refused) {
        d.txtKamokuCode = c.code;
        d.txtKamokuName = c.name;
        host.focus.clear();
        EXPECT_FALSE(d.Form_Unload()) << c.code.toStdString();
        EXPECT_EQ(messages.last().text, c.message) << c.code.toStdString();
        EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(host.focus, c.focus) << c.code.toStdString();
        expectNothingWritten(before);
    }
    EXPECT_EQ(list.activeChartRow().kanname, QStringLiteral("现金"));
    const int refusals = static_cast<int>(messages.shown.size());
    EXPECT_EQ(refusals, 5);

    // The register button only checks.
    d.txtKamokuName = QStringLiteral("一二三四五六七八九十一二三四五");
    d.cmdTouroku_Click();
    EXPECT_EQ(messages.shown.size(), refusals);
    expectNothingWritten(before);

    // Fifteen characters and the account's own number pass.
    EXPECT_TRUE(d.Form_Unload());
    EXPECT_EQ(chart(), QStringLiteral("101|一二三四五六七八九十一二三四五|0|N|Y"));
    EXPECT_EQ(messages.shown.size(), refusals);
}

// Keys that the statements count differently cannot be taken into use, should a chart from
// elsewhere (a restored or converted one) carry them; without a number the account may stay.
TEST_F(AccountDetailTest, KeysTheStatementsDisagreeOnAreRefused) {
    for (const char* key : {"107", "164", "223", "349", "350"}) {
        exec(QStringLiteral("DELETE FROM T_KANJO WHERE KMCODE = '100'"));
        exec(QStringLiteral("INSERT INTO T_KANJO (KOCODE, KMCODE, KANNAME, SYORIKBN, TAIKBN, "
                            "TOCODE, BUNCODE, SIYOU, HOJOSET, JUN) SELECT ?, '100', '冲突科目', "
                            "'0', '0', TOCODE, BUNCODE, 'Y', 'N', 0 FROM T_KANJO WHERE KOCODE = "
                            "'004'"),
             {QLatin1String(key)});
        ASSERT_TRUE(list.Form_Load());
        list.cmbDaiBunrui_Click(0);
        list.spdSS_Click(0);
        ASSERT_EQ(list.activeChartRow().kocode, QLatin1String(key));
        AccountDetail& d = open();
        host.focus.clear();
        EXPECT_FALSE(d.Form_Unload()) << key;
        EXPECT_TRUE(messages.last().text.contains(QLatin1String(key))) << key;
        EXPECT_EQ(host.focus, QStringLiteral("txtKamokuCode"));
        EXPECT_EQ(value(QStringLiteral("SELECT KMCODE FROM T_KANJO WHERE KOCODE = ?"),
                        {QLatin1String(key)}),
                  QStringLiteral("100"));
        d.txtKamokuCode.clear();
        EXPECT_TRUE(d.Form_Unload()) << key;
        exec(QStringLiteral("DELETE FROM T_KANJO WHERE KOCODE = ?"), {QLatin1String(key)});
    }
}

TEST_F(AccountDetailTest, SubsidiaryBalancesMustAddUpOnlyWhileSwitchedOn) {
    exec(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 12340000 WHERE KOCODE = '004'"));
    const QString before = chart();
    AccountDetail& d = open();
    d.chkHojokamoku_Click(true);
    fill(d, 0, QStringLiteral("1011"), QStringLiteral("钱包"), QStringLiteral("1000"));
    fill(d, 1, QStringLiteral("1012"), QStringLiteral("抽屉"), QStringLiteral("233.5"));
    EXPECT_FALSE(d.Form_Unload());
    EXPECT_EQ(messages.last().text,
              QStringLiteral("现金的期初余额和辅助科目的期初余额不一致。\r\n\r\n"
                             "辅助科目的期初余额总计是￥1,233.50"));
    expectNothingWritten(before);
    EXPECT_TRUE(stored().isEmpty());
    d.cmdTouroku_Click();
    EXPECT_EQ(messages.shown.size(), 2);

    // Switched off: no comparison, and the rows are still rewritten from the grid.
    d.chkHojokamoku_Click(false);
    EXPECT_EQ(controls(d), QStringLiteral("00101"));
    EXPECT_TRUE(d.Form_Unload());
    EXPECT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(stored(), (QStringList{QStringLiteral("01|1011|钱包|10000000"),
                                     QStringLiteral("02|1012|抽屉|2335000")}));
    EXPECT_EQ(chart(), QStringLiteral("101|现金|0|N|Y"));

    // Switched on with a matching total.
    open();
    detail->chkHojokamoku_Click(true);
    fill(*detail, 1, QStringLiteral("1012"), QStringLiteral("抽屉"), QStringLiteral("234"));
    EXPECT_TRUE(detail->Form_Unload());
    EXPECT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(chart(), QStringLiteral("101|现金|0|Y|Y"));
    EXPECT_EQ(setRow(), QStringLiteral("101|现金|0|Y|Y"));
}

TEST_F(AccountDetailTest, SavingWritesBothTablesAndMarksEveryMonthStale) {
    exec(QStringLiteral("UPDATE T_KISYUZAN SET SIYOU = 'N' WHERE CID = '01' AND KOCODE = '004'"));
    AccountDetail& d = open();
    d.txtKamokuCode = QStringLiteral("109");
    d.txtKamokuName = QStringLiteral("O'Brien \"现\"");
    d.txtNarabijyun = QStringLiteral("5");
    d.chkHojokamoku_Click(true);
    fill(d, 3, QStringLiteral("X'1"), QStringLiteral("李\"四'"), QStringLiteral("0"));
    ASSERT_TRUE(d.Form_Unload());
    EXPECT_TRUE(messages.shown.isEmpty());
    const QString saved = QStringLiteral("109|O'Brien \"现\"|5|Y|Y");
    EXPECT_EQ(chart(), saved);
    EXPECT_EQ(setRow(), saved);
    EXPECT_EQ(stored(), QStringList{QStringLiteral("04|X'1|李\"四'|0")});
    // The list shows the edit.
    const ChartRow& row = list.activeChartRow();
    EXPECT_EQ(
        row.kmcode + u'|' + row.kanname + u'|' + QString::number(row.jun) + u'|' + row.hojoset,
        QStringLiteral("109|O'Brien \"现\"|5|Y"));
    // Every month of the period, opening month included, for both kinds.
    EXPECT_EQ(flags(), QStringList{QStringLiteral("00 2024/05/20")});
    EXPECT_FALSE(Database::global().inTransaction());

    // Read back as stored.
    open();
    EXPECT_EQ(detail->txtKamokuName, QStringLiteral("O'Brien \"现\""));
    EXPECT_EQ(rowText(detail->rows().at(3)), QStringLiteral("X'1|李\"四'|0|04"));
}

TEST_F(AccountDetailTest, EmptyRowsAreNotStoredAndTheNinthIsTheLast) {
    AccountDetail& d = open();
    d.chkHojokamoku_Click(true);
    fill(d, 0, QStringLiteral("1011"), QStringLiteral("甲"), QString());
    fill(d, 2, QStringLiteral("1013"), QStringLiteral("丙"), QString());
    ASSERT_TRUE(d.Form_Unload());
    EXPECT_EQ(stored(),
              (QStringList{QStringLiteral("01|1011|甲|0"), QStringLiteral("03|1013|丙|0")}));

    // The free key 02 is used when its row is filled; a deleted row goes.
    open();
    EXPECT_EQ(detail->rows().at(1).hocode, QStringLiteral("1012"));
    fill(*detail, 1, QStringLiteral("1012"), QStringLiteral("乙"), QString());
    detail->spdSS_Click(0);
    detail->cmdDelete_Click();
    ASSERT_TRUE(detail->Form_Unload());
    EXPECT_EQ(stored(),
              (QStringList{QStringLiteral("02|1012|乙|0"), QStringLiteral("03|1013|丙|0")}));

    // All nine rows filled; there is no tenth.
    open();
    for (int r = 0; r < AccountDetail::kSubsidiaryRows; ++r) {
        fill(*detail, r, QStringLiteral("H%1").arg(r + 1), QStringLiteral("第%1").arg(r + 1),
             QString());
    }
    ASSERT_EQ(detail->rows().size(), 9);
    detail->spdSS_DblClick(9);
    EXPECT_FALSE(detail->rowEditMode());
    ASSERT_TRUE(detail->Form_Unload());
    const QStringList nine = stored();
    ASSERT_EQ(nine.size(), 9);
    EXPECT_EQ(nine.first(), QStringLiteral("01|H1|第1|0"));
    EXPECT_EQ(nine.last(), QStringLiteral("09|H9|第9|0"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(AccountDetailTest, AFailedSaveRollsBackAndKeepsTheScreen) {
    exec(QStringLiteral("INSERT INTO T_HOJOKAMOKU VALUES ('01', '004', '01', 'A', '甲', 0)"));
    const QString before = chart();
    AccountDetail& d = open();
    d.txtKamokuName = QStringLiteral("零用钱");
    exec(
        QStringLiteral("CREATE TRIGGER NO_HOJO BEFORE INSERT ON T_HOJOKAMOKU "
                       "BEGIN SELECT RAISE(ABORT, 'no'); END"));
    EXPECT_FALSE(d.Form_Unload());
    EXPECT_TRUE(messages.last().text.endsWith(u"(update_kanjo_data)"));
    expectNothingWritten(before);
    EXPECT_EQ(stored(), QStringList{QStringLiteral("01|A|甲|0")});
    EXPECT_EQ(list.activeChartRow().kanname, QStringLiteral("现金"));

    exec(QStringLiteral("DROP TRIGGER NO_HOJO"));
    exec(QStringLiteral("DROP TABLE T_KISYUZAN"));
    EXPECT_FALSE(d.Form_Unload());
    EXPECT_TRUE(messages.last().text.endsWith(u"(save_data)"));
    EXPECT_EQ(chart(), before);
    EXPECT_EQ(list.activeChartRow().kanname, QStringLiteral("现金"));
    EXPECT_FALSE(Database::global().inTransaction());
}

TEST_F(AccountDetailTest, AnotherSetWithTheSameAccountsKeepsEveryRow) {
    exec(
        QStringLiteral("INSERT INTO T_HOJOKAMOKU VALUES ('01', '004', '01', '1011', '钱包', 0), "
                       "('01', '004', '02', '1012', '保险柜', 0), "
                       "('01', '009', '01', '1111', '工商银行', 0)"));
    SetSnapshot::copySet(QStringLiteral("01"), QStringLiteral("02"));
    const SetSnapshot other(QStringLiteral("02"));
    ASSERT_EQ(other.count(QStringLiteral("T_HOJOKAMOKU")), 3);

    // The account changed and its subsidiaries rewritten; then another account cleared from
    // the list.
    AccountDetail& d = open();
    d.txtKamokuName = QStringLiteral("现金及零钱");
    d.chkHojokamoku_Click(true);
    fill(d, 2, QStringLiteral("1013"), QStringLiteral("零钱"), QStringLiteral("0"));
    ASSERT_TRUE(d.Form_Unload());
    EXPECT_EQ(stored().size(), 3);
    list.spdSS_Click(2);
    messages.answers = {MsgAnswer::Yes};
    list.cmdDelete_Click();
    EXPECT_TRUE(messages.shown.size() == 1) << messages.texts().join(u'\n').toStdString();
    EXPECT_TRUE(other.unchanged());
}

}  // namespace
