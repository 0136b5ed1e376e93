#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "common/ui/FocusKeys.h"

namespace {

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
    for (QWidget* w : {static_cast<QWidget*>(first), static_cast<QWidget*>(list),
                       static_cast<QWidget*>(off), static_cast<QWidget*>(last)}) {
        layout->addWidget(w);
    }
    FocusKeys::install(&form, {first, list, off, last});
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    first->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), list);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), last);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), list);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), first);
}

}  // namespace
