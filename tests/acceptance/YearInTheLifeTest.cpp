#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <algorithm>

#include "app/AllScreens.h"
#include "app/MainMenu.h"
#include "common/Clock.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "db/Database.h"
#include "print/ui/DesktopReportOutput.h"
#include "support/ModalScript.h"
#include "support/TestDatabase.h"

namespace {

template <typename T = QWidget>
T* child(const QWidget* window, const char* name) {
    T* found = window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The window a form name stands for, which must be on screen; waits until it has the keyboard.
QWidget* shown(const char* form) {
    QWidget* window = Screens::get(QLatin1String(form));
    EXPECT_TRUE(window && window->isVisible()) << form;
    if (window != nullptr) {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window)) << form;
    }
    return window;
}

// Clicks a button with the mouse.
void press(const QWidget* window, const char* button) {
    auto* target = child<QPushButton>(window, button);
    ASSERT_TRUE(target && target->isVisible() && target->isEnabled()) << button;
    QTest::mouseClick(target, Qt::LeftButton);
}

// Types text into a widget: ASCII key by key, anything else whole as an input method commits it.
void typeText(QWidget* widget, const QString& text) {
    const bool ascii =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii) {
        QTest::keyClicks(widget, text);
        return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

// Replaces a box's text by typing, then leaves it with Tab.
void typeInto(QWidget* window, const char* box, const QString& text) {
    auto* edit = child<QLineEdit>(window, box);
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    typeText(edit, text);
}

// Types into a grid cell: the first key opens its editor (F2 first for text an input method
// brings), the rest goes to the editor, which the finishing key leaves.
[[maybe_unused]] void typeCell(QTableWidget* grid, int row, int column, const QString& text,
              Qt::Key finish = Qt::Key_Tab) {
    grid->setFocus();
    grid->setCurrentCell(row, column);
    const bool asciiFirst = text.at(0).unicode() < 0x80;
    if (asciiFirst) {
        QTest::keyClicks(grid, text.left(1));
    } else {
        QTest::keyClick(grid, Qt::Key_F2);
    }
    QWidget* editor = QApplication::focusWidget();
    ASSERT_TRUE(editor && editor != grid && grid->isAncestorOf(editor)) << text.toStdString();
    typeText(editor, asciiFirst ? text.mid(1) : text);
    QTest::keyClick(editor, finish);
}

class YearInTheLife : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        Clock::setFixedToday(QDate(2025, 12, 31));
        Database::global().close();  // the main window opens the program's file itself
        registerAllScreens();
        ReportOutput::install(&reportWindows);
    }
    void TearDown() override {
        ReportOutput::install(nullptr);
        DatabaseTest::TearDown();
    }

    DesktopReportOutput reportWindows;
};

TEST_F(YearInTheLife, ASmallShopKeepsItsBooksThroughTheScreens) {
    ModalScript dialogs;
    MainMenu mainMenu;
    Screens::addExisting(QStringLiteral("MainMenu"), &mainMenu);
    mainMenu.show();
    mainMenu.Form_Load();
    ASSERT_EQ(session().RunState, 0);

    // 1. The retail set, chosen in the list with the keyboard: its company and period come first
    // (the current year proposed).
    auto* sets = child<QComboBox>(&mainMenu, "cmbKaikeiData");
    sets->setFocus();
    QTest::keyClick(sets, Qt::Key_Down);
    ASSERT_EQ(session().CurrentCid, QStringLiteral("02"));
    QWidget* company = shown("InpKaisyaJoho");
    EXPECT_EQ(child<QLineEdit>(company, "txtKisyubi")->text(), QStringLiteral("2025/01/01"));
    EXPECT_EQ(child<QLineEdit>(company, "txtKimatubi")->text(), QStringLiteral("2025/12/31"));
    typeInto(company, "txtKaisyaName", QStringLiteral("明光文具店"));
    typeInto(company, "txtJyusho1", QStringLiteral("长江路 8 号"));
    typeInto(company, "txtShihonkin", QStringLiteral("25000"));
    press(company, "cmdTouroku");
    press(company, "cmdBack");
    QWidget* settings = shown("SyokiSetMenu");

    // Opening balances that balance: cash and bank against the owner's capital.
    press(settings, "cmdKisyuZandaka");
    QWidget* opening = shown("InpKisyuZandaka");
    auto* balances = child<QTableWidget>(opening, "spdSS");
    const auto balanceRow = [&](const QString& number) {
        for (int r = 0; r < balances->rowCount(); ++r) {
            if (balances->item(r, 0)->text() == number) {
                return r;
            }
        }
        ADD_FAILURE() << number.toStdString();
        return 0;
    };
    typeCell(balances, balanceRow(QStringLiteral("101")), 3, QStringLiteral("5000"));
    typeCell(balances, balanceRow(QStringLiteral("111")), 3, QStringLiteral("20000"));
    typeCell(balances, balanceRow(QStringLiteral("302")), 3, QStringLiteral("25000"));
    EXPECT_EQ(child<QLineEdit>(opening, "txtTaisyakuSai")->text(), QStringLiteral("0.00"));
    press(opening, "cmdBack");

    // 3. Two descriptions and a pattern that uses one of them.
    press(shown("SyokiSetMenu"), "cmdTekiyou");
    QWidget* descriptions = shown("InpTekiyouTouroku");
    for (const QString& text : {QStringLiteral("门市销售"), QStringLiteral("存入银行")}) {
        typeInto(descriptions, "txtTekiyou", text);
        press(descriptions, "cmdTouroku");
    }
    press(descriptions, "cmdBack");
    press(shown("SyokiSetMenu"), "cmdSiwake");
    QWidget* patterns = shown("InpIkkatuSiwake");
    auto* debit = child<QComboBox>(patterns, "cmbKarikata");
    debit->setFocus();
    QTest::keyClicks(debit, QStringLiteral("111"));
    QTest::keyClick(debit, Qt::Key_Return);
    auto* credit = child<QComboBox>(patterns, "cmbKasikata");
    QTest::keyClicks(credit, QStringLiteral("101"));
    QTest::keyClick(credit, Qt::Key_Return);
    typeInto(patterns, "txtIkkatuSiwake", QStringLiteral("存现"));
    auto* patternDescription = child<QComboBox>(patterns, "cmbTekiyou");
    patternDescription->setFocus();
    typeText(patternDescription->lineEdit(), QStringLiteral("存入银行"));
    EXPECT_EQ(child<QLineEdit>(patterns, "txtTekiyou")->text(), QStringLiteral("存入银行"));
    press(patterns, "cmdTouroku");
    press(patterns, "cmdBack");
    press(shown("SyokiSetMenu"), "cmdBack");
    EXPECT_EQ(dialogs.takeTexts(), QStringList());
    EXPECT_EQ(value(QStringLiteral("SELECT KRCODE || KSCODE || ' ' || SINAME || ' ' || TENAME "
                                   "FROM T_SI_PATTERN WHERE CID = '02'")),
              QStringLiteral("111101 存现 存入银行"));

    // 2. The daily screen from the books menu.
    press(&mainMenu, "cmdInOutsyori");
    press(shown("InOutMenu"), "cmdInpKantan");
    QWidget* daily = shown("InpKantanSiwake");
    for (const char* name : {"spdSS1", "spdSS2"}) {
        auto* g = child<QTableWidget>(daily, name);
        for (int r = 0; r < g->rowCount(); ++r) {
            qDebug() << name << g->item(r, 0)->text();
        }
    }
    qDebug() << dialogs.takeTexts();
}

}  // namespace
