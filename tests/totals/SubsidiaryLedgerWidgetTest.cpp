#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "app/InOutMenu.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "generator/BookGenerator.h"
#include "support/RecordingReportOutput.h"
#include "support/TestDatabase.h"
#include "totals/ui/InpSoukanjoMotchoH.h"
#include "totals/ui/prtSoukanjoHojoMotocho.h"

namespace {

template <typename T>
T* child(const QWidget* window, const char* name) {
    auto* found = window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// From the books menu to the subsidiary ledger: its lists, R previews, D opens the correction
// screen (a stand-in here) on the first account, X goes back to the menu.
TEST_F(DatabaseTest, SubsidiaryLedgerScreenFromTheBooksMenu) {
    QString error;
    ASSERT_TRUE(generateBook({QStringLiteral("51"), QDate(2024, 1, 1), 60, 6, 3}, &error))
        << error.toStdString();
    session().PeriodLabel = QStringLiteral("2024年度");
    QWidget mainWindow;
    auto* company = new QLabel(QStringLiteral("生成"), &mainWindow);
    company->setObjectName(QStringLiteral("lblKaisyaName"));
    Screens::addExisting(QStringLiteral("MainMenu"), &mainWindow);
    InOutMenu menu;
    Screens::addExisting(QStringLiteral("InOutMenu"), &menu);
    Screens::add(QStringLiteral("prtSoukanjoHojoMotocho"),
                 [] { return new prtSoukanjoHojoMotocho; });
    InpSoukanjoMotchoH correction;
    Screens::addExisting(QStringLiteral("InpSoukanjoMotchoH"), &correction);
    RecordingReportOutput reports;

    menu.show();
    child<QPushButton>(&menu, "cmdHojo")->click();
    QPointer<QWidget> screen = Screens::get(QStringLiteral("prtSoukanjoHojoMotocho"));
    ASSERT_TRUE(screen && screen->isVisible());
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("生成 — 2024年度 — 辅助账"));
    auto* months = child<QComboBox>(screen, "cmbTaisyoNenTuki1");
    auto* accounts = child<QComboBox>(screen, "cmbTaisyoKamoku2");
    EXPECT_EQ(months->count(), 12);
    ASSERT_EQ(accounts->count(), 2);
    EXPECT_EQ(accounts->itemText(1), QStringLiteral("204 应付账款"));
    EXPECT_FALSE(child<QPushButton>(screen, "cmdDataHyoji")->isEnabled());

    QTest::keyClick(months, Qt::Key_R);
    ASSERT_EQ(reports.calls().size(), 1);
    EXPECT_TRUE(reports.calls().first().startsWith(QStringLiteral("preview R_HOJOMOTOTYO ")));
    EXPECT_EQ(months->currentIndex(), 0);
    EXPECT_EQ(accounts->currentIndex(), 1);
    EXPECT_TRUE(child<QPushButton>(screen, "cmdDataHyoji")->isEnabled());

    QTest::keyClick(screen, Qt::Key_D);
    EXPECT_TRUE(correction.isVisible());
    EXPECT_EQ(child<QLabel>(&correction, "lbltitle")->text(), QStringLiteral("辅助账打印预览"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(DISTINCT KANKOCODE) FROM T_SKANSUBMT_OUT")), 1);
    EXPECT_TRUE(messages.shown.isEmpty());

    QTest::keyClick(screen, Qt::Key_X);
    EXPECT_TRUE(screen.isNull() || !screen->isVisible());
    EXPECT_TRUE(menu.isVisible());
}

}  // namespace
