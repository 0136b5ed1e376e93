#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include "app/InOutMenu.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "entry/Vouchers.h"
#include "entry/ui/InpKantanSiwake.h"
#include "master/CurrentAccountSet.h"
#include "support/MessageBoxClicker.h"
#include "support/StringLists.h"
#include "support/TestDatabase.h"

namespace {

// Set 01 with a period from 2024/05/01, so that opening from the main menu creates the days up to
// today (2024/05/20).
class DailyEntryScreen : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("01");
        session().CallerForm = QStringLiteral("MainMenu");
    }

    void makeCurrent(const QString& kancng = QStringLiteral("0")) {
        exec(QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = '2024/05/01', KIMATU = '2025/04/30', "
                            "SIINLDAY = '2025/07/31', KANCNG = ? WHERE CID = '01'"),
             {kancng});
        ASSERT_TRUE(ResetCompanyData());
    }

    // Shows the screen and waits until it has the keyboard.
    void open(InpKantanSiwake& window) {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    template <typename T>
    T* child(const QWidget& window, const char* name) {
        auto* found = window.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString boxText(const QWidget& window, const char* name) {
        return child<QLineEdit>(window, name)->text();
    }
    QStringList totals(const QWidget& window) {
        QStringList texts;
        for (const char* name : {"txtSyunyuGokei", "txtSiireGokei", "txtNyukinGokei",
                                 "txtSyukkinGokei", "txtHonjituRieki", "txtHonjituZandaka"}) {
            texts.append(boxText(window, name));
        }
        return texts;
    }
    static QString cell(const QTableWidget* grid, int row, int column) {
        const QTableWidgetItem* item = grid->item(row, column);
        return item ? item->text() : QStringLiteral("<none>");
    }
    static QPair<int, int> cursor(const QTableWidget* grid) {
        return {grid->currentRow(), grid->currentColumn()};
    }

    // Opens the cell's editor by typing the first character on the cell; the rest goes to the
    // editor, which then gets the finishing key.
    QWidget* startTyping(QTableWidget* grid, int row, int column, const QString& text) {
        grid->setFocus();
        grid->setCurrentCell(row, column);
        QTest::keyClicks(grid, text.left(1));
        QWidget* editor = QApplication::focusWidget();
        EXPECT_TRUE(editor && editor != grid && grid->isAncestorOf(editor));
        QTest::keyClicks(editor, text.mid(1));
        return editor;
    }
    void type(QTableWidget* grid, int row, int column, const QString& text,
              Qt::Key finish = Qt::Key_Tab) {
        QTest::keyClick(startTyping(grid, row, column, text), finish);
    }
};

TEST_F(DailyEntryScreen, ADayTypedSavedLeftAndRevisitedShowsTheSameFigures) {
    makeCurrent();
    InpKantanSiwake window;
    open(window);
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral(" — 2024年度 — 日间结算")));
    EXPECT_EQ(boxText(window, "txtSyoriNen"), QStringLiteral("2024/05/20"));
    auto* income = child<QTableWidget>(window, "spdSS1");
    auto* expense = child<QTableWidget>(window, "spdSS2");
    auto* transfer = child<QTableWidget>(window, "spdSS3");
    ASSERT_GT(expense->rowCount(), 0);
    ASSERT_EQ(transfer->rowCount(), 2);
    EXPECT_EQ(cell(income, 0, 0), QStringLiteral("工资收入"));
    EXPECT_FALSE(income->item(0, 0)->flags() & Qt::ItemIsEditable);
    // The first row of each grid: income amount and description, expense amount, transfer
    // debit, credit and amount.
    const auto firstRows = [&] {
        return QStringList{cell(income, 0, 1),   cell(income, 0, 2),   cell(expense, 0, 1),
                           cell(transfer, 0, 1), cell(transfer, 0, 2), cell(transfer, 0, 5)}
            .join(u'|');
    };
    const QString empty = firstRows();

    type(income, 0, 1, QStringLiteral("100"));
    EXPECT_EQ(cursor(income), qMakePair(0, 2));
    type(income, 0, 2, QStringLiteral("pay"));
    type(expense, 0, 1, QStringLiteral("30"), Qt::Key_Return);
    EXPECT_EQ(cursor(expense), qMakePair(0, 2));
    // Typing a code on a closed account cell picks the account it begins.
    type(transfer, 0, 1, QStringLiteral("113"));
    auto* credit = qobject_cast<QComboBox*>(startTyping(transfer, 0, 2, QStringLiteral("101")));
    ASSERT_NE(credit, nullptr);
    EXPECT_EQ(credit->currentText(), QStringLiteral("101 现金"));
    QTest::keyClick(credit, Qt::Key_Tab);
    type(transfer, 0, 5, QStringLiteral("20"));

    const QString filled = firstRows();
    EXPECT_EQ(filled, QStringLiteral("100.00|pay|30.00|113 定期存款|101 现金|20.00"));
    const QStringList typed = strings({"100.00", "30.00", "100.00", "50.00", "70.00", "50.00"});
    EXPECT_EQ(totals(window), typed);

    child<QPushButton>(window, "cmdTouroku")->click();
    EXPECT_EQ(messages.texts(), strings({"数据保存成功。"}));

    child<QPushButton>(window, "cmdZenjitu")->click();
    EXPECT_EQ(boxText(window, "txtSyoriNen"), QStringLiteral("2024/05/19"));
    EXPECT_EQ(firstRows(), empty);
    EXPECT_EQ(totals(window), QStringList(6, QStringLiteral("0.00")));

    child<QPushButton>(window, "cmdYokujitu")->click();
    EXPECT_EQ(boxText(window, "txtSyoriNen"), QStringLiteral("2024/05/20"));
    EXPECT_EQ(firstRows(), filled);
    EXPECT_EQ(totals(window), typed);
    EXPECT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(window.close());
}

TEST_F(DailyEntryScreen, KeysWalkAcrossTheGridsAndTheLastTabAddsARow) {
    makeCurrent();
    InpKantanSiwake window;
    open(window);
    auto* income = child<QTableWidget>(window, "spdSS1");
    auto* expense = child<QTableWidget>(window, "spdSS2");
    auto* transfer = child<QTableWidget>(window, "spdSS3");
    EXPECT_EQ(QApplication::focusWidget(), income);
    EXPECT_EQ(cursor(income), qMakePair(0, 1));

    // Enter on the last income cell goes on to the first expense amount; Esc comes back.
    const int lastIncome = income->rowCount() - 1;
    income->setCurrentCell(lastIncome, 2);
    QTest::keyClick(income, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), expense);
    EXPECT_EQ(cursor(expense), qMakePair(0, 1));
    QTest::keyClick(expense, Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), income);
    EXPECT_EQ(cursor(income), qMakePair(lastIncome, 2));
    // Esc and Enter walk the cells, passing over the locked account names.
    QTest::keyClick(income, Qt::Key_Escape);
    QTest::keyClick(income, Qt::Key_Escape);
    EXPECT_EQ(cursor(income), qMakePair(lastIncome - 1, 2));
    QTest::keyClick(income, Qt::Key_Return);
    EXPECT_EQ(cursor(income), qMakePair(lastIncome, 1));

    expense->setFocus();
    expense->setCurrentCell(expense->rowCount() - 1, 2);
    QTest::keyClick(expense, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), transfer);
    EXPECT_EQ(cursor(transfer), qMakePair(0, 0));
    // The account hint follows the cursor over the pattern and account columns only.
    auto* hint = child<QLabel>(window, "lblKanjokamoku");
    EXPECT_TRUE(hint->isVisible());
    transfer->setCurrentCell(0, 5);
    EXPECT_FALSE(hint->isVisible());

    // Tab out of the last transfer cell writes it and starts a new row.
    type(transfer, 1, 6, QStringLiteral("x"));
    ASSERT_EQ(transfer->rowCount(), 3);
    EXPECT_EQ(window.logic().transferRows().at(1).description, QStringLiteral("x"));
    EXPECT_EQ(cursor(transfer), qMakePair(2, 0));
    ASSERT_NE(transfer->verticalHeaderItem(2), nullptr);
    EXPECT_EQ(transfer->verticalHeaderItem(2)->text(), QStringLiteral("D"));
    // Esc in an editor keeps what was typed and goes back over the empty subsidiary cells.
    type(transfer, 2, 5, QStringLiteral("7"), Qt::Key_Escape);
    EXPECT_EQ(cell(transfer, 2, 5), QStringLiteral("7.00"));
    EXPECT_EQ(cursor(transfer), qMakePair(2, 2));

    // A click on a row's "D" asks, then removes the row.
    messages.answers = {MsgAnswer::Yes};
    QHeaderView* rowHeads = transfer->verticalHeader();
    QTest::mouseClick(rowHeads->viewport(), Qt::LeftButton, {},
                      QPoint(rowHeads->width() / 2,
                             rowHeads->sectionViewportPosition(1) + rowHeads->sectionSize(1) / 2));
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_EQ(messages.last().text, QStringLiteral("可以删除被选择的行吗？"));
    ASSERT_EQ(transfer->rowCount(), 2);
    EXPECT_EQ(cell(transfer, 1, 5), QStringLiteral("7.00"));
    EXPECT_EQ(cell(transfer, 0, 6), QString());
}

TEST_F(DailyEntryScreen, DateBoxAndClosingGuardUnsavedEdits) {
    makeCurrent();
    InpKantanSiwake window;
    open(window);
    auto* income = child<QTableWidget>(window, "spdSS1");
    income->item(0, 1)->setText(QStringLiteral("1,000.25"));
    EXPECT_EQ(cell(income, 0, 1), QStringLiteral("1,000.25"));
    EXPECT_EQ(boxText(window, "txtHonjituRieki"), QStringLiteral("1,000.25"));
    income->item(0, 1)->setText(QStringLiteral("abc"));
    EXPECT_EQ(cell(income, 0, 1), QStringLiteral("1,000.25"));
    EXPECT_EQ(messages.shown.size(), 1);
    // Typed below the 分: refused through the real box, and the cursor comes back to the cell
    // to type it again.
    {
        MessageBoxClicker clicker({QMessageBox::Ok});
        type(income, 0, 1, QStringLiteral("1.239"), Qt::Key_Return);
        EXPECT_EQ(clicker.seen().size(), 1);
    }
    EXPECT_EQ(cell(income, 0, 1), QStringLiteral("1,000.25"));
    open(window);  // the window has the keyboard again once the box is gone
    QTRY_COMPARE(cursor(income), qMakePair(0, 1));

    messages.answers = {MsgAnswer::No};
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(messages.last().text, QStringLiteral("编辑过程中的数据并未被录入，立即结束可以吗？"));

    // A typed date is completed and, once the box is left, shown (after asking about the edits).
    auto* date = child<QLineEdit>(window, "txtSyoriNen");
    date->setFocus();
    date->selectAll();
    QTest::keyClicks(date, QStringLiteral("240518"));
    messages.answers = {MsgAnswer::Yes};
    QTest::keyClick(date, Qt::Key_Return);
    EXPECT_EQ(date->text(), QStringLiteral("2024/05/18"));
    EXPECT_EQ(messages.last().text, QStringLiteral("编辑过程中的数据还未确定，是要变更日期吗？"));
    EXPECT_EQ(cell(income, 0, 1), QString());
    EXPECT_EQ(QApplication::focusWidget(), income);
    EXPECT_EQ(cursor(income), qMakePair(0, 1));

    // With separators the date is read as typed; a date that does not exist is refused.
    const auto typeDate = [&](const QString& text) {
        date->setFocus();
        date->selectAll();
        QTest::keyClicks(date, text);
        QTest::keyClick(date, Qt::Key_Return);
    };
    typeDate(QStringLiteral("2024/5/3"));
    EXPECT_EQ(date->text(), QStringLiteral("2024/05/03"));
    typeDate(QStringLiteral("2024/02/30"));
    EXPECT_EQ(messages.last().text, QStringLiteral("请正确输入凭证日期。"));
    EXPECT_EQ(date->text(), QStringLiteral("2024/05/03"));

    const qsizetype asked = messages.shown.size();
    EXPECT_TRUE(window.close());
    EXPECT_EQ(messages.shown.size(), asked);

    // Showing it again is a new opening, on the newest day; coming back from the manual viewer
    // (hidden, then shown) is not, and keeps the edits.
    window.show();
    EXPECT_EQ(date->text(), QStringLiteral("2024/05/20"));
    income->item(0, 1)->setText(QStringLiteral("5"));
    window.hide();
    window.show();
    EXPECT_EQ(cell(income, 0, 1), QStringLiteral("5.00"));
    messages.answers = {MsgAnswer::Yes};
    EXPECT_TRUE(window.close());
    EXPECT_EQ(messages.shown.size(), asked + 1);
}

// At 1280×800 the whole day is on screen: income and expense side by side under their captions,
// the transfer lines under both with theirs, names in full; the grids scroll, not the window, and
// moving to another day cuts nothing off.
TEST_F(DailyEntryScreen, TheWholeDayFitsTheWindowWithCaptionsAndFullNames) {
    makeCurrent();
    exec(
        QStringLiteral("UPDATE T_KANJO SET KANNAME = '财务费用（利息及手续费）' WHERE KANNAME = "
                       "'食品费'"));
    // Sixty expense accounts in the grid.
    exec(QStringLiteral("UPDATE T_KANJO SET JUN = 0 WHERE DAIBUN IN ('2', '3')"));
    exec(
        QStringLiteral("UPDATE T_KANJO SET JUN = 1 WHERE KOCODE IN (SELECT KOCODE FROM T_KANJO "
                       "WHERE SIYOU = 'Y' AND KANNAME <> '' AND DAIBUN IN ('2', '3') AND "
                       "KISYUMKBN NOT IN ('1', '2') ORDER BY KOCODE LIMIT 60)"));
    InpKantanSiwake window;
    window.resize(1280, 800);
    open(window);
    auto* expense = child<QTableWidget>(window, "spdSS2");
    EXPECT_EQ(expense->rowCount(), 60);

    const auto place = [&](const char* name) {
        auto* w = child<QWidget>(window, name);
        return w && w->isVisible() ? QRect(w->mapTo(&window, QPoint(0, 0)), w->size()) : QRect();
    };
    const auto layoutNow = [&] {
        QList<QRect> rects;
        for (const char* name : {"lblSyunyu", "lblSisyutu", "lblFurikae", "spdSS1", "spdSS2",
                                 "spdSS3", "txtHonjituZandaka", "cmdBack"}) {
            const QRect r = place(name);
            EXPECT_TRUE(window.rect().contains(r) && !r.isEmpty()) << name;
            rects.append(r);
        }
        return rects;
    };
    const QList<QRect> before = layoutNow();
    EXPECT_EQ(place("spdSS1").top(), place("spdSS2").top());
    EXPECT_LT(place("spdSS1").right(), place("spdSS2").left());
    EXPECT_LT(place("lblSyunyu").bottom(), place("spdSS1").top());
    EXPECT_GT(place("lblFurikae").top(), place("spdSS2").bottom());
    EXPECT_GT(place("spdSS3").top(), place("lblFurikae").bottom());
    EXPECT_GE(place("spdSS3").height(), 6 * expense->rowHeight(0));
    EXPECT_TRUE(expense->verticalScrollBar()->maximum() > 0);
    for (int r = 0; r < expense->rowCount(); ++r) {
        EXPECT_LT(expense->fontMetrics().horizontalAdvance(cell(expense, r, 0)),
                  expense->columnWidth(0) - 8)
            << cell(expense, r, 0).toStdString();
    }

    // The last expense row, then the day before: the layout stays where it was.
    expense->setFocus();
    expense->setCurrentCell(59, 1);
    child<QPushButton>(window, "cmdZenjitu")->click();
    EXPECT_EQ(boxText(window, "txtSyoriNen"), QStringLiteral("2024/05/19"));
    EXPECT_EQ(layoutNow(), before);
    EXPECT_TRUE(expense->horizontalHeader()->isVisible());
    EXPECT_TRUE(window.close());
}

TEST_F(DailyEntryScreen, RateShownOnlyForForeignCurrencySets) {
    makeCurrent(QStringLiteral("1"));
    InpKantanSiwake window;
    open(window);
    auto* rate = child<QDoubleSpinBox>(window, "numRate");
    EXPECT_TRUE(rate->isVisible());
    EXPECT_EQ(rate->decimals(), 4);
}

TEST_F(DailyEntryScreen, AFailedOpeningClosesWithoutAsking) {
    makeCurrent();
    // Opened for correction over a range without vouchers: nothing to show.
    session().CallerForm = QStringLiteral("prtSiwakeNikki");
    session().MinDencode = QStringLiteral("00001");
    session().MaxDencode = QStringLiteral("00009");
    InpKantanSiwake window;
    window.show();
    QTRY_VERIFY(!window.isVisible());
    EXPECT_FALSE(window.logic().loaded());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(DailyEntryScreen, TheBooksMenuOpensTheScreenAndClosingReturnsToIt) {
    makeCurrent();
    InOutMenu menu;
    InpKantanSiwake window;
    Screens::addExisting(QStringLiteral("InOutMenu"), &menu);
    Screens::addExisting(QStringLiteral("InpKantanSiwake"), &window);
    menu.show();
    menu.findChild<QPushButton*>(QStringLiteral("cmdInpKantan"))->click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(menu.isVisible());
    EXPECT_TRUE(window.logic().loaded());
    window.close();
    EXPECT_TRUE(menu.isVisible());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(DailyEntryScreen, AnOverfullDayCanOnlyBeViewedUntilAnotherDayIsShown) {
    makeCurrent();
    ASSERT_TRUE(make_new_siwake_data());
    exec(QStringLiteral(
        "INSERT INTO T_SI_MEISAI (CID, DENCODE, DENMENO, SIDAY, DATEYM, SISYU, KRKOCODE, "
        "KSKOCODE, KRKIN, KSKIN) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
        "WHERE i < 129) SELECT '01', '00020', printf('%03d', i), '2024/05/20', '2024/05', '1', "
        "'263', '004', 10000, 10000 FROM n"));
    InpKantanSiwake window;
    open(window);
    ASSERT_TRUE(window.logic().loaded());
    EXPECT_EQ(messages.shown.size(), 1);
    auto* income = child<QTableWidget>(window, "spdSS1");
    auto* transfer = child<QTableWidget>(window, "spdSS3");
    const auto editingOffered = [&] {
        return QList<bool>{child<QPushButton>(window, "cmdTouroku")->isEnabled(),
                           child<QPushButton>(window, "cmdDelete")->isEnabled(),
                           child<QDoubleSpinBox>(window, "numRate")->isEnabled(),
                           income->item(0, 1)->flags().testFlag(Qt::ItemIsEditable),
                           transfer->item(0, 5)->flags().testFlag(Qt::ItemIsEditable)};
    };
    EXPECT_EQ(transfer->rowCount(), 129);
    EXPECT_EQ(editingOffered(), QList<bool>(5, false));
    QTest::mouseClick(child<QPushButton>(window, "cmdZenjitu"), Qt::LeftButton);
    EXPECT_EQ(boxText(window, "txtSyoriNen"), QStringLiteral("2024/05/19"));
    EXPECT_EQ(editingOffered(), QList<bool>(5, true));
}

}  // namespace
