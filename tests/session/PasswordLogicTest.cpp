#include <gtest/gtest.h>

#include "common/Session.h"
#include "session/PasswordLogic.h"
#include "support/TestDatabase.h"

namespace {

const QString kSettings = QStringLiteral("SyokiSetMenu");
const QString kLogin = QStringLiteral("MainMenu");
const QString kWrongCurrent =
    QStringLiteral("现在使用中的密码不正确，密码不能修改。\n\n返回初期画面。");

class PasswordLogicTest : public DatabaseTest {
  protected:
    // The two stored rows as "P1|P2".
    QString stored() {
        return rows(
                   QStringLiteral(
                       "SELECT DATEYM FROM T_TUKISIMECHECK WHERE CID IN ('P1', 'P2') ORDER BY CID"))
            .join(u'|');
    }
    void store(const QString& p1, const QString& p2) {
        exec(QStringLiteral("UPDATE T_TUKISIMECHECK SET DATEYM = ? WHERE CID = 'P1'"), {p1});
        exec(QStringLiteral("UPDATE T_TUKISIMECHECK SET DATEYM = ? WHERE CID = 'P2'"), {p2});
    }
    // Loads the form for caller, types the three boxes and unloads it.
    bool enter(const QString& caller, const QString& current, const QString& password,
               const QString& confirmation) {
        logic.load(caller);
        logic.txtPassword0 = current;
        logic.txtPassword1 = password;
        logic.txtPassword2 = confirmation;
        return logic.Form_Unload();
    }

    PasswordLogic logic;
};

TEST_F(PasswordLogicTest, SetsChangesAndRemovesSplittingAfterTheFourthCharacter) {
    const auto captions = [this] {
        return QStringList{logic.caption(), logic.label1(), logic.label2()}.join(u'|');
    };
    logic.load(kSettings);
    EXPECT_EQ(logic.mode(), PasswordLogic::Mode::Set);
    EXPECT_EQ(captions(), QStringLiteral("设置密码|密码|确认密码"));
    EXPECT_FALSE(logic.txtPassword0Enabled());

    // Four characters fill P1 only; P2 is stored empty, not NULL.
    EXPECT_TRUE(enter(kSettings, QString(), QStringLiteral("abcd"), QStringLiteral("abcd")));
    EXPECT_EQ(stored(), QStringLiteral("abcd|"));
    EXPECT_EQ(PasswordLogic::storedPassword(), QStringLiteral("abcd"));

    logic.load(kSettings);
    EXPECT_EQ(logic.mode(), PasswordLogic::Mode::Change);
    EXPECT_EQ(captions(), QStringLiteral("修改密码|新密码|确认新密码"));
    EXPECT_TRUE(logic.txtPassword0Enabled());

    // Blanks around what is typed do not count; a longer password goes on into P2.
    EXPECT_TRUE(enter(kSettings, QStringLiteral("  abcd "), QStringLiteral(" 密码ab12345  "),
                      QStringLiteral("密码ab12345")));
    EXPECT_EQ(stored(), QStringLiteral("密码ab|12345"));
    EXPECT_EQ(PasswordLogic::storedPassword(), QStringLiteral("密码ab12345"));

    // An empty new password removes it.
    EXPECT_TRUE(enter(kSettings, QStringLiteral(" 密码ab12345"), QString(), QStringLiteral("   ")));
    EXPECT_EQ(stored(), QStringLiteral("|"));
    logic.load(kSettings);
    EXPECT_EQ(logic.mode(), PasswordLogic::Mode::Set);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'/').toStdString();
}

TEST_F(PasswordLogicTest, AWrongCurrentPasswordChangesNothing) {
    store(QStringLiteral("abcd"), QStringLiteral("ef"));
    // Only the first part is not the password.
    EXPECT_FALSE(
        enter(kSettings, QStringLiteral("abcd"), QStringLiteral("new1"), QStringLiteral("new1")));
    EXPECT_EQ(messages.texts(), QStringList{kWrongCurrent});
    EXPECT_EQ(stored(), QStringLiteral("abcd|ef"));
    // Nor may an empty entry remove it.
    EXPECT_FALSE(enter(kSettings, QString(), QString(), QString()));
    EXPECT_EQ(messages.last().text, kWrongCurrent);
    EXPECT_EQ(stored(), QStringLiteral("abcd|ef"));
}

TEST_F(PasswordLogicTest, RefusedNewPasswordsSaveNothing) {
    struct Case {
        const char* stored;  // and the current password typed
        QString password;
        QString confirmation;
        QString message;
    };
    const QString back = QStringLiteral("\r\n返回初期画面。");
    const Case cases[] = {
        {"", QStringLiteral("abc"), QStringLiteral("abd"),
         QStringLiteral("密码与确认密码不匹配，密码不能设置。") + back},
        {"abcd", QStringLiteral("x"), QStringLiteral("y"),
         QStringLiteral("新密码与确认新密码不匹配，密码不能修改。") + back},
        // The halves are read back trimmed: a blank at the 4th or 5th character would be lost.
        {"", QStringLiteral("abc d"), QStringLiteral("abc d"),
         QStringLiteral("密码中不能含有空格，密码不能设置。") + back},
        {"", QStringLiteral("abcd e"), QStringLiteral("abcd e"),
         QStringLiteral("密码中不能含有空格，密码不能设置。") + back},
        {"abcd", QStringLiteral("ab\u3000cd"), QStringLiteral("ab\u3000cd"),
         QStringLiteral("新密码中不能含有空格，密码不能修改。") + back},
    };
    for (const Case& c : cases) {
        const QString stored = QString::fromUtf8(c.stored);
        store(stored, QStringLiteral(""));
        messages.shown.clear();
        EXPECT_TRUE(enter(kSettings, stored, c.password, c.confirmation));
        EXPECT_EQ(messages.texts(), QStringList{c.message}) << c.password.toStdString();
        EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(this->stored(), stored + u'|');
    }
}

TEST_F(PasswordLogicTest, LoginLetsInOnlyTheStoredPassword) {
    store(QStringLiteral("abcd"), QStringLiteral("12"));
    logic.load(kLogin);
    EXPECT_EQ(logic.mode(), PasswordLogic::Mode::Login);
    EXPECT_TRUE(logic.loginUse());

    EXPECT_TRUE(enter(kLogin, QString(), QStringLiteral(" abcd12 "), QString()));
    EXPECT_EQ(session().RunState, 0);
    EXPECT_TRUE(messages.shown.isEmpty());

    // The login never saves, whatever the confirmation box holds.
    EXPECT_FALSE(
        enter(kLogin, QStringLiteral("abcd12"), QStringLiteral("abcd"), QStringLiteral("abcd")));
    EXPECT_EQ(session().RunState, 2);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("输入的密码不正确，系统不能启动。")});
    EXPECT_EQ(stored(), QStringLiteral("abcd|12"));
}

TEST_F(PasswordLogicTest, ACheckThatCannotReadThePasswordLetsNobodyIn) {
    exec(QStringLiteral("DROP TABLE T_TUKISIMECHECK"));
    EXPECT_FALSE(enter(kLogin, QString(), QString(), QString()));
    EXPECT_EQ(session().RunState, 2);
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("(check_password)")))
        << messages.last().text.toStdString();

    messages.shown.clear();
    session().RunState = 0;
    EXPECT_FALSE(enter(kSettings, QString(), QStringLiteral("abcd"), QStringLiteral("abcd")));
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("(check_password)")));
    EXPECT_EQ(session().RunState, 0);
}

}  // namespace
