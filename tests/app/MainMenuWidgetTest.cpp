#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/MainMenu.h"
#include "common/Session.h"
#include "db/Database.h"
#include "support/TestDatabase.h"

namespace {

class MainMenuWidget : public DatabaseTest {};

TEST_F(MainMenuWidget, ShowsTheSetsAndSwitchesBetweenThem) {
    Database::global().close();
    MainMenu window;
    window.Form_Load();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Ombrel"));
    auto* combo = window.findChild<QComboBox*>(QStringLiteral("cmbKaikeiData"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 13);
    EXPECT_EQ(combo->currentText(), QStringLiteral("家计簿"));
    EXPECT_EQ(combo->itemData(12).toInt(), 13);
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    }
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblKaisyaName"))->text(),
              QStringLiteral("家计簿"));
    // The user can find the books' file.
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblDataFile"))->text(),
              QStringLiteral("数据库: ") + session().AppFolder + QStringLiteral("Kaikei.mdb"));

    // Choosing a set in the list makes it current.
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(session().CurrentCid, QStringLiteral("03"));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblKaisyaName"))->text(),
              QStringLiteral("批发业"));
    // A prepared set asks for its company and period first; that screen is not there yet.
    EXPECT_EQ(session().CallerForm, QStringLiteral("SyokiSetMenu"));
    EXPECT_TRUE(messages.last().text.contains(u"尚未提供"));
    window.close();
    EXPECT_EQ(messages.last().text, QStringLiteral("系统自动进行数据备份，要执行吗?"));
}

}  // namespace
