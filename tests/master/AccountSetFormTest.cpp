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

using Field = AccountSetForm::Field;
using Period = AccountSetForm::Period;

const QString kEndBeforeStart = QStringLiteral("结束日期应该在起始日期之后。");
const QString kEndTooLate = QStringLiteral(
    "结束日期不能大于起始日期+1年后的日期，默认设置结束日期为开始日期一年后的日期。");

// The screen opened from the main window's "new set" button.
class AccountSetFormNew : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        FakeAccountSets::switchTo(QStringLiteral("01"));
        sets.reload();
        session().CallerForm = QStringLiteral("MainMenu");
    }
    void fillValid() {
        form.fields.txtKaisyaName = QStringLiteral("新公司");
        form.fields.txtKaikeiNendo = QStringLiteral("1");
        form.fields.txtKisyubi = QStringLiteral("2024/04/01");
        form.fields.txtKimatubi = QStringLiteral("2025/03/31");
    }

    FakeAccountSets sets;
    AccountSetForm form{sets};
};

TEST_F(AccountSetFormNew, CreatesTheSetInTheFirstFreeNumber) {
    for (const char* cid : {"51", "52", "54"}) {
        FakeAccountSets::writeSet(QLatin1String(cid), QStringLiteral("用户") + QLatin1String(cid),
                                  QStringLiteral("2024/01/01"), QStringLiteral("2024/12/31"));
    }
    // A deleted prepared set does not make 51 look free.
    exec(QStringLiteral("DELETE FROM T_COMP_MAIN WHERE CID = '05'"));
    sets.reload();
    form.fields.txtYubin = QStringLiteral("stale");
    form.Form_Load(session().CallerForm);
    EXPECT_TRUE(form.newSet());
    EXPECT_FALSE(form.deleteEnabled());
    EXPECT_EQ(form.fields.txtYubin, QString());

    fillValid();
    auto& f = form.fields;
    f.txtKaisyaName = QStringLiteral("O'Brien \"A\" 商行 ");
    f.txtKaisyaFurigana = QStringLiteral("奥布莱恩商行");
    f.txtYubin = QStringLiteral("100000");
    f.txtTodohuken = QStringLiteral("北京市");
    f.txtJyusho1 = QStringLiteral("朝阳区");
    f.txtJyusho2 = QStringLiteral("1号");
    f.txtTel = QStringLiteral("010-1");
    f.txtFax = QStringLiteral("010-2");
    f.txtDaihyoYakusyoku = QStringLiteral("董事长");
    f.txtDaihyoName = QStringLiteral("王五");
    f.txtKaikeiNendo = QStringLiteral("3");
    f.txtSeturituNen = QStringLiteral("2010-06-01");
    f.txtShihonkin = QStringLiteral("500000");
    f.rateUse = AccountSetForm::RateUse::Yes;
    f.numRate = 6.5;
    form.markEdited();
    ASSERT_TRUE(form.cmdTouroku_Click());

    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM T_COMP_MAIN WHERE CID = '53'")),
              QStringList{QStringLiteral(
                  "53|O'Brien \"A\" 商行|奥布莱恩商行|100000|北京市|朝阳区|1号|010-1|010-2|董事长|"
                  "王五|王五|0|2024/04/01|2025/03/31|1||1|3|2024年04月01日|2025年03月31日|2024/04|"
                  "2010/06/01|500000|2025/06/30|004|6.5")});
    EXPECT_EQ(sets.calls, QStringList{QStringLiteral("add O'Brien \"A\" 商行 53")});
    // The main window made it current and gave it its own chart.
    EXPECT_EQ(value(QStringLiteral("SELECT CID FROM WK_COMPANY")), QStringLiteral("53"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_KISYUZAN WHERE CID = '53'")),
              count(QStringLiteral("SELECT COUNT(*) FROM MT_KANJO")));

    // From now on the form shows the stored set, and a second save changes it.
    EXPECT_FALSE(form.newSet());
    EXPECT_TRUE(form.deleteEnabled());
    EXPECT_EQ(form.fields.txtSeturituNen, QStringLiteral("2010/06/01"));
    form.fields.txtTel = QStringLiteral("010-9");
    ASSERT_TRUE(form.cmdTouroku_Click());
    EXPECT_EQ(rows(QStringLiteral("SELECT CID FROM T_COMP_MAIN WHERE TEL = '010-9'")),
              QStringList{QStringLiteral("53")});
    EXPECT_EQ(sets.calls.size(), 1);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
}

TEST_F(AccountSetFormNew, RefusesASetBeyondNinetyNine) {
    for (int n = 51; n <= 99; ++n) {
        sets.entries.append({QStringLiteral("用户%1").arg(n), n});
    }
    form.Form_Load(session().CallerForm);
    fillValid();
    EXPECT_FALSE(form.cmdTouroku_Click());
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("账套的注册数在99个以内，超过后不能注册。")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_COMP_MAIN")), 13);
    EXPECT_TRUE(sets.calls.isEmpty());

    // A gap anywhere after the shipped sets is taken.
    sets.entries.removeAt(13 + 40);
    messages.shown.clear();
    ASSERT_TRUE(form.cmdTouroku_Click());
    EXPECT_EQ(sets.calls, QStringList{QStringLiteral("add 新公司 91")});
}

TEST_F(AccountSetFormNew, LoadRefusesANewSetWhenTheBookHoldsNinetyNine) {
    for (int n = 14; n <= 98; ++n) {
        FakeAccountSets::writeSet(FakeAccountSets::cidOf(n), QStringLiteral("x"),
                                  QStringLiteral("2024/01/01"), QStringLiteral("2024/12/31"));
    }
    form.fields.txtTel = QStringLiteral("kept");
    form.Form_Load(session().CallerForm);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(form.fields.txtTel, QString());

    FakeAccountSets::writeSet(QStringLiteral("99"), QStringLiteral("x"),
                              QStringLiteral("2024/01/01"), QStringLiteral("2024/12/31"));
    form.fields.txtTel = QStringLiteral("kept");
    form.Form_Load(session().CallerForm);
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("账套的注册数在99个以内，超过这个数目就不能注册了。")});
    EXPECT_EQ(form.fields.txtTel, QStringLiteral("kept"));
}

TEST_F(AccountSetFormNew, ValidationNamesTheFirstProblemAndItsField) {
    form.Form_Load(session().CallerForm);
    struct Case {
        std::function<void(AccountSetForm::Fields&)> change;
        QString message;
        Field focus;
    };
    const QList<Case> cases = {
        {[](auto& f) { f.txtKaisyaName.clear(); }, QStringLiteral("公司略称未输入。"),
         Field::txtKaisyaName},
        {[](auto& f) {
             f.txtKaisyaName = QStringLiteral("  ");
             f.owner = AccountSetForm::Owner::Kojin;
         },
         QStringLiteral("业主姓名未输入。"), Field::txtKaisyaName},
        {[](auto& f) { f.txtKaikeiNendo.clear(); }, QStringLiteral("会计年度未输入"),
         Field::txtKaikeiNendo},
        {[](auto& f) {
             f.txtKisyubi.clear();
             f.txtKimatubi.clear();
         },
         QStringLiteral("年度起始日期未输入。"), Field::txtKisyubi},
        {[](auto& f) { f.txtKimatubi.clear(); }, QStringLiteral("年度结束日期未输入。"),
         Field::txtKimatubi},
        {[](auto& f) { f.txtKimatubi = QStringLiteral("2025/03/30"); },
         QStringLiteral("选择了通常时，起始日期应与结束日期相呼应。"), Field::txtKimatubi},
        {[](auto& f) {
             f.period = Period::Kichu;
             f.txtKimatubi = QStringLiteral("2024/03/31");
         },
         kEndBeforeStart, Field::txtKimatubi},
        {[](auto& f) {
             f.period = Period::Kichu;
             f.txtKimatubi = QStringLiteral("2025/04/01");
         },
         kEndTooLate, Field::txtKimatubi},
        {[](auto& f) { f.rateUse = AccountSetForm::RateUse::Yes; }, QStringLiteral("汇率未输入。"),
         Field::numRate},
    };
    for (const Case& c : cases) {
        fillValid();
        form.fields.owner = AccountSetForm::Owner::Hojin;
        form.fields.period = Period::Tujo;
        form.fields.rateUse = AccountSetForm::RateUse::No;
        form.fields.numRate = 0;
        c.change(form.fields);
        messages.shown.clear();
        EXPECT_FALSE(form.cmdTouroku_Click()) << c.message.toStdString();
        ASSERT_EQ(messages.shown.size(), 1) << c.message.toStdString();
        EXPECT_EQ(messages.last().text, c.message);
        EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(form.focusField(), c.focus) << c.message.toStdString();
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_COMP_MAIN")), 13);

    // 期中 takes any end from the start up to a full year.
    for (const char* end : {"2024/04/01", "2024/09/30", "2025/03/31"}) {
        fillValid();
        form.fields.rateUse = AccountSetForm::RateUse::No;
        form.fields.period = Period::Kichu;
        form.fields.txtKimatubi = QLatin1String(end);
        EXPECT_TRUE(form.validate()) << end;
        EXPECT_EQ(form.focusField(), Field::None);
    }
}

TEST_F(AccountSetFormNew, LeavingTheStartDateSetsOrCorrectsTheEnd) {
    form.Form_Load(session().CallerForm);
    auto& f = form.fields;

    f.txtKisyubi = QStringLiteral("2024/04/01");
    f.txtKimatubi = QStringLiteral("2024/12/31");
    form.txtKisyubi_LostFocus();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("显示结束日期。")});
    EXPECT_EQ(f.txtKimatubi, QStringLiteral("2025/03/31"));
    EXPECT_TRUE(form.editPending());

    f.period = Period::Kichu;
    const QList<std::array<QString, 3>> kichu = {
        // end typed, message, end afterwards
        {QStringLiteral("2024/09/30"), QString(), QStringLiteral("2024/09/30")},
        {QStringLiteral("2024/04/01"), QString(), QStringLiteral("2024/04/01")},
        {QStringLiteral("2025/03/31"), QString(), QStringLiteral("2025/03/31")},
        {QString(), QString(), QString()},
        {QStringLiteral("2025/04/01"), kEndTooLate, QStringLiteral("2025/03/31")},
        {QStringLiteral("2024/03/31"), kEndBeforeStart, QStringLiteral("2025/03/31")},
    };
    for (const auto& [end, message, after] : kichu) {
        messages.shown.clear();
        f.txtKimatubi = end;
        form.txtKisyubi_LostFocus();
        EXPECT_EQ(messages.texts(), message.isEmpty() ? QStringList() : QStringList{message})
            << end.toStdString();
        EXPECT_EQ(f.txtKimatubi, after) << end.toStdString();
    }

    messages.shown.clear();
    f.txtKisyubi.clear();
    f.txtKimatubi = QStringLiteral("2024/12/31");
    form.txtKisyubi_LostFocus();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("起始日期必须输入。")});
    EXPECT_EQ(f.txtKimatubi, QStringLiteral("2024/12/31"));
}

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
