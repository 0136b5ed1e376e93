#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <deque>
#include <functional>

#include "common/Session.h"
#include "db/DataSource.h"
#include "db/Database.h"
#include "maintenance/YearEndUpdate.h"
#include "statements/StatutoryBalanceSheet.h"
#include "statements/StatutoryProfitStatement.h"
#include "support/GeneratedYears.h"
#include "support/JournalLine.h"
#include "support/SetSnapshot.h"
#include "support/TestDatabase.h"

namespace {

const QString kSet = QStringLiteral("51");
const QString kOther = QStringLiteral("52");

// A generated calendar year 2024 on set 51 with two vouchers dated after it, beside a generated
// year on set 52 that shares voucher codes, days and accounts.
class YearEnd : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        fresh();
    }

    // The generated books, made once and copied for each case.
    void fresh() {
        static QTemporaryDir kept;
        const QString book = kept.filePath(QStringLiteral("year.mdb"));
        Database& db = Database::global();
        if (!QFile::exists(book)) {
            generate();
            db.close();
            ASSERT_TRUE(QFile::copy(DataSource::defaultPath(), book));
        } else {
            db.close();
            ASSERT_TRUE(QFile::remove(DataSource::defaultPath()));
            ASSERT_TRUE(QFile::copy(book, DataSource::defaultPath()));
        }
        db.open(DataSource::defaultPath());
        session().CurrentCid = kSet;
        session().CurrentYearLoaded = true;
        messages.shown.clear();
        messages.answers.clear();
        other = std::make_unique<SetSnapshot>(kOther);
    }

    void generate() {
        generateYear(kOther, QDate(2024, 1, 1), 300, 4, 7);
        generateYear(kSet, QDate(2024, 1, 1), 300, 4, 11);
        for (const auto& [code, day] :
             {std::pair{99990, "2025/01/09"}, std::pair{99995, "2025/01/03"}}) {
            const QString dencode = QStringLiteral("%1").arg(code);
            exec(QStringLiteral("INSERT INTO T_SIWAKE VALUES (?, ?, ?, ?, ?, '1', 0, 0, 0)"),
                 {kSet, dencode, dencode, QLatin1String(day), QLatin1String(day)});
            writeJournalLine(kSet, code, QLatin1String(day), QStringLiteral("004"), QString(),
                             QStringLiteral("009"), QString(), QStringLiteral("12.5"));
        }
    }

    YearEndUpdate loaded() {
        YearEndUpdate update(QStringLiteral("零售,\"A\""));
        EXPECT_TRUE(update.Form_Load());
        return update;
    }

    // Carry forward with both questions answered Yes.
    bool carryForward() {
        messages.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
        return loaded().cmdJikkou_Click();
    }

    // Everything the set holds, with the working chart (which has no CID).
    QStringList book() {
        QStringList all = SetSnapshot(kSet).rows();
        all += rows(QStringLiteral("SELECT * FROM T_KANJO ORDER BY KOCODE"));
        all += rows(QStringLiteral("SELECT * FROM WK_COMPANY"));
        return all;
    }

    std::unique_ptr<SetSnapshot> other;
};

// The closed year's balance sheet ends where the new year's begins, line by line; 171 opens
// with the closed year's 353; accounts outside the carried set open at 0; the period moves on,
// the closed vouchers go and the rest are renumbered in their old order.
TEST_F(YearEnd, CarryForwardOpensTheNextYearWithTheClosingBalances) {
    StatutoryBalanceSheet closing;
    ASSERT_TRUE(closing.fill());
    StatutoryProfitStatement profit;
    ASSERT_TRUE(profit.fill());
    const QString closing353 =
        value(QStringLiteral("SELECT KRRUI - KSRUI FROM T_TUKIKAN WHERE CID = ? AND KANKOCODE = "
                             "'353' AND DATEYM = '2024/12'"),
              {kSet});
    const qint64 closedLines = count(
        QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = ? AND SIDAY <= '2024/12/31'"),
        {kSet});
    ASSERT_GT(closedLines, 1000);
    messages.shown.clear();

    ASSERT_TRUE(carryForward()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(messages.texts().last(), QStringLiteral("年底结转成功！"));

    StatutoryBalanceSheet opening;
    ASSERT_TRUE(opening.fill());
    for (int line = 1; line <= kStatementLines; ++line) {
        EXPECT_EQ(opening.beginning().at(line), closing.ending().at(line)) << "line " << line;
    }
    EXPECT_NE(closing.ending().at(88), Money());
    // 171 takes 353's balance in place of its own, in the chart and in the set's rows.
    EXPECT_NE(closing353, QStringLiteral("0"));
    for (const char* table : {"T_KANJO", "T_KISYUZAN"}) {
        const QString where =
            QLatin1String(table) == u"T_KANJO" ? QString() : QStringLiteral(" AND CID = '51'");
        EXPECT_EQ(value(QStringLiteral("SELECT KISYUZAN FROM %1 WHERE KOCODE = '171'%2")
                            .arg(QLatin1String(table), where)),
                  value(QStringLiteral("SELECT KISYUZAN FROM %1 WHERE KOCODE = '353'%2")
                            .arg(QLatin1String(table), where)));
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_KISYUZAN WHERE CID = ? AND KISYUZAN "
                                   "<> 0 AND KOCODE > '173' AND KOCODE <> '353'"),
                    {kSet}),
              0);
    EXPECT_EQ(
        value(QStringLiteral("SELECT KISYU || ' ' || KIMATU || ' ' || KISYUM || ' ' || "
                             "SIINLDAY || ' ' || PKISYU || ' ' || PKIMATU FROM T_COMP_MAIN "
                             "WHERE CID = ?"),
              {kSet}),
        QStringLiteral("2025/01/01 2025/12/31 2025/01 2025/12/31 2025年01月01日 2025年12月31日"));
    EXPECT_EQ(rows(QStringLiteral("SELECT NENDOSU FROM T_COMP_MAIN WHERE CID = ?"), {kSet}),
              rows(QStringLiteral("SELECT NENDOSU + 1 FROM BT_COMP_MAIN WHERE CID = ?"), {kSet}));
    EXPECT_EQ(value(QStringLiteral("SELECT KISYU FROM WK_COMPANY")), QStringLiteral("2025/01/01"));
    EXPECT_EQ(
        rows(QStringLiteral("SELECT INYM FROM T_DAY_INPUT WHERE CID = ? ORDER BY INYM"), {kSet})
            .first(),
        QStringLiteral("2025/01"));
    // The closed year is kept whole, and only it is gone from the live tables.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM BT_SI_MEISAI WHERE CID = ?"), {kSet}),
              closedLines + 2);
    EXPECT_EQ(rows(QStringLiteral("SELECT DENCODE, DENNO, DENDAY FROM T_SIWAKE WHERE CID = ? "
                                  "ORDER BY DENCODE"),
                   {kSet}),
              (QStringList{QStringLiteral("00001|00001|2025/01/09"),
                           QStringLiteral("00002|00002|2025/01/03")}));
    EXPECT_EQ(
        rows(QStringLiteral("SELECT DENCODE, SIDAY FROM T_SI_MEISAI WHERE CID = ? ORDER BY "
                            "DENCODE"),
             {kSet}),
        (QStringList{QStringLiteral("00001|2025/01/09"), QStringLiteral("00002|2025/01/03")}));
    // The closed year's profit statement is saved for next year's previous-year column.
    QString columns = QStringLiteral("DATEYMD");
    for (int line = 1; line <= 64; ++line) {
        columns += QStringLiteral(", KIN%1").arg(line);
    }
    const QStringList saved =
        rows(QStringLiteral("SELECT %1 FROM P_KESANSYO WHERE CID = ?").arg(columns), {kSet}, 1);
    ASSERT_EQ(saved.size(), 1);
    const QStringList fields = saved.first().split(u'|');
    EXPECT_EQ(fields.first(), QStringLiteral("2024/12/31"));
    for (int line = 1; line <= 64; ++line) {
        EXPECT_EQ(fields.at(line), profit.thisYear().at(line).toText()) << "line " << line;
    }
    EXPECT_TRUE(other->unchanged());
}

// The previous year loaded back prints the statements printed before the carry forward; back
// to the current year, the set is exactly as the carry forward left it.
TEST_F(YearEnd, PreviousYearAndBackAgain) {
    StatutoryBalanceSheet sheetBefore;
    ASSERT_TRUE(sheetBefore.fill());
    StatutoryProfitStatement profitBefore;
    ASSERT_TRUE(profitBefore.fill());
    ASSERT_TRUE(carryForward());
    const QStringList current = book();

    messages.answers = {MsgAnswer::Yes};
    YearEndUpdate update = loaded();
    ASSERT_TRUE(update.cmdPerYear_Click()) << messages.texts().join(u'|').toStdString();
    EXPECT_FALSE(session().CurrentYearLoaded);
    EXPECT_FALSE(update.cmdJikkouEnabled);
    EXPECT_FALSE(update.cmdPerYearEnabled);
    EXPECT_TRUE(update.cmdNowYearEnabled);
    EXPECT_EQ(update.periodStart, QStringLiteral("2024/01/01"));
    EXPECT_EQ(QDir(update.temporaryFolder()).entryList({QStringLiteral("T_*.txt")}).size(), 11);

    StatutoryBalanceSheet sheet;
    ASSERT_TRUE(sheet.fill());
    StatutoryProfitStatement profit;
    ASSERT_TRUE(profit.fill());
    for (int line = 1; line <= kStatementLines; ++line) {
        EXPECT_EQ(sheet.beginning().at(line), sheetBefore.beginning().at(line)) << line;
        EXPECT_EQ(sheet.ending().at(line), sheetBefore.ending().at(line)) << line;
        EXPECT_EQ(profit.thisYear().at(line), profitBefore.thisYear().at(line)) << line;
    }

    ASSERT_TRUE(update.cmdNowYear_Click()) << messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(session().CurrentYearLoaded);
    EXPECT_TRUE(update.cmdJikkouEnabled);
    EXPECT_FALSE(update.cmdNowYearEnabled);
    EXPECT_EQ(book(), current);
    EXPECT_TRUE(other->unchanged());
}

// A correction made while the previous year is loaded reaches the current year's opening
// balances when it comes back.
TEST_F(YearEnd, CorrectedPreviousYearMovesTheOpeningBalances) {
    ASSERT_TRUE(carryForward());
    const QString cash = QStringLiteral(
        "SELECT KISYUZAN FROM T_KISYUZAN WHERE CID = '51' AND "
        "KOCODE = '004'");
    const qint64 before = value(cash).toLongLong();
    messages.answers = {MsgAnswer::Yes};
    YearEndUpdate update = loaded();
    ASSERT_TRUE(update.cmdPerYear_Click());
    exec(
        QStringLiteral("INSERT INTO T_SIWAKE VALUES ('51', '88888', '88888', '2024/12/30', "
                       "'2024/12/30', '1', 0, 0, 0)"));
    writeJournalLine(kSet, 88888, QStringLiteral("2024/12/30"), QStringLiteral("004"), QString(),
                     QStringLiteral("180"), QString(), QStringLiteral("100"));
    ASSERT_TRUE(update.cmdNowYear_Click());
    EXPECT_EQ(value(cash).toLongLong() - before, Money::fromInt(100).units());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM BT_SIWAKE WHERE DENCODE = '88888'")), 1);
    EXPECT_TRUE(other->unchanged());
}

// A failure at any step leaves the book exactly as before and names the routine.
TEST_F(YearEnd, FailureInTheMiddleLeavesTheBookAsBefore) {
    const struct {
        const char* operation;
        const char* trigger;  // the statement that fails
        const char* routine;
    } cases[] = {
        {"carry", "BEFORE INSERT ON BT_KANJO", "(cmdJikkou_Click)"},
        {"carry", "BEFORE INSERT ON P_KESANSYO", "(cmdJikkou_Click)"},
        {"carry", "BEFORE UPDATE ON T_COMP_MAIN", "(cmdJikkou_Click)"},
        {"carry", "BEFORE DELETE ON T_SI_MEISAI", "(cmdJikkou_Click)"},
        {"carry", "BEFORE UPDATE OF DENCODE ON T_SI_MEISAI", "(cmdJikkou_Click)"},
        {"carry", "BEFORE INSERT ON T_TUKIKAN", "(cmdJikkou_Click)"},
        {"previous", "BEFORE INSERT ON T_SI_MEISAI", "(cmdPerYear_Click)"},
        {"previous", "BEFORE INSERT ON WK_COMPANY", "(cmdPerYear_Click)"},
        {"back", "BEFORE INSERT ON BT_SIWAKE", "(reset_now_year_data)"},
        {"back", "BEFORE UPDATE ON T_HOJOKAMOKU", "(reset_now_year_data)"},
        {"init", "BEFORE UPDATE ON T_HOJOKAMOKU", "(cmdSyokika_ClickErr)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.operation) + " " + c.trigger);
        fresh();
        YearEndUpdate update = loaded();
        const QString operation = QLatin1String(c.operation);
        if (operation != u"carry" && operation != u"init") {
            ASSERT_TRUE(carryForward());
            messages.answers = {MsgAnswer::Yes};
            update = loaded();
        }
        if (operation == u"back") {
            ASSERT_TRUE(update.cmdPerYear_Click());
        }
        const QStringList before = book();
        exec(QStringLiteral("CREATE TRIGGER fail %1 BEGIN SELECT RAISE(ABORT, 'disk full'); END")
                 .arg(QLatin1String(c.trigger)));
        messages.shown.clear();
        messages.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
        const bool done = operation == u"carry"      ? update.cmdJikkou_Click()
                          : operation == u"previous" ? update.cmdPerYear_Click()
                          : operation == u"back"     ? update.cmdNowYear_Click()
                                                     : update.cmdSyokika_Click();
        EXPECT_FALSE(done);
        exec(QStringLiteral("DROP TRIGGER fail"));
        EXPECT_FALSE(Database::global().inTransaction());
        ASSERT_FALSE(messages.shown.isEmpty());
        EXPECT_TRUE(messages.last().text.endsWith(QLatin1String(c.routine)))
            << messages.last().text.toStdString();
        EXPECT_EQ(book(), before);
        EXPECT_TRUE(other->unchanged());
        EXPECT_EQ(session().CurrentYearLoaded, operation != u"back");
    }
}

// Every question and message of the screen, with its icon and default answer, and what the book
// looks like afterwards.
TEST_F(YearEnd, Messages) {
    const QString askUpdate = QStringLiteral(
        "进行下一年度的更新。\r\n进行结余转入和凭证删除等处理。\r\n前一年度的数据备份了吗？");
    const QString askStart = QStringLiteral("可以开始年底结转了吗?");
    const QString askPrevious = QStringLiteral("是要转到上一年度吗?");
    const QString askInit = QStringLiteral("进行数据的初始化。删除以前的全部凭证，可以吗?");
    struct Shown {
        QString text;
        MsgIcon icon;
        MsgAnswer defaultAnswer;
    };
    const auto question = [](const QString& text, MsgIcon icon, MsgAnswer answer) {
        return Shown{text, icon, answer};
    };
    const auto info = [](const char* text) {
        return Shown{QString::fromUtf8(text), MsgIcon::Information, MsgAnswer::Ok};
    };
    const auto carry = [](YearEndUpdate& u) { return u.cmdJikkou_Click(); };
    const auto previous = [](YearEndUpdate& u) { return u.cmdPerYear_Click(); };
    const auto initialise = [](YearEndUpdate& u) { return u.cmdSyokika_Click(); };
    const struct {
        const char* name;
        std::vector<const char*> prepare;  // statements run first
        std::function<bool(YearEndUpdate&)> run;
        std::deque<MsgAnswer> answers;
        std::vector<Shown> shown;
        bool changes;
    } cases[] = {
        {"rate box empty",
         {"UPDATE T_COMP_MAIN SET KANCNG = '1' WHERE CID = '51'"},
         carry,
         {},
         {{QStringLiteral("汇率未输入。"), MsgIcon::Exclamation, MsgAnswer::Ok}},
         false},
        {"not backed up",
         {},
         carry,
         {MsgAnswer::No},
         {question(askUpdate, MsgIcon::Question, MsgAnswer::Yes)},
         false},
        {"not now",
         {},
         carry,
         {MsgAnswer::Yes},
         {question(askUpdate, MsgIcon::Question, MsgAnswer::Yes),
          question(askStart, MsgIcon::Exclamation, MsgAnswer::No)},
         false},
        {"carried",
         {},
         carry,
         {MsgAnswer::Yes, MsgAnswer::Yes},
         {question(askUpdate, MsgIcon::Question, MsgAnswer::Yes),
          question(askStart, MsgIcon::Exclamation, MsgAnswer::No), info("年底结转成功！")},
         true},
        {"totals fail",
         {"CREATE TRIGGER fail BEFORE INSERT ON T_TUKIKAN BEGIN SELECT RAISE(ABORT, 'disk full'); "
          "END"},
         carry,
         {MsgAnswer::Yes, MsgAnswer::Yes},
         {question(askUpdate, MsgIcon::Question, MsgAnswer::Yes),
          question(askStart, MsgIcon::Exclamation, MsgAnswer::No),
          // The pass's step names itself, then the carry forward says what failed.
          {QStringLiteral("1811\r\ndisk full(msum_kisyu_tukikanjo)"), MsgIcon::Critical,
           MsgAnswer::Ok},
          {QStringLiteral("月次总计出现异常。"), MsgIcon::None, MsgAnswer::Ok},
          {QStringLiteral("0\r\nsave_now_data 未能完成。(cmdJikkou_Click)"), MsgIcon::Critical,
           MsgAnswer::Ok}},
         false},
        {"previous: no",
         {},
         previous,
         {},
         {question(askPrevious, MsgIcon::Exclamation, MsgAnswer::No)},
         false},
        {"previous: none saved",
         {},
         previous,
         {MsgAnswer::Yes},
         {question(askPrevious, MsgIcon::Exclamation, MsgAnswer::No), info("没有上一年度的数据。")},
         false},
        {"previous: ends two days before",
         {"INSERT INTO BT_COMP_MAIN SELECT * FROM T_COMP_MAIN WHERE CID = '51'",
          "UPDATE BT_COMP_MAIN SET KIMATU = '2023/12/30'"},
         previous,
         {MsgAnswer::Yes},
         {question(askPrevious, MsgIcon::Exclamation, MsgAnswer::No), info("没有上一年度的数据。")},
         false},
        {"init: no",
         {},
         initialise,
         {},
         {question(askInit, MsgIcon::Exclamation, MsgAnswer::No)},
         false},
        {"init",
         {},
         initialise,
         {MsgAnswer::Yes},
         {question(askInit, MsgIcon::Exclamation, MsgAnswer::No), info("数据初始化结束。")},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        for (const char* sql : c.prepare) {
            exec(QString::fromUtf8(sql));
        }
        YearEndUpdate update = loaded();
        const QStringList before = book();
        messages.answers = c.answers;
        EXPECT_EQ(c.run(update), c.changes);
        ASSERT_EQ(messages.shown.size(), c.shown.size())
            << messages.texts().join(u'|').toStdString();
        for (size_t i = 0; i < c.shown.size(); ++i) {
            const MessageRequest& m = messages.shown.at(static_cast<qsizetype>(i));
            EXPECT_EQ(m.text.toStdString(), c.shown[i].text.toStdString());
            EXPECT_EQ(m.icon, c.shown[i].icon) << i;
            if (m.buttons == MsgButtons::YesNo) {
                EXPECT_EQ(m.defaultAnswer, c.shown[i].defaultAnswer) << i;
            }
        }
        EXPECT_EQ(book() != before, c.changes);
        EXPECT_TRUE(other->unchanged());
    }
}

// Load the previous year, then back: the two success messages; the guidance text with and
// without the rate box.
TEST_F(YearEnd, PreviousYearMessagesAndGuidance) {
    YearEndUpdate plain = loaded();
    EXPECT_FALSE(plain.rateShown);
    EXPECT_EQ(plain.lblReadMe, QStringLiteral("请确认本年度的年底结转是否完成。"));
    EXPECT_EQ(plain.lblKisyubi, QStringLiteral("2025/01/01"));
    exec(QStringLiteral("UPDATE T_COMP_MAIN SET KANCNG = '1' WHERE CID = '51'"));
    YearEndUpdate foreign = loaded();
    EXPECT_TRUE(foreign.rateShown);
    EXPECT_EQ(foreign.lblReadMe, QStringLiteral("请确认本年度的年底结转是否完成。\r\n"
                                                "开始结转之前请先输入下一年度期首日汇率。"));
    // The rate typed for the next year goes to every account's row.
    foreign.rate = 7.25;
    messages.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    ASSERT_TRUE(foreign.cmdJikkou_Click());
    EXPECT_EQ(rows(QStringLiteral("SELECT DISTINCT RATE FROM T_KISYUZAN WHERE CID = '51'")),
              QStringList{QStringLiteral("7.25")});

    messages.shown.clear();
    messages.answers = {MsgAnswer::Yes};
    YearEndUpdate update = loaded();
    ASSERT_TRUE(update.cmdPerYear_Click());
    ASSERT_TRUE(update.cmdNowYear_Click());
    EXPECT_EQ(messages.texts(), (QStringList{QStringLiteral("是要转到上一年度吗?"),
                                             QStringLiteral("上一年度数据导入成功！"),
                                             QStringLiteral("数据恢复成功！")}));
    EXPECT_EQ(messages.shown.at(1).icon, MsgIcon::Information);
    EXPECT_EQ(messages.shown.at(2).icon, MsgIcon::Information);
}

}  // namespace
