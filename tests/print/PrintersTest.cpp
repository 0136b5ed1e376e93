#include <gtest/gtest.h>
#include <QComboBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>

#include "app/AllScreens.h"
#include "app/InOutMenu.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "print/PrintAccessReport.h"
#include "print/PrinterChoice.h"
#include "print/ui/DesktopReportOutput.h"
#include "print/ui/Printers.h"
#include "print/ui/SetUsePrinter.h"
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

}  // namespace
