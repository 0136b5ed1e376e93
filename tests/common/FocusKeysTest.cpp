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

}  // namespace
