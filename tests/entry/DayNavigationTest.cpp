#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "DailyEntryFixture.h"
#include "support/MessageBoxClicker.h"
#include "support/SetSnapshot.h"
#include "support/StringLists.h"

namespace {

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
