#include <gtest/gtest.h>

#include <functional>

#include "common/Session.h"
#include "db/Database.h"
#include "db/RowWriters.h"
#include "entry/JournalPrint.h"
#include "support/RecordingReportOutput.h"
#include "support/SetSnapshot.h"
#include "support/StringLists.h"
#include "support/TestDatabase.h"

namespace {

const QString kAllOut = QStringLiteral(
    "SELECT CID, SIDAY, DENNO, DENMENO, SISYU, KRKMCODE, KRHOCODE, KRKANNAME, KRHONAME, KRBUKBN, "
    "KRTKBN, KRTKOCODE, KSKMCODE, KSHOCODE, KSKANNAME, KSHONAME, KSBUKBN, KSTKBN, KSTKOCODE, "
    "TEKIYO, KRTKIN, KRKIN, KSTKIN, KSKIN FROM T_SIALL_OUT ORDER BY DENNO, DENMENO");
constexpr int kFirstAmount = 20;
const QString kSlots = QStringLiteral(
    "SELECT PCODE1, PCODE2, PCODE3, PCODE4, PCODE5, PCODE6, PCODE7, PCODE8, PCODE9 FROM "
    "T_PRINTKOMOKU");

// Set 01 has vouchers 00001-00005 on 2024/05/01-05; days 02 and 05 have no lines. Account 034
// has subsidiary 001 ("甲公司"); account 555 is not in the chart. Set 02 is the same book
// with another subsidiary name and a sixth voucher with a line.
class JournalBook : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("01");
        exec(QStringLiteral("DELETE FROM T_SIWAKE WHERE CID IN ('01', '02')"));
        exec(QStringLiteral("DELETE FROM T_SI_MEISAI WHERE CID IN ('01', '02')"));
        for (int d = 1; d <= 5; ++d) {
            voucher(QStringLiteral("01"), d);
        }
        exec(
            QStringLiteral("INSERT INTO T_HOJOKAMOKU (CID, KANKOCODE, HOKOCODE, HOCODE, HONAME) "
                           "VALUES ('01', '034', '001', 'A1', '甲公司')"));
        line(QStringLiteral("01"), 1, 1, "004", "", "180", "", "3000", "O'Brien \"A\"");
        line(QStringLiteral("01"), 1, 2, "034", "001", "004", "", "200.5", "");
        line(QStringLiteral("01"), 3, 1, "263", "", "000", "", "800", "wages");
        line(QStringLiteral("01"), 4, 1, "555", "", "009", "", "1200", "gone");
        // A tax column that differs from the amount shows where each column lands.
        exec(QStringLiteral(
            "UPDATE T_SI_MEISAI SET KRTKIN = 70000, KSTKIN = 90000 WHERE CID = '01' AND "
            "DENCODE = '00003'"));
        SetSnapshot::copySet(QStringLiteral("01"), QStringLiteral("02"));
        exec(QStringLiteral("UPDATE T_HOJOKAMOKU SET HONAME = '乙公司' WHERE CID = '02'"));
        voucher(QStringLiteral("02"), 6);
        line(QStringLiteral("02"), 6, 1, "004", "", "180", "", "99", "other set");
    }

    void voucher(const QString& cid, int number) {
        const QString code = QStringLiteral("%1").arg(number, 5, 10, QLatin1Char('0'));
        exec(QStringLiteral("INSERT INTO T_SIWAKE VALUES (?, ?, ?, ?, '2024/05/20', '1', 0, 0, 0)"),
             {cid, code, code, QStringLiteral("2024/05/%1").arg(number, 2, 10, QLatin1Char('0'))});
    }

    // A transfer line as the daily entry screen writes it.
    void line(const QString& cid, int voucher, int number, const char* debit, const char* debitSub,
              const char* credit, const char* creditSub, const char* amount,
              const char* description) {
        const QString day = QStringLiteral("2024/05/%1").arg(voucher, 2, 10, QLatin1Char('0'));
        const QString a = QLatin1String(amount);
        // Account, subsidiary, BUKBN, TKBN, TKOCODE, TRITU, TKINNO, KIN, TKIN, counter-account.
        const auto side = [&](const char* account, const char* sub, const char* other,
                              const char* otherSub) {
            return strings({account, sub, "00", "5", "000", "0", "0"}) + QStringList{a, a} +
                   strings({other, otherSub});
        };
        QStringList f{QStringLiteral("%1").arg(voucher, 5, 10, QLatin1Char('0')),
                      QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')),
                      cid,
                      day,
                      day.left(7),
                      QStringLiteral("1")};
        f << side(debit, debitSub, credit, creditSub) << side(credit, creditSub, debit, debitSub)
          << QString() << QString::fromUtf8(description) << QString();
        ASSERT_TRUE(WriteSiMeisaiTable(f, QStringLiteral("T_SI_MEISAI")))
            << Database::global().lastErrorText().toStdString();
    }

    RecordingReportOutput reports;
};

const QStringList kWholeJournal{
    QStringLiteral("01|24.05.01|00001|001|1|101||现金||00|5|000|501||工资收入||00|5|000|"
                   "O'Brien \"A\"|3000|3000|3000|3000"),
    QStringLiteral("01|24.05.01|00001|002|1|122|A1|借出款|甲公司|00|5|000|101||现金||00|5|000|"
                   "|200.5|200.5|200.5|200.5"),
    QStringLiteral("01|24.05.03|00003|001|1|701||食品费||00|5|000|||||00|5|000|wages|7|800|9|800"),
    QStringLiteral("01|24.05.04|00004|001|1|555||没有科目||00|5|000|111||银行存款||00|5|000|"
                   "gone|1200|1200|1200|1200"),
};

// Untouched lists print the whole journal: every line of set 01 in voucher and line order, the
// names from the chart, the header slots, the layout in preview and print; set 02 is untouched.
TEST_F(JournalBook, UntouchedListsFillAndPrintTheWholeJournal) {
    exec(QStringLiteral("INSERT INTO T_SIALL_OUT (CID, DENNO) VALUES ('09', 'stale')"));
    const SetSnapshot other(QStringLiteral("02"));
    ASSERT_EQ(other.count(QStringLiteral("T_SI_MEISAI")), 5);
    JournalPrint print;
    session().CallerForm = QStringLiteral("InOutMenu");
    ASSERT_TRUE(print.Form_Load());
    EXPECT_EQ(session().CallerForm, QStringLiteral("prtSiwakeNikki"));
    ASSERT_EQ(print.days().size(), 5);
    EXPECT_EQ(print.days().at(4).text, QStringLiteral("2024/05/05"));
    EXPECT_EQ(print.days().at(4).denno, 5);
    EXPECT_EQ(print.firstIndex(), -1);
    EXPECT_EQ(print.lastIndex(), -1);
    QList<bool> busy;
    print.setBusyHandler([&](bool on) { busy.append(on); });

    EXPECT_TRUE(print.cmdHyouji_Click());
    EXPECT_TRUE(print.cmdInsatu_Click());
    EXPECT_EQ(rows(kAllOut, {}, kFirstAmount), kWholeJournal);
    EXPECT_EQ(rows(kSlots), QStringList{QStringLiteral("|||||2024/05/01|2024/05/05|1|5")});
    EXPECT_EQ(print.firstIndex(), 0);
    EXPECT_EQ(print.lastIndex(), 4);
    EXPECT_EQ(busy, (QList<bool>{true, false, true, false}));
    EXPECT_EQ(reports.calls(), strings({"preview R_SIWAKE_NIKKI 4", "print R_SIWAKE_NIKKI 4"}));
    EXPECT_EQ(reports.last().data.vars.value(QStringLiteral("slot9")), QStringLiteral("5"));
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
    EXPECT_TRUE(other.unchanged());
}

// The day range of the command-line report: the first day on or after the start, the last on or
// before the end, an empty bound meaning that end of the journal.
TEST_F(JournalBook, FillForDaysChoosesTheVouchersInsideTheDays) {
    struct Case {
        const char* from;
        const char* to;
        std::initializer_list<const char*> vouchers;
        const char* header;
    };
    const Case cases[] = {
        {"", "", {"00001", "00001", "00003", "00004"}, "2024/05/01|2024/05/05|1|5"},
        {"2024/05/02", "", {"00003", "00004"}, "2024/05/02|2024/05/05|2|5"},
        {"", "2024/05/03", {"00001", "00001", "00003"}, "2024/05/01|2024/05/03|1|3"},
        {"2024/04/01", "2024/05/01", {"00001", "00001"}, "2024/05/01|2024/05/01|1|1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " - " + c.to);
        JournalPrint print;
        ASSERT_TRUE(print.fillForDays(QLatin1String(c.from), QLatin1String(c.to)));
        EXPECT_EQ(rows(QStringLiteral("SELECT DENNO FROM T_SIALL_OUT ORDER BY DENNO, DENMENO")),
                  strings(c.vouchers));
        EXPECT_EQ(rows(kSlots), QStringList{QStringLiteral("|||||") + QLatin1String(c.header)});
    }
    EXPECT_TRUE(reports.calls().isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty());
}

// Every refusal: the message, exclamation icon and title, nothing printed, the work table and
// the daily entry screen's range as they were.
TEST_F(JournalBook, RefusalsSayWhyAndPrintNothing) {
    const QString wrongRange = QStringLiteral("凭证编号或者凭证日期指定错误。\r\n请重新选择一次。");
    const QString noData = QStringLiteral("没有符合条件的数据。");
    const QString noVoucher = QStringLiteral("凭证类别不存在。");
    using Action = std::function<bool(JournalPrint&)>;
    const Action preview = [](JournalPrint& p) { return p.cmdHyouji_Click(); };
    const Action print = [](JournalPrint& p) { return p.cmdInsatu_Click(); };
    const Action correct = [](JournalPrint& p) { return p.cmdSyusei_Click(); };
    const auto range = [](int first, int last, Action then) -> Action {
        return [=](JournalPrint& p) {
            p.setFirstIndex(first);
            p.setLastIndex(last);
            return then(p);
        };
    };
    const auto days = [](const char* from, const char* to) -> Action {
        return
            [=](JournalPrint& p) { return p.fillForDays(QLatin1String(from), QLatin1String(to)); };
    };
    struct Case {
        const char* name;
        const char* cid;
        Action action;
        QString text;
    };
    const Case cases[] = {
        {"no voucher, preview", "03", preview, noVoucher},
        {"no voucher, print", "03", print, noVoucher},
        {"no voucher, correct", "03", correct, noVoucher},
        {"no voucher, days", "03", days("", ""), noVoucher},
        {"first after last", "01", range(3, 1, preview), wrongRange},
        {"first after last, correct", "01", range(4, 0, correct), wrongRange},
        {"days without lines", "01", range(1, 1, print), noData},
        {"last day without lines", "01", range(4, 4, correct), noData},
        {"days after the journal", "01", days("2024/06/01", ""), noData},
        {"days before the journal", "01", days("", "2024/04/30"), noData},
        {"days the wrong way round", "01", days("2024/05/04", "2024/05/02"), wrongRange},
    };
    exec(QStringLiteral("INSERT INTO T_SIALL_OUT (CID, DENNO) VALUES ('01', 'kept')"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session().CurrentCid = QLatin1String(c.cid);
        messages.shown.clear();
        JournalPrint journal;
        ASSERT_TRUE(journal.Form_Load());
        session().MinDencode = QStringLiteral("min");
        session().CallerForm = QStringLiteral("InOutMenu");
        EXPECT_FALSE(c.action(journal));
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.last().text, c.text);
        EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(messages.last().title, QStringLiteral("Ombrel"));
        EXPECT_EQ(session().MinDencode, QStringLiteral("min"));
        EXPECT_EQ(session().CallerForm, QStringLiteral("InOutMenu"));
    }
    EXPECT_TRUE(reports.calls().isEmpty());
    EXPECT_EQ(rows(QStringLiteral("SELECT DENNO FROM T_SIALL_OUT")), strings({"kept"}));
}

// A row the work table refuses ends the print with the standard error message; the table keeps
// what it held, and no report is shown.
TEST_F(JournalBook, ARefusedRowEndsThePrint) {
    exec(QStringLiteral("INSERT INTO T_SIALL_OUT (CID, DENNO) VALUES ('01', 'kept')"));
    exec(QStringLiteral("ALTER TABLE T_SIALL_OUT DROP COLUMN TEKIYO"));
    JournalPrint print;
    ASSERT_TRUE(print.Form_Load());
    EXPECT_FALSE(print.cmdHyouji_Click());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("(PrintShiwakeDen)")))
        << messages.last().text.toStdString();
    EXPECT_TRUE(reports.calls().isEmpty());
    EXPECT_EQ(rows(QStringLiteral("SELECT DENNO FROM T_SIALL_OUT")), strings({"kept"}));
    EXPECT_FALSE(Database::global().inTransaction());
}

TEST_F(JournalBook, CorrectionSetsTheRangeOfTheDailyScreenAndHelpSaysHowToPrint) {
    JournalPrint print;
    ASSERT_TRUE(print.Form_Load());
    session().CallerForm = QStringLiteral("InOutMenu");
    print.setFirstIndex(2);
    EXPECT_TRUE(print.cmdSyusei_Click());
    EXPECT_EQ(session().MinDencode, QStringLiteral("00003"));
    EXPECT_EQ(session().MaxDencode, QStringLiteral("00005"));
    EXPECT_EQ(session().CallerForm, QStringLiteral("prtSiwakeNikki"));
    print.cmdQuestion_Click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.last().icon, MsgIcon::Information);
    EXPECT_EQ(
        messages.last().text,
        QStringLiteral("把录入的交易内容作为日记账打印出来。\r\n用A4纸打印。\r\n在下拉框中选择"
                       "日期，单击“打印预览”就会显示日记账一览表。"));
}

}  // namespace
