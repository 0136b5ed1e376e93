#include <gtest/gtest.h>

#include "OpeningBalancesFixture.h"
#include "support/SetSnapshot.h"

namespace {

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
