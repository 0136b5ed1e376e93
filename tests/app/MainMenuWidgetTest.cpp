#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/MainMenu.h"
#include "common/Session.h"
#include "db/Database.h"
#include "support/TestDatabase.h"

namespace {

class MainMenuWidget : public DatabaseTest {};

TEST_F(MainMenuWidget, ShowsTheSetsAndTheCaptionsOfEveryControl) {
    Database::global().close();
    MainMenu window;
    window.Form_Load();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Ombrel"));
    auto* combo = window.findChild<QComboBox*>(QStringLiteral("cmbKaikeiData"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 13);
    EXPECT_EQ(combo->currentText(), QStringLiteral("家计簿"));
    EXPECT_EQ(combo->itemData(12).toInt(), 13);
    EXPECT_EQ(combo->toolTip(), QStringLiteral("选择已登录过的账套。"));
    const QList<std::array<QString, 3>> buttons = {
        {QStringLiteral("cmdNewKaisyaJoho"), QStringLiteral("新建账套"),
         QStringLiteral("登录新建账套的基础信息。")},
        {QStringLiteral("cmdSyokiSet"), QStringLiteral("基础设置"),
         QStringLiteral("设置账套的基础信息。")},
        {QStringLiteral("cmdInOutsyori"), QStringLiteral("账簿管理"),
         QStringLiteral("帐目的录入管理和打印输出。")},
        {QStringLiteral("cmdKantanInp"), QStringLiteral("日间结算"),
         QStringLiteral("录入每天的财会数据。")},
        {QStringLiteral("cmdSave"), QStringLiteral("数据处理"),
         QStringLiteral("数据的保存、恢复及年底结转。")},
        {QStringLiteral("cmdEnd"), QStringLiteral("退出系统"), QStringLiteral("退出Ombrel系统。")}};
    for (const auto& [name, caption, tip] : buttons) {
        auto* button = window.findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        EXPECT_EQ(button->text(), caption);
        EXPECT_EQ(button->toolTip(), tip);
        EXPECT_TRUE(button->isEnabled());
    }
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblKaisyaName"))->text(),
              QStringLiteral("家计簿"));
    EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("lblReadMe"))
                    ->text()
                    .startsWith(QStringLiteral("☆用户须知\n")));

    // Choosing a set in the list makes it current.
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(session().CurrentCid, QStringLiteral("03"));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblKaisyaName"))->text(),
              QStringLiteral("批发业"));
    // A prepared set asks for its company and period first; that screen is not there yet.
    EXPECT_EQ(session().CallerForm, QStringLiteral("SyokiSetMenu"));
    EXPECT_TRUE(messages.last().text.contains(u"尚未提供"));
    window.close();
    EXPECT_EQ(messages.last().text, QStringLiteral("系统自动进行数据备份，要执行吗?"));
}

}  // namespace
