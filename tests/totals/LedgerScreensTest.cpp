#include <gtest/gtest.h>

#include <functional>

#include "common/Session.h"
#include "master/CurrentAccountSet.h"
#include "support/GoldenText.h"
#include "support/RecordingReportOutput.h"
#include "support/SetSnapshot.h"
#include "totals/GeneralLedger.h"
#include "totals/LedgerCorrection.h"
#include "totals/TotalsBook.h"

namespace {

const QString kAllColumns = QStringLiteral(
    "SELECT KANKOCODE, SIDAY, DENNO, DENMENO, JUN, KMCODE, KMNAME, AICODE, AINAME, AIHOCODE, "
    "AIHONAME, TEKIYO, KRKIN, KSKIN, ZAN FROM T_SKANMT_OUT ORDER BY KANKOCODE, SIDAY, DENNO, "
    "DENMENO, JUN");

// The household book of the totals tests (set 01, 2024/04-2025/03) with its vouchers, counter
// accounts as the daily screen writes them, a line on 004's both sides and a line whose tax
// column holds the amount again. Set 02 is a copy with other amounts.
class LedgerBook : public TotalsBook {
  protected:
    void SetUp() override {
        TotalsBook::SetUp();
        standardBook();
        line("2024/07/20", "004", "", "004", "", "70");
        exec(
            QStringLiteral("UPDATE T_SI_MEISAI SET KRAICODE = KSKOCODE, KRAIHOCODE = KSHOKOCODE, "
                           "KSAICODE = KRKOCODE, KSAIHOCODE = KRHOKOCODE, KRTKIN = KRKIN, KSTKIN "
                           "= KSKIN, TEKIYO = 'line ' || DENCODE WHERE CID = '01'"));
        exec(
            QStringLiteral("UPDATE T_HOJOKAMOKU SET HONAME = '客户' || HOKOCODE WHERE CID = "
                           "'01'"));
        exec(QStringLiteral(
            "INSERT INTO T_SIWAKE (CID, DENCODE, DENNO, DENDAY, SYORIDAY, KESSAN, YDAYZAN, DAYZAN, "
            "RATE) SELECT DISTINCT CID, DENCODE, DENCODE, SIDAY, SIDAY, '1', 0, 0, 0 FROM "
            "T_SI_MEISAI WHERE CID = '01'"));
        ASSERT_TRUE(ResetCompanyData());
        SetSnapshot::copySet(QStringLiteral("01"), QStringLiteral("02"));
        exec(
            QStringLiteral("UPDATE T_SI_MEISAI SET KRKIN = KRKIN * 3, KSKIN = KSKIN * 3 WHERE "
                           "CID = '02'"));
        ASSERT_TRUE(ledger.Form_Load());
    }

    int monthIndex(const char* month) {
        for (int i = 0; i < ledger.months().size(); ++i) {
            if (ledger.months().at(i).month == QLatin1String(month)) {
                return i;
            }
        }
        ADD_FAILURE() << month;
        return -1;
    }

    int accountIndex(const char* number) {
        for (int i = 0; i < ledger.accounts().size(); ++i) {
            if (ledger.accounts().at(i).number == QByteArray(number).toInt()) {
                return i;
            }
        }
        ADD_FAILURE() << number;
        return -1;
    }

    void choose(const char* first, const char* last, const char* firstAccount,
                const char* lastAccount) {
        ledger.setFirstMonth(monthIndex(first));
        ledger.setLastMonth(monthIndex(last));
        ledger.setFirstAccount(accountIndex(firstAccount));
        ledger.setLastAccount(accountIndex(lastAccount));
    }

    GeneralLedger ledger;
    RecordingReportOutput reports;
};

// The work table of May-July, all accounts, against its golden file. 004 shows the line on both its sides, 034 the
// subsidiary as counter account, 124 an opening balance carried without a line before July.
TEST_F(LedgerBook, WorkTableOfThreeMonthsMatchesItsGolden) {
    const SetSnapshot other(QStringLiteral("02"));
    choose("2024/05", "2024/07", "101", "999");
    ASSERT_TRUE(ledger.cmdHyouji_Click());
    EXPECT_TRUE(messages.shown.isEmpty());
    expectGoldenText(QStringLiteral("totals"), QStringLiteral("GeneralLedger"),
                     rows(kAllColumns, {}, 12).join(u'\n') + u'\n');
    EXPECT_EQ(reports.calls(),
              QStringList{QStringLiteral("preview R_KANJYOMOTOTYO %1")
                              .arg(count(QStringLiteral("SELECT COUNT(*) FROM T_SKANMT_OUT")))});
    EXPECT_EQ(value(QStringLiteral("SELECT PCODE4 || '|' || PCODE6 || '|' || PCODE7 FROM "
                                   "T_PRINTKOMOKU")),
              QStringLiteral("《税法》|2024年5月|2024年7月"));
    EXPECT_TRUE(ledger.dataHyojiEnabled());
    EXPECT_TRUE(other.unchanged());
}

// The lists: months up to the period's end, posting accounts without 202, 258 and 355-362.
TEST_F(LedgerBook, ListsAndDefaultsOfEmptySelections) {
    ASSERT_EQ(ledger.months().size(), 12);
    EXPECT_EQ(ledger.months().first().text, QStringLiteral("2024年4月"));
    EXPECT_EQ(ledger.months().last().month, QStringLiteral("2025/03"));
    EXPECT_EQ(ledger.accounts().first().text, QStringLiteral("101 现金"));
    for (const LedgerAccount& a : ledger.accounts()) {
        EXPECT_FALSE(a.kocode >= u"355" && a.kocode <= u"362") << a.kocode.toStdString();
    }
    EXPECT_EQ(session().CallerForm, GeneralLedger::kForm);
    ASSERT_TRUE(ledger.checkSelections());
    EXPECT_EQ(ledger.firstMonth(), 0);
    EXPECT_EQ(ledger.lastMonth(), 11);
    EXPECT_EQ(ledger.firstAccount(), 0);
    EXPECT_EQ(ledger.lastAccount(), ledger.accounts().size() - 1);
}

TEST_F(LedgerBook, EveryMessageOfTheLedgerAndTheCorrectionScreens) {
    const QString crlf = Messages::kCrLf;
    LedgerCorrection correction;
    struct Case {
        const char* name;
        std::function<void()> act;
        MsgIcon icon;
        QString text;
    };
    const QList<Case> cases = {
        {"months reversed",
         [&] {
             choose("2024/07", "2024/05", "101", "101");
             ledger.cmdHyouji_Click();
         },
         MsgIcon::Exclamation,
         QStringLiteral("指定的对象年月出现错误。") + crlf + QStringLiteral("请重新选择一次。")},
        {"accounts reversed",
         [&] {
             choose("2024/05", "2024/07", "201", "101");
             ledger.cmdInsatu_Click();
         },
         MsgIcon::Exclamation,
         QStringLiteral("科目的指定出现错误。") + crlf + QStringLiteral("请重新选择一次。")},
        {"no ledger in the range",
         [&] {
             choose("2024/05", "2024/07", "102", "102");
             ledger.cmdHyouji_Click();
         },
         MsgIcon::Exclamation, QStringLiteral("没有符合条件的数据。")},
        {"help", [&] { ledger.cmdQuestion_Click(); }, MsgIcon::Information,
         QStringLiteral("把录入的交易内容作为总账打印。") + crlf + QStringLiteral("用A4纸打印。") +
             crlf + QStringLiteral("在下拉框中选择日期后单击“打印预览”就会显示一览表。")},
        {"correction help", [&] { ledger.Command1_Click(); }, MsgIcon::Exclamation,
         QStringLiteral("如果要修改在打印预览里看到的数据，") + crlf +
             QStringLiteral("请选择想要修改的科目名然后单击“账目预览”，") + crlf +
             QStringLiteral("进入账目预览画面即可修改。")},
        {"correction of an empty row",
         [&] {
             correction.Form_Load({});
             correction.cmdsyusei_Click(0);
         },
         MsgIcon::Exclamation, QStringLiteral("被选择的行没有数据。")},
        {"correction screen help", [&] { correction.cmdQuestion_Click(); }, MsgIcon::None,
         QStringLiteral("在修改数据的时候") + crlf +
             QStringLiteral("选择想要修改的数据后单击“确定”。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("DELETE FROM T_SKANMT_OUT"));
        messages.shown.clear();
        c.act();
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.last().icon, c.icon);
        EXPECT_EQ(messages.last().title, QStringLiteral("Ombrel"));
        EXPECT_EQ(messages.last().text, c.text);
    }
    EXPECT_TRUE(reports.calls().isEmpty());
}

// 账目预览: the first account alone, its lines without the carried-forward line, and the voucher
// of a chosen line for the daily screen; back from there, the range and the caller return.
TEST_F(LedgerBook, CorrectionListsTheFirstAccountAndOpensTheVoucherOfTheLine) {
    choose("2024/04", "2024/07", "101", "201");
    session().MaxDencode = QStringLiteral("00099");
    ASSERT_TRUE(ledger.cmdDataHyoji_Click());
    EXPECT_EQ(ledger.lastAccount(), ledger.firstAccount());
    EXPECT_EQ(rows(QStringLiteral("SELECT DISTINCT KANKOCODE FROM T_SKANMT_OUT")),
              QStringList{QStringLiteral("004")});

    LedgerCorrection correction;
    ASSERT_TRUE(correction.Form_Load(
        {QStringLiteral("101 现金"), QStringLiteral("2024年4月"), QStringLiteral("2024年7月")}));
    EXPECT_EQ(correction.caller(), GeneralLedger::kForm);
    EXPECT_EQ(correction.title(), QStringLiteral("总账打印预览"));
    EXPECT_EQ(correction.koumoku(), QStringLiteral("101 现金"));
    EXPECT_EQ(correction.kikan(), QStringLiteral("2024年4月 ～ 2024年7月"));
    EXPECT_EQ(correction.gridRows(), 18);
    QStringList listed;
    for (const LedgerCorrectionRow& r : correction.rows()) {
        listed.append(
            QStringList{r.siday, r.denno, r.account, r.tekiyo, r.krkin.toText(), r.kskin.toText()}
                .join(u'|'));
    }
    // 004 in April to July: two lines in April, three in July, one of them on both sides.
    EXPECT_EQ(listed.size(), 7) << listed.join(u'\n').toStdString();
    EXPECT_EQ(listed.mid(0, 2).join(u'\n').toStdString(),
              "24.04.10|00001|501  工资收入|line 00001|3000|0\n"
              "24.04.25|00002|701  食品费|line 00002|0|800.5");

    ASSERT_TRUE(correction.cmdsyusei_Click(1));
    EXPECT_EQ(session().MaxDencode, QStringLiteral("00002"));
    EXPECT_EQ(session().CallerForm, LedgerCorrection::kForm);
    correction.returned();
    EXPECT_EQ(session().MaxDencode, QStringLiteral("00099"));
    EXPECT_EQ(correction.close(), GeneralLedger::kForm);
    EXPECT_EQ(session().CallerForm, GeneralLedger::kForm);
}

// Called from the subsidiary ledger, the screen reads that ledger's work table.
TEST_F(LedgerBook, CorrectionFromTheSubsidiaryLedger) {
    session().CallerForm = LedgerCorrection::kSubsidiaryForm;
    exec(QStringLiteral(
        "INSERT INTO T_SKANSUBMT_OUT (KANKOCODE, SIDAY, DENNO, DENMENO, JUN, KMCODE, HOCODE, "
        "KMNAME, HONAME, AICODE, AIHOCODE, AINAME, AIHONAME, TEKIYO, KRKIN, KSKIN, ZAN) VALUES "
        "('034', '00.01.01', '0', '0', 0, '', 'A1', '', '甲', '', '', '', '', '结转余额', 0, 0, "
        "5), "
        "('034', '24.04.28', '00003', '001', 0, '122', 'A1', '借出款', '甲', '101', '', '现金', "
        "'', 'x', 2000000, 0, 7)"));
    LedgerCorrection correction;
    ASSERT_TRUE(correction.Form_Load(
        {QStringLiteral("122 借出款"), QStringLiteral("2024年4月"), QStringLiteral("2024年4月")}));
    EXPECT_EQ(correction.title(), QStringLiteral("辅助账打印预览"));
    EXPECT_EQ(correction.headings().at(2), QStringLiteral("科目/对方科目"));
    ASSERT_EQ(correction.rows().size(), 1);
    EXPECT_EQ(correction.rows().first().account, QStringLiteral("借出款/现金"));
    EXPECT_EQ(correction.koumoku(), QStringLiteral("A1 甲"));
    ASSERT_TRUE(correction.cmdsyusei_Click(0));
    EXPECT_EQ(session().MaxDencode, QStringLiteral("00003"));
    EXPECT_EQ(correction.close(), LedgerCorrection::kSubsidiaryForm);
}

}  // namespace
