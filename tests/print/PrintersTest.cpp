#include <gtest/gtest.h>
#include <QComboBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>
#include <optional>

#include "app/AllScreens.h"
#include "app/InOutMenu.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "print/PrintAccessReport.h"
#include "print/PrinterChoice.h"
#include "print/ui/DesktopReportOutput.h"
#include "print/ui/Printers.h"
#include "print/ui/SetUsePrinter.h"
#include "support/RecordingReportOutput.h"
#include "support/StringLists.h"
#include "support/TestDatabase.h"

namespace {

class Printers : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        currentPrinterName().clear();
    }
    void TearDown() override {
        currentPrinterName().clear();
        ReportOutput::install(nullptr);
        DatabaseTest::TearDown();
    }
    // The tests that need an empty printer list (as in CI) cannot run on a desk with printers.
    static bool printersInstalled() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }
};

TEST_F(Printers, ListFillsFromTheEnumeration) {
    struct Case {
        const char* enumerated;
        QStringList names;
        QStringList said;
    };
    const Case cases[] = {
        {"0", {}, strings({"未发现打印机驱动程序。"})},
        {"ERROR", {}, {}},
        {"1,PDF", strings({"PDF"}), {}},
        {"3,Laser 5F,PDF,财务室", strings({"Laser 5F", "PDF", "财务室"}), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.enumerated);
        messages.shown.clear();
        PrinterChoice choice;
        EXPECT_EQ(choice.load(QString::fromUtf8(c.enumerated)), !c.names.isEmpty());
        EXPECT_EQ(choice.names(), c.names);
        EXPECT_EQ(messages.texts(), c.said);
        if (!c.said.isEmpty()) {
            EXPECT_EQ(messages.last().icon, MsgIcon::None);
            EXPECT_EQ(messages.last().title, QStringLiteral("Ombrel"));
        }
    }
}

TEST_F(Printers, ChoiceMatchesTheDeviceNameExactly) {
    const QStringList devices = strings({"laser", "Laser", " PDF"});
    struct Case {
        const char* comboText;
        const char* chosen;  // the run's printer afterwards
        const char* said;
        MsgIcon icon;
    };
    const Case cases[] = {
        {"Laser", "Laser", "通常使用的打印机设置为[ Laser ]。", MsgIcon::Exclamation},
        {" PDF", " PDF", "通常使用的打印机设置为[ PDF ]。", MsgIcon::Exclamation},
        // Only the letter case differs, or only the spaces: no printer is chosen.
        {"LASER", "", "通常使用的打印机设置失败！", MsgIcon::None},
        {"PDF", "", "通常使用的打印机设置失败！", MsgIcon::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comboText);
        currentPrinterName().clear();
        messages.shown.clear();
        PrinterChoice choice;
        EXPECT_EQ(choice.cmdSetPrinter_Click(QString::fromUtf8(c.comboText), devices),
                  *c.chosen != '\0');
        EXPECT_EQ(currentPrinterName(), QString::fromUtf8(c.chosen));
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.last().text, QString::fromUtf8(c.said));
        EXPECT_EQ(messages.last().icon, c.icon);
        EXPECT_EQ(messages.last().title, QStringLiteral("Ombrel"));
    }
}

TEST_F(Printers, WithoutPrintersTheMenuButtonOpensTheScreenWhichSaysSoAndGoesBack) {
    if (printersInstalled()) {
        GTEST_SKIP() << "this machine has printers";
    }
    EXPECT_EQ(EnumPriName(), QStringLiteral("0"));

    registerAllScreens();
    InOutMenu menu;
    Screens::addExisting(QStringLiteral("InOutMenu"), &menu);
    menu.show();
    menu.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    auto* screen = qobject_cast<SetUsePrinter*>(Screens::get(QStringLiteral("SetUsePrinter")));
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(messages.texts(), strings({"未发现打印机驱动程序。"}));
    EXPECT_EQ(screen->findChild<QComboBox*>(QStringLiteral("cmbPrinterList"))->count(), 0);
    // It closes itself once active, and the books menu comes back.
    QTRY_VERIFY(!screen->isVisible());
    EXPECT_TRUE(menu.isVisible());
    EXPECT_TRUE(currentPrinterName().isEmpty());
    delete screen;
}

TEST_F(Printers, PrintingWithoutPrintersSaysToInstallOne) {
    if (printersInstalled()) {
        GTEST_SKIP() << "this machine has printers";
    }
    DesktopReportOutput output;
    ReportOutput::install(&output);
    try {
        output.print(ReportJob{});
        ADD_FAILURE() << "printed without a printer";
    } catch (const ReportFailure& failure) {
        EXPECT_EQ(failure.number, ReportFailure::kNoPrinter);
    }
    EXPECT_FALSE(PrintAccessReport(session().AppFolder + QStringLiteral("Kaikei.mdb"),
                                   QStringLiteral("R_TEKIYO"), 1));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("没有安装打印机。\r请安装打印机。")});
    EXPECT_EQ(messages.last().icon, MsgIcon::None);
}

class PrintAccessReportTest : public DatabaseTest {};

// Fails as a printer or file would, or records like a working output.
class FailingOutput : public RecordingReportOutput {
  public:
    std::optional<ReportFailure> failure;
    bool print(const ReportJob& job) override {
        if (failure) {
            throw *failure;
        }
        return RecordingReportOutput::print(job);
    }
};

TEST_F(PrintAccessReportTest, ModesNamesAndFailuresSayWhatTheyShould) {
    exec(QStringLiteral("INSERT INTO MT_REPORT VALUES ('R_BROKEN', '{\"paper\": \"A3\"}')"));
    const ReportFailure noPrinter{ReportFailure::kNoPrinter, {}};
    const ReportFailure noFile{ReportFailure::kFileNotFound, {}};
    const ReportFailure cancelled{ReportFailure::kCancelled, {}};
    const ReportFailure paper{9, QStringLiteral("纸张用完")};
    const struct {
        const char* database;
        const char* layout;
        int mode;
        std::optional<ReportFailure> failure;
        bool result;
        const char* messages;  // the texts shown, "|" between two
        const char* calls;
    } cases[] = {
        {"Kaikei.mdb", "R_TEKIYO", 0, {}, true, "", "preview R_TEKIYO 0"},
        {"Kaikei.mdb", "R_TEKIYO", 1, {}, true, "", "print R_TEKIYO 0"},
        // Blank names are said and the call goes on.
        {" ", "R_TEKIYO", 1, {}, true, "请指定数据记录名称。", "print R_TEKIYO 0"},
        {"Kaikei.mdb", " ", 0, {}, false, "请指定报表名称|No:2103\r找不到报表“”。", ""},
        {"Kaikei.mdb", "R_TEKIYO", 2, {}, true, "方法错误。", ""},
        {"Kaikei.mdb", "R_TEKIYO", -1, {}, true, "方法错误。", ""},
        {"Kaikei.mdb", "R_NOPE", 1, {}, false, "No:2103\r找不到报表“R_NOPE”。", ""},
        {"Kaikei.mdb",
         "R_BROKEN",
         0,
         {},
         false,
         "No:2104\r报表“R_BROKEN”的格式不对: 纸张不明: A3",
         ""},
        {"Kaikei.mdb", "R_TEKIYO", 1, noPrinter, false, "没有安装打印机。\r请安装打印机。", ""},
        {"Kaikei.mdb", "R_TEKIYO", 1, noFile, false, "找不到文件。\r请确认可能使用的文件名。", ""},
        {"Kaikei.mdb", "R_TEKIYO", 1, cancelled, false, "", ""},
        {"Kaikei.mdb", "R_TEKIYO", 1, paper, false, "No:9\r纸张用完", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.layout) + " mode " + std::to_string(c.mode));
        FailingOutput output;
        output.failure = c.failure;
        messages.shown.clear();
        EXPECT_EQ(
            PrintAccessReport(QString::fromUtf8(c.database), QString::fromUtf8(c.layout), c.mode),
            c.result);
        EXPECT_EQ(messages.texts(), QString::fromUtf8(c.messages).split(u'|', Qt::SkipEmptyParts));
        for (const MessageRequest& shown : messages.shown) {
            EXPECT_EQ(shown.title, QStringLiteral("Ombrel"));
        }
        EXPECT_EQ(output.calls(), QString::fromUtf8(c.calls).split(u'|', Qt::SkipEmptyParts));
    }
}

TEST_F(PrintAccessReportTest, HeaderSlotsAreTrimmedAndReplaceTheRow) {
    QStringList slotTexts;
    for (int i = 0; i <= 9; ++i) {
        slotTexts.append(QStringLiteral(" s%1 ").arg(i));
    }
    ASSERT_TRUE(WritePrintKomokuTable(slotTexts, QStringLiteral("T_PRINTKOMOKU")));
    slotTexts[9] = QStringLiteral("2024/05/31'; --");
    ASSERT_TRUE(WritePrintKomokuTable(slotTexts, QStringLiteral("T_PRINTKOMOKU")));
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM T_PRINTKOMOKU")),
              QStringList{QStringLiteral("s1|s2|s3|s4|s5|s6|s7|s8|2024/05/31'; --")});
    EXPECT_FALSE(WritePrintKomokuTable(slotTexts, QStringLiteral("T_NOPE")));
    EXPECT_TRUE(messages.last().text.endsWith(u"(WritePrintKomokuTable)"));
}

}  // namespace
