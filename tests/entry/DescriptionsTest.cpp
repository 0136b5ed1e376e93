#include <gtest/gtest.h>

#include "common/Session.h"
#include "entry/Descriptions.h"
#include "support/RecordingReportOutput.h"
#include "support/SetSnapshot.h"
#include "support/StringLists.h"
#include "support/TestDatabase.h"

namespace {

using Mode = Descriptions::Mode;

class DescriptionsTest : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("01");
    }
    // Stores descriptions of set "01" given as "number:text".
    void store(const QStringList& entries) {
        for (const QString& entry : entries) {
            exec(QStringLiteral("INSERT INTO T_TEKIYO VALUES ('01', ?, ?)"),
                 {entry.section(u':', 0, 0), entry.section(u':', 1)});
        }
    }
    // The list as "number:text" entries.
    static QStringList listed(const Descriptions& d) {
        QStringList all;
        for (const DescriptionItem& item : d.items()) {
            all.append(QString::number(item.number) + u':' + item.text);
        }
        return all;
    }
    QStringList work() {
        return rows(QStringLiteral("SELECT CID, TEKINO, TENAME FROM WK_TEKIYO ORDER BY TEKINO"));
    }
    QStringList stored() {
        return rows(
            QStringLiteral("SELECT TEKINO, TENAME FROM T_TEKIYO WHERE CID = '01' "
                           "ORDER BY TEKINO"));
    }
    void registerText(Descriptions& d, const QString& text) {
        d.setText(text);
        ASSERT_TRUE(d.cmdTouroku_Click()) << text.toStdString();
    }
    void failOn(const QString& table) {
        exec(QStringLiteral("CREATE TRIGGER fail_%1 BEFORE INSERT ON %1 "
                            "BEGIN SELECT RAISE(ABORT, 'disk full'); END")
                 .arg(table));
    }
};

TEST_F(DescriptionsTest, OpeningCopiesTheSetAndNewNumbersFillTheFirstGap) {
    store({QStringLiteral("004:丁"), QStringLiteral("001:甲"), QStringLiteral("002:乙")});
    exec(QStringLiteral("INSERT INTO T_TEKIYO VALUES ('02', '001', '别的账套')"));
    exec(QStringLiteral("INSERT INTO WK_TEKIYO VALUES ('05', '009', '上次留下的')"));
    Descriptions d;
    ASSERT_TRUE(d.Form_Load());
    EXPECT_EQ(listed(d), strings({"1:甲", "2:乙", "4:丁"}));
    EXPECT_EQ(work(), strings({"01|001|甲", "01|002|乙", "01|004|丁"}));
    EXPECT_EQ(d.nextNumber(), QStringLiteral("003"));
    registerText(d, QStringLiteral("丙"));
    EXPECT_EQ(d.nextNumber(), QStringLiteral("005"));

    // A deleted number is the next one given out; new entries go to the end of the list.
    d.setMode(Mode::Delete);
    d.chooseItem(1);
    ASSERT_TRUE(d.cmdTouroku_Click());
    d.setMode(Mode::Touroku);
    registerText(d, QStringLiteral("戊"));
    EXPECT_EQ(listed(d), strings({"1:甲", "4:丁", "3:丙", "2:戊"}));
    EXPECT_EQ(work().at(1), QStringLiteral("01|002|戊"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(DescriptionsTest, RegisteringChecksTheText) {
    Descriptions d;
    ASSERT_TRUE(d.Form_Load());
    for (const QString& blank : {QString(), QStringLiteral("   ")}) {
        d.setText(blank);
        EXPECT_FALSE(d.cmdTouroku_Click());
        EXPECT_EQ(messages.last().text, QStringLiteral("请输入摘要名称。"));
        EXPECT_EQ(messages.last().title, QStringLiteral("Ombrel"));
    }
    const QString twenty = QString(20, QChar(u'账'));
    d.setText(u' ' + twenty + u'x');
    EXPECT_FALSE(d.cmdTouroku_Click());
    EXPECT_EQ(messages.last().text, QStringLiteral("摘要名称要求在全角20个字以内。"));
    EXPECT_EQ(d.text(), u' ' + twenty + u'x');
    EXPECT_TRUE(work().isEmpty());

    // Leading blanks go, the rest is kept as typed, quotes included.
    registerText(d, QStringLiteral("  O'Brien \"A\" "));
    registerText(d, u' ' + twenty);
    EXPECT_EQ(work(), (QStringList{QStringLiteral("01|001|O'Brien \"A\" "),
                                   QStringLiteral("01|002|") + twenty}));
    EXPECT_EQ(d.items().first().text, QStringLiteral("O'Brien \"A\" "));
    EXPECT_TRUE(d.text().isEmpty());
    EXPECT_EQ(messages.shown.size(), 3);
}

TEST_F(DescriptionsTest, CorrectingAndDeletingActOnTheChosenEntry) {
    store({QStringLiteral("001:同名"), QStringLiteral("002:同名"), QStringLiteral("003:差旅费")});
    Descriptions d;
    ASSERT_TRUE(d.Form_Load());
    d.setMode(Mode::Teisei);
    EXPECT_TRUE(d.textLocked());
    d.setText(QStringLiteral("ignored while locked"));
    EXPECT_TRUE(d.text().isEmpty());

    // Of two entries with the same text, the one picked is changed.
    d.chooseItem(1);
    EXPECT_EQ(d.text(), QStringLiteral("同名"));
    EXPECT_FALSE(d.textLocked());
    d.setText(QStringLiteral("  招待费  "));
    ASSERT_TRUE(d.cmdTouroku_Click());
    EXPECT_EQ(work(), strings({"01|001|同名", "01|002|招待费", "01|003|差旅费"}));
    EXPECT_EQ(d.items().at(1).text, QStringLiteral("招待费"));
    EXPECT_TRUE(d.textLocked());
    EXPECT_TRUE(d.listText().isEmpty());
    // Only the work table changes while the screen is open.
    EXPECT_EQ(stored().at(1), QStringLiteral("002|同名"));

    // A list text that is no entry, or a blank new text, is refused.
    d.chooseItem(2);
    d.setListText(QStringLiteral("差旅"));
    EXPECT_EQ(d.chosenIndex(), -1);
    EXPECT_FALSE(d.cmdTouroku_Click());
    d.chooseItem(2);
    d.setText(QStringLiteral(" "));
    EXPECT_FALSE(d.cmdTouroku_Click());
    EXPECT_EQ(messages.texts(), QStringList(2, QStringLiteral("请输入摘要名称。")));

    // Delete: typing an entry's exact text picks it; its text is shown, locked.
    d.setMode(Mode::Delete);
    EXPECT_FALSE(d.cmdTouroku_Click());
    d.setListText(QStringLiteral("差旅费"));
    EXPECT_EQ(d.text(), QStringLiteral("差旅费"));
    EXPECT_TRUE(d.textLocked());
    ASSERT_TRUE(d.cmdTouroku_Click());
    EXPECT_EQ(listed(d), strings({"1:同名", "2:招待费"}));
    EXPECT_EQ(work().size(), 2);
    // An emptied list text empties the text box.
    d.chooseItem(0);
    d.setListText(QString());
    EXPECT_TRUE(d.text().isEmpty());
    EXPECT_EQ(messages.shown.size(), 3);
}

TEST_F(DescriptionsTest, LeavingReplacesTheSetsDescriptions) {
    store({QStringLiteral("001:工资")});
    // Set 02 holds the same numbers and texts; nothing of it may change.
    SetSnapshot::copySet(QStringLiteral("01"), QStringLiteral("02"));
    const SetSnapshot other(QStringLiteral("02"));
    ASSERT_EQ(other.count(QStringLiteral("T_TEKIYO")), 1);
    Descriptions d;
    ASSERT_TRUE(d.Form_Load());
    // Registered and deleted in the same visit: no trace.
    registerText(d, QStringLiteral("临时"));
    d.setMode(Mode::Delete);
    d.chooseItem(1);
    ASSERT_TRUE(d.cmdTouroku_Click());
    ASSERT_TRUE(d.msLeaveForm());
    EXPECT_EQ(stored(), strings({"001|工资"}));
    // The work table stays filled for the pattern screen.
    EXPECT_EQ(work(), strings({"01|001|工资"}));

    // Deleting every entry leaves the set with none.
    ASSERT_TRUE(d.Form_Load());
    d.setMode(Mode::Delete);
    d.chooseItem(0);
    ASSERT_TRUE(d.cmdTouroku_Click());
    ASSERT_TRUE(d.msLeaveForm());
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_TRUE(other.unchanged());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(DescriptionsTest, FailuresLoseNothing) {
    store({QStringLiteral("001:房租")});
    Descriptions d;
    ASSERT_TRUE(d.Form_Load());
    registerText(d, QStringLiteral("保险费"));

    // A failed write-back keeps the set's descriptions as they were.
    failOn(QStringLiteral("T_TEKIYO"));
    EXPECT_FALSE(d.msLeaveForm());
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("disk full(msLeaveForm)")));
    EXPECT_EQ(stored(), strings({"001|房租"}));
    exec(QStringLiteral("DROP TRIGGER fail_T_TEKIYO"));
    ASSERT_TRUE(d.msLeaveForm());
    EXPECT_EQ(stored(), strings({"001|房租", "002|保险费"}));

    // A failed insert leaves the list and the typed text as they were.
    ASSERT_TRUE(d.Form_Load());
    failOn(QStringLiteral("WK_TEKIYO"));
    d.setText(QStringLiteral("运费"));
    EXPECT_FALSE(d.cmdTouroku_Click());
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("disk full(cmdTouroku_Click)")));
    EXPECT_EQ(d.items().size(), 2);
    EXPECT_EQ(d.text(), QStringLiteral("运费"));

    // A failed opening never writes its half-filled work table back.
    EXPECT_FALSE(d.Form_Load());
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("disk full(msFormInit)")));
    EXPECT_TRUE(d.msLeaveForm());
    EXPECT_EQ(stored().size(), 2);
    EXPECT_EQ(messages.shown.size(), 3);
}

TEST_F(DescriptionsTest, PreviewNeedsRows) {
    Descriptions d;
    ASSERT_TRUE(d.Form_Load());
    EXPECT_FALSE(d.cmdHyouji_Click());
    EXPECT_EQ(messages.last().text, QStringLiteral("没有符合条件的数据。"));
    EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
    registerText(d, QStringLiteral("杂费"));
    RecordingReportOutput output;
    EXPECT_TRUE(d.cmdHyouji_Click());
    d.cmdInsatu_Click();
    EXPECT_EQ(output.calls(), QStringList({QStringLiteral("preview R_TEKIYO 1"),
                                           QStringLiteral("print R_TEKIYO 1")}));
}

}  // namespace
