#include <gtest/gtest.h>

#include "DailyEntryFixture.h"
#include "support/StringLists.h"

namespace {

const QString kCash = QStringLiteral("101 现金");
const QString kBank = QStringLiteral("111 银行存款");
const QString kLoan = QStringLiteral("122 借出款");
const QString kWages = QStringLiteral("501 工资收入");
const QString kFood = QStringLiteral("701 食品费");
const QString kClearing = QStringLiteral("999 诸口（过渡科目）");

class DailyEntryTest : public DailyEntryFixture {
  protected:
    // Opens the screen from the main menu as the main window does.
    void open(DailyEntry& entry) {
        ASSERT_TRUE(GetMinMaxSiwakeDenCode());
        ASSERT_TRUE(entry.Form_Load(session().CallerForm));
        messages.shown.clear();
    }

    QStringList lines(const QString& dencode) {
        return rows(QStringLiteral("SELECT DENMENO, SIDAY, DATEYM, SISYU, KRKOCODE, KRHOKOCODE, "
                                   "KRBUKBN, KRTKBN, KRTKOCODE, KRTRITU, KRTKINNO, KRAICODE, "
                                   "KSKOCODE, KSHOKOCODE, KSTKBN, KSTRITU, KSAICODE, TECODE, "
                                   "TEKIYO, ptcode, KRKIN, KRTKIN, KSKIN, KSTKIN FROM T_SI_MEISAI "
                                   "WHERE CID = '01' AND DENCODE = ? ORDER BY DENMENO"),
                    {dencode}, 20);
    }

    // "income|expense|received|paid|profit|closing" in plain form.
    static QString totalsOf(const DailyEntry& entry) {
        const DayTotals& t = entry.totals();
        QStringList out;
        for (const Money& m : {t.income, t.expense, t.received, t.paid, t.profit, t.closing}) {
            out.append(m.toText());
        }
        return out.join(u'|');
    }

    void typeIncomeAndExpense(DailyEntry& entry, const QString& income, const QString& expense) {
        ASSERT_TRUE(entry.setSimpleAmount(
            EntryGrid::Income, rowOf(entry, EntryGrid::Income, QStringLiteral("180")), income));
        ASSERT_TRUE(entry.setSimpleAmount(
            EntryGrid::Expense, rowOf(entry, EntryGrid::Expense, QStringLiteral("263")), expense));
    }
};

TEST_F(DailyEntryTest, OpeningShowsTheNewestDayWithItsAccounts) {
    DailyEntry entry(*this);
    open(entry);
    EXPECT_EQ(entry.txtSyoriNen() + u' ' + entry.voucher().DENCODE,
              QStringLiteral("2024/05/20 00020"));
    EXPECT_EQ(entry.txtZenjituZandaka(), Money::fromInt(1000));
    EXPECT_FALSE(entry.rateVisible());
    EXPECT_EQ(entry.rows(EntryGrid::Income).size(), 7);
    EXPECT_EQ(entry.rows(EntryGrid::Expense).size(), 23);
    const SimpleEntryRow& wages = entry.rows(EntryGrid::Income).first();
    EXPECT_EQ(QStringList({wages.KANNAME, wages.KOCODE, wages.AICODE, wages.TAIKBN}).join(u'|'),
              QStringLiteral("工资收入|180|004|1"));
    // Two blank transfer rows; the account list starts empty and lists posting accounts.
    EXPECT_EQ(entry.transferRows().size(), 2);
    EXPECT_EQ(entry.accountList().first(), QString());
    EXPECT_TRUE(entry.accountList().contains(kCash));
    EXPECT_FALSE(entry.check_henko());
    EXPECT_EQ(entry.totals().closing, Money::fromInt(1000));

    // Exchange rates on: the rate box shows and a rate of 0 blocks saving.
    exec(QStringLiteral("UPDATE WK_COMPANY SET KANCNG = '1'"));
    session().CallerForm = QStringLiteral("InpSoukanjoMotchoH");
    ASSERT_TRUE(entry.Form_Load(session().CallerForm));
    EXPECT_TRUE(entry.rateVisible());
    EXPECT_EQ(entry.returnForm(session().CallerForm), QStringLiteral("InpSoukanjoMotchoH"));
    typeIncomeAndExpense(entry, QStringLiteral("100"), QString());
    EXPECT_FALSE(entry.cmdTouroku_Click());
    EXPECT_EQ(messages.last().text, QStringLiteral("汇率未输入。"));
    EXPECT_EQ(focus.last(), QStringLiteral("numRate"));
    EXPECT_EQ(count(QStringLiteral("SELECT (SELECT COUNT(*) FROM T_SI_MEISAI) + "
                                   "(SELECT COUNT(*) FROM T_DAY_TORAN)")),
              0);
    entry.setNumRate(7.1);
    EXPECT_TRUE(entry.cmdTouroku_Click());
    EXPECT_EQ(value(QStringLiteral("SELECT RATE FROM T_SIWAKE WHERE DENCODE = '00020'")),
              QStringLiteral("7.1"));
    session().CallerForm = QStringLiteral("SomethingElse");
    EXPECT_EQ(entry.returnForm(session().CallerForm), QStringLiteral("InOutMenu"));
}

TEST_F(DailyEntryTest, SimpleAmountsBecomeCashLinesAndSavingTwiceChangesNothing) {
    exec(QStringLiteral("UPDATE T_TUKISIME SET SYORIFLG = '1', SYORIFLGH = '1' WHERE CID = '01'"));
    DailyEntry entry(*this);
    open(entry);
    typeIncomeAndExpense(entry, QStringLiteral("100"), QStringLiteral("30"));
    entry.setSimpleDescription(EntryGrid::Expense,
                               rowOf(entry, EntryGrid::Expense, QStringLiteral("263")),
                               QStringLiteral("超市"));
    EXPECT_EQ(totalsOf(entry), QStringLiteral("100|30|100|30|70|1070"));
    EXPECT_TRUE(entry.check_henko());
    ASSERT_TRUE(entry.cmdTouroku_Click());
    EXPECT_EQ(messages.last().text, QStringLiteral("数据保存成功。"));
    EXPECT_EQ(focus.last(), QStringLiteral("txtSyoriNen"));
    EXPECT_EQ(busyCalls, (QList<bool>{true, false}));
    EXPECT_FALSE(entry.dirty());
    const QStringList saved = lines(QStringLiteral("00020"));
    EXPECT_EQ(saved, strings({"001|2024/05/20|2024/05|0|004||00|1|000|1|0|180|180||1|1|004|||"
                              "|100|100|100|100",
                              "002|2024/05/20|2024/05|0|263||00|1|000|1|0|004|004||1|1|263||超市|"
                              "|30|30|30|30"}));
    EXPECT_EQ(
        rows(QStringLiteral("SELECT KESSAN, DAYZAN FROM T_SIWAKE WHERE DENCODE = '00020'"), {}, 1),
        strings({"1|1070"}));
    // Every grid account got its day amount, zero or not.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_DAY_TORAN WHERE CID = '01' AND DATEYM "
                                   "= '2024/05'")),
              30);
    EXPECT_EQ(value(QStringLiteral("SELECT KIN20 FROM T_DAY_TORAN WHERE KOCODE = '180'")),
              QString::number(100 * Money::kScale));
    // The month is stale again for both kinds; other months are not touched.
    EXPECT_EQ(rows(QStringLiteral("SELECT DATEYM, SYORIFLG, SYORIFLGH FROM T_TUKISIME WHERE CID = "
                                  "'01' AND (SYORIFLG = '0' OR SYORIFLGH = '0')")),
              strings({"2024/05|0|0"}));

    ASSERT_TRUE(entry.cmdTouroku_Click());
    EXPECT_EQ(lines(QStringLiteral("00020")), saved);

    // Reloading the day shows what was saved; clearing the income cell stores 0 for the day.
    DailyEntry again(*this);
    open(again);
    const int wages = rowOf(again, EntryGrid::Income, QStringLiteral("180"));
    EXPECT_EQ(again.rows(EntryGrid::Income).at(wages).amount, Money::fromInt(100));
    EXPECT_EQ(again.rows(EntryGrid::Expense)
                  .at(rowOf(again, EntryGrid::Expense, QStringLiteral("263")))
                  .description,
              QStringLiteral("超市"));
    ASSERT_TRUE(again.setSimpleAmount(EntryGrid::Income, wages, QString()));
    ASSERT_TRUE(again.cmdTouroku_Click());
    EXPECT_EQ(value(QStringLiteral("SELECT KIN20 FROM T_DAY_TORAN WHERE KOCODE = '180'")),
              QStringLiteral("0"));
    EXPECT_EQ(lines(QStringLiteral("00020")).size(), 1);

    // Text that is not an amount is refused and changes nothing.
    EXPECT_FALSE(again.setSimpleAmount(EntryGrid::Income, wages, QStringLiteral("12x")));
    EXPECT_EQ(messages.last().text, QStringLiteral("“12x”不是金额，请输入数字（例如 1234.56）。"));
    EXPECT_EQ(again.rows(EntryGrid::Income).at(wages).amount, Money());
}

TEST_F(DailyEntryTest, TransferLinesCountTowardsTheTotalsByAccountKind) {
    exec(
        QStringLiteral("INSERT INTO T_TEKIYO (CID, TEKINO, TENAME) VALUES ('02', '001', "
                       "'五月工资'), ('01', '003', '五月工资')"));
    DailyEntry entry(*this);
    open(entry);
    // Cash in from wages: income and cash received; cash to the bank: paid out, no profit
    // effect; between two balance-sheet accounts without cash: nothing; food paid in cash and a
    // food refund received in cash.
    transferLine(entry, 0, kCash, kWages, QStringLiteral("50"));
    transferLine(entry, 1, kBank, kCash, QStringLiteral("20"));
    transferLine(entry, 2, kLoan, kBank, QStringLiteral("7"));
    transferLine(entry, 3, kFood, kCash, QStringLiteral("12.34"));
    transferLine(entry, 4, kCash, kFood, QStringLiteral("2"));
    EXPECT_EQ(totalsOf(entry), QStringLiteral("50|10.34|52|32.34|39.66|1019.66"));

    // The transfer rows are saved as kind-1 lines after the simple ones.
    typeIncomeAndExpense(entry, QStringLiteral("1"), QString());
    entry.setTransferCell(0, kDescriptionColumn, QStringLiteral("五月工资"));
    ASSERT_TRUE(entry.cmdTouroku_Click());
    const QStringList saved = lines(QStringLiteral("00020"));
    ASSERT_EQ(saved.size(), 6);
    EXPECT_EQ(saved.at(1), QStringLiteral("002|2024/05/20|2024/05|1|004||00|5|000|0|0|180|180||5|"
                                          "0|004|003|五月工资||50|50|50|50"));
    EXPECT_EQ(saved.at(4).section(u'|', 20, 20), QStringLiteral("12.34"));

    // Deleting a transfer row asks first and moves the rows below up.
    messages.answers = {MsgAnswer::No};
    EXPECT_FALSE(entry.deleteTransferRow(0));
    messages.answers = {MsgAnswer::Yes};
    ASSERT_TRUE(entry.deleteTransferRow(0));
    EXPECT_EQ(messages.last().text, QStringLiteral("可以删除被选择的行吗？"));
    EXPECT_EQ(messages.shown.last().title, QStringLiteral("确认"));
    EXPECT_EQ(entry.transferRows().first().debit, kBank);
    EXPECT_EQ(entry.totals().income, Money::fromInt(1));
}

TEST_F(DailyEntryTest, TransferValidation) {
    DailyEntry entry(*this);
    open(entry);
    // A row holding only a description passes and is not saved.
    entry.setTransferCell(0, kDescriptionColumn, QStringLiteral("备忘"));
    EXPECT_TRUE(entry.check_spread_data());
    ASSERT_TRUE(entry.cmdTouroku_Click());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI")), 0);

    // A credit account without a debit account.
    entry.setTransferCell(1, kCreditColumn, kBank);
    messages.shown.clear();
    EXPECT_FALSE(entry.cmdTouroku_Click());
    EXPECT_EQ(messages.texts(), strings({"未选择借方科目。"}));
    EXPECT_EQ(messages.shown.last().title, QStringLiteral("错误"));
    entry.setTransferCell(1, kDebitColumn, kCash);
    EXPECT_FALSE(entry.check_spread_data());
    EXPECT_EQ(messages.last().text, QStringLiteral("请输入金额。"));
    entry.setTransferCell(1, kCreditColumn, QString());
    EXPECT_FALSE(entry.check_spread_data());
    EXPECT_EQ(messages.last().text, QStringLiteral("未选择贷方科目。"));

    // Clearing-account lines must balance between debit and credit.
    transferLine(entry, 0, kClearing, kWages, QStringLiteral("300"));
    transferLine(entry, 1, kCash, kClearing, QStringLiteral("300"));
    EXPECT_TRUE(entry.check_spread_data());
    entry.setTransferCell(1, kAmountColumn, QStringLiteral("200"));
    messages.shown.clear();
    EXPECT_FALSE(entry.cmdTouroku_Click());
    EXPECT_EQ(messages.texts(), strings({"请输入各个分类的借贷金额，使其差值为0。"}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI")), 0);

    // An account the chart no longer knows is not saved silently.
    transferLine(entry, 1, QStringLiteral("123 不存在"), kClearing, QStringLiteral("300"));
    EXPECT_FALSE(entry.check_spread_data());
    EXPECT_EQ(messages.last().text, QStringLiteral("借方科目名称未被录入。"));

    // The 129th row is refused.
    while (entry.transferRows().size() < DailyEntry::kMaxTransferRows) {
        ASSERT_TRUE(entry.add_spread_row());
    }
    EXPECT_FALSE(entry.add_spread_row());
    EXPECT_EQ(messages.last().text, QStringLiteral("每日最多可录入128行汇总分类数据。"));
    EXPECT_EQ(entry.transferRows().size(), 128);
}

TEST_F(DailyEntryTest, PatternsFillTheRowOrRefuseAMissingAccount) {
    exec(
        QStringLiteral("INSERT INTO T_SI_PATTERN (CID, KRCODE, KSCODE, SINAME, TENAME, SETID, "
                       "SETPT) VALUES ('01', '101', '501', '工资', '五月工资', '1', ''), ('01', "
                       "'888', '101', '坏', '坏', '1', ''), ('01', '101', '887', '坏贷', '坏', "
                       "'1', '')"));
    exec(
        QStringLiteral("INSERT INTO T_HOJOKAMOKU (CID, KANKOCODE, HOKOCODE, HOCODE, HONAME) "
                       "VALUES ('01', '009', '002', '02', '工商银行'), ('01', '009', '001', "
                       "'01', '建设银行')"));
    exec(QStringLiteral("UPDATE T_KANJO SET HOJOSET = 'Y', HOSETNO = 'N' WHERE KOCODE = '009'"));
    DailyEntry entry(*this);
    open(entry);
    ASSERT_EQ(entry.patternList().size(), 3);
    EXPECT_TRUE(entry.setTransferCell(0, kPatternColumn, QStringLiteral("101501 工资")));
    const TransferEntryRow& row = entry.transferRows().at(0);
    EXPECT_EQ(
        QStringList({row.debit, row.credit, row.debitKocode, row.creditKocode, row.description})
            .join(u'|'),
        kCash + u'|' + kWages + QStringLiteral("|004|180|五月工资"));

    EXPECT_FALSE(entry.setTransferCell(1, kPatternColumn, QStringLiteral("888101 坏")));
    EXPECT_EQ(messages.last().text, QStringLiteral("借方科目名称未被录入。"));
    EXPECT_TRUE(entry.transferRows().at(1).pattern.isEmpty());
    EXPECT_TRUE(entry.transferRows().at(1).debit.isEmpty());
    EXPECT_FALSE(entry.setTransferCell(1, kPatternColumn, QStringLiteral("101887 坏贷")));
    EXPECT_EQ(messages.last().text, QStringLiteral("贷方科目名称未被录入。"));

    // A bank with subsidiaries offers them, first one chosen; the line stores its key.
    transferLine(entry, 1, kBank, kCash, QStringLiteral("20"));
    EXPECT_EQ(entry.transferRows().at(1).debitSubList, strings({"01 建设银行", "02 工商银行"}));
    EXPECT_EQ(entry.transferRows().at(1).debitSub, QStringLiteral("01 建设银行"));
    entry.setTransferCell(1, kDebitSubColumn, QStringLiteral("02 工商银行"));
    entry.setTransferCell(0, kAmountColumn, QStringLiteral("50"));
    ASSERT_TRUE(entry.cmdTouroku_Click());
    EXPECT_EQ(rows(QStringLiteral("SELECT KRKOCODE, KRHOKOCODE, KSAIHOCODE, ptcode FROM "
                                  "T_SI_MEISAI ORDER BY DENMENO")),
              strings({"004|||101501", "009|002|002|"}));

    // Reloading shows the pattern, the accounts and the chosen subsidiary again.
    ASSERT_TRUE(entry.set_start_spread());
    EXPECT_EQ(entry.transferRows().at(0).pattern, QStringLiteral("101501 工资"));
    EXPECT_EQ(entry.transferRows().at(1).debitSub, QStringLiteral("02 工商银行"));
    EXPECT_EQ(entry.transferRows().at(1).amount, Money::fromInt(20));
}

}  // namespace

namespace {

// The end of an error report: the routine's name in parentheses.
bool reportedBy(const RecordingMessages& shown, const char* routine) {
    return !shown.shown.isEmpty() &&
           shown.last().text.endsWith(u'(' + QString::fromUtf8(routine) + u')');
}

TEST_F(DailyEntryTest, DatabaseErrorsNameTheRoutineAndChangeNothing) {
    DailyEntry entry(*this);
    open(entry);
    typeIncomeAndExpense(entry, QStringLiteral("100"), QStringLiteral("30"));
    const QStringList before = chain();

    // A failing line writer rolls the whole save back, the grids keep what was typed.
    exec(
        QStringLiteral("CREATE TRIGGER no_lines BEFORE INSERT ON T_SI_MEISAI BEGIN SELECT "
                       "RAISE(ABORT, 'refused'); END"));
    EXPECT_FALSE(entry.cmdTouroku_Click());
    EXPECT_TRUE(reportedBy(messages, "write_siwake_meisai_data12"));
    EXPECT_EQ(chain(), before);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_DAY_TORAN")), 0);
    EXPECT_EQ(entry.totals().income, Money::fromInt(100));
    EXPECT_TRUE(entry.dirty());
    exec(QStringLiteral("DROP TRIGGER no_lines"));

    exec(QStringLiteral("DROP TABLE T_DAY_TORAN"));
    EXPECT_FALSE(entry.cmdTouroku_Click());
    EXPECT_TRUE(reportedBy(messages, "write_day_toran_data"));
    EXPECT_EQ(value(QStringLiteral("SELECT KESSAN FROM T_SIWAKE WHERE DENCODE = '00020'")),
              QStringLiteral("0"));

    // A list that cannot be read ends the opening: nothing loaded, no day created.
    exec(QStringLiteral("DROP TABLE T_SI_PATTERN"));
    Clock::setFixedToday(QDate(2024, 5, 21));
    DailyEntry broken(*this);
    EXPECT_FALSE(broken.Form_Load(session().CallerForm));
    EXPECT_FALSE(broken.loaded());
    EXPECT_TRUE(reportedBy(messages, "set_cmbIkkatuSiwake"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE")), 20);

    exec(QStringLiteral("DROP TABLE T_SIWAKE"));
    EXPECT_FALSE(make_new_siwake_data());
    EXPECT_TRUE(reportedBy(messages, "make_new_siwake_data"));
}

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
