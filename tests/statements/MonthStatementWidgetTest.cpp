#include <gtest/gtest.h>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "statements/ui/MonthStatementScreen.h"
#include "support/BooksMenuTest.h"
#include "support/RecordingReportOutput.h"

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

}  // namespace
