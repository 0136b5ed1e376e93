#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/InOutMenu.h"
#include "app/Password.h"
#include "app/SaveUpdateMenu.h"
#include "app/SyokiSetMenu.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "support/TestDatabase.h"

namespace {

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

    static QPushButton* button(const QWidget& menu, const char* name) {
        return menu.findChild<QPushButton*>(QLatin1String(name));
    }

    std::unique_ptr<QWidget> mainWindow;
    QLabel* companyLabel = nullptr;
};

TEST_F(MenusWidget, SettingsMenuOpensThePasswordScreenAndGoesBack) {
    SyokiSetMenu menu;
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
    password->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    EXPECT_FALSE(password->isVisible());
    EXPECT_TRUE(menu.isVisible());
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
    menu.show();
    EXPECT_EQ(menu.windowTitle(), QStringLiteral("账簿管理 — 2024年度 — 家计簿"));

    // A factory that makes nothing stands for a screen that is not built.
    Screens::add(QStringLiteral("InpKantanSiwake"), [] { return nullptr; });
    button(menu, "cmdInpKantan")->click();
    EXPECT_EQ(session().CallerForm, QStringLiteral("InOutMenu"));
    EXPECT_EQ(messages.texts(), QStringList{kMissing});
    EXPECT_TRUE(menu.isVisible());

    // The printer choice opens its screen and hides the menu.
    QWidget printer;
    Screens::addExisting(QStringLiteral("SetUsePrinter"), &printer);
    button(menu, "Command1")->click();
    EXPECT_TRUE(printer.isVisible());
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(messages.shown.size(), 1);
}

TEST_F(MenusWidget, DataMenuClosesToTheMainWindow) {
    SaveUpdateMenu menu;
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

}  // namespace
