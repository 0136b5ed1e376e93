#include <gtest/gtest.h>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "statements/ui/prtXiaoQiye.h"
#include "support/BooksMenuTest.h"
#include "support/RecordingReportOutput.h"
#include "totals/MonthFlags.h"

namespace {

Money kin(const char* table, int line) {
    return Money::fromDb(Database::global().scalar(
        QStringLiteral("SELECT KIN%1 FROM %2").arg(line).arg(QLatin1String(table))));
}

// The screen's controls reach its logic: the month list ends at the period's last month, the
// chosen form is the one previewed (R) or printed (P), and help says what the screen does.
TEST_F(BooksMenuTest, SmallBusinessFormsScreen) {
    RecordingReportOutput reports;
    prtXiaoQiye screen;
    screen.show();
    auto* forms = child<QComboBox>(&screen, "cmbForm");
    auto* months = child<QComboBox>(&screen, "cmbTaisyoNenTuki");
    ASSERT_EQ(months->count(), 12);
    EXPECT_EQ(months->currentText(), QStringLiteral("2025年4月"));
    ASSERT_EQ(forms->count(), 2);
    EXPECT_EQ(forms->currentText(), QStringLiteral("会小企01表 资产负债表"));

    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    forms->setCurrentIndex(1);
    emit forms->activated(1);
    months->setCurrentIndex(0);
    emit months->activated(0);
    QTest::keyClick(months, Qt::Key_R);
    ASSERT_EQ(reports.calls(), QStringList{QStringLiteral("preview R_XQY02 32")});
    // May: the sale of 300 and the wages of 80, in both columns.
    for (const char* table : {"P_KESANSYO_E", "P_KESANSYO_S"}) {
        EXPECT_EQ(kin(table, 1), Money::fromInt(300));
        EXPECT_EQ(kin(table, 32), Money::fromInt(220));
    }

    forms->setCurrentIndex(0);
    emit forms->activated(0);
    QTest::keyClick(forms, Qt::Key_P);
    ASSERT_EQ(reports.calls().size(), 2);
    EXPECT_EQ(reports.calls().last(), QStringLiteral("print R_XQY01 32"));
    EXPECT_EQ(kin("P_KESANSYO_E", 30), Money::fromInt(220));
    EXPECT_EQ(kin("P_KESANSYO_E", 53), Money::fromInt(220));
    EXPECT_TRUE(messages.shown.isEmpty());

    child<QPushButton>(&screen, "cmdQuestion")->click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.last().icon, MsgIcon::Information);
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("按小企业会计准则打印")));
}

// A set without months, or without a balance or a line up to the month, has nothing to print.
TEST_F(BooksMenuTest, SmallBusinessFormsWithoutDataSaySo) {
    RecordingReportOutput reports;
    for (const char* emptying :
         {"DELETE FROM T_SI_MEISAI WHERE CID = '01'", "DELETE FROM T_DAY_INPUT WHERE CID = '01'"}) {
        SCOPED_TRACE(emptying);
        messages.shown.clear();
        exec(QString::fromUtf8(emptying));
        ASSERT_TRUE(MarkMonthsStale(QStringLiteral("2024/05"), QStringLiteral("2024/05")));
        SmallBusinessForms forms;
        ASSERT_TRUE(forms.Form_Load());
        EXPECT_FALSE(forms.cmdHyouji_Click());
        EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("没有符合条件的数据。")});
        EXPECT_TRUE(reports.calls().isEmpty());
    }
}

}  // namespace
