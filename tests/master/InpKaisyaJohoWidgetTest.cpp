#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/Session.h"
#include "common/ui/Screens.h"
#include "master/FakeAccountSets.h"
#include "master/ui/InpKaisyaJoho.h"
#include "support/TestDatabase.h"

namespace {

// The main window as the screen finds it: a window that is also the account-set list.
class FakeMainWindow : public QWidget, public FakeAccountSets {};

class InpKaisyaJohoWidget : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        FakeAccountSets::writeSet(QStringLiteral("51"), QStringLiteral("甲公司"),
                                  QStringLiteral("2024/04/01"), QStringLiteral("2025/03/31"));
        mainWindow.reload();
        FakeAccountSets::switchTo(QStringLiteral("51"));
        Screens::addExisting(QStringLiteral("MainMenu"), &mainWindow);
        Screens::addExisting(QStringLiteral("SyokiSetMenu"), &menu);
    }

    template <typename T>
    T* child(const char* name) {
        T* found = screen.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* box(const char* name) { return child<QLineEdit>(name); }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }
    std::array<QString, 4> captions() {
        std::array<QString, 4> all;
        int n = 0;
        for (const char* name :
             {"lblKaisyaName", "lblKaisyaFurigana", "lblDaihyoName", "lblDaihyoYakusyoku"}) {
            all.at(n++) = child<QLabel>(name)->text();
        }
        return all;
    }
    void showScreen() {
        screen.show();
        screen.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    }
    // Types into a box that has the focus, as the user would.
    static void type(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    FakeMainWindow mainWindow;
    QWidget menu;
    InpKaisyaJoho screen;
};

TEST_F(InpKaisyaJohoWidget, ShowsTheCurrentSetAndSavesWhatIsTyped) {
    session().CallerForm = QStringLiteral("SyokiSetMenu");
    showScreen();
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("账套选项"));
    EXPECT_EQ(box("txtKaisyaName")->text(), QStringLiteral("甲公司"));
    EXPECT_EQ(box("txtKisyubi")->text(), QStringLiteral("2024/04/01"));
    EXPECT_TRUE(child<QRadioButton>("optHojin")->isChecked());
    EXPECT_EQ(captions(), AccountSetForm::labelCaptions(AccountSetForm::Owner::Hojin));
    EXPECT_FALSE(button("cmdTouroku")->isEnabled());
    EXPECT_FALSE(button("cmdCancel")->isEnabled());
    EXPECT_TRUE(button("cmdDelete")->isEnabled());

    child<QRadioButton>("optKojin")->click();
    EXPECT_EQ(captions(), AccountSetForm::labelCaptions(AccountSetForm::Owner::Kojin));
    EXPECT_TRUE(button("cmdTouroku")->isEnabled());

    // Enter moves on, Esc moves back.
    type(box("txtJyusho1"), QStringLiteral("Road 1"));
    QTest::keyClick(box("txtJyusho1"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), box("txtJyusho2"));
    QTest::keyClick(box("txtJyusho2"), Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), box("txtJyusho1"));

    // Leaving a date box normalises it; leaving the start date proposes the end.
    type(box("txtSeturituNen"), QStringLiteral("20100105"));
    type(box("txtKisyubi"), QStringLiteral("2024-05-01"));
    box("txtKimatubi")->setFocus();
    EXPECT_EQ(box("txtSeturituNen")->text(), QStringLiteral("2010/01/05"));
    EXPECT_EQ(box("txtKisyubi")->text(), QStringLiteral("2024/05/01"));
    QTRY_COMPARE(box("txtKimatubi")->text(), QStringLiteral("2025/04/30"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("显示结束日期。")});

    button("cmdTouroku")->click();
    EXPECT_EQ(rows(QStringLiteral("SELECT ADRS1, SETURITU, KISYU, KIMATU, GKBN FROM T_COMP_MAIN "
                                  "WHERE CID = '51'")),
              QStringList{QStringLiteral("Road 1|2010/01/05|2024/05/01|2025/04/30|0")});
    EXPECT_FALSE(button("cmdTouroku")->isEnabled());

    button("cmdBack")->click();
    EXPECT_FALSE(screen.isVisible());
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(value(QStringLiteral("SELECT KISYU FROM WK_COMPANY")), QStringLiteral("2024/05/01"));

    // Shown again, it reloads; a refused save puts the focus on the field at fault.
    showScreen();
    EXPECT_EQ(box("txtJyusho1")->text(), QStringLiteral("Road 1"));
    type(box("txtKaisyaName"), QString());
    box("txtTel")->setFocus();
    messages.shown.clear();
    button("cmdTouroku")->click();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("业主姓名未输入。")});
    EXPECT_EQ(QApplication::focusWidget(), box("txtKaisyaName"));
    button("cmdCancel")->click();
    EXPECT_EQ(box("txtKaisyaName")->text(), QStringLiteral("甲公司"));
    screen.close();
}

TEST_F(InpKaisyaJohoWidget, CreatesANewSetFromTheMainWindow) {
    session().CallerForm = QStringLiteral("MainMenu");
    showScreen();
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("新建账套"));
    EXPECT_FALSE(button("cmdDelete")->isEnabled());

    type(box("txtKaisyaName"), QStringLiteral("Shop"));
    type(box("txtKaikeiNendo"), QStringLiteral("1"));
    type(box("txtKisyubi"), QStringLiteral("20240401"));
    box("txtKimatubi")->setFocus();
    QTRY_COMPARE(box("txtKimatubi")->text(), QStringLiteral("2025/03/31"));
    button("cmdTouroku")->click();
    EXPECT_EQ(mainWindow.calls, QStringList{QStringLiteral("add Shop 52")});
    EXPECT_TRUE(button("cmdDelete")->isEnabled());
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("账套选项"));

    button("cmdBack")->click();
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(screen.isVisible());
}

}  // namespace
