#include <gtest/gtest.h>
#include <QComboBox>
#include <QPushButton>
#include <functional>

#include "common/Session.h"
#include "generator/BookGenerator.h"
#include "maintenance/ui/runDatain.h"
#include "maintenance/ui/runDataout.h"
#include "support/TestDatabase.h"

namespace {

class CsvScreens : public DatabaseTest {};

// Both screens list the set's months with none chosen (every month), and the combo chooses the
// month their routines use.
TEST_F(CsvScreens, MonthComboDrivesTheRoutines) {
    QString error;
    ASSERT_TRUE(generateBook({QStringLiteral("02"), QDate(2024, 1, 1), 20, 2, 5}, &error))
        << error.toStdString();
    runDataout out;
    runDatain in;
    struct Case {
        CsvScreen* screen;
        const char* start;
        std::function<int()> selected;
    };
    const Case cases[] = {{&out, "cmdStart", [&] { return out.logic().selected; }},
                          {&in, "cmdStr", [&] { return in.logic().selected; }}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        c.screen->show();
        EXPECT_EQ(c.screen->cmbTuki->count(), 12);
        EXPECT_EQ(c.screen->cmbTuki->itemText(2), QStringLiteral("2024年3月"));
        EXPECT_EQ(c.screen->cmbTuki->currentIndex(), -1);
        EXPECT_EQ(c.selected(), -1);
        c.screen->cmbTuki->setCurrentIndex(2);
        EXPECT_EQ(c.selected(), 2);
        EXPECT_NE(c.screen->findChild<QPushButton*>(QString::fromUtf8(c.start)), nullptr);
        EXPECT_TRUE(c.screen->windowTitle().endsWith(session().PeriodLabel));
        c.screen->hide();
    }
}

}  // namespace
