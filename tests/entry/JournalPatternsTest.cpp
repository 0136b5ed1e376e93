#include <gtest/gtest.h>

#include "common/Session.h"
#include "entry/JournalPatterns.h"
#include "support/SetSnapshot.h"
#include "support/StringLists.h"
#include "support/TestDatabase.h"

namespace {

using Mode = JournalPatterns::Mode;

const QString kCash = QStringLiteral("101 现金");
const QString kWages = QStringLiteral("501 工资收入");
const QString kForeignCash = QStringLiteral("102 外币现金");
const QString kNotRegistered = QStringLiteral("分类模式未被登录。");
const QString kDebit = QStringLiteral("cmbKarikata");

// Set 01 (the shipped chart) current, with the stored pattern 101/102 and one of set 02.
class JournalPatternsTest : public DatabaseTest, protected JournalPatternsHost {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("01");
        exec(
            QStringLiteral("INSERT INTO T_SI_PATTERN VALUES ('01', '101', '102', '兑换', "
                           "'兑换摘要', '1', ''), ('02', '101', '501', '别的', '别的', '1', '')"));
        ASSERT_TRUE(logic.msFormInit());
    }

    void setFocusTo(const QString& control) override { focused.append(control); }

    void type(const QString& debit, const QString& credit, const QString& name = QString(),
              const QString& description = QString()) {
        logic.cmbKarikata = debit;
        logic.cmbKasikata = credit;
        logic.txtIkkatuSiwake = name;
        logic.txtTekiyou = description;
    }
    QStringList table(const QString& name) {
        return rows(QStringLiteral("SELECT CID, KRCODE, KSCODE, SINAME, TENAME, SETID, SETPT "
                                   "FROM %1 ORDER BY CID, KRCODE, KSCODE")
                        .arg(name));
    }
    // The one message shown and where the focus went since the last call.
    QString refusal() {
        QString seen = messages.texts().join(u'+') + u'@' + focused.join(u'+');
        if (!messages.shown.isEmpty()) {
            EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
        }
        messages.shown.clear();
        focused.clear();
        return seen;
    }

    JournalPatterns logic{*this};
    QStringList focused;
};

TEST_F(JournalPatternsTest, OpeningCopiesTheSetsPatternsAndReadsTheLists) {
    exec(QStringLiteral("INSERT INTO WK_SI_PATTERN (CID, KRCODE) VALUES ('03', '1')"));
    exec(QStringLiteral("UPDATE T_KANJO SET SIYOU = 'N' WHERE KMCODE = '102'"));
    exec(
        QStringLiteral("INSERT INTO WK_TEKIYO VALUES ('01', '002', '付房租'), "
                       "('02', '001', '别的账套'), ('01', '001', '收货款')"));
    ASSERT_TRUE(logic.msFormInit());
    EXPECT_EQ(table(QStringLiteral("WK_SI_PATTERN")), strings({"01|101|102|兑换|兑换摘要|1|"}));
    // Sorted by number, so headings without a number would come first.
    const QStringList& accounts = logic.accounts();
    EXPECT_EQ(accounts.value(0) + u'|' + accounts.value(1),
              kCash + u'|' + QStringLiteral("111 银行存款"));
    EXPECT_TRUE(accounts.contains(kWages));
    EXPECT_EQ(logic.descriptions(), strings({"收货款", "付房租"}));
}

TEST_F(JournalPatternsTest, RegisteringChecksInOrderAndWritesOnlyTheWorkTable) {
    struct Case {
        QString debit, credit, name, description, refusal;
    };
    const QString ok = QStringLiteral("名");
    const Case cases[] = {
        {QString(), kWages, ok, ok, QStringLiteral("请选择借方科目。@cmbKarikata")},
        {QStringLiteral("101"), kWages, ok, ok, QStringLiteral("科目未被登录。@cmbKarikata")},
        {kCash, QStringLiteral(" "), ok, ok, QStringLiteral("请选择贷方科目。@cmbKasikata")},
        {kCash, QStringLiteral("999 无"), ok, ok, QStringLiteral("科目未被登录。@cmbKasikata")},
        {kCash, kForeignCash, QString(), QString(), kNotRegistered + u'@' + kDebit},
        {kCash, kWages, QStringLiteral("　 "), ok,
         QStringLiteral("请输入类别名称。@txtIkkatuSiwake")},
        {kCash, kWages, ok, QString(), QStringLiteral("请输入摘要名称。@txtTekiyou")},
        {kCash, kWages, QString(21, u'名'), ok,
         QStringLiteral("汇总分类名称要求在全角20个字以内。@txtIkkatuSiwake")},
        {kCash, kWages, ok, QString(21, u'摘'),
         QStringLiteral("摘要名称要求在全角20个字以内。@txtTekiyou")},
    };
    for (const Case& c : cases) {
        type(c.debit, c.credit, c.name, c.description);
        EXPECT_FALSE(logic.cmdTouroku_Click());
        EXPECT_EQ(refusal(), c.refusal);
    }
    // Entering the credit box checks the debit; entering a description box checks the pair.
    type(QString(), QString());
    EXPECT_FALSE(logic.cmbKasikata_GotFocus());
    EXPECT_EQ(refusal(), QStringLiteral("请选择借方科目。@cmbKarikata"));
    type(kCash, kForeignCash);
    EXPECT_TRUE(logic.cmbKasikata_GotFocus());
    EXPECT_FALSE(logic.description_GotFocus());
    EXPECT_EQ(refusal(), kNotRegistered + u'@' + kDebit);

    // Leading blanks go; twenty characters and quotes stay as typed.
    const QString name = QStringLiteral("O'Brien \"A\" ") + QString(8, u'名');
    type(kCash, kWages, QStringLiteral("  ") + name, QString(20, u'摘'));
    logic.cmbTekiyou = QStringLiteral("x");
    EXPECT_TRUE(logic.description_GotFocus());
    ASSERT_TRUE(logic.cmdTouroku_Click());
    EXPECT_EQ(refusal(), u'@' + kDebit);
    EXPECT_EQ(
        table(QStringLiteral("WK_SI_PATTERN")).last(),
        QStringLiteral("01|101|501|") + name + u'|' + QString(20, u'摘') + QStringLiteral("|1|"));
    EXPECT_EQ(logic.cmbKarikata + logic.cmbKasikata + logic.txtIkkatuSiwake + logic.txtTekiyou +
                  logic.cmbTekiyou,
              QString());
    type(kCash, kWages, ok, ok);
    EXPECT_FALSE(logic.cmdTouroku_Click());
    EXPECT_EQ(refusal(), kNotRegistered + u'@' + kDebit);
    EXPECT_EQ(table(QStringLiteral("WK_SI_PATTERN")).size(), 2);
    EXPECT_EQ(table(QStringLiteral("T_SI_PATTERN")).size(), 2);
}

TEST_F(JournalPatternsTest, CorrectingAndDeletingNeedARegisteredPair) {
    logic.setMode(Mode::Teisei);
    EXPECT_EQ(refusal(), u'@' + kDebit);
    type(kCash, kWages, QStringLiteral("名"), QStringLiteral("摘要"));
    EXPECT_FALSE(logic.cmdTouroku_Click());
    EXPECT_EQ(refusal(), kNotRegistered + u'@' + kDebit);

    // Choosing a pair shows what it holds, or nothing when it is not registered.
    type(kCash, kForeignCash);
    logic.msShowSub();
    EXPECT_EQ(logic.txtIkkatuSiwake + u'|' + logic.txtTekiyou, QStringLiteral("兑换|兑换摘要"));
    logic.cmbKasikata = kWages;
    logic.msShowSub();
    EXPECT_EQ(logic.txtIkkatuSiwake + logic.txtTekiyou, QString());

    type(kCash, kForeignCash, QStringLiteral(" 换汇"), QStringLiteral("银行"));
    logic.cmbTekiyou_Click(QStringLiteral("外币兑换"));
    ASSERT_TRUE(logic.cmdTouroku_Click());
    EXPECT_EQ(table(QStringLiteral("WK_SI_PATTERN")), strings({"01|101|102|换汇|外币兑换|1|"}));

    // Deleting asks for neither name nor description, and locks them.
    logic.setMode(Mode::Delete);
    EXPECT_FALSE(logic.textsEditable());
    type(kCash, kForeignCash);
    ASSERT_TRUE(logic.cmdTouroku_Click());
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(table(QStringLiteral("WK_SI_PATTERN")).isEmpty());
    EXPECT_FALSE(logic.cmdHyouji_Click());
    EXPECT_EQ(messages.last().text, QStringLiteral("没有符合条件的数据。"));

    // Closing after deleting every pattern leaves the set with none; set 02 keeps its own.
    ASSERT_TRUE(logic.msUnForm());
    EXPECT_EQ(table(QStringLiteral("T_SI_PATTERN")), strings({"02|101|501|别的|别的|1|"}));

    // Registering empties the name and description when a pair is chosen.
    logic.setMode(Mode::Touroku);
    type(kCash, kForeignCash, QStringLiteral("名"), QStringLiteral("摘要"));
    logic.msShowSub();
    EXPECT_EQ(logic.txtIkkatuSiwake + logic.txtTekiyou, QString());
}

TEST_F(JournalPatternsTest, FailuresNeverLoseTheStoredPatterns) {
    const QStringList before = table(QStringLiteral("T_SI_PATTERN"));
    exec(
        QStringLiteral("CREATE TRIGGER refuse_pattern BEFORE INSERT ON T_SI_PATTERN "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    EXPECT_FALSE(logic.msUnForm());
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("(msUnForm)")));
    EXPECT_EQ(table(QStringLiteral("T_SI_PATTERN")), before);
    exec(QStringLiteral("DROP TRIGGER refuse_pattern"));

    // A failed change keeps the inputs for another try.
    exec(
        QStringLiteral("CREATE TRIGGER refuse_work BEFORE INSERT ON WK_SI_PATTERN "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    type(kCash, kWages, QStringLiteral("名"), QStringLiteral("摘要"));
    EXPECT_FALSE(logic.cmdTouroku_Click());
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("(cmdTouroku_Click)")));
    EXPECT_EQ(logic.txtIkkatuSiwake, QStringLiteral("名"));

    // A failed opening leaves no partial copy, and closing then writes nothing back.
    exec(QStringLiteral("DELETE FROM WK_SI_PATTERN"));
    EXPECT_FALSE(logic.msFormInit());
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("(msFormInit)")));
    EXPECT_TRUE(logic.msUnForm());
    EXPECT_EQ(table(QStringLiteral("T_SI_PATTERN")), before);

    exec(QStringLiteral("ALTER TABLE WK_SI_PATTERN RENAME TO WK_AWAY"));
    messages.shown.clear();
    logic.setMode(Mode::Teisei);
    type(kCash, kWages);
    EXPECT_FALSE(logic.mfCreSubChk());
    logic.msShowSub();
    EXPECT_FALSE(logic.cmdHyouji_Click());
    QStringList routines;
    for (const QString& text : messages.texts()) {
        routines.append(text.section(u'(', -1));
    }
    EXPECT_EQ(routines, strings({"mfCreSubChk)", "msShowSub)", "cmdHyouji_Click)"}));
}

TEST_F(JournalPatternsTest, AnotherSetWithTheSamePatternsKeepsEveryRow) {
    SetSnapshot::copySet(QStringLiteral("01"), QStringLiteral("02"));
    const SetSnapshot other(QStringLiteral("02"));
    ASSERT_EQ(other.count(QStringLiteral("T_SI_PATTERN")), 1);
    type(kCash, kWages, QStringLiteral("工资"), QStringLiteral("工资"));
    ASSERT_TRUE(logic.cmdTouroku_Click());
    ASSERT_TRUE(logic.msUnForm());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_PATTERN WHERE CID = '01'")), 2);
    EXPECT_TRUE(other.unchanged());
}

}  // namespace
