#pragma once

#include <gtest/gtest.h>
#include <QLabel>
#include <QWidget>
#include <memory>

#include "app/InOutMenu.h"
#include "common/Clock.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "db/Database.h"
#include "entry/Vouchers.h"
#include "master/CurrentAccountSet.h"
#include "support/JournalLine.h"
#include "support/TestDatabase.h"

template <typename T>
T* child(const QWidget* window, const char* name) {
    auto* found = window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The books menu over a small book of set 01 ("家计簿", period 2024/05-2025/04): the vouchers of
// 2024/05/01-05/20, a line on 05/03 (004 against 180, 300) and one on 05/10 (263 against 004,
// 80); today is 2024/05/25, so an opening from a menu would add days. The main window and the
// menu are registered; each test registers the screens it goes through.
class BooksMenuTest : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("01");
        session().PeriodLabel = QStringLiteral("2024年度");
        exec(
            QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = '2024/05/01', KIMATU = '2025/04/30', "
                           "SIINLDAY = '2025/04/30' WHERE CID = '01'"));
        ASSERT_TRUE(ResetCompanyData());
        {
            TransactionGuard transaction;
            ASSERT_TRUE(make_new_siwake_data());
            transaction.commit();
        }
        writeJournalLine(QStringLiteral("01"), 3, QStringLiteral("2024/05/03"),
                         QStringLiteral("004"), QString(), QStringLiteral("180"), QString(),
                         QStringLiteral("300"));
        writeJournalLine(QStringLiteral("01"), 10, QStringLiteral("2024/05/10"),
                         QStringLiteral("263"), QString(), QStringLiteral("004"), QString(),
                         QStringLiteral("80"));
        Clock::setFixedToday(QDate(2024, 5, 25));

        mainWindow = std::make_unique<QWidget>();
        auto* company = new QLabel(QStringLiteral("家计簿"), mainWindow.get());
        company->setObjectName(QStringLiteral("lblKaisyaName"));
        Screens::addExisting(QStringLiteral("MainMenu"), mainWindow.get());
        booksMenu = std::make_unique<InOutMenu>();
        Screens::addExisting(QStringLiteral("InOutMenu"), booksMenu.get());
    }

    std::unique_ptr<QWidget> mainWindow;
    std::unique_ptr<InOutMenu> booksMenu;
};
