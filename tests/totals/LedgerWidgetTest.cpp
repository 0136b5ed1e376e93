#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "entry/ui/InpKantanSiwake.h"
#include "support/BooksMenuTest.h"
#include "support/GeneratedYears.h"
#include "support/RecordingReportOutput.h"
#include "totals/ui/InpSoukanjoMotchoH.h"
#include "totals/ui/prtSoukanjoHojoMotocho.h"
#include "totals/ui/prtSoukanjoMotocho.h"

namespace {

// Books menu → general ledger (keys R and D) → 账目预览 → the daily screen on the chosen line's
// voucher → back to 账目预览, then to the ledger and the menu.
TEST_F(BooksMenuTest, LedgerScreensFromTheMenuToTheDailyScreenAndBack) {
    const QString newest = session().MaxDencode;
    InOutMenu& menu = *booksMenu;
    Screens::add(QStringLiteral("prtSoukanjoMotocho"), [] { return new prtSoukanjoMotocho; });
    Screens::add(QStringLiteral("InpSoukanjoMotchoH"), [] { return new InpSoukanjoMotchoH; });
    Screens::add(QStringLiteral("InpKantanSiwake"), [] { return new InpKantanSiwake; });
    RecordingReportOutput reports;

    menu.show();
    child<QPushButton>(&menu, "cmdSoukanjo")->click();
    QPointer<QWidget> ledger = Screens::get(QStringLiteral("prtSoukanjoMotocho"));
    ASSERT_TRUE(ledger && ledger->isVisible());
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(ledger->windowTitle(), QStringLiteral("家计簿 — 2024年度 — 总账"));
    auto* firstMonth = child<QComboBox>(ledger, "cmbTaisyoNenTuki1");
    auto* firstAccount = child<QComboBox>(ledger, "cmbTaisyoKamoku1");
    ASSERT_EQ(firstMonth->count(), 12);
    EXPECT_EQ(firstAccount->itemText(0), QStringLiteral("101 现金"));
    EXPECT_FALSE(child<QPushButton>(ledger, "cmdDataHyoji")->isEnabled());

    ledger->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ledger));
    firstMonth->setFocus();
    QTest::keyClick(firstMonth, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), child<QComboBox>(ledger, "cmbTaisyoNenTuki2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_R);
    ASSERT_EQ(reports.calls().size(), 1);
    EXPECT_TRUE(reports.calls().first().startsWith(QStringLiteral("preview R_KANJYOMOTOTYO")));
    EXPECT_EQ(firstAccount->currentIndex(), 0);
    ASSERT_TRUE(child<QPushButton>(ledger, "cmdDataHyoji")->isEnabled());

    // D: the ledger of 101 alone, in 账目预览.
    QTest::keyClick(firstAccount, Qt::Key_D);
    auto* correction =
        qobject_cast<InpSoukanjoMotchoH*>(Screens::get(QStringLiteral("InpSoukanjoMotchoH")));
    ASSERT_NE(correction, nullptr);
    EXPECT_TRUE(correction->isVisible());
    EXPECT_FALSE(ledger->isVisible());
    EXPECT_EQ(child<QLabel>(correction, "lblKoumoku")->text(), QStringLiteral("101 现金"));
    EXPECT_EQ(child<QLabel>(correction, "lblKikan")->text(),
              QStringLiteral("2024年5月 ～ 2025年4月"));
    auto* grid = child<QTableWidget>(correction, "spdSS");
    ASSERT_EQ(grid->rowCount(), 18);
    EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("00010"));
    EXPECT_EQ(grid->item(1, 6)->text(), QStringLiteral("80.00"));

    // A row without a line says so; the second line opens its voucher on the daily screen.
    grid->setCurrentCell(5, 0);
    child<QPushButton>(correction, "cmdSyusei")->click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("被选择的行没有数据。"));
    grid->setCurrentCell(1, 0);
    child<QPushButton>(correction, "cmdSyusei")->click();
    auto* entry = qobject_cast<InpKantanSiwake*>(Screens::get(QStringLiteral("InpKantanSiwake")));
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isVisible());
    EXPECT_FALSE(correction->isVisible());
    EXPECT_EQ(child<QLineEdit>(entry, "txtSyoriNen")->text(), QStringLiteral("2024/05/10"));

    child<QPushButton>(entry, "cmdBack")->click();
    EXPECT_FALSE(entry->isVisible());
    EXPECT_TRUE(correction->isVisible());
    EXPECT_EQ(session().MaxDencode, newest);
    child<QPushButton>(correction, "cmdBack")->click();
    EXPECT_FALSE(correction->isVisible());
    ASSERT_TRUE(ledger && ledger->isVisible());
    EXPECT_EQ(session().CallerForm, QStringLiteral("prtSoukanjoMotocho"));
    QTest::keyClick(child<QPushButton>(ledger, "cmdHyouji"), Qt::Key_X);
    EXPECT_TRUE(menu.isVisible());

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(ledger.isNull());
    delete entry;
    delete correction;
}

// From the books menu to the subsidiary ledger of a generated book: its lists, R previews, D
// opens the correction screen (a stand-in here) on the first account, X goes back to the menu.
TEST_F(BooksMenuTest, SubsidiaryLedgerScreenFromTheBooksMenu) {
    generateYear(QStringLiteral("51"), QDate(2024, 1, 1), 60, 6, 3);
    InOutMenu& menu = *booksMenu;
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
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("家计簿 — 第 1 期 — 辅助账"));
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
