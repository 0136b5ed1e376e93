#include "session/PasswordLogic.h"

#include <algorithm>

#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"

namespace {

const QString kLoginCaller = QStringLiteral("MainMenu");
// The first four characters go to 'P1', the rest to 'P2'.
constexpr int kFirstPartLength = 4;

// An empty part is stored as "", never as NULL.
QString notNull(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

}  // namespace

QString PasswordLogic::storedPassword() {
    QString stored;
    RecordSet rs = Database::global().query(
        QStringLiteral("SELECT DATEYM FROM T_TUKISIMECHECK WHERE CID IN('P1', 'P2') ORDER BY CID"));
    for (; !rs.eof(); rs.moveNext()) {
        stored += rs.text(QStringLiteral("DATEYM")).trimmed();
    }
    return stored;
}

void PasswordLogic::load(const QString& caller) {
    txtPassword0.clear();
    txtPassword1.clear();
    txtPassword2.clear();
    if (caller == kLoginCaller) {
        mode_ = Mode::Login;
        return;
    }
    mode_ = Mode::Set;
    try {
        if (!storedPassword().isEmpty()) {
            mode_ = Mode::Change;
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("Form_Load"));
    }
}

QString PasswordLogic::caption() const {
    switch (mode_) {
        case Mode::Set:
            return QStringLiteral("设置密码");
        case Mode::Change:
            return QStringLiteral("修改密码");
        case Mode::Login:
            break;
    }
    return QStringLiteral("输入密码");
}

QString PasswordLogic::label1() const {
    return mode_ == Mode::Change ? QStringLiteral("新密码") : QStringLiteral("密码");
}

QString PasswordLogic::label2() const {
    return mode_ == Mode::Change ? QStringLiteral("确认新密码") : QStringLiteral("确认密码");
}

bool PasswordLogic::check_password() {
    try {
        const QString stored = storedPassword();
        if (mode_ == Mode::Login) {
            if (txtPassword1.trimmed() != stored) {
                session().RunState = 2;
                messages().exclamation(QStringLiteral("输入的密码不正确，系统不能启动。"));
                return false;
            }
            return true;
        }
        if (txtPassword0.trimmed() != stored) {
            messages().exclamation(QStringLiteral("现在使用中的密码不正确，密码不能修改。") +
                                   QStringLiteral("\n\n") + QStringLiteral("返回初期画面。"));
            return false;
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("check_password"));
        return false;
    }
}

bool PasswordLogic::Form_Unload() {
    txtPassword0 = txtPassword0.trimmed();
    txtPassword1 = txtPassword1.trimmed();
    txtPassword2 = txtPassword2.trimmed();
    if (mode_ == Mode::Login) {
        const bool ok = check_password();
        // A check that could not be made lets nobody in either.
        if (!ok) {
            session().RunState = 2;
        }
        return ok;
    }
    if (!check_password()) {
        return false;
    }
    const QString refused =
        mode_ == Mode::Change ? QStringLiteral("密码不能修改。") : QStringLiteral("密码不能设置。");
    if (std::any_of(txtPassword1.begin(), txtPassword1.end(),
                    [](QChar c) { return c.isSpace(); })) {
        // The stored halves are read back trimmed: a blank inside could never be typed back.
        messages().exclamation(label1() + QStringLiteral("中不能含有空格，") + refused +
                               Messages::kCrLf + QStringLiteral("返回初期画面。"));
    } else if (txtPassword1 == txtPassword2) {
        save(txtPassword1);
    } else {
        messages().exclamation(label1() + u'与' + label2() + QStringLiteral("不匹配，") + refused +
                               Messages::kCrLf + QStringLiteral("返回初期画面。"));
    }
    return true;
}

void PasswordLogic::save(const QString& password) {
    Database& db = Database::global();
    try {
        TransactionGuard transaction(db);
        db.execute(QStringLiteral("UPDATE T_TUKISIMECHECK SET DATEYM = ? WHERE CID = 'P1'"),
                   {notNull(password.left(kFirstPartLength))});
        db.execute(QStringLiteral("UPDATE T_TUKISIMECHECK SET DATEYM = ? WHERE CID = 'P2'"),
                   {notNull(password.mid(kFirstPartLength))});
        transaction.commit();
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("Form_Unload"));
    }
}
