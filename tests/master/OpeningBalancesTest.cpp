#include <gtest/gtest.h>

#include "OpeningBalancesFixture.h"
#include "support/MessageBoxClicker.h"

namespace {

class OpeningBalancesTest : public OpeningBalancesFixture {};

constexpr qint64 kUnits = Money::kScale;

TEST_F(OpeningBalancesTest, LoadListsTheBalanceSheetPostingAccountsInUse) {
    // A heading, an account out of use and a posting account past the balance sheet stay out.
    exec(QStringLiteral("UPDATE T_KANJO SET SIYOU = 'N' WHERE KOCODE = '011'"));
    session().CallerForm = QStringLiteral("SyokiSetMenu");
    OpeningBalances logic(*this);
    ASSERT_TRUE(logic.Form_Load());
    EXPECT_EQ(session().CallerForm, QStringLiteral("InpKisyuZandaka"));
    EXPECT_EQ(logic.kisyu(), QStringLiteral("2024/01/01"));
    EXPECT_EQ(logic.kimatu(), QStringLiteral("2024/12/31"));

    QStringList listed;
    for (const OpeningBalanceRow& row : logic.rows()) {
        listed.append(row.KOCODE);
    }
    EXPECT_EQ(listed.size(), 80);
    EXPECT_EQ(listed.first() + listed.last(), QStringLiteral("004171"));
    // A heading, a subtotal line, an account not in use, an income account.
    for (const char* kocode : {"001", "028", "011", "180"}) {
        EXPECT_FALSE(listed.contains(QLatin1String(kocode))) << kocode;
    }
    QStringList sorted = listed;
    sorted.sort();
    EXPECT_EQ(sorted, listed);

    const OpeningBalanceRow& cash = logic.rows().first();
    EXPECT_EQ(cash.KMCODE + cash.KANNAME + cash.TAISYAKU, QStringLiteral("101现金借"));
    EXPECT_FALSE(cash.isCredit());
    const OpeningBalanceRow& depreciation = logic.rows().at(rowOf(logic, QStringLiteral("081")));
    EXPECT_EQ(depreciation.KMCODE + depreciation.TAISYAKU, QStringLiteral("168贷"));
    EXPECT_TRUE(depreciation.isCredit());

    // Without exchange rates the rate box is off and stays 0, whatever is stored.
    exec(QStringLiteral("UPDATE T_KISYUZAN SET RATE = 6.5 WHERE CID = '01'"));
    ASSERT_TRUE(logic.Form_Load());
    EXPECT_FALSE(logic.rateEnabled());
    EXPECT_EQ(logic.numRate(), 0.0);
    exec(QStringLiteral("UPDATE T_COMP_MAIN SET KANCNG = '1' WHERE CID = '01'"));
    ASSERT_TRUE(logic.Form_Load());
    EXPECT_TRUE(logic.rateEnabled());
    EXPECT_EQ(logic.numRate(), 6.5);
    EXPECT_FALSE(logic.changed());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(OpeningBalancesTest, AnEditLandsInBothTablesAndTheTotalsFollow) {
    OpeningBalances logic(*this);
    ASSERT_TRUE(logic.Form_Load());
    const int cash = rowOf(logic, QStringLiteral("004"));
    const int equity = rowOf(logic, QStringLiteral("165"));
    const int depreciation = rowOf(logic, QStringLiteral("081"));

    ASSERT_TRUE(logic.spdSS_Change(cash, QStringLiteral("1,234.5")));
    EXPECT_EQ(stored(QStringLiteral("004")), QStringLiteral("12345000|12345000"));
    EXPECT_EQ(logic.rows().at(cash).KISYUZAN, Money::fromUnits(12345 * 1000));
    EXPECT_EQ(totals(logic), QStringLiteral("1234.5|0|1234.5"));
    EXPECT_TRUE(logic.changed());

    // Credit-sided accounts, among them an asset's contra account, balance it.
    ASSERT_TRUE(logic.spdSS_Change(equity, QStringLiteral("1000")));
    ASSERT_TRUE(logic.spdSS_Change(depreciation, QStringLiteral(" 234.5 ")));
    EXPECT_EQ(totals(logic), QStringLiteral("1234.5|1234.5|0"));

    // Blank is 0.
    ASSERT_TRUE(logic.spdSS_Change(depreciation, QString()));
    EXPECT_EQ(stored(QStringLiteral("081")), QStringLiteral("0|0"));
    EXPECT_EQ(totals(logic), QStringLiteral("1234.5|1000|234.5"));
    EXPECT_TRUE(messages.shown.isEmpty());

    // Text that is no amount is refused and changes nothing.
    EXPECT_FALSE(logic.spdSS_Change(cash, QStringLiteral("12a")));
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("“12a”不是金额，请输入数字（例如 1234.56）。")});
    EXPECT_EQ(stored(QStringLiteral("004")), QStringLiteral("12345000|12345000"));
    EXPECT_EQ(logic.rows().at(cash).KISYUZAN, Money::fromUnits(12345 * 1000));
    EXPECT_FALSE(logic.spdSS_Change(static_cast<int>(logic.rows().size()), QStringLiteral("1")));
}

TEST_F(OpeningBalancesTest, TotalsCountEveryPostingAccountInUseExceptTheExcludedOnes) {
    Money debit;
    Money credit;
    // The three excluded codes, even as numbered posting accounts in use.
    exec(
        QStringLiteral("UPDATE T_KANJO SET SYORIKBN = '0', SIYOU = 'Y', KMCODE = 'X' || KOCODE, "
                       "KISYUZAN = 500 WHERE KOCODE IN ('202', '258')"));
    exec(
        QStringLiteral("INSERT INTO T_KANJO (KOCODE, KMCODE, KANNAME, SYORIKBN, TAIKBN, SIYOU, "
                       "KISYUZAN) VALUES ('362', '999', '其他', '0', '0', 'Y', 700)"));
    // An account without a number, one out of use, and a heading.
    exec(QStringLiteral("UPDATE T_KANJO SET KMCODE = '', KISYUZAN = 300 WHERE KOCODE = '005'"));
    exec(QStringLiteral("UPDATE T_KANJO SET SIYOU = 'N', KISYUZAN = 400 WHERE KOCODE = '124'"));
    exec(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 900 WHERE KOCODE = '001'"));
    ASSERT_TRUE(OpeningBalances::total_Kisyuzan(QStringLiteral("0"), debit));
    ASSERT_TRUE(OpeningBalances::total_Kisyuzan(QStringLiteral("1"), credit));
    EXPECT_EQ(debit, Money());
    EXPECT_EQ(credit, Money());

    // Posting accounts beyond the grid's rows still count.
    exec(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 60 WHERE KOCODE = '180'"));
    exec(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 8 WHERE KOCODE = '004'"));
    ASSERT_TRUE(OpeningBalances::total_Kisyuzan(QStringLiteral("0"), debit));
    ASSERT_TRUE(OpeningBalances::total_Kisyuzan(QStringLiteral("1"), credit));
    EXPECT_EQ(debit, Money::fromUnits(8));
    EXPECT_EQ(credit, Money::fromUnits(60));
    OpeningBalances logic(*this);
    ASSERT_TRUE(logic.Form_Load());
    EXPECT_EQ(logic.txtTaisyakuSai(), Money::fromUnits(-52));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(OpeningBalancesTest, ClearIsRefusedWhileSubsidiaryBalancesExist) {
    exec(QStringLiteral("UPDATE T_KANJO SET HOJOSET = 'Y', KISYUZAN = 50 WHERE KOCODE = '009'"));
    addSubsidiary(QStringLiteral("009"), QStringLiteral("001"), 0);
    OpeningBalances logic(*this);
    ASSERT_TRUE(logic.Form_Load());
    EXPECT_FALSE(logic.cmdClear_Click());
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("银行存款的辅助科目期初余额被设定，所以不能被清除。")});
    EXPECT_EQ(value(QStringLiteral("SELECT KISYUZAN FROM T_KANJO WHERE KOCODE = '009'")),
              QStringLiteral("50"));
    EXPECT_FALSE(logic.changed());

    // Subsidiaries of another set, or of an account that no longer uses them, do not matter.
    exec(QStringLiteral("UPDATE T_HOJOKAMOKU SET CID = '02'"));
    addSubsidiary(QStringLiteral("004"), QStringLiteral("001"), 0);
    messages.answers = {MsgAnswer::Ok};
    EXPECT_TRUE(logic.cmdClear_Click());
}

TEST_F(OpeningBalancesTest, ClearAsksAndZeroesBothTablesOnOk) {
    exec(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 50 WHERE KOCODE IN ('004', '180')"));
    exec(QStringLiteral("UPDATE T_KISYUZAN SET KISYUZAN = 50 WHERE KOCODE = '004'"));
    OpeningBalances logic(*this);
    ASSERT_TRUE(logic.Form_Load());
    const int cash = rowOf(logic, QStringLiteral("004"));

    // Cancel is the default answer.
    EXPECT_FALSE(logic.cmdClear_Click());
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("置期初余额的值为0。")});
    EXPECT_EQ(messages.last().defaultAnswer, MsgAnswer::Cancel);
    EXPECT_EQ(count(QStringLiteral("SELECT SUM(KISYUZAN) FROM T_KANJO")), 100);
    EXPECT_EQ(logic.rows().at(cash).KISYUZAN, Money::fromUnits(50));
    EXPECT_FALSE(logic.changed());

    {
        MessageBoxClicker clicker({QMessageBox::Ok});  // the real box, clicked
        EXPECT_TRUE(logic.cmdClear_Click());
        EXPECT_EQ(clicker.texts(), QStringList{QStringLiteral("置期初余额的值为0。")});
    }
    EXPECT_EQ(count(QStringLiteral("SELECT SUM(KISYUZAN) FROM T_KANJO")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT SUM(KISYUZAN) FROM T_KISYUZAN WHERE CID = '01'")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT SUM(KISYUZAN) FROM T_KISYUZAN WHERE CID <> '01'")), 600);
    EXPECT_EQ(logic.rows().at(cash).KISYUZAN, Money());
    EXPECT_EQ(totals(logic), QStringLiteral("0|0|0"));
    EXPECT_TRUE(logic.changed());
    EXPECT_EQ(messages.shown.size(), 1);  // the second went to the real box
}

TEST_F(OpeningBalancesTest, ErrorsNameTheRoutine) {
    OpeningBalances logic(*this);
    ASSERT_TRUE(logic.Form_Load());
    exec(QStringLiteral("DROP TABLE T_KISYUZAN"));
    EXPECT_FALSE(logic.spdSS_Change(0, QStringLiteral("5")));
    EXPECT_TRUE(messages.last().text.endsWith(u"(spdSS_Change)"));
    // The chart did not take the amount either.
    EXPECT_EQ(value(QStringLiteral("SELECT KISYUZAN FROM T_KANJO WHERE KOCODE = '004'")),
              QStringLiteral("0"));
    EXPECT_FALSE(logic.update_siwake());
    EXPECT_TRUE(messages.last().text.endsWith(u"(update_siwake)"));
    messages.answers = {MsgAnswer::Ok};
    EXPECT_FALSE(logic.cmdClear_Click());
    EXPECT_TRUE(messages.last().text.endsWith(u"(cmdClear_Click)"));

    exec(QStringLiteral("DROP TABLE T_HOJOKAMOKU"));
    EXPECT_FALSE(logic.unload_form());
    EXPECT_TRUE(messages.last().text.endsWith(u"(unload_form)"));

    exec(QStringLiteral("DROP TABLE T_KANJO"));
    Money total;
    EXPECT_FALSE(OpeningBalances::total_Kisyuzan(QStringLiteral("0"), total));
    EXPECT_TRUE(messages.last().text.endsWith(u"(total_Kisyuzan)"));
    exec(QStringLiteral("DROP TABLE WK_COMPANY"));
    EXPECT_FALSE(logic.Form_Load());
    EXPECT_TRUE(messages.last().text.endsWith(u"(Form_Load)"));
}

}  // namespace
