#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "entry/ui/InpKantanSiwake.h"
#include "entry/ui/prtSiwakeNikki.h"
#include "support/BooksMenuTest.h"
#include "support/RecordingReportOutput.h"
#include "support/StringLists.h"

namespace {

// From the books menu to the journal, its keys, and the correction of 2024/05/03-05/10 on the
// real daily entry screen, which opens on the last day and stays inside the range.
TEST_F(BooksMenuTest, JournalScreenPrintsAndOpensTheDailyScreenOnItsRange) {
    ASSERT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = '01'")), 20);
    InOutMenu& menu = *booksMenu;
    Screens::add(QStringLiteral("prtSiwakeNikki"), [] { return new prtSiwakeNikki; });
    Screens::add(QStringLiteral("InpKantanSiwake"), [] { return new InpKantanSiwake; });
    RecordingReportOutput reports;

    menu.show();
    child<QPushButton>(&menu, "cmdSiwakeNikki")->click();
    QPointer<QWidget> journal = Screens::get(QStringLiteral("prtSiwakeNikki"));
    ASSERT_TRUE(journal && journal->isVisible());
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(journal->windowTitle(), QStringLiteral("家计簿 — 2024年度 — 日记账"));
    auto* first = child<QComboBox>(journal, "cmbTaisyoHizuke1");
    auto* last = child<QComboBox>(journal, "cmbTaisyoHizuke2");
    ASSERT_EQ(first->count(), 20);
    EXPECT_EQ(first->itemData(2).toInt(), 3);
    EXPECT_EQ(first->currentIndex(), -1);
    EXPECT_EQ(last->currentIndex(), -1);

    journal->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(journal));
    first->setFocus();
    // R previews and P prints the whole journal; with Shift they are letters.
    QTest::keyClick(first, Qt::Key_R);
    QTest::keyClick(first, Qt::Key_P);
    QTest::keyClick(first, Qt::Key_R, Qt::ShiftModifier);
    EXPECT_EQ(reports.calls(), strings({"preview R_SIWAKE_NIKKI 2", "print R_SIWAKE_NIKKI 2"}));
    EXPECT_EQ(first->currentText(), QStringLiteral("2024/05/01"));
    EXPECT_EQ(last->currentText(), QStringLiteral("2024/05/20"));

    // Enter and Escape move between the lists; the arrow keys choose 05/03 and 05/10.
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), last);
    QTest::keyClick(last, Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), first);
    QTest::keyClick(first, Qt::Key_Down);
    QTest::keyClick(first, Qt::Key_Down);
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(last, Qt::Key_Up);
    }
    EXPECT_EQ(first->currentText(), QStringLiteral("2024/05/03"));
    EXPECT_EQ(last->currentText(), QStringLiteral("2024/05/10"));

    child<QPushButton>(journal, "cmdQuestion")->click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("把录入的交易内容")));

    QTest::keyClick(first, Qt::Key_E);
    auto* entry = qobject_cast<InpKantanSiwake*>(Screens::get(QStringLiteral("InpKantanSiwake")));
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isVisible());
    EXPECT_FALSE(journal->isVisible());
    EXPECT_EQ(session().CallerForm, QStringLiteral("prtSiwakeNikki"));
    auto* day = child<QLineEdit>(entry, "txtSyoriNen");
    EXPECT_EQ(day->text(), QStringLiteral("2024/05/10"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = '01'")), 20);

    const QString outside = QStringLiteral("选择范围内没有数据。\r\n请确认选择范围是否合适。");
    messages.shown.clear();
    child<QPushButton>(entry, "cmdYokujitu")->click();
    EXPECT_EQ(day->text(), QStringLiteral("2024/05/10"));
    for (int i = 0; i < 7; ++i) {
        child<QPushButton>(entry, "cmdZenjitu")->click();
    }
    EXPECT_EQ(day->text(), QStringLiteral("2024/05/03"));
    child<QPushButton>(entry, "cmdZenjitu")->click();
    EXPECT_EQ(day->text(), QStringLiteral("2024/05/03"));
    EXPECT_EQ(messages.texts(), (QStringList{outside, outside}));

    // The daily screen goes back to the books menu; the journal's X closes it there too.
    child<QPushButton>(entry, "cmdBack")->click();
    EXPECT_FALSE(entry->isVisible());
    EXPECT_TRUE(menu.isVisible());
    child<QPushButton>(&menu, "cmdSiwakeNikki")->click();
    ASSERT_TRUE(journal && journal->isVisible());
    QTest::keyClick(child<QPushButton>(journal, "cmdHyouji"), Qt::Key_X);
    EXPECT_FALSE(journal && journal->isVisible());
    EXPECT_TRUE(menu.isVisible());

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(journal.isNull());
    delete entry;
}

}  // namespace
