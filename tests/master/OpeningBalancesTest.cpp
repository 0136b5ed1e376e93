#include <gtest/gtest.h>

#include "OpeningBalancesFixture.h"
#include "support/MessageBoxClicker.h"
#include "support/SetSnapshot.h"

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

class OpeningBalancesLeaving : public OpeningBalancesFixture {
  protected:
    void SetUp() override {
        OpeningBalancesFixture::SetUp();
        // A cash book of three days whose chain starts from an old opening balance of 200.
        writeVoucher(QStringLiteral("01"), QStringLiteral("00001"), QStringLiteral("2024/01/01"),
                     QStringLiteral("200"), QStringLiteral("250"));
        writeVoucher(QStringLiteral("01"), QStringLiteral("00002"), QStringLiteral("2024/01/02"),
                     QStringLiteral("250"), QStringLiteral("300"));
        writeVoucher(QStringLiteral("01"), QStringLiteral("00003"), QStringLiteral("2024/01/03"),
                     QStringLiteral("300"), QStringLiteral("300"));
        before = vouchers();
        ASSERT_TRUE(logic.Form_Load());
    }

    static QString units(qint64 whole) { return QString::number(whole * Money::kScale); }

    OpeningBalances logic{*this};
    QStringList before;
};

const QString kUnbalanced =
    QStringLiteral("借贷差异不为\"0\"时不能返回上一页。请订正借贷科目使之为\"0\"。");

TEST_F(OpeningBalancesLeaving, RefusedWhileDebitAndCreditDiffer) {
    ASSERT_TRUE(logic.spdSS_Change(rowOf(logic, QStringLiteral("004")), QStringLiteral("1000")));
    EXPECT_FALSE(logic.unload_form());
    EXPECT_EQ(messages.texts(), QStringList{kUnbalanced});
    // The amount stays stored; nothing else happened.
    EXPECT_EQ(stored(QStringLiteral("004")), units(1000) + u'|' + units(1000));
    EXPECT_EQ(vouchers(), before);
    EXPECT_FALSE(anyMonthStale());

    ASSERT_TRUE(logic.spdSS_Change(rowOf(logic, QStringLiteral("165")), QStringLiteral("1000")));
    EXPECT_TRUE(logic.unload_form());
    EXPECT_EQ(messages.shown.size(), 1);
    EXPECT_FALSE(logic.changed());
}

TEST_F(OpeningBalancesLeaving, ACashOpeningBalanceShiftsTheChainAndMarksEveryMonth) {
    exec(QStringLiteral("UPDATE T_COMP_MAIN SET KANCNG = '1' WHERE CID = '01'"));
    ASSERT_TRUE(logic.Form_Load());
    ASSERT_TRUE(logic.spdSS_Change(rowOf(logic, QStringLiteral("004")), QStringLiteral("1000")));
    ASSERT_TRUE(logic.spdSS_Change(rowOf(logic, QStringLiteral("165")), QStringLiteral("1000")));

    // The rate is required when rates are in use.
    EXPECT_FALSE(logic.unload_form());
    EXPECT_EQ(messages.last().text, QStringLiteral("汇率未输入。"));
    EXPECT_EQ(rateFocused, 1);
    EXPECT_EQ(vouchers(), before);

    logic.setNumRate(7.25);
    ASSERT_TRUE(logic.unload_form());
    EXPECT_EQ(messages.shown.size(), 1);
    // Every day moves by 800, the difference between the new and the old opening balance.
    EXPECT_EQ(vouchers(),
              (QStringList{QStringLiteral("2024/01/01|") + units(1000) + u'|' + units(1050),
                           QStringLiteral("2024/01/02|") + units(1050) + u'|' + units(1100),
                           QStringLiteral("2024/01/03|") + units(1100) + u'|' + units(1100)}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_TUKISIME WHERE CID = '01' AND "
                                   "SYORIFLG = '0' AND SYORIFLGH = '0'")),
              13);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_KISYUZAN WHERE CID = '01' "
                                   "AND RATE = 7.25")),
              296);

    // Leaving again after showing the screen anew changes nothing more.
    exec(QStringLiteral("UPDATE T_TUKISIME SET SYORIFLG = '1', SYORIFLGH = '1'"));
    ASSERT_TRUE(logic.Form_Load());
    EXPECT_EQ(logic.numRate(), 7.25);
    ASSERT_TRUE(logic.unload_form());
    EXPECT_FALSE(anyMonthStale());
}

TEST_F(OpeningBalancesLeaving, WithoutAChangeNothingIsAdjustedOrMarked) {
    exec(QStringLiteral("UPDATE T_KISYUZAN SET RATE = 3 WHERE CID = '01'"));
    ASSERT_TRUE(logic.unload_form());
    EXPECT_TRUE(messages.shown.isEmpty());
    // The chain still starts from 200 though the cash opening balance is 0.
    EXPECT_EQ(vouchers(), before);
    EXPECT_FALSE(anyMonthStale());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_KISYUZAN WHERE RATE = 3")), 296);

    // A refused text is no change either.
    EXPECT_FALSE(logic.spdSS_Change(0, QStringLiteral("abc")));
    ASSERT_TRUE(logic.unload_form());
    EXPECT_EQ(vouchers(), before);
}

TEST_F(OpeningBalancesLeaving, SubsidiaryBalancesMustMatchTheirAccount) {
    exec(QStringLiteral("UPDATE T_KANJO SET HOJOSET = 'Y' WHERE KOCODE IN ('009', '030')"));
    addSubsidiary(QStringLiteral("009"), QStringLiteral("001"), 300 * Money::kScale);
    addSubsidiary(QStringLiteral("009"), QStringLiteral("002"), 1234 * Money::kScale);
    // Subsidiaries that sum to 0 are not compared with their account.
    addSubsidiary(QStringLiteral("030"), QStringLiteral("001"), 300 * Money::kScale);
    addSubsidiary(QStringLiteral("030"), QStringLiteral("002"), -300 * Money::kScale);
    ASSERT_TRUE(logic.spdSS_Change(rowOf(logic, QStringLiteral("009")), QStringLiteral("400")));
    ASSERT_TRUE(logic.spdSS_Change(rowOf(logic, QStringLiteral("030")), QStringLiteral("60")));
    ASSERT_TRUE(logic.spdSS_Change(rowOf(logic, QStringLiteral("165")), QStringLiteral("460")));

    EXPECT_FALSE(logic.unload_form());
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("银行存款的期初余额和辅助科目的期初余额不一致。\r\n"
                                         "辅助科目的期初余额总计为 1,534.00")});
    EXPECT_FALSE(anyMonthStale());

    // Subsidiaries of another set do not count.
    exec(
        QStringLiteral("UPDATE T_HOJOKAMOKU SET KISYUZAN = 100 * 10000 WHERE KANKOCODE = '009' "
                       "AND HOKOCODE = '001'"));
    exec(
        QStringLiteral("INSERT INTO T_HOJOKAMOKU (CID, KANKOCODE, HOKOCODE, KISYUZAN) "
                       "VALUES ('02', '009', '003', 990000)"));
    ASSERT_TRUE(logic.spdSS_Change(rowOf(logic, QStringLiteral("009")), QStringLiteral("1334")));
    ASSERT_TRUE(logic.spdSS_Change(rowOf(logic, QStringLiteral("165")), QStringLiteral("1394")));
    EXPECT_TRUE(logic.unload_form());
    EXPECT_EQ(messages.shown.size(), 1);
}

TEST_F(OpeningBalancesLeaving, AFailureRollsBackTheWholeLeavingWork) {
    ASSERT_TRUE(logic.spdSS_Change(rowOf(logic, QStringLiteral("004")), QStringLiteral("1000")));
    ASSERT_TRUE(logic.spdSS_Change(rowOf(logic, QStringLiteral("165")), QStringLiteral("1000")));
    // The month flags cannot be written: the day balances already shifted must come back.
    exec(
        QStringLiteral("CREATE TRIGGER no_flags BEFORE UPDATE ON T_TUKISIME "
                       "BEGIN SELECT RAISE(ABORT, 'locked'); END"));
    EXPECT_FALSE(logic.unload_form());
    EXPECT_TRUE(messages.last().text.endsWith(u"(UpdateTukiSimebi)"));
    EXPECT_EQ(vouchers(), before);
    EXPECT_FALSE(Database::global().inTransaction());
    EXPECT_TRUE(logic.changed());

    exec(QStringLiteral("DROP TRIGGER no_flags"));
    EXPECT_TRUE(logic.unload_form());
    EXPECT_EQ(vouchers().first(), QStringLiteral("2024/01/01|") + units(1000) + u'|' + units(1050));
}

TEST_F(OpeningBalancesLeaving, AnotherSetWithTheSameDaysAndAccountsKeepsEveryRow) {
    exec(QStringLiteral("UPDATE T_KISYUZAN SET KISYUZAN = ? WHERE CID = '01' AND KOCODE = '180'"),
         {units(50)});
    SetSnapshot::copySet(QStringLiteral("01"), QStringLiteral("02"));
    const SetSnapshot other(QStringLiteral("02"));
    ASSERT_EQ(other.count(QStringLiteral("T_SIWAKE")), 3);

    // Edits, leaving (the chain, the month flags, the rate) and clearing.
    ASSERT_TRUE(logic.spdSS_Change(rowOf(logic, QStringLiteral("004")), QStringLiteral("1000")));
    ASSERT_TRUE(logic.spdSS_Change(rowOf(logic, QStringLiteral("165")), QStringLiteral("1000")));
    logic.setNumRate(7.25);
    ASSERT_TRUE(logic.unload_form());
    EXPECT_NE(vouchers(), before);
    messages.answers = {MsgAnswer::Ok};
    ASSERT_TRUE(logic.cmdClear_Click());
    ASSERT_TRUE(logic.unload_form());
    EXPECT_TRUE(other.unchanged());
}

}  // namespace
