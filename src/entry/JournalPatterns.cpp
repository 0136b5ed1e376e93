#include "entry/JournalPatterns.h"

#include <optional>

#include "common/DateHelpers.h"
#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "print/PrintAccessReport.h"

namespace {

const QString kDebitBox = QStringLiteral("cmbKarikata");
const QString kCreditBox = QStringLiteral("cmbKasikata");

QString codeOf(const QString& accountText) {
    QString name;
    return splitAtBlank(accountText, name);
}

QString withoutLeadingBlanks(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && text.at(start).isSpace()) {
        ++start;
    }
    return text.mid(start);
}

}  // namespace

QString JournalPatterns::readMe1Text() {
    return QStringList{QStringLiteral("借方科目和贷方科目的组合不能重复登录。"),
                       QStringLiteral("录入摘要名称时候，如果点击了“▼”，光标将后移。"),
                       QStringLiteral("请将光标移动到录入框内再进行录入。")}
        .join(Messages::kCrLf);
}

QString JournalPatterns::readMe2Text() {
    return QStringList{QStringLiteral("点击“科目”会出现一览表。"),
                       QStringLiteral("汇总分类名称、摘要名称要求在全角20个字以内。")}
        .join(Messages::kCrLf);
}

bool JournalPatterns::msFormInit() {
    workFilled_ = false;
    accounts_.clear();
    descriptions_.clear();
    try {
        fillWorkTable();
        workFilled_ = true;
        readLists();
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msFormInit"));
        return false;
    }
}

void JournalPatterns::fillWorkTable() {
    Database& db = Database::global();
    // Emptied and refilled together, so that a failure never leaves a partial copy behind.
    std::optional<TransactionGuard> transaction;
    if (!db.inTransaction()) {
        transaction.emplace(db);
    }
    db.execute(QStringLiteral("Delete From WK_SI_PATTERN"));
    db.execute(QStringLiteral("INSERT INTO WK_SI_PATTERN(KRCODE, KSCODE, SINAME, TENAME, CID, "
                              "SETID, SETPT) SELECT KRCODE, KSCODE, SINAME, TENAME, CID, SETID, "
                              "SETPT FROM T_SI_PATTERN WHERE CID = ?"),
               {session().CurrentCid});
    if (transaction) {
        transaction->commit();
    }
}

void JournalPatterns::readLists() {
    Database& db = Database::global();
    RecordSet rs =
        db.query(QStringLiteral("SELECT KMCODE, KANNAME, KOCODE, SYORIKBN, SIYOU From T_KANJO "
                                "Where KMCODE <> '' And KOCODE NOT IN('202', '258', '362') "
                                "And SYORIKBN = '0' And SIYOU = 'Y' ORDER BY KMCODE"));
    for (; !rs.eof(); rs.moveNext()) {
        accounts_.append(rs.text(QStringLiteral("KMCODE")) + u' ' +
                         rs.text(QStringLiteral("KANNAME")));
    }
    rs.close();
    // The description screen's work copy; rows of another set are left out.
    RecordSet texts =
        db.query(QStringLiteral("SELECT TENAME FROM WK_TEKIYO WHERE CID = ? ORDER BY TEKINO"),
                 {session().CurrentCid});
    for (; !texts.eof(); texts.moveNext()) {
        descriptions_.append(texts.text(QStringLiteral("TENAME")));
    }
}

bool JournalPatterns::msUnForm() {
    if (!workFilled_) {
        return true;
    }
    Database& db = Database::global();
    try {
        // Both statements or neither: a failure keeps the set's patterns as they were.
        std::optional<TransactionGuard> transaction;
        if (!db.inTransaction()) {
            transaction.emplace(db);
        }
        db.execute(QStringLiteral("Delete From T_SI_PATTERN where CID = ?"),
                   {session().CurrentCid});
        db.execute(QStringLiteral("INSERT INTO T_SI_PATTERN SELECT * FROM WK_SI_PATTERN "
                                  "WHERE CID = ?"),
                   {session().CurrentCid});
        if (transaction) {
            transaction->commit();
        }
        workFilled_ = false;
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msUnForm"));
        return false;
    }
}

bool JournalPatterns::refuse(const QString& text, const QString& control) {
    messages().exclamation(text);
    host_.setFocusTo(control);
    return false;
}

bool JournalPatterns::checkAccount(const QString& text, const QString& emptyMessage,
                                   const QString& control) {
    if (text.trimmed().isEmpty()) {
        return refuse(emptyMessage, control);
    }
    if (!accounts_.contains(text)) {
        return refuse(QStringLiteral("科目未被登录。"), control);
    }
    return true;
}

bool JournalPatterns::checkText(const QString& text, const QString& emptyMessage,
                                const QString& tooLongMessage, const QString& control) {
    const QString stored = withoutLeadingBlanks(text);
    if (stored.trimmed().isEmpty()) {
        return refuse(emptyMessage, control);
    }
    if (stored.toUcs4().size() > kMaxCharacters) {
        return refuse(tooLongMessage, control);
    }
    return true;
}

bool JournalPatterns::mfCreSubChk() {
    try {
        const bool registered =
            !Database::global()
                 .query(QStringLiteral("select KRCODE from WK_SI_PATTERN where KRCODE = ? "
                                       "And KSCODE = ?"),
                        {codeOf(cmbKarikata), codeOf(cmbKasikata)})
                 .eof();
        if (registered == (mode_ == Mode::Touroku)) {
            return refuse(QStringLiteral("分类模式未被登录。"), kDebitBox);
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("mfCreSubChk"));
        return false;
    }
}

bool JournalPatterns::checkAccountsAndPair() {
    return checkAccount(cmbKarikata, QStringLiteral("请选择借方科目。"), kDebitBox) &&
           checkAccount(cmbKasikata, QStringLiteral("请选择贷方科目。"), kCreditBox) &&
           mfCreSubChk();
}

bool JournalPatterns::checkInput() {
    if (!checkAccountsAndPair()) {
        return false;
    }
    if (mode_ == Mode::Delete) {
        return true;
    }
    return checkText(txtIkkatuSiwake, QStringLiteral("请输入类别名称。"),
                     QStringLiteral("汇总分类名称要求在全角20个字以内。"),
                     QStringLiteral("txtIkkatuSiwake")) &&
           checkText(txtTekiyou, QStringLiteral("请输入摘要名称。"),
                     QStringLiteral("摘要名称要求在全角20个字以内。"),
                     QStringLiteral("txtTekiyou"));
}

bool JournalPatterns::cmbKasikata_GotFocus() {
    return checkAccount(cmbKarikata, QStringLiteral("请选择借方科目。"), kDebitBox);
}

bool JournalPatterns::description_GotFocus() {
    return checkAccountsAndPair();
}

bool JournalPatterns::cmdTouroku_Click() {
    if (!checkInput()) {
        return false;
    }
    try {
        apply(codeOf(cmbKarikata), codeOf(cmbKasikata));
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdTouroku_Click"));
        return false;
    }
    clearInputs();
    return true;
}

void JournalPatterns::apply(const QString& debit, const QString& credit) {
    Database& db = Database::global();
    const QString& cid = session().CurrentCid;
    const QString name = withoutLeadingBlanks(txtIkkatuSiwake);
    const QString description = withoutLeadingBlanks(txtTekiyou);
    switch (mode_) {
        case Mode::Touroku:
            db.execute(QStringLiteral("INSERT INTO WK_SI_PATTERN (CID, KRCODE, KSCODE, SINAME, "
                                      "TENAME, SETID, SETPT) VALUES (?, ?, ?, ?, ?, '1', '')"),
                       {cid, debit, credit, name, description});
            break;
        case Mode::Teisei:
            db.execute(QStringLiteral("UPDATE WK_SI_PATTERN SET SINAME = ?, TENAME = ? "
                                      "WHERE CID = ? And KRCODE = ? And KSCODE = ?"),
                       {name, description, cid, debit, credit});
            break;
        case Mode::Delete:
            db.execute(QStringLiteral("DELETE FROM WK_SI_PATTERN WHERE CID = ? And KRCODE = ? "
                                      "And KSCODE = ?"),
                       {cid, debit, credit});
            break;
    }
}

void JournalPatterns::msShowSub() {
    if (mode_ == Mode::Touroku) {
        txtIkkatuSiwake.clear();
        txtTekiyou.clear();
        return;
    }
    const QString debit = codeOf(cmbKarikata);
    const QString credit = codeOf(cmbKasikata);
    if (debit.isEmpty() || credit.isEmpty()) {
        return;
    }
    try {
        RecordSet rs = Database::global().query(
            QStringLiteral("select SINAME, TENAME from WK_SI_PATTERN where KRCODE = ? "
                           "And KSCODE = ?"),
            {debit, credit});
        txtIkkatuSiwake = rs.eof() ? QString() : rs.text(QStringLiteral("SINAME"));
        txtTekiyou = rs.eof() ? QString() : rs.text(QStringLiteral("TENAME"));
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msShowSub"));
    }
}

void JournalPatterns::clearInputs() {
    cmbKarikata.clear();
    cmbKasikata.clear();
    txtIkkatuSiwake.clear();
    txtTekiyou.clear();
    cmbTekiyou.clear();
    host_.setFocusTo(kDebitBox);
}

void JournalPatterns::setMode(Mode mode) {
    mode_ = mode;
    clearInputs();
}

void JournalPatterns::cmbTekiyou_Click(const QString& description) {
    cmbTekiyou = description;
    txtTekiyou = description;
}

bool JournalPatterns::cmdHyouji_Click() {
    try {
        if (Database::global().query(QStringLiteral("SELECT CID FROM WK_SI_PATTERN")).eof()) {
            messages().exclamation(QStringLiteral("没有符合条件的数据。"));
            return false;
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdHyouji_Click"));
        return false;
    }
    return printPatternList(0);
}

bool JournalPatterns::cmdInsatu_Click() {
    return printPatternList(1);
}

bool JournalPatterns::printPatternList(int mode) {
    return PrintAccessReport(session().AppFolder + QStringLiteral("Kaikei.mdb"),
                             QStringLiteral("R_SIWAKE"), mode);
}
