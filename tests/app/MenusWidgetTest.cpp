#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <array>
#include <memory>

#include "app/InOutMenu.h"
#include "app/Manyual.h"
#include "app/Password.h"
#include "app/SaveUpdateMenu.h"
#include "app/SyokiSetMenu.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "support/TestDatabase.h"

namespace {

using ButtonRow = std::array<QString, 3>;  // objectName, caption, tooltip

const QString kMissing = QStringLiteral("该功能尚未提供。");

// Stands in for the main window: the menus read the company name from its label.
class MenusWidget : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        mainWindow = std::make_unique<QWidget>();
        companyLabel = new QLabel(QStringLiteral("家计簿"), mainWindow.get());
        companyLabel->setObjectName(QStringLiteral("lblKaisyaName"));
        Screens::addExisting(QStringLiteral("MainMenu"), mainWindow.get());
        session().PeriodLabel = QStringLiteral("2024年度");
    }

    static void expectButtons(const QWidget& menu, const QList<ButtonRow>& expected) {
        for (const auto& [name, caption, tip] : expected) {
            auto* button = menu.findChild<QPushButton*>(name);
            ASSERT_NE(button, nullptr) << name.toStdString();
            EXPECT_EQ(button->text(), caption);
            EXPECT_EQ(button->toolTip(), tip);
        }
        EXPECT_EQ(menu.findChildren<QPushButton*>().size(), expected.size());
    }
    static QPushButton* button(const QWidget& menu, const char* name) {
        return menu.findChild<QPushButton*>(QLatin1String(name));
    }

    std::unique_ptr<QWidget> mainWindow;
    QLabel* companyLabel = nullptr;
};

const ButtonRow kBack = {QStringLiteral("cmdBack"), QStringLiteral("返回主界面(X)"),
                         QStringLiteral("返回软件主界面。")};

TEST_F(MenusWidget, SettingsMenuOpensThePasswordScreenAndGoesBack) {
    SyokiSetMenu menu;
    EXPECT_EQ(menu.objectName(), QStringLiteral("SyokiSetMenu"));
    expectButtons(menu, {{QStringLiteral("cmdKaisyaJoho"), QStringLiteral("1) 账套选项"),
                          QStringLiteral("登录账套的基础信息。")},
                         {QStringLiteral("cmdKisyuZandaka"), QStringLiteral("2) 期初余额"),
                          QStringLiteral("登录帐套的期初余额。")},
                         {QStringLiteral("cmdKanjyoKamoku"), QStringLiteral("3) 会计科目"),
                          QStringLiteral("登录帐套的辅助科目。")},
                         {QStringLiteral("cmdSiwake"), QStringLiteral("4) 汇总分类"),
                          QStringLiteral("登录帐套的汇总分类。")},
                         {QStringLiteral("cmdTekiyou"), QStringLiteral("5) 摘要管理"),
                          QStringLiteral("登录帐套的摘要项目。")},
                         {QStringLiteral("cmdPassword"), QStringLiteral("6) 设置密码"),
                          QStringLiteral("设置或修改密码。")},
                         kBack});
    EXPECT_EQ(
        menu.findChild<QLabel*>(QStringLiteral("lblReadMe"))->text(),
        QStringLiteral("初次使用时请先设置账套选项。\n"
                       "按从1)到6)的顺序进行设置。对1)设置完毕后，就可以使用“日间结算”录入数据。\n"
                       "如果没有期初余额，可以不录入。\n"
                       "会计科目、汇总分类、摘要和密码等可随时登录。"));

    Screens::addExisting(QStringLiteral("SyokiSetMenu"), &menu);
    Screens::add(QStringLiteral("Password"), [] { return new Password; });
    menu.show();
    EXPECT_EQ(menu.windowTitle(), QStringLiteral("基础设置 — 2024年度 — 家计簿"));

    // The password screen comes up in set use with the menu as its caller, and returns to it.
    button(menu, "cmdPassword")->click();
    EXPECT_EQ(session().CallerForm, QStringLiteral("SyokiSetMenu"));
    auto* password = qobject_cast<Password*>(Screens::get(QStringLiteral("Password")));
    ASSERT_NE(password, nullptr);
    EXPECT_TRUE(password->isVisible());
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(password->windowTitle(), QStringLiteral("设置密码"));
    password->findChild<QLineEdit*>(QStringLiteral("txtPassword1"))
        ->setText(QStringLiteral("12345"));
    password->findChild<QLineEdit*>(QStringLiteral("txtPassword2"))
        ->setText(QStringLiteral("12345"));
    password->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    EXPECT_FALSE(password->isVisible());
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(PasswordLogic::storedPassword(), QStringLiteral("12345"));
    delete password;

    // The company can change while the menu is hidden; its caption follows.
    menu.hide();
    companyLabel->setText(QStringLiteral("批发业"));
    session().PeriodLabel = QStringLiteral("第 3 期");
    menu.show();
    EXPECT_EQ(menu.windowTitle(), QStringLiteral("基础设置 — 第 3 期 — 批发业"));

    button(menu, "cmdBack")->click();
    EXPECT_FALSE(menu.isVisible());
    EXPECT_TRUE(mainWindow->isVisible());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(MenusWidget, BooksMenuStaysWhenAScreenIsNotThere) {
    InOutMenu menu;
    expectButtons(menu, {{QStringLiteral("cmdInpKantan"), QStringLiteral("1) 日间结算"),
                          QStringLiteral("录入每天的财会数据。")},
                         {QStringLiteral("cmdSiwakeNikki"), QStringLiteral("2) 日记账"),
                          QStringLiteral("显示/打印日记帐。")},
                         {QStringLiteral("cmdSoukanjo"), QStringLiteral("3) 总账"),
                          QStringLiteral("显示/打印总帐。")},
                         {QStringLiteral("cmdHojo"), QStringLiteral("4) 辅助账"),
                          QStringLiteral("显示/打印辅助帐。")},
                         {QStringLiteral("cmdTaisyakuTaisyo"), QStringLiteral("5) 借贷对照表"),
                          QStringLiteral("显示/打印借贷对照表。")},
                         {QStringLiteral("cmdSonekiKeisan"), QStringLiteral("6) 损益报表"),
                          QStringLiteral("显示/打印损益报表。")},
                         {QStringLiteral("cmdZichan"), QStringLiteral("7) 资产负债表"),
                          QStringLiteral("显示/打印资产负债表。")},
                         {QStringLiteral("cmdLirun"), QStringLiteral("8) 利润及利润分配表"),
                          QStringLiteral("显示/打印利润及利润分配表。")},
                         {QStringLiteral("Command1"), QStringLiteral("9) 选择打印机"), QString()},
                         kBack});
    EXPECT_EQ(
        menu.findChild<QLabel*>(QStringLiteral("lblReadMe"))->text(),
        QStringLiteral("使用日间结算，录入每天的收支情况。\n日记账等其他账簿如有必要可打印出来。"));
    menu.show();
    EXPECT_EQ(menu.windowTitle(), QStringLiteral("账簿管理 — 2024年度 — 家计簿"));

    // A factory that makes nothing stands for a screen that is not built.
    Screens::add(QStringLiteral("InpKantanSiwake"), [] { return nullptr; });
    button(menu, "cmdInpKantan")->click();
    EXPECT_EQ(session().CallerForm, QStringLiteral("InOutMenu"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.last().text, kMissing);
    EXPECT_EQ(messages.last().icon, MsgIcon::Information);
    EXPECT_TRUE(menu.isVisible());

    // The printer choice opens its screen and hides the menu.
    QWidget printer;
    Screens::addExisting(QStringLiteral("SetUsePrinter"), &printer);
    button(menu, "Command1")->click();
    EXPECT_TRUE(printer.isVisible());
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(messages.shown.size(), 1);
}

TEST_F(MenusWidget, DataMenuShowsItsButtonsAndClosesToTheMainWindow) {
    SaveUpdateMenu menu;
    expectButtons(menu, {{QStringLiteral("cmdBackUp"), QStringLiteral("账套数据表处理"),
                          QStringLiteral("对数据进行保存和恢复处理。")},
                         {QStringLiteral("cmdNenjiUpdate"), QStringLiteral("年底结转"),
                          QStringLiteral("年底结转处理。")},
                         {QStringLiteral("cmdOutData"), QStringLiteral("单月数据表备份"),
                          QStringLiteral("对每月的数据进行备份处理。")},
                         {QStringLiteral("cmdInData"), QStringLiteral("单月数据表恢复"),
                          QStringLiteral("恢复指定月份的数据。")},
                         {QStringLiteral("cmdConverter"), QStringLiteral("中日文版数据变换处理"),
                          QStringLiteral("进行中文版数据输出和日文版数据读入处理。")},
                         kBack});
    EXPECT_EQ(menu.findChild<QLabel*>(QStringLiteral("lblReadMe"))->text(),
              QStringLiteral("数据处理就是对账套数据进行备份和恢复操作。\n"
                             "会计年度变更时，选择年底结转进行处理。"));
    menu.show();
    EXPECT_EQ(menu.windowTitle(), QStringLiteral("数据处理 — 2024年度 — 家计簿"));
    Screens::add(QStringLiteral("runConverter"), [] { return nullptr; });
    button(menu, "cmdConverter")->click();
    EXPECT_EQ(messages.texts(), QStringList{kMissing});
    EXPECT_TRUE(menu.isVisible());

    // Closing the window any way shows the main window again.
    mainWindow->hide();
    menu.close();
    EXPECT_TRUE(mainWindow->isVisible());
}

TEST_F(MenusWidget, ManualCarriesThePeriodAndReturnsToTheEntryScreen) {
    QWidget entry;
    Screens::addExisting(QStringLiteral("InpKantanSiwake"), &entry);
    Manyual viewer;
    viewer.show();
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("操作说明 — 2024年度"));
    auto* image = viewer.findChild<QLabel*>(QStringLiteral("Image1"));
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->text().contains(QStringLiteral("确 定")));
    button(viewer, "cmdBack")->click();
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_TRUE(entry.isVisible());
}

}  // namespace
