#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "app/AllScreens.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "master/ui/InpKanjokamokuCh.h"
#include "master/ui/prtKanjoKamokuSet.h"
#include "support/GridMouse.h"
#include "support/TestDatabase.h"

namespace {

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
    template <typename T>
    static T* child(QWidget* window, const char* name) {
        auto* w = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

TEST_F(ChartScreensWidget, ListOpensTheDetailWhichSavesOnLeaving) {
    QPointer<QWidget> list = Screens::get(QStringLiteral("prtKanjoKamokuSet"));
    ASSERT_TRUE(qobject_cast<prtKanjoKamokuSet*>(list));
    list->show();
    list->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(list));

    auto* dai = child<QComboBox>(list, "cmbDaiBunrui");
    auto* chu = child<QComboBox>(list, "cmbChuBunrui");
    auto* grid = child<QTableWidget>(list, "spdSS");
    EXPECT_EQ(dai->count(), 5);
    EXPECT_TRUE(grid->isColumnHidden(3));

    dai->setCurrentIndex(0);
    emit dai->activated(0);
    EXPECT_EQ(chu->currentText(), QStringLiteral("流动资产"));
    EXPECT_EQ(grid->rowCount(), 13);
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("现金"));
    EXPECT_FALSE(child<QPushButton>(list, "cmdSyusei")->isEnabled());

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

    auto* code = child<QLineEdit>(detail, "txtKamokuCode");
    auto* name = child<QLineEdit>(detail, "txtKamokuName");
    auto* chk = child<QCheckBox>(detail, "chkHojokamoku");
    auto* sub = child<QTableWidget>(detail, "spdSS");
    auto* hkCode = child<QLineEdit>(detail, "txtHK_Code");
    auto* back = child<QPushButton>(detail, "cmdBack");
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
    child<QLineEdit>(detail, "txtHK_Name")->setText(QStringLiteral("钱包"));
    child<QPushButton>(detail, "cmdSyusei")->click();
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
    child<QPushButton>(list, "cmdBack")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(list.isNull());
    EXPECT_TRUE(Screens::get(QStringLiteral("SyokiSetMenu"))->isVisible());
}

}  // namespace
