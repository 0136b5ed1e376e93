#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/Session.h"
#include "common/ui/Screens.h"
#include "entry/ui/InpIkkatuSiwake.h"
#include "entry/ui/InpTekiyouTouroku.h"
#include "support/RecordingReportOutput.h"
#include "support/StringLists.h"
#include "support/TestDatabase.h"

namespace {

// A screen of the initial-settings menu over set 01, with the main window ("甲公司") and the menu
// registered.
template <typename Screen>
class SettingsScreen : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("01");
        session().PeriodLabel = QStringLiteral("2024年度");
        companyLabel = new QLabel(QStringLiteral("甲公司"), &mainWindow);
        companyLabel->setObjectName(QStringLiteral("lblKaisyaName"));
        Screens::addExisting(QStringLiteral("MainMenu"), &mainWindow);
        Screens::addExisting(QStringLiteral("SyokiSetMenu"), &menu);
    }

    template <typename T>
    T* child(const char* name) {
        T* found = screen.template findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void showScreen() {
        screen.show();
        screen.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    }

    QWidget mainWindow;
    QLabel* companyLabel = nullptr;
    QWidget menu;
    Screen screen;
};

class DescriptionsWidget : public SettingsScreen<InpTekiyouTouroku> {
  protected:
    void SetUp() override {
        SettingsScreen::SetUp();
        const QStringList names = strings({"现金收入", "现金支出", "银行利息"});
        for (int i = 0; i < names.size(); ++i) {
            exec(QStringLiteral("INSERT INTO T_TEKIYO VALUES ('01', ?, ?)"),
                 {QStringLiteral("00%1").arg(i + 1), names.at(i)});
        }
    }

    QPushButton* button(const char* name) { return child<QPushButton>(name); }
    QStringList listed() {
        QStringList all;
        for (int i = 0; i < list->count(); ++i) {
            all.append(list->itemData(i).toString() + u':' + list->itemText(i));
        }
        return all;
    }
    // Types text key by key into the widget, as an input method delivers it.
    static void type(QWidget* widget, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &release);
        }
    }
    void showScreen() {
        SettingsScreen::showScreen();
        list = child<QComboBox>("cmbTekiyou");
        text = child<QLineEdit>("txtTekiyou");
    }

    QComboBox* list = nullptr;
    QLineEdit* text = nullptr;
};

TEST_F(DescriptionsWidget, RegistersCorrectsAndDeletesThroughTheControls) {
    showScreen();
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("甲公司 — 2024年度 — 摘要管理"));
    EXPECT_EQ(list->lineEdit()->maxLength() + text->maxLength(), 40);
    EXPECT_TRUE(child<QRadioButton>("optTouroku")->isChecked());
    EXPECT_EQ(listed(), strings({"1:现金收入", "2:现金支出", "3:银行利息"}));

    // Register: the entry joins the list with its number.
    text->setText(QStringLiteral(" 手续费"));
    button("cmdTouroku")->click();
    EXPECT_EQ(listed().last(), QStringLiteral("4:手续费"));
    EXPECT_TRUE(text->text().isEmpty());
    button("cmdTouroku")->click();
    EXPECT_EQ(messages.texts(), strings({"请输入摘要名称。"}));

    // Correct: the box is locked until typing completes the list text to an entry.
    child<QRadioButton>("optTeisei")->click();
    EXPECT_TRUE(text->isReadOnly());
    list->setFocus();
    type(list, QStringLiteral("现金"));
    EXPECT_EQ(list->currentText(), QStringLiteral("现金收入"));
    EXPECT_FALSE(text->isReadOnly());
    // Enter moves on from the list to the text box.
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), text);
    QTest::keyClick(text, Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), list);
    text->setFocus();
    text->selectAll();
    type(text, QStringLiteral("营业收入"));
    button("cmdTouroku")->click();
    EXPECT_EQ(listed().first(), QStringLiteral("1:营业收入"));
    EXPECT_TRUE(text->isReadOnly());

    // Delete: picking from the list shows the text, still locked.
    child<QRadioButton>("optDelete")->click();
    emit list->activated(1);
    EXPECT_EQ(text->text(), QStringLiteral("现金支出"));
    EXPECT_TRUE(text->isReadOnly());
    button("cmdTouroku")->click();
    EXPECT_EQ(listed(), strings({"1:营业收入", "3:银行利息", "4:手续费"}));
    // Clearing empties the list text and the box.
    emit list->activated(0);
    button("cmdCancel")->click();
    EXPECT_TRUE(list->currentText().isEmpty());
    EXPECT_TRUE(text->text().isEmpty());

    // Closing writes back and shows the initial-settings menu.
    button("cmdBack")->click();
    EXPECT_FALSE(screen.isVisible());
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(rows(QStringLiteral("SELECT TEKINO, TENAME FROM T_TEKIYO WHERE CID = '01' "
                                  "ORDER BY TEKINO")),
              strings({"001|营业收入", "003|银行利息", "004|手续费"}));
    EXPECT_EQ(messages.shown.size(), 1);

    // Showing again reads the set afresh, in register mode.
    exec(QStringLiteral("DELETE FROM T_TEKIYO"));
    showScreen();
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_TRUE(child<QRadioButton>("optTouroku")->isChecked());
    RecordingReportOutput output;
    button("cmdHyouji")->click();
    EXPECT_EQ(messages.last().text, QStringLiteral("没有符合条件的数据。"));
    // Printing does not check first: the empty list goes to the printer.
    button("cmdInsatu")->click();
    EXPECT_EQ(output.calls(), strings({"print R_TEKIYO 0"}));
}

TEST_F(DescriptionsWidget, AFailedOpeningClosesTheScreen) {
    exec(
        QStringLiteral("CREATE TRIGGER no_work BEFORE INSERT ON WK_TEKIYO "
                       "BEGIN SELECT RAISE(ABORT, 'locked'); END"));
    screen.show();
    QTRY_VERIFY(!screen.isVisible());
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("locked(msFormInit)")));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_TEKIYO WHERE CID = '01'")), 3);
}

class InpIkkatuSiwakeWidget : public SettingsScreen<InpIkkatuSiwake> {
  protected:
    void SetUp() override {
        SettingsScreen::SetUp();
        exec(
            QStringLiteral("INSERT INTO WK_TEKIYO VALUES ('01', '001', '收货款'), "
                           "('01', '002', '付房租')"));
    }

    QComboBox* list(const char* name) { return child<QComboBox>(name); }
    QLineEdit* box(const char* name) { return child<QLineEdit>(name); }
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
