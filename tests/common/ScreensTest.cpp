#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "common/ui/Screens.h"

namespace {

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
