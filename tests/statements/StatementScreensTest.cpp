#include <gtest/gtest.h>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "statements/ui/prtLirun.h"
#include "statements/ui/prtZichan.h"
#include "support/BooksMenuTest.h"
#include "support/RecordingReportOutput.h"

namespace {

// Books menu → each statement screen: its text, its buttons, R previews and P prints the
// statement's layout, help, and X back to the menu.
TEST_F(BooksMenuTest, StatementScreensFromTheBooksMenu) {
    Screens::add(QStringLiteral("prtZichan"), [] { return new prtZichan; });
    Screens::add(QStringLiteral("prtLirun"), [] { return new prtLirun; });
    const struct {
        const char* button;
        const char* form;
        const char* caption;
        const char* readMe;
        const char* layout;
        const char* help;
    } screens[] = {
        {"cmdZichan", "prtZichan", "资产负债表",
         "年终申报用资产负债表。\n按财会年企01表编制，可直接使用本表进行年终申报。", "R_ZICHAN",
         "打印资产负债表。"},
        {"cmdLirun", "prtLirun", "利润及利润分配表",
         "年终申报用利润及利润分配表。\n按财会年企02表编制，可直接使用本表进行年终申报。",
         "R_LIRUN", "打印利润及利润分配表。"},
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
        EXPECT_EQ(child<QLabel>(screen, "lblReadMe")->text(), QString::fromUtf8(s.readMe));
        for (const auto& [name, text] : {std::pair{"cmdHyouji", "打印预览(R)"},
                                         {"cmdInsatu", "打印(P)"},
                                         {"cmdQuestion", "帮助"},
                                         {"cmdBack", "返回(X)"}}) {
            EXPECT_EQ(child<QPushButton>(screen, name)->text(), QString::fromUtf8(text));
        }
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

}  // namespace
