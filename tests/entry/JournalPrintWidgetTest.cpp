#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/InOutMenu.h"
#include "common/Clock.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "db/Database.h"
#include "entry/Vouchers.h"
#include "entry/ui/InpKantanSiwake.h"
#include "entry/ui/prtSiwakeNikki.h"
#include "master/CurrentAccountSet.h"
#include "support/JournalLine.h"
#include "support/RecordingReportOutput.h"
#include "support/StringLists.h"
#include "support/TestDatabase.h"

namespace {

template <typename T>
T* child(const QWidget* window, const char* name) {
    auto* found = window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// From the books menu to the journal, its keys, and the correction of 2024/05/03-05/10 on the
// real daily entry screen, which opens on the last day and stays inside the range.
TEST_F(DatabaseTest, JournalScreenPrintsAndOpensTheDailyScreenOnItsRange) {
    session().CurrentCid = QStringLiteral("01");
    session().PeriodLabel = QStringLiteral("2024年度");
    exec(
        QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = '2024/05/01', KIMATU = '2025/04/30', "
                       "SIINLDAY = '2025/04/30' WHERE CID = '01'"));
    ASSERT_TRUE(ResetCompanyData());
    {
        TransactionGuard transaction;
        ASSERT_TRUE(make_new_siwake_data());
        transaction.commit();
    }
    writeJournalLine(QStringLiteral("01"), 3, QStringLiteral("2024/05/03"), QStringLiteral("004"),
                     QString(), QStringLiteral("180"), QString(), QStringLiteral("300"));
    writeJournalLine(QStringLiteral("01"), 10, QStringLiteral("2024/05/10"), QStringLiteral("263"),
                     QString(), QStringLiteral("004"), QString(), QStringLiteral("80"));
    // An opening from a menu would now add days up to the 25th; the correction adds none.
    Clock::setFixedToday(QDate(2024, 5, 25));
    ASSERT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = '01'")), 20);

    QWidget mainWindow;
    auto* company = new QLabel(QStringLiteral("家计簿"), &mainWindow);
    company->setObjectName(QStringLiteral("lblKaisyaName"));
    Screens::addExisting(QStringLiteral("MainMenu"), &mainWindow);
    InOutMenu menu;
    Screens::addExisting(QStringLiteral("InOutMenu"), &menu);
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
