#include <gtest/gtest.h>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "statements/ui/MonthStatementScreen.h"
#include "statements/ui/prtLirun.h"
#include "statements/ui/prtXiaoQiye.h"
#include "statements/ui/prtZichan.h"
#include "support/BooksMenuTest.h"
#include "support/RecordingReportOutput.h"
#include "totals/MonthFlags.h"

namespace {

// Books menu → 借贷对照表: a month chosen in the list and previewed with R, the list's empty text
// meaning the last month, printed with P; 损益报表 the same way; X back to the menu.
TEST_F(BooksMenuTest, MonthStatementScreensFromTheMenu) {
    InOutMenu& menu = *booksMenu;
    Screens::add(QStringLiteral("prtTaisyakuTaisyo"), [] { return new prtTaisyakuTaisyo; });
    Screens::add(QStringLiteral("prtSonekiKeisan"), [] { return new prtSonekiKeisan; });
    RecordingReportOutput reports;
    const struct {
        const char* button;
        const char* form;
        const char* title;
        const char* layout;
    } screens[] = {{"cmdTaisyakuTaisyo", "prtTaisyakuTaisyo", "借贷对照表", "R_TS"},
                   {"cmdSonekiKeisan", "prtSonekiKeisan", "损益报表", "R_PS"}};
    for (const auto& s : screens) {
        menu.show();
        child<QPushButton>(&menu, s.button)->click();
        QPointer<QWidget> screen = Screens::get(QLatin1String(s.form));
        ASSERT_TRUE(screen && screen->isVisible()) << s.form;
        EXPECT_EQ(screen->windowTitle(),
                  QStringLiteral("家计簿 — 2024年度 — ") + QString::fromUtf8(s.title));
        auto* months = child<QComboBox>(screen, "cmbTaisyoNenTuki");
        ASSERT_EQ(months->count(), 12);
        EXPECT_EQ(months->currentIndex(), -1);

        QTest::keyClick(months, Qt::Key_P);
        EXPECT_EQ(months->currentIndex(), 11);
        EXPECT_EQ(value(QStringLiteral("SELECT PCODE6 FROM T_PRINTKOMOKU")),
                  QStringLiteral("2025年4月度"));
        months->setCurrentIndex(0);
        emit months->activated(0);
        QTest::keyClick(months, Qt::Key_R);
        EXPECT_EQ(value(QStringLiteral("SELECT PCODE6 FROM T_PRINTKOMOKU")),
                  QStringLiteral("2024年5月度"));
        const QStringList calls = reports.calls().mid(reports.calls().size() - 2);
        ASSERT_EQ(calls.size(), 2);
        EXPECT_TRUE(calls.at(0).startsWith(QStringLiteral("print ") + QLatin1String(s.layout)));
        EXPECT_TRUE(calls.at(1).startsWith(QStringLiteral("preview ") + QLatin1String(s.layout)));

        QTest::keyClick(months, Qt::Key_X);
        EXPECT_TRUE(menu.isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(screen.isNull());
    }
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u';').toStdString();
}

// Books menu → each statement screen: R previews and P prints the statement's layout, help,
// and X back to the menu.
TEST_F(BooksMenuTest, StatementScreensFromTheBooksMenu) {
    Screens::add(QStringLiteral("prtZichan"), [] { return new prtZichan; });
    Screens::add(QStringLiteral("prtLirun"), [] { return new prtLirun; });
    const struct {
        const char* button;
        const char* form;
        const char* caption;
        const char* layout;
        const char* help;
    } screens[] = {
        {"cmdZichan", "prtZichan", "资产负债表", "R_ZICHAN", "打印资产负债表。"},
        {"cmdLirun", "prtLirun", "利润及利润分配表", "R_LIRUN", "打印利润及利润分配表。"},
    };
    InOutMenu& menu = *booksMenu;
    for (const auto& s : screens) {
        SCOPED_TRACE(s.form);
        RecordingReportOutput reports;
        messages.shown.clear();
        menu.show();
        child<QPushButton>(&menu, s.button)->click();
        QPointer<QWidget> screen = Screens::get(QLatin1String(s.form));
        ASSERT_TRUE(screen && screen->isVisible());
        EXPECT_FALSE(menu.isVisible());
        EXPECT_EQ(screen->windowTitle(),
                  QStringLiteral("家计簿 — 2024年度 — ") + QString::fromUtf8(s.caption));
        QTest::keyClick(child<QPushButton>(screen, "cmdHyouji"), Qt::Key_R);
        QTest::keyClick(screen, Qt::Key_P);
        // Letters with Shift are not the buttons' keys.
        QTest::keyClick(screen, Qt::Key_P, Qt::ShiftModifier);
        const QString layout = QLatin1String(s.layout);
        EXPECT_EQ(
            reports.calls(),
            (QStringList{
                QStringLiteral("preview %1 %2").arg(layout).arg(s.layout[2] == 'Z' ? 49 : 64),
                QStringLiteral("print %1 %2").arg(layout).arg(s.layout[2] == 'Z' ? 49 : 64)}));
        child<QPushButton>(screen, "cmdQuestion")->click();
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_TRUE(messages.last().text.startsWith(QString::fromUtf8(s.help)));
        QTest::keyClick(screen, Qt::Key_X);
        EXPECT_TRUE(screen.isNull() || !screen->isVisible());
        EXPECT_TRUE(menu.isVisible());
    }
}

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
