#include <gtest/gtest.h>
#include <functional>

#include "common/Session.h"
#include "db/Database.h"
#include "master/AccountSetForm.h"
#include "master/FakeAccountSets.h"
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

}  // namespace
