#include <gtest/gtest.h>
#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/Password.h"
#include "common/Session.h"
#include "support/TestDatabase.h"

namespace {

class PasswordWidget : public DatabaseTest {
  protected:
    void store(const QString& p1, const QString& p2) {
        exec(QStringLiteral("UPDATE T_TUKISIMECHECK SET DATEYM = ? WHERE CID = 'P1'"), {p1});
        exec(QStringLiteral("UPDATE T_TUKISIMECHECK SET DATEYM = ? WHERE CID = 'P2'"), {p2});
    }
    static QLineEdit* box(const QWidget& form, int n) {
        return form.findChild<QLineEdit*>(QStringLiteral("txtPassword%1").arg(n));
    }
    static QString label(const QWidget& form, const char* name) {
        return form.findChild<QLabel*>(QLatin1String(name))->text();
    }
    // Answers the login dialog once it runs: types the password and clicks OK.
    static void answerLogin(const QString& typed) {
        QTimer::singleShot(0, [typed] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            box(*dialog, 1)->setText(typed);
            dialog->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
        });
    }
};

TEST_F(PasswordWidget, CaptionsFollowTheUse) {
    session().CallerForm = QStringLiteral("SyokiSetMenu");
    Password form;
    form.show();
    EXPECT_EQ(label(form, "lblTital"), QStringLiteral("设置密码"));
    EXPECT_FALSE(box(form, 0)->isEnabled());
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(box(form, n)->echoMode(), QLineEdit::Password);
    }
    box(form, 1)->setText(QStringLiteral("abcdef"));
    box(form, 2)->setText(QStringLiteral("abcdef"));
    form.close();
    EXPECT_EQ(PasswordLogic::storedPassword(), QStringLiteral("abcdef"));

    // Shown again: a stored password means change mode, with the boxes emptied.
    form.show();
    EXPECT_EQ(label(form, "lblPassword1"), QStringLiteral("新密码"));
    EXPECT_TRUE(box(form, 0)->isEnabled());
    EXPECT_TRUE(box(form, 1)->text().isEmpty());
    // Enter moves on instead of ending the input with the new boxes still empty.
    box(form, 0)->setText(QStringLiteral("abcdef"));
    QTest::keyClick(box(form, 0), Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(messages.shown.isEmpty());
    form.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(PasswordLogic::storedPassword(), QString());

    session().CallerForm = QStringLiteral("MainMenu");
    form.show();
    EXPECT_EQ(label(form, "lblTital"), QStringLiteral("输入密码"));
    EXPECT_FALSE(box(form, 0)->isVisible() || box(form, 2)->isVisible());
    form.close();
}

TEST_F(PasswordWidget, LoginEndsWhenThePasswordBoxLosesTheFocus) {
    store(QStringLiteral("abcd"), QStringLiteral("xy"));
    session().CallerForm = QStringLiteral("MainMenu");
    Password form;
    form.show();
    box(form, 1)->setText(QStringLiteral("abcdxy "));
    // Another window taking the focus does not count.
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(box(form, 1), &away);
    EXPECT_TRUE(form.isVisible());
    QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box(form, 1), &tab);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.passed());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(PasswordWidget, StartUpAsksUntilTheRightPasswordOrEnds) {
    store(QStringLiteral("abcd"), QStringLiteral("xy"));
    QWidget mainWindow;
    mainWindow.show();

    answerLogin(QStringLiteral("abcdxy"));
    EXPECT_TRUE(askLoginPassword(&mainWindow));
    EXPECT_EQ(session().CallerForm, QStringLiteral("MainMenu"));
    EXPECT_TRUE(messages.shown.isEmpty());

    answerLogin(QStringLiteral("abcd"));
    EXPECT_FALSE(askLoginPassword(&mainWindow));
    EXPECT_EQ(session().RunState, 2);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("输入的密码不正确，系统不能启动。")});

    // A start that failed before the login (RunState 2) still lets the right password in.
    answerLogin(QStringLiteral("abcdxy"));
    EXPECT_TRUE(askLoginPassword(&mainWindow));
    EXPECT_EQ(messages.shown.size(), 1);
}

}  // namespace
