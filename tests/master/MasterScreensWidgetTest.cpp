#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include "OpeningBalancesFixture.h"
#include "app/AllScreens.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "master/FakeAccountSets.h"
#include "master/ui/InpKaisyaJoho.h"
#include "master/ui/InpKanjokamokuCh.h"
#include "master/ui/InpKisyuZandaka.h"
#include "master/ui/prtKanjoKamokuSet.h"
#include "support/GridMouse.h"
#include "support/TestDatabase.h"

namespace {

// A named control of a window; fails the test when the window lacks it.
template <typename T>
T* control(const QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

class ChartScreensWidget : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("01");
        registerAllScreens();
    }
    void TearDown() override {
        // Only the windows this test made; asking the registry would make missing ones.
        const QStringList forms = {QStringLiteral("InpKanjokamokuCh"),
                                   QStringLiteral("prtKanjoKamokuSet"),
                                   QStringLiteral("SyokiSetMenu")};
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (forms.contains(w->objectName())) {
                delete w;
            }
        }
        DatabaseTest::TearDown();
    }
};

TEST_F(ChartScreensWidget, ListOpensTheDetailWhichSavesOnLeaving) {
    QPointer<QWidget> list = Screens::get(QStringLiteral("prtKanjoKamokuSet"));
    ASSERT_TRUE(qobject_cast<prtKanjoKamokuSet*>(list));
    list->show();
    list->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(list));

    auto* dai = control<QComboBox>(*list, "cmbDaiBunrui");
    auto* chu = control<QComboBox>(*list, "cmbChuBunrui");
    auto* grid = control<QTableWidget>(*list, "spdSS");
    EXPECT_EQ(dai->count(), 5);
    EXPECT_TRUE(grid->isColumnHidden(3));

    dai->setCurrentIndex(0);
    emit dai->activated(0);
    EXPECT_EQ(chu->currentText(), QStringLiteral("流动资产"));
    EXPECT_EQ(grid->rowCount(), 13);
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("现金"));
    EXPECT_FALSE(control<QPushButton>(*list, "cmdSyusei")->isEnabled());

    // Enter and Escape move between the boxes.
    dai->setFocus();
    QTest::keyClick(dai, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), chu);
    QTest::keyClick(chu, Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), dai);

    // A double click on an account opens its detail.
    doubleClickCell(grid, 0, 1);
    QPointer<QWidget> detail = Screens::get(QStringLiteral("InpKanjokamokuCh"));
    ASSERT_TRUE(qobject_cast<InpKanjokamokuCh*>(detail));
    EXPECT_TRUE(detail->isVisible());
    EXPECT_FALSE(list->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(detail));

    auto* code = control<QLineEdit>(*detail, "txtKamokuCode");
    auto* name = control<QLineEdit>(*detail, "txtKamokuName");
    auto* chk = control<QCheckBox>(*detail, "chkHojokamoku");
    auto* sub = control<QTableWidget>(*detail, "spdSS");
    auto* hkCode = control<QLineEdit>(*detail, "txtHK_Code");
    auto* back = control<QPushButton>(*detail, "cmdBack");
    EXPECT_EQ(code->text(), QStringLiteral("101"));
    EXPECT_EQ(sub->rowCount(), 9);
    EXPECT_TRUE(sub->isColumnHidden(3));
    EXPECT_FALSE(sub->isEnabled());

    // A subsidiary row edited through the boxes.
    chk->click();
    EXPECT_TRUE(sub->isEnabled());
    doubleClickCell(sub, 1, 0);
    EXPECT_FALSE(back->isEnabled());
    EXPECT_EQ(hkCode->text(), QStringLiteral("1012"));
    control<QLineEdit>(*detail, "txtHK_Name")->setText(QStringLiteral("钱包"));
    control<QPushButton>(*detail, "cmdSyusei")->click();
    EXPECT_EQ(sub->item(1, 1)->text(), QStringLiteral("钱包"));
    EXPECT_TRUE(back->isEnabled());
    chk->click();

    // A refused number keeps the screen open.
    code->setText(QStringLiteral("102"));
    back->click();
    EXPECT_EQ(messages.last().text, QStringLiteral("科目名称重复。"));
    EXPECT_TRUE(detail->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), code);

    code->setText(QStringLiteral("101"));
    name->setText(QStringLiteral("现金袋"));
    back->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(detail.isNull());
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("现金袋"));
    EXPECT_EQ(value(QStringLiteral("SELECT HONAME FROM T_HOJOKAMOKU WHERE CID = '01' AND "
                                   "KANKOCODE = '004' AND HOKOCODE = '02'")),
              QStringLiteral("钱包"));

    // Back shows the initial-settings menu again.
    control<QPushButton>(*list, "cmdBack")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(list.isNull());
    EXPECT_TRUE(Screens::get(QStringLiteral("SyokiSetMenu"))->isVisible());
}

class OpeningBalancesWidget : public OpeningBalancesFixture {
  protected:
    QString boxText(const InpKisyuZandaka& window, const char* name) {
        return control<QLineEdit>(window, name)->text();
    }
};

TEST_F(OpeningBalancesWidget, ShowsEditsAndGuardsClosing) {
    InpKisyuZandaka window;
    window.show();
    auto* grid = control<QTableWidget>(window, "spdSS");
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->rowCount(), 81);
    EXPECT_TRUE(grid->isColumnHidden(4));
    QStringList first;
    for (int c = 0; c < 6; ++c) {
        first.append(grid->item(0, c)->text());
    }
    EXPECT_EQ(first.join(u'|'), QStringLiteral("101|现金|借|0.00|004|0"));
    int equity = -1;
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 0; c < 6; ++c) {
            EXPECT_EQ(bool(grid->item(r, c)->flags() & Qt::ItemIsEditable), c == 3);
        }
        const bool credit = grid->item(r, 2)->text() == u"贷";
        EXPECT_EQ(grid->item(r, 1)->foreground().color() == QColor(Qt::blue), credit);
        if (grid->item(r, 4)->text() == u"165") {
            equity = r;
        }
    }
    ASSERT_GE(equity, 0);
    EXPECT_FALSE(control<QDoubleSpinBox>(window, "numRate")->isEnabled());
    EXPECT_TRUE(control<QLineEdit>(window, "txtTaisyakuSai")->isReadOnly());

    // An edit is stored and shown as the program reads it; the totals follow.
    grid->item(0, 3)->setText(QStringLiteral("1000.5"));
    EXPECT_EQ(value(QStringLiteral("SELECT KISYUZAN FROM T_KANJO WHERE KOCODE = '004'")),
              QStringLiteral("10005000"));
    EXPECT_EQ(grid->item(0, 3)->text(), QStringLiteral("1,000.50"));
    EXPECT_EQ(boxText(window, "txtKarikei") + u'|' + boxText(window, "txtKasikei") + u'|' +
                  boxText(window, "txtTaisyakuSai"),
              QStringLiteral("1,000.50|0.00|1,000.50"));
    // A refused text puts the stored amount back; amounts go to the 分 and no further.
    const QStringList refused = {QStringLiteral("xyz"), QStringLiteral("1.239")};
    for (const QString& text : refused) {
        grid->item(0, 3)->setText(text);
        EXPECT_EQ(grid->item(0, 3)->text(), QStringLiteral("1,000.50"));
    }
    EXPECT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("“1.239”超过两位小数。金额只能输入到分（例如 1234.56）。"));
    EXPECT_EQ(value(QStringLiteral("SELECT KISYUZAN FROM T_KANJO WHERE KOCODE = '004'")),
              QStringLiteral("10005000"));

    // Unbalanced by 0.40: the difference shows and the window stays.
    grid->item(equity, 3)->setText(QStringLiteral("1,000.10"));
    EXPECT_EQ(boxText(window, "txtTaisyakuSai"), QStringLiteral("0.40"));
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    grid->item(equity, 3)->setText(QStringLiteral("1,000.5"));
    EXPECT_EQ(boxText(window, "txtTaisyakuSai"), QStringLiteral("0.00"));
    control<QPushButton>(window, "cmdBack")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(messages.shown.size(), 3);

    // Each showing reads what is stored.
    exec(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 0 WHERE KOCODE = '004'"));
    window.show();
    EXPECT_EQ(grid->item(0, 3)->text(), QStringLiteral("0.00"));
    EXPECT_EQ(boxText(window, "txtTaisyakuSai"), QStringLiteral("-1,000.50"));

    // Clearing after OK empties the grid's amounts.
    messages.answers = {MsgAnswer::Ok};
    control<QPushButton>(window, "cmdClear")->click();
    EXPECT_EQ(grid->item(equity, 3)->text(), QStringLiteral("0.00"));
    EXPECT_EQ(boxText(window, "txtTaisyakuSai"), QStringLiteral("0.00"));
    EXPECT_TRUE(window.close());
}

TEST_F(OpeningBalancesWidget, TheRateBoxFollowsTheSet) {
    exec(QStringLiteral("UPDATE T_COMP_MAIN SET KANCNG = '1' WHERE CID = '01'"));
    exec(QStringLiteral("UPDATE T_KISYUZAN SET RATE = 8.5 WHERE CID = '01'"));
    InpKisyuZandaka window;
    window.show();
    auto* rate = control<QDoubleSpinBox>(window, "numRate");
    EXPECT_TRUE(rate->isEnabled());
    EXPECT_EQ(rate->value(), 8.5);
    EXPECT_FALSE(window.logic().changed());
    rate->setValue(0.0);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(messages.last().text, QStringLiteral("汇率未输入。"));
    rate->setValue(6.25);
    EXPECT_TRUE(window.close());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_KISYUZAN WHERE CID = '01' "
                                   "AND RATE = 6.25")),
              296);
}

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

    QLineEdit* box(const char* name) { return control<QLineEdit>(screen, name); }
    QPushButton* button(const char* name) { return control<QPushButton>(screen, name); }
    std::array<QString, 4> captions() {
        std::array<QString, 4> all;
        int n = 0;
        for (const char* name :
             {"lblKaisyaName", "lblKaisyaFurigana", "lblDaihyoName", "lblDaihyoYakusyoku"}) {
            all.at(n++) = control<QLabel>(screen, name)->text();
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
    EXPECT_TRUE(control<QRadioButton>(screen, "optHojin")->isChecked());
    EXPECT_EQ(captions(), AccountSetForm::labelCaptions(AccountSetForm::Owner::Hojin));
    EXPECT_FALSE(button("cmdTouroku")->isEnabled());
    EXPECT_FALSE(button("cmdCancel")->isEnabled());
    EXPECT_TRUE(button("cmdDelete")->isEnabled());

    control<QRadioButton>(screen, "optKojin")->click();
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
