#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "common/ui/FocusKeys.h"
#include "common/ui/GridHelpers.h"
#include "common/ui/Screens.h"
#include "support/QtPrinters.h"
#include "support/RecordingMessages.h"

namespace {

// A 4-row grid whose cells read "r,c".
void fill(QTableWidget& grid) {
    grid.setRowCount(4);
    grid.setColumnCount(3);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            grid.setItem(r, c, new QTableWidgetItem(QStringLiteral("%1,%2").arg(r).arg(c)));
        }
    }
}

QString rowText(const QTableWidget& grid, int r) {
    QStringList cells;
    for (int c = 0; c < grid.columnCount(); ++c) {
        cells.append(grid.item(r, c) ? grid.item(r, c)->text() : QString());
    }
    return cells.join(u'|');
}

TEST(GridHelpers, DeleteRowMovesLaterRowsUpAfterConfirmation) {
    RecordingMessages messages;
    QTableWidget grid;
    fill(grid);
    messages.answers = {MsgAnswer::No, MsgAnswer::Yes};
    EXPECT_EQ(deleteGridRow(&grid, 1), MsgAnswer::No);
    EXPECT_EQ(rowText(grid, 1), QStringLiteral("1,0|1,1|1,2"));
    EXPECT_EQ(deleteGridRow(&grid, 1), MsgAnswer::Yes);
    ASSERT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(rowText(grid, 0) + u' ' + rowText(grid, 1) + u' ' + rowText(grid, 2) + u' ' +
                  rowText(grid, 3),
              QStringLiteral("0,0|0,1|0,2 2,0|2,1|2,2 3,0|3,1|3,2 ||"));
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(messages.last().text, QStringLiteral("可以删除被选择的行吗？"));
    EXPECT_EQ(messages.last().title, QStringLiteral("确认"));
    EXPECT_EQ(messages.last().buttons, MsgButtons::YesNo);
}

TEST(GridHelpers, ClearAndLockWorkOnBlocks) {
    QTableWidget grid;
    fill(grid);
    clearGridBlock(&grid, 1, 1, 2, 9);  // past the last row is fine
    EXPECT_EQ(rowText(grid, 0), QStringLiteral("0,0|0,1|0,2"));
    EXPECT_EQ(rowText(grid, 3), QStringLiteral("3,0||"));
    lockGridBlock(&grid, 0, 0, 0, 3, true);
    EXPECT_FALSE(grid.item(2, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(grid.item(2, 1)->flags() & Qt::ItemIsEditable);
    lockGridBlock(&grid, 0, 2, 0, 2, false);
    EXPECT_TRUE(grid.item(2, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(grid.item(3, 0)->flags() & Qt::ItemIsEditable);
}

TEST(GridHelpers, ResetInputsByKind) {
    QWidget form;
    auto* name = new QLineEdit(QStringLiteral("张三"), &form);
    auto* amount = new QDoubleSpinBox(&form);
    amount->setRange(-1000, 1000);
    amount->setValue(12.5);
    auto* months = new QComboBox(&form);
    months->addItems({QStringLiteral("2024年1月"), QStringLiteral("2024年2月")});
    months->setCurrentIndex(1);
    auto* blankFirst = new QComboBox(&form);
    blankFirst->addItems({QString(), QStringLiteral("x")});
    blankFirst->setCurrentIndex(1);
    resetInputs(&form);
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_EQ(amount->value(), 0.0);
    EXPECT_EQ(months->currentIndex(), 0);
    EXPECT_EQ(blankFirst->currentIndex(), 1);
}

// Enter and Escape walk the boxes of a form; an editable list with its own text box inside is a
// single stop, and disabled boxes are skipped.
TEST(FocusKeys, EnterAndEscapeStepOverWholeControls) {
    QWidget form;
    auto* first = new QLineEdit(&form);
    auto* list = new QComboBox(&form);
    list->setEditable(true);
    list->addItems({QStringLiteral("现金收入"), QStringLiteral("银行存款")});
    auto* off = new QLineEdit(&form);
    off->setEnabled(false);
    auto* last = new QLineEdit(&form);
    auto* layout = new QVBoxLayout(&form);
    for (QWidget* w : QWidgetList{first, list, off, last}) {
        layout->addWidget(w);
    }
    FocusKeys::install(&form, {first, list, off, last});
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    first->setFocus();
    const std::pair<Qt::Key, QWidget*> steps[] = {{Qt::Key_Return, list},
                                                  {Qt::Key_Return, last},
                                                  {Qt::Key_Escape, list},
                                                  {Qt::Key_Escape, first}};
    for (const auto& [key, next] : steps) {
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
}

// A screen opens over the middle of the window that opened it, not wherever the desktop puts it.
TEST(Screens, OpenCentresTheScreenOnItsOpener) {
    QWidget opener;
    opener.setGeometry(100, 120, 800, 600);
    opener.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&opener));
    QWidget* made = nullptr;
    Screens::add(QStringLiteral("CentredScreen"), [&made] {
        made = new QWidget;
        made->resize(400, 300);
        return made;
    });
    ASSERT_TRUE(Screens::open(QStringLiteral("CentredScreen"), &opener));
    ASSERT_NE(made, nullptr);
    EXPECT_FALSE(opener.isVisible());
    const QPoint offset = made->frameGeometry().center() - QPoint(500, 420);
    EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
    delete made;
}

}  // namespace
