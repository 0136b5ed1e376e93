#include <gtest/gtest.h>
#include <QRandomGenerator>

#include "DailyEntryFixture.h"
#include "support/MessageBoxClicker.h"
#include "support/SetSnapshot.h"
#include "support/StringLists.h"
#include "totals/DayBalances.h"

namespace {

class Vouchers : public DailyEntryFixture {};

TEST_F(Vouchers, DaysAreCreatedOnceUpToTodayCarryingTheLastBalance) {
    EXPECT_EQ(get_siwake_MaxNo(), 0);
    ASSERT_TRUE(make_new_siwake_data());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = '01'")), 20);
    EXPECT_EQ(rows(QStringLiteral("SELECT DENCODE, DENNO, DENDAY, SYORIDAY, KESSAN, YDAYZAN, "
                                  "DAYZAN, RATE FROM T_SIWAKE WHERE CID = '01' AND DENCODE IN "
                                  "('00001', '00009', '00010', '00020') ORDER BY DENCODE"),
                   {}, 5),
              strings({"00001|00001|2024/05/01|2024/05/20|0|1000|1000|0",
                       "00009|00009|2024/05/09|2024/05/20|0|1000|1000|0",
                       "00010|00010|2024/05/10|2024/05/20|0|1000|1000|0",
                       "00020|00020|2024/05/20|2024/05/20|0|1000|1000|0"}));
    EXPECT_EQ(session().MinDencode + u'-' + session().MaxDencode, QStringLiteral("00001-00020"));
    EXPECT_EQ(get_siwake_MaxNo(), 20);

    // A second opening the same day creates nothing.
    ASSERT_TRUE(make_new_siwake_data());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = '01'")), 20);

    // Days later, the new days carry the last voucher's closing balance, not the opening one.
    exec(QStringLiteral("UPDATE T_SIWAKE SET DAYZAN = ? WHERE CID = '01' AND DENCODE = '00020'"),
         {Money::fromInt(1234).toDb()});
    Clock::setFixedToday(QDate(2024, 5, 23));
    ASSERT_TRUE(make_new_siwake_data());
    EXPECT_EQ(
        rows(QStringLiteral("SELECT DENCODE, DENDAY, SYORIDAY, YDAYZAN, DAYZAN FROM "
                            "T_SIWAKE WHERE CID = '01' AND DENCODE > '00020' ORDER BY "
                            "DENCODE"),
             {}, 3),
        strings({"00021|2024/05/21|2024/05/23|1234|1234", "00022|2024/05/22|2024/05/23|1234|1234",
                 "00023|2024/05/23|2024/05/23|1234|1234"}));
    EXPECT_EQ(session().MaxDencode, QStringLiteral("00023"));
}

TEST_F(Vouchers, TheLastInputDayCapsCreation) {
    exec(QStringLiteral("UPDATE WK_COMPANY SET SIINLDAY = '2024/05/10'"));
    ASSERT_TRUE(make_new_siwake_data());
    EXPECT_EQ(value(QStringLiteral("SELECT MAX(DENDAY) FROM T_SIWAKE WHERE CID = '01'")),
              QStringLiteral("2024/05/10"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE")), 10);

    // A book already past the target day gets nothing more.
    exec(QStringLiteral("UPDATE WK_COMPANY SET SIINLDAY = '2024/05/05'"));
    ASSERT_TRUE(make_new_siwake_data());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE")), 10);
}

TEST_F(Vouchers, LookupsAndTheCarryForward) {
    ASSERT_TRUE(make_new_siwake_data());
    Voucher voucher;
    ASSERT_EQ(get_siwake_data(QStringLiteral("DENDAY"), QStringLiteral("2024/05/10"), voucher),
              VoucherLookup::Found);
    EXPECT_EQ(voucher.DENCODE + u'|' + voucher.DENNO + u'|' + voucher.YDAYZAN.toText(),
              QStringLiteral("00010|00010|1000"));
    EXPECT_EQ(get_siwake_data(QStringLiteral("DENCODE"), QStringLiteral("00099"), voucher),
              VoucherLookup::Missing);
    EXPECT_TRUE(voucher.DENCODE.isEmpty());
    EXPECT_EQ(voucher.DAYZAN, Money());
    EXPECT_EQ(get_siwake_meisai_MaxNo(QStringLiteral("00010")), 0);

    // Day 10 closes 100 higher: days 11..20 follow, days 1..10 keep their brought-forward.
    exec(QStringLiteral("UPDATE T_SIWAKE SET DAYZAN = ? WHERE CID = '01' AND DENCODE = '00010'"),
         {Money::fromInt(1100).toDb()});
    ASSERT_TRUE(update_next_zandaka(QStringLiteral("2024/05/10")));
    const QStringList balances = chain();
    EXPECT_EQ(balances.mid(8, 3) + balances.mid(19),
              strings({"1000/1000", "1000/1100", "1100/1100", "1100/1100"}));
    // Today has no later day; a day without a voucher shifts nothing.
    ASSERT_TRUE(update_next_zandaka(QStringLiteral("2024/05/20")));
    // With the clock set back, the days after "today" still follow a change.
    Clock::setFixedToday(QDate(2024, 5, 12));
    exec(QStringLiteral("UPDATE T_SIWAKE SET DAYZAN = ? WHERE CID = '01' AND DENCODE = '00012'"),
         {Money::fromInt(1105).toDb()});
    ASSERT_TRUE(update_next_zandaka(QStringLiteral("2024/05/12")));
    EXPECT_EQ(chain().at(19), QStringLiteral("1105/1105"));
    exec(QStringLiteral("UPDATE T_SIWAKE SET DAYZAN = ? WHERE CID = '01' AND DENCODE = '00012'"),
         {Money::fromInt(1100).toDb()});
    ASSERT_TRUE(update_next_zandaka(QStringLiteral("2024/05/12")));
    ASSERT_TRUE(UpdateSiwakeZandaka(QStringLiteral("2024/06/01"), Money::fromInt(5),
                                    QStringLiteral("InpKantanSiwake")));
    EXPECT_EQ(chain(), balances);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(Vouchers, AFailedLookupIsReportedAndShiftsNoLaterDay) {
    ASSERT_TRUE(make_new_siwake_data());
    exec(QStringLiteral("UPDATE T_SIWAKE SET DAYZAN = ? WHERE CID = '01' AND DENCODE = '00010'"),
         {Money::fromInt(1100).toDb()});
    // Reading day 10 fails (its closing balance overflows), while every other day reads and
    // updates as before.
    exec(QStringLiteral("ALTER TABLE T_SIWAKE RENAME TO T_SIWAKE_ROWS"));
    exec(QStringLiteral(
        "CREATE VIEW T_SIWAKE AS SELECT CID, DENCODE, DENNO, DENDAY, SYORIDAY, KESSAN, YDAYZAN, "
        "CASE WHEN DENDAY = '2024/05/10' THEN abs(-9223372036854775807 - 1) ELSE DAYZAN END "
        "AS DAYZAN, RATE FROM T_SIWAKE_ROWS"));
    exec(
        QStringLiteral("CREATE TRIGGER T_SIWAKE_UPDATE INSTEAD OF UPDATE ON T_SIWAKE BEGIN "
                       "UPDATE T_SIWAKE_ROWS SET YDAYZAN = NEW.YDAYZAN, DAYZAN = NEW.DAYZAN "
                       "WHERE CID = OLD.CID AND DENCODE = OLD.DENCODE; END"));
    const QString stored =
        QStringLiteral("SELECT YDAYZAN, DAYZAN FROM T_SIWAKE_ROWS ORDER BY DENCODE");
    const QStringList before = rows(stored, {}, 0);

    Voucher voucher;
    EXPECT_EQ(get_siwake_data(QStringLiteral("DENDAY"), QStringLiteral("2024/05/10"), voucher),
              VoucherLookup::Failed);
    EXPECT_TRUE(voucher.DENCODE.isEmpty());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.last().text.endsWith(u"(get_siwake_data)"))
        << messages.last().text.toStdString();
    EXPECT_FALSE(update_next_zandaka(QStringLiteral("2024/05/10")));
    EXPECT_EQ(rows(stored, {}, 0), before);
}

const QString kPast = QStringLiteral("选择的日期是过去时，数据不存在。");
const QString kFuture = QStringLiteral("选择的日期是将来时，数据不存在。");
const QString kLeaveQuestion = QStringLiteral("编辑过程中的数据还未确定，是要变更日期吗？");

class DayNavigation : public DailyEntryFixture {
  protected:
    void SetUp() override {
        DailyEntryFixture::SetUp();
        ASSERT_TRUE(GetMinMaxSiwakeDenCode());
        ASSERT_TRUE(entry.Form_Load(session().CallerForm));
        wages = rowOf(entry, EntryGrid::Income, QStringLiteral("180"));
        food = rowOf(entry, EntryGrid::Expense, QStringLiteral("263"));
    }

    // Moves to a day by typing it into the date box.
    bool go(const QString& day) {
        entry.setTxtSyoriNen(day);
        return entry.txtSyoriNen_LostFocus();
    }

    void saveDay(const QString& day, int income, int expense) {
        ASSERT_TRUE(go(day) || entry.txtSyoriNen() == day);
        ASSERT_TRUE(entry.setSimpleAmount(EntryGrid::Income, wages, QString::number(income)));
        ASSERT_TRUE(entry.setSimpleAmount(EntryGrid::Expense, food, QString::number(expense)));
        ASSERT_TRUE(entry.cmdTouroku_Click());
    }

    // Every voucher brings forward the previous day's closing balance, and the first brings
    // forward the opening cash balance.
    void expectUnbrokenChain() {
        const QStringList balances = chain();
        ASSERT_EQ(balances.first().section(u'/', 0, 0), QStringLiteral("1000"));
        for (int i = 1; i < balances.size(); ++i) {
            ASSERT_EQ(balances.at(i).section(u'/', 0, 0), balances.at(i - 1).section(u'/', 1, 1))
                << "voucher " << i + 1;
        }
    }

    DailyEntry entry{*this};
    int wages = -1;
    int food = -1;
};

TEST_F(DayNavigation, MovingIsBoundedByTheFirstDayTodayAndTheRange) {
    // Today: the next day does not exist, and nothing is asked even with edits.
    ASSERT_TRUE(entry.setSimpleAmount(EntryGrid::Income, wages, QStringLiteral("5")));
    EXPECT_FALSE(entry.cmdYokujitu_Click());
    EXPECT_EQ(messages.texts(), QStringList{kFuture});
    EXPECT_EQ(entry.txtSyoriNen(), QStringLiteral("2024/05/20"));

    // Unsaved edits: No keeps the day and the edits, Yes drops them.
    messages.answers = {MsgAnswer::No};
    EXPECT_FALSE(entry.cmdZenjitu_Click());
    EXPECT_EQ(messages.last().text, kLeaveQuestion);
    EXPECT_EQ(entry.txtSyoriNen(), QStringLiteral("2024/05/20"));
    EXPECT_EQ(entry.totals().income, Money::fromInt(5));
    messages.answers = {MsgAnswer::Yes};
    ASSERT_TRUE(entry.cmdZenjitu_Click());
    EXPECT_EQ(entry.txtSyoriNen(), QStringLiteral("2024/05/19"));
    EXPECT_EQ(entry.totals().income, Money());
    ASSERT_TRUE(entry.cmdYokujitu_Click());
    EXPECT_EQ(entry.voucher().DENCODE, QStringLiteral("00020"));

    // The first day has no day before it.
    ASSERT_TRUE(go(QStringLiteral("2024/05/01")));
    messages.shown.clear();
    EXPECT_FALSE(entry.cmdZenjitu_Click());
    EXPECT_EQ(messages.texts(), QStringList{kPast});
    EXPECT_EQ(entry.txtSyoriNen(), QStringLiteral("2024/05/01"));

    // Typing the day shown only moves the cursor; dates out of reach are refused and restored.
    focus.clear();
    EXPECT_TRUE(go(QStringLiteral("2024/05/01")));
    EXPECT_EQ(focus, strings({"spdSS1"}));
    // Whether there is a date at all is asked before whether it is too late or too early.
    const QString noDate = QStringLiteral("请正确输入凭证日期。");
    const std::pair<QString, QString> refused[] = {
        {QStringLiteral("2024/05/21"), kFuture}, {QStringLiteral("2024/04/30"), kPast},
        {QStringLiteral("2024/05/1x"), noDate},  {QStringLiteral("9999/99/99"), noDate},
        {QStringLiteral("2024/02/30"), noDate},  {QString(), QStringLiteral("请输入日期。")}};
    for (const auto& [typed, message] : refused) {
        messages.shown.clear();
        EXPECT_FALSE(go(typed));
        EXPECT_EQ(messages.texts(), QStringList{message}) << typed.toStdString();
        EXPECT_EQ(entry.txtSyoriNen(), QStringLiteral("2024/05/01"));
    }
    EXPECT_EQ(messages.last().icon, MsgIcon::None);

    // A day inside the period whose voucher is missing, and the correction range.
    exec(QStringLiteral("DELETE FROM T_SIWAKE WHERE DENCODE = '00005'"));
    messages.shown.clear();
    EXPECT_FALSE(go(QStringLiteral("2024/05/05")));
    EXPECT_EQ(messages.texts(), strings({"符合日期的数据不存在。"}));
    session().MinDencode = QStringLiteral("00010");
    session().MaxDencode = QStringLiteral("00020");
    EXPECT_FALSE(go(QStringLiteral("2024/05/09")));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("选择范围内没有数据。\r\n请确认选择范围是否合适。"));
    EXPECT_EQ(entry.voucher().DENCODE, QStringLiteral("00001"));
    exec(QStringLiteral("UPDATE WK_COMPANY SET SIINLDAY = '2024/05/15'"));
    ASSERT_TRUE(entry.Form_Load(session().CallerForm));
    EXPECT_FALSE(go(QStringLiteral("2024/05/16")));
    EXPECT_EQ(messages.last().text, QStringLiteral("超过凭证日期的输入范围。"));

    // A date typed but not left yet: saving moves to that day first and saves nothing.
    entry.setTxtSyoriNen(QStringLiteral("2024/05/02"));
    EXPECT_FALSE(entry.cmdTouroku_Click());
    EXPECT_EQ(entry.voucher().DENCODE, QStringLiteral("00002"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE KESSAN = '1'")), 0);

    // Closing with unsaved edits asks; No stays.
    ASSERT_TRUE(entry.setSimpleAmount(EntryGrid::Income, wages, QStringLiteral("5")));
    messages.answers = {MsgAnswer::No};
    EXPECT_FALSE(entry.cmdBack_Click());
    EXPECT_EQ(messages.last().text, QStringLiteral("编辑过程中的数据并未被录入，立即结束可以吗？"));
    ASSERT_TRUE(entry.setSimpleAmount(EntryGrid::Income, wages, QString()));
    EXPECT_TRUE(entry.cmdBack_Click());  // back to what was loaded: nothing to lose
}

TEST_F(DayNavigation, SavingAndDeletingKeepTheBalanceChain) {
    saveDay(QStringLiteral("2024/05/03"), 100, 30);
    EXPECT_EQ(chain().at(2) + u' ' + chain().at(19), QStringLiteral("1000/1070 1070/1070"));
    // Raising day 3's closing balance by 50 raises every later day by 50.
    saveDay(QStringLiteral("2024/05/03"), 150, 30);
    EXPECT_EQ(chain().at(1) + u' ' + chain().at(19), QStringLiteral("1000/1000 1120/1120"));
    expectUnbrokenChain();

    // A day without lines cannot be deleted.
    ASSERT_TRUE(go(QStringLiteral("2024/05/04")));
    messages.shown.clear();
    EXPECT_FALSE(entry.cmdDelete_Click());
    EXPECT_EQ(messages.texts(), strings({"这个凭证不存在。"}));

    // Deleting day 3 asks (Cancel first), then clears it and lowers later days by 120.
    exec(QStringLiteral("UPDATE T_SIWAKE SET RATE = 6.5 WHERE DENCODE = '00003'"));
    ASSERT_TRUE(go(QStringLiteral("2024/05/03")));
    exec(QStringLiteral("UPDATE T_TUKISIME SET SYORIFLG = '1', SYORIFLGH = '1'"));
    messages.answers = {MsgAnswer::Cancel};
    EXPECT_FALSE(entry.cmdDelete_Click());
    EXPECT_EQ(messages.last().text,
              QStringLiteral("单击“确定”后，此日的数据就被全部删除。\r\n要想删除汇总分类数据，请"
                             "单击汇总分类数据所在行最左边的“D”。\r\n\r\n是要删除此日的数据吗？"));
    EXPECT_EQ(messages.shown.last().defaultAnswer, MsgAnswer::Cancel);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI")), 2);
    {
        MessageBoxClicker clicker({QMessageBox::Ok});  // the real box, clicked
        ASSERT_TRUE(entry.cmdDelete_Click());
        EXPECT_EQ(clicker.seen().size(), 1);
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI")), 0);
    EXPECT_EQ(rows(QStringLiteral("SELECT KESSAN, YDAYZAN, DAYZAN, RATE FROM T_SIWAKE WHERE "
                                  "DENCODE = '00003'"),
                   {}, 1),
              strings({"0|1000|1000|0"}));
    EXPECT_EQ(chain().at(19), QStringLiteral("1000/1000"));
    EXPECT_EQ(value(QStringLiteral("SELECT SUM(KIN3) FROM T_DAY_TORAN")), QStringLiteral("0"));
    EXPECT_EQ(rows(QStringLiteral("SELECT DATEYM FROM T_TUKISIME WHERE SYORIFLG = '0' AND "
                                  "SYORIFLGH = '0'")),
              strings({"2024/05"}));
    EXPECT_EQ(entry.totals().closing, Money::fromInt(1000));
    EXPECT_EQ(entry.rows(EntryGrid::Income).at(wages).amount, Money());
    // The next save of the day writes the rate the deletion reset, not the one it had loaded.
    EXPECT_EQ(entry.numRate(), 0.0);
    saveDay(QStringLiteral("2024/05/03"), 10, 0);
    EXPECT_EQ(value(QStringLiteral("SELECT RATE FROM T_SIWAKE WHERE DENCODE = '00003'")),
              QStringLiteral("0"));
}

TEST_F(DayNavigation, TheChainHoldsAfterAnyMixOfSavesAndDeletions) {
    QRandomGenerator random(20240520);
    for (int step = 0; step < 40; ++step) {
        const QString day =
            QStringLiteral("2024/05/%1").arg(1 + random.bounded(20), 2, 10, QLatin1Char('0'));
        messages.answers = {MsgAnswer::Yes, MsgAnswer::Ok};
        if (random.bounded(4) == 0) {
            ASSERT_TRUE(go(day) || entry.txtSyoriNen() == day);
            entry.cmdDelete_Click();
        } else {
            saveDay(day, random.bounded(500), random.bounded(500));
        }
        expectUnbrokenChain();
    }
    // The last day's closing balance is the opening cash plus every saved day's net.
    const QString net = value(QStringLiteral(
        "SELECT SUM(CASE WHEN KRKOCODE = '004' THEN KRKIN ELSE -KRKIN END) FROM T_SI_MEISAI"));
    EXPECT_EQ(chain().last().section(u'/', 1, 1),
              Money::fromInt(1000 + net.toLongLong() / Money::kScale).toText());
}

TEST_F(DayNavigation, AnotherSetWithTheSameDaysKeepsEveryRow) {
    saveDay(QStringLiteral("2024/05/03"), 100, 30);
    transferLine(entry, 0, QStringLiteral("111 银行存款"), QStringLiteral("101 现金"),
                 QStringLiteral("40"));
    ASSERT_TRUE(entry.cmdTouroku_Click());
    saveDay(QStringLiteral("2024/05/04"), 7, 0);
    SetSnapshot::copySet(QStringLiteral("01"), QStringLiteral("02"));
    const SetSnapshot other(QStringLiteral("02"));
    ASSERT_EQ(other.count(QStringLiteral("T_SI_MEISAI")), 4);
    ASSERT_GT(other.count(QStringLiteral("T_DAY_TORAN")), 0);

    // Saving a day again replaces its lines and amounts and moves every later day; deleting a
    // day clears it; a later opening adds days.
    saveDay(QStringLiteral("2024/05/03"), 150, 60);
    ASSERT_TRUE(go(QStringLiteral("2024/05/04")));
    messages.answers = {MsgAnswer::Ok};
    ASSERT_TRUE(entry.cmdDelete_Click());
    Clock::setFixedToday(QDate(2024, 5, 22));
    DailyEntry later(*this);
    ASSERT_TRUE(later.Form_Load(session().CallerForm));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = '01'")), 22);
    EXPECT_TRUE(other.unchanged());
}

}  // namespace
