#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QPushButton>

#include "app/MainMenu.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "db/DataSource.h"
#include "db/Database.h"
#include "maintenance/ui/runNenjiUpdate.h"
#include "support/DatabaseFiles.h"
#include "support/JournalLine.h"
#include "support/TestDatabase.h"

namespace {

class YearEndScreen : public DatabaseTest {};

// The screen's buttons follow the loaded year; the main window's exit brings the current year
// back when the screen left the previous one loaded, before it offers the backup.
TEST_F(YearEndScreen, ButtonsAndTheExitRestore) {
    exec(QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = '2024/01/01', KIMATU = '2024/12/31'"));
    Database::global().close();
    MainMenu window;
    window.Form_Load();
    Screens::addExisting(QStringLiteral("MainMenu"), &window);
    const QString set = session().CurrentCid;
    const QString company =
        window.findChild<QComboBox*>(QStringLiteral("cmbKaikeiData"))->currentText();
    exec(QStringLiteral("INSERT INTO T_SIWAKE VALUES (?, '00001', '00001', '2024/03/01', "
                        "'2024/03/01', '1', 0, 0, 0)"),
         {set});
    writeJournalLine(set, 1, QStringLiteral("2024/03/01"), QStringLiteral("004"), QString(),
                     QStringLiteral("009"), QString(), QStringLiteral("25"));

    runNenjiUpdate screen;
    screen.show();
    const auto button = [&](const char* name) {
        return screen.findChild<QPushButton*>(QLatin1String(name));
    };
    const auto enabled = [&] {
        return QStringList{
            button("cmdJikkou")->isEnabled() ? QStringLiteral("Jikkou") : QString(),
            button("cmdPerYear")->isEnabled() ? QStringLiteral("PerYear") : QString(),
            button("cmdNowYear")->isEnabled() ? QStringLiteral("NowYear") : QString()}
            .join(u' ')
            .simplified();
    };
    EXPECT_TRUE(screen.windowTitle().startsWith(company)) << screen.windowTitle().toStdString();
    EXPECT_FALSE(screen.findChild<QDoubleSpinBox*>(QStringLiteral("numRate"))->isVisible());
    EXPECT_EQ(enabled(), QStringLiteral("Jikkou PerYear"));

    messages.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    button("cmdJikkou")->click();
    EXPECT_EQ(messages.last().text, QStringLiteral("年底结转成功！"));
    EXPECT_EQ(value(QStringLiteral("SELECT KISYU FROM T_COMP_MAIN WHERE CID = ?"), {set}),
              QStringLiteral("2025/01/01"));
    messages.answers = {MsgAnswer::Yes};
    button("cmdPerYear")->click();
    EXPECT_EQ(messages.last().text, QStringLiteral("上一年度数据导入成功！"));
    EXPECT_EQ(enabled(), QStringLiteral("NowYear"));
    EXPECT_EQ(QDir(session().AppFolder + QStringLiteral("Temp/") + company)
                  .entryList({QStringLiteral("T_*.txt")})
                  .size(),
              11);
    screen.close();

    window.close();
    EXPECT_TRUE(session().CurrentYearLoaded);
    const QStringList texts = messages.texts();
    ASSERT_GE(texts.size(), 2);
    EXPECT_EQ(texts.mid(texts.size() - 2),
              (QStringList{QStringLiteral("数据恢复成功！"),
                           QStringLiteral("系统自动进行数据备份，要执行吗?")}));
    const QString file = DataSource::defaultPath();
    EXPECT_EQ(valueIn(file, QStringLiteral("SELECT KISYU || ' ' || NENDOSU FROM T_COMP_MAIN "
                                           "WHERE CID = '%1'")
                                .arg(set)),
              valueIn(file, QStringLiteral("SELECT '2025/01/01 ' || (NENDOSU + 1) FROM "
                                           "BT_COMP_MAIN WHERE CID = '%1'")
                                .arg(set)));
    EXPECT_EQ(
        valueIn(file, QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = '%1'").arg(set)),
        QStringLiteral("0"));
}

}  // namespace
