#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/Session.h"
#include "common/ui/Screens.h"
#include "entry/ui/InpIkkatuSiwake.h"
#include "support/RecordingReportOutput.h"
#include "support/StringLists.h"
#include "support/TestDatabase.h"

namespace {

class InpIkkatuSiwakeWidget : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("01");
        session().PeriodLabel = QStringLiteral("2024年度");
        auto* company = new QLabel(QStringLiteral("甲公司"), &mainWindow);
        company->setObjectName(QStringLiteral("lblKaisyaName"));
        Screens::addExisting(QStringLiteral("MainMenu"), &mainWindow);
        Screens::addExisting(QStringLiteral("SyokiSetMenu"), &menu);
        exec(
            QStringLiteral("INSERT INTO WK_TEKIYO VALUES ('01', '001', '收货款'), "
                           "('01', '002', '付房租')"));
    }

    template <typename T>
    T* child(const char* name) {
        T* found = screen.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QComboBox* list(const char* name) { return child<QComboBox>(name); }
    QLineEdit* box(const char* name) { return child<QLineEdit>(name); }
    void showScreen() {
        screen.show();
        screen.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    }

    QWidget mainWindow;
    QWidget menu;
    InpIkkatuSiwake screen;
};

TEST_F(InpIkkatuSiwakeWidget, RegistersCorrectsAndWritesBackOnClosing) {
    showScreen();
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("甲公司 — 2024年度 — 汇总分类"));
    QComboBox* debit = list("cmbKarikata");
    QComboBox* credit = list("cmbKasikata");
    QComboBox* descriptions = list("cmbTekiyou");
    QLineEdit* name = box("txtIkkatuSiwake");
    QLineEdit* description = box("txtTekiyou");
    EXPECT_EQ(name->maxLength() + description->maxLength(), 40);

    // Entering the credit account first sends the user back to the debit account.
    credit->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(messages.texts(), strings({"请选择借方科目。"}));
    EXPECT_TRUE(debit->hasFocus());

    // Typing completes to the first account that begins with it; Enter moves on.
    QTest::keyClicks(debit, QStringLiteral("10"));
    EXPECT_EQ(debit->currentText(), QStringLiteral("101 现金"));
    QTest::keyClick(debit, Qt::Key_Return);
    EXPECT_TRUE(credit->hasFocus());
    QTest::keyClicks(credit, QStringLiteral("501"));
    EXPECT_EQ(credit->currentText(), QStringLiteral("501 工资收入"));
    QTest::keyClick(credit, Qt::Key_Return);
    ASSERT_TRUE(name->hasFocus());
    QTest::keyClick(name, Qt::Key_Escape);
    EXPECT_TRUE(credit->hasFocus());
    name->setFocus(Qt::TabFocusReason);
    // Chinese text arrives whole, as from an input method.
    name->insert(QStringLiteral("房租"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_TRUE(descriptions->hasFocus());
    // A registered description, typed in full or chosen, goes into the description box.
    descriptions->lineEdit()->insert(QStringLiteral("收货款"));
    EXPECT_EQ(description->text(), QStringLiteral("收货款"));
    emit descriptions->activated(1);
    EXPECT_EQ(description->text(), QStringLiteral("付房租"));
    EXPECT_EQ(messages.shown.size(), 1);

    child<QPushButton>("cmdTouroku")->click();
    EXPECT_EQ(rows(QStringLiteral("SELECT CID, KRCODE, KSCODE, SINAME, TENAME FROM WK_SI_PATTERN")),
              strings({"01|101|501|房租|付房租"}));
    EXPECT_EQ(debit->currentText() + name->text() + description->text(), QString());
    EXPECT_TRUE(debit->hasFocus());

    // Correcting: choosing the pair shows what it holds.
    child<QRadioButton>("optTeisei")->click();
    EXPECT_TRUE(credit->currentText().isEmpty());
    QTest::keyClicks(debit, QStringLiteral("101"));
    credit->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(credit, QStringLiteral("50"));
    EXPECT_EQ(name->text() + u'|' + description->text(), QStringLiteral("房租|付房租"));

    // Deleting locks the name and description.
    child<QRadioButton>("optDelete")->click();
    for (QWidget* locked : std::initializer_list<QWidget*>{name, description, descriptions}) {
        EXPECT_FALSE(locked->isEnabled());
    }

    messages.shown.clear();
    RecordingReportOutput output;
    child<QPushButton>("cmdHyouji")->click();
    child<QPushButton>("cmdInsatu")->click();
    EXPECT_TRUE(messages.shown.isEmpty());
    const int patterns = value(QStringLiteral("SELECT COUNT(*) FROM WK_SI_PATTERN")).toInt();
    EXPECT_GT(patterns, 0);
    EXPECT_EQ(output.calls(), QStringList({QStringLiteral("preview R_SIWAKE %1").arg(patterns),
                                           QStringLiteral("print R_SIWAKE %1").arg(patterns)}));

    child<QPushButton>("cmdBack")->click();
    EXPECT_FALSE(screen.isVisible());
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(rows(QStringLiteral("SELECT CID, KRCODE, KSCODE, SINAME, TENAME FROM T_SI_PATTERN")),
              strings({"01|101|501|房租|付房租"}));

    // The next showing starts in register mode from the stored patterns.
    exec(QStringLiteral("DELETE FROM T_SI_PATTERN"));
    showScreen();
    EXPECT_TRUE(child<QRadioButton>("optTouroku")->isChecked());
    EXPECT_TRUE(name->isEnabled());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM WK_SI_PATTERN")), 0);
}

TEST_F(InpIkkatuSiwakeWidget, AFailedOpeningClosesTheScreenWithoutWritingBack) {
    exec(QStringLiteral(
        "INSERT INTO T_SI_PATTERN VALUES ('01', '101', '501', '名', '摘要', '1', '')"));
    exec(
        QStringLiteral("CREATE TRIGGER refuse_work BEFORE INSERT ON WK_SI_PATTERN "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    screen.show();
    QTRY_VERIFY(!screen.isVisible());
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("(msFormInit)")));
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_PATTERN")), 1);
}

}  // namespace
