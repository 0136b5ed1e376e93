#include <gtest/gtest.h>
#include <functional>

#include "common/Session.h"
#include "db/Database.h"
#include "master/AccountSetForm.h"
#include "master/FakeAccountSets.h"
#include "support/MessageBoxClicker.h"
#include "support/SetSnapshot.h"
#include "support/TestDatabase.h"

namespace {

const QStringList kSetTables = {
    QStringLiteral("T_HOJOKAMOKU"), QStringLiteral("T_KISYUZAN"), QStringLiteral("T_DAY_INPUT"),
    QStringLiteral("T_DAY_TORAN"),  QStringLiteral("T_SIWAKE"),   QStringLiteral("T_SI_MEISAI"),
    QStringLiteral("T_SI_PATTERN"), QStringLiteral("T_TEKIYO"),   QStringLiteral("T_TUKIKAN"),
    QStringLiteral("T_TUKIHOJO"),   QStringLiteral("T_TUKISIME"), QStringLiteral("T_TUKISIMECHECK"),
};

// The screen opened from the settings menu on user set "51" (2024/04/01-2025/03/31), with a
// second user set "52" beside it.
class AccountSetFormExisting : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        FakeAccountSets::writeSet(QStringLiteral("51"), QStringLiteral("甲公司"),
                                  QStringLiteral("2024/04/01"), QStringLiteral("2025/03/31"));
        FakeAccountSets::writeSet(QStringLiteral("52"), QStringLiteral("乙公司"),
                                  QStringLiteral("2024/01/01"), QStringLiteral("2024/12/31"));
        sets.reload();
        FakeAccountSets::switchTo(QStringLiteral("51"));
        session().CallerForm = QStringLiteral("SyokiSetMenu");
    }
    void addDay(const QString& cid, const QString& dencode, qint64 dayzan = 0) {
        exec(QStringLiteral(
                 "INSERT INTO T_SIWAKE (CID, DENCODE, DENNO, DAYZAN) VALUES (?, ?, ?, ?)"),
             {cid, dencode, dencode, dayzan});
    }
    // The fields as "name|start|end|year|capital|period|owner|rate use|rate".
    QString shown() const {
        const auto& f = form.fields;
        const auto word = [](bool first, const char* yes, const char* no) {
            return QLatin1String(first ? yes : no);
        };
        return QStringList{f.txtKaisyaName,
                           f.txtKisyubi,
                           f.txtKimatubi,
                           f.txtKaikeiNendo,
                           f.txtShihonkin,
                           word(f.period == AccountSetForm::Period::Tujo, "Tujo", "Kichu"),
                           word(f.owner == AccountSetForm::Owner::Hojin, "Hojin", "Kojin"),
                           word(f.rateUse == AccountSetForm::RateUse::No, "RateNo", "RateYes"),
                           QString::number(f.numRate)}
            .join(u'|');
    }
    qint64 days(const QString& cid) {
        return count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = ?"), {cid});
    }

    FakeAccountSets sets;
    AccountSetForm form{sets};
};

TEST_F(AccountSetFormExisting, LoadsTheSetAndLocksThePeriodOnlyWhenDaysHaveBalances) {
    addDay(QStringLiteral("51"), QStringLiteral("00001"));
    addDay(QStringLiteral("52"), QStringLiteral("00001"), 50000);
    form.Form_Load(session().CallerForm);
    EXPECT_FALSE(form.newSet());
    EXPECT_FALSE(form.editPending());
    EXPECT_FALSE(form.periodLocked());
    EXPECT_EQ(shown(), QStringLiteral("甲公司|2024/04/01|2025/03/31|1|0|Tujo|Hojin|RateNo|0"));

    exec(QStringLiteral("UPDATE T_SIWAKE SET YDAYZAN = 10000 WHERE CID = '51'"));
    form.Form_Load(session().CallerForm);
    EXPECT_TRUE(form.periodLocked());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(AccountSetFormExisting, PreparedSetsGetThisYearProposed) {
    FakeAccountSets::switchTo(QStringLiteral("03"));
    form.Form_Load(session().CallerForm);
    EXPECT_EQ(form.fields.txtKaisyaName + form.fields.txtKisyubi + form.fields.txtKimatubi,
              QStringLiteral("批发业2024/01/012024/12/31"));
    // The proposal is not stored yet.
    EXPECT_TRUE(form.editPending());

    // A user set keeps even the placeholder period.
    exec(
        QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = '2000/01/01', KIMATU = '2000/12/31', "
                       "GKBN = '0', NOMAL = '1', KANCNG = '1', RATE = 7.25 WHERE CID = '52'"));
    FakeAccountSets::switchTo(QStringLiteral("52"));
    form.Form_Load(session().CallerForm);
    EXPECT_EQ(shown(), QStringLiteral("乙公司|2000/01/01|2000/12/31|1|0|Kichu|Kojin|RateYes|7.25"));
    EXPECT_FALSE(form.editPending());
}

TEST_F(AccountSetFormExisting, OnlyAMovedStartRemovesTheDaysWithTheirLinesWhenLeaving) {
    addDay(QStringLiteral("51"), QStringLiteral("00001"));
    addDay(QStringLiteral("51"), QStringLiteral("00002"));
    for (const char* dencode : {"00001", "00002"}) {
        exec(QStringLiteral("INSERT INTO T_SI_MEISAI (CID, DENCODE, DENMENO, SIDAY, DATEYM, "
                            "KRKOCODE, KSKOCODE, KRKIN, KSKIN) VALUES ('51', ?, '001', "
                            "'2024/04/01', '2024/04', '263', '004', 50000, 50000)"),
             {QLatin1String(dencode)});
    }
    exec(
        QStringLiteral("INSERT INTO T_DAY_TORAN (CID, KOCODE, DATEYM, KMCODE, KIN1) VALUES "
                       "('51', '263', '2024/04', '263', 50000)"));
    // Set 52 holds the same days, lines and day amounts; nothing of it may change.
    SetSnapshot::copySet(QStringLiteral("51"), QStringLiteral("52"));
    const SetSnapshot other(QStringLiteral("52"));
    const auto lines = [this] {
        return count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '51'")) +
               count(QStringLiteral("SELECT COUNT(*) FROM T_DAY_TORAN WHERE CID = '51'"));
    };
    form.Form_Load(session().CallerForm);
    form.fields.txtJyusho1 = QStringLiteral("新地址");
    form.fields.txtKaisyaName = QStringLiteral("李'四\" 商店");
    form.fields.txtDaihyoName = QStringLiteral("李四");
    form.fields.txtKaikeiNendo = QStringLiteral("2");
    form.markEdited();
    ASSERT_TRUE(form.cmdTouroku_Click());
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM T_COMP_MAIN WHERE CID = '51'")),
              QStringList{QStringLiteral(
                  "51|李'四\" 商店||||新地址|||||李四|李四|0|2024/04/01|2025/03/31|1||0|2|"
                  "2024年04月01日|2025年03月31日|2024/04||0|2025/06/30|004|0")});
    ASSERT_TRUE(form.unload_form());
    EXPECT_EQ(days(QStringLiteral("51")), 2);
    EXPECT_EQ(lines(), 3);
    EXPECT_EQ(session().PeriodLabel, QStringLiteral("第 2 期"));

    form.Form_Load(session().CallerForm);
    form.fields.period = AccountSetForm::Period::Kichu;
    form.fields.txtKisyubi = QStringLiteral("2024/05/01");
    ASSERT_TRUE(form.cmdTouroku_Click());
    EXPECT_EQ(value(QStringLiteral("SELECT PKISYU FROM T_COMP_MAIN WHERE CID = '51'")),
              QStringLiteral("2024年05月01日"));
    EXPECT_EQ(days(QStringLiteral("51")), 2);
    ASSERT_TRUE(form.unload_form());
    EXPECT_EQ(days(QStringLiteral("51")), 0);
    EXPECT_EQ(lines(), 0);
    EXPECT_TRUE(other.unchanged());
    EXPECT_EQ(value(QStringLiteral("SELECT KISYU FROM WK_COMPANY")), QStringLiteral("2024/05/01"));
    EXPECT_EQ(value(QStringLiteral("SELECT MIN(INYM) FROM T_DAY_INPUT WHERE CID = '51'")),
              QStringLiteral("2024/05"));
    EXPECT_FALSE(Database::global().inTransaction());
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
}

TEST_F(AccountSetFormExisting, TheHouseholdBookIsNeverDeleted) {
    FakeAccountSets::switchTo(QStringLiteral("01"));
    form.Form_Load(session().CallerForm);
    messages.answers = {MsgAnswer::Ok};
    EXPECT_EQ(form.cmdDelete_Click(), AccountSetForm::DeleteResult::NotDeleted);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("家计簿不能删除。")});

    // Nor from the new-set use, where deleting is not offered.
    session().CallerForm = QStringLiteral("MainMenu");
    form.Form_Load(session().CallerForm);
    messages.answers = {MsgAnswer::Ok};
    EXPECT_EQ(form.cmdDelete_Click(), AccountSetForm::DeleteResult::NotDeleted);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_COMP_MAIN WHERE CID = '01'")), 1);
    EXPECT_TRUE(sets.calls.isEmpty());
}

TEST_F(AccountSetFormExisting, DeletingASetEmptiesEveryTableOfIt) {
    for (const QString& table : kSetTables) {
        for (const char* cid : {"51", "52"}) {
            exec(QStringLiteral("INSERT OR IGNORE INTO %1 (CID) VALUES (?)").arg(table),
                 {QLatin1String(cid)});
        }
    }
    const auto remaining = [this](const QString& cid) {
        QStringList filled;
        for (const QString& table : kSetTables) {
            if (count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE CID = ?").arg(table), {cid}) >
                0) {
                filled.append(table);
            }
        }
        return filled;
    };
    form.Form_Load(session().CallerForm);

    // Cancel is the default answer.
    EXPECT_EQ(form.cmdDelete_Click(), AccountSetForm::DeleteResult::NotDeleted);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("删除账套，结束编辑。可以吗？"));
    EXPECT_EQ(messages.last().defaultAnswer, MsgAnswer::Cancel);
    EXPECT_EQ(remaining(QStringLiteral("51")), kSetTables);

    // The household book comes next; it is still a prepared set, so the form stays to set it up.
    {
        MessageBoxClicker clicker({QMessageBox::Ok});  // the real box, clicked
        EXPECT_EQ(form.cmdDelete_Click(), AccountSetForm::DeleteResult::Reloaded);
        EXPECT_EQ(clicker.texts(), QStringList{QStringLiteral("删除账套，结束编辑。可以吗？")});
    }
    EXPECT_EQ(remaining(QStringLiteral("51")), QStringList());
    EXPECT_EQ(remaining(QStringLiteral("52")), kSetTables);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_COMP_MAIN WHERE CID = '51'")), 0);
    EXPECT_EQ(sets.calls, QStringList{QStringLiteral("remove 51")});
    EXPECT_EQ(value(QStringLiteral("SELECT CID FROM WK_COMPANY")), QStringLiteral("01"));
    EXPECT_EQ(form.fields.txtKaisyaName + form.fields.txtKisyubi,
              QStringLiteral("家计簿2024/01/01"));

    // With a household book already set up, the form closes after a delete.
    exec(QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = '2024/01/01' WHERE CID = '01'"));
    FakeAccountSets::switchTo(QStringLiteral("52"));
    form.Form_Load(session().CallerForm);
    messages.answers = {MsgAnswer::Ok};
    EXPECT_EQ(form.cmdDelete_Click(), AccountSetForm::DeleteResult::Closed);
    EXPECT_EQ(remaining(QStringLiteral("52")), QStringList());
}

TEST_F(AccountSetFormExisting, FailuresNameTheirRoutineAndLeaveNoTransaction) {
    exec(QStringLiteral("INSERT INTO T_HOJOKAMOKU (CID) VALUES ('51')"));
    form.Form_Load(session().CallerForm);
    exec(QStringLiteral("DROP TABLE T_TUKISIMECHECK"));
    messages.answers = {MsgAnswer::Ok};
    EXPECT_EQ(form.cmdDelete_Click(), AccountSetForm::DeleteResult::NotDeleted);
    EXPECT_TRUE(messages.last().text.endsWith(u"(cmdDelete_Click)"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_HOJOKAMOKU WHERE CID = '51'")), 1);
    EXPECT_TRUE(sets.calls.isEmpty());

    exec(QStringLiteral("DROP TABLE T_SIWAKE"));
    form.Form_Load(session().CallerForm);
    EXPECT_TRUE(messages.last().text.endsWith(u"(Form_Load)"));
    EXPECT_EQ(form.fields.txtKaisyaName, QStringLiteral("甲公司"));

    exec(QStringLiteral("DROP TABLE T_COMP_MAIN"));
    const QList<std::pair<std::function<void()>, QString>> failing = {
        {[this] { form.set_data_to_form(); }, QStringLiteral("(set_data_to_form)")},
        {[this] { form.update_data(); }, QStringLiteral("(update_data)")},
        {[this] { form.unload_form(); }, QStringLiteral("(unload_form)")},
        {[this] { form.kaisha_num_check(); }, QStringLiteral("(kaisha_num_check)")},
    };
    for (const auto& [run, routine] : failing) {
        messages.shown.clear();
        run();
        ASSERT_EQ(messages.shown.size(), 1) << routine.toStdString();
        EXPECT_TRUE(messages.last().text.endsWith(routine)) << messages.last().text.toStdString();
        EXPECT_FALSE(Database::global().inTransaction());
    }
}

}  // namespace
