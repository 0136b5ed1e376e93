#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <functional>

#include "common/Session.h"
#include "common/ui/Screens.h"
#include "db/Database.h"
#include "maintenance/AutoBackup.h"
#include "maintenance/BackupMaintenance.h"
#include "maintenance/BackupSet.h"
#include "maintenance/Compaction.h"
#include "maintenance/ui/runBackUp.h"
#include "print/ui/FileDialog.h"
#include "support/SetSnapshot.h"
#include "support/TestDatabase.h"

namespace {

class FakeHost : public BackupMaintenanceHost {
  public:
    void setBusy(bool busy) override {
        events.append(busy ? QStringLiteral("busy") : QStringLiteral("normal"));
    }
    void showMessageLabel(const QString& text) override {
        events.append(QStringLiteral("label:") + text);
    }
    QString chooseBackupFolder() override { return folder; }
    void focusBack() override { events.append(QStringLiteral("focus cmdBack")); }
    QString accountSetText() const override { return QStringLiteral("零售业"); }
    void refreshCaption() override { events.append(QStringLiteral("caption")); }

    QString folder;  // null: the chooser was cancelled
    QStringList events;
};

class BackupScreen : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("02");
        session().PeriodLabel = QStringLiteral("2024 年度");
        SetSnapshot::copySet(QStringLiteral("02"), QStringLiteral("03"));
        for (const char* cid : {"02", "03"}) {
            exec(QStringLiteral("INSERT INTO T_SIWAKE VALUES (?, '00001', '00001', '2024/01/05', "
                                "'2024/01/05', '1', 0, 10000, 0)"),
                 {QLatin1String(cid)});
        }
        session().CurrentCid = QStringLiteral("03");
        ASSERT_TRUE(DataBackUp(folder.filePath(QStringLiteral("set03/"))));
        session().CurrentCid = QStringLiteral("02");
        ASSERT_TRUE(DataBackUp(folder.filePath(QStringLiteral("set02/"))));
        QDir ten(folder.filePath(QStringLiteral("ten")));
        ASSERT_TRUE(ten.mkpath(QStringLiteral(".")));
        for (int n = 1; n <= 10; ++n) {
            const QString name = QStringLiteral("T_%1.txt").arg(n, 3, 10, QLatin1Char('0'));
            QFile::copy(folder.filePath(QStringLiteral("set02/") + name), ten.filePath(name));
        }
        messages.shown.clear();
    }
};

// Every message of the screen, in order, with what the screen showed around it.
TEST_F(BackupScreen, EveryMessageAndLabelOfTheScreen) {
    EXPECT_EQ(BackupMaintenance::readMeText(),
              QStringLiteral("当天的业务完成后，一定要对数据进行备份。"));
    EXPECT_EQ(BackupMaintenance::caption(QStringLiteral("零售业")),
              QStringLiteral("零售业 — 2024 年度"));
    const QString crlf = QStringLiteral("\r\n");
    const QString compactQuestion = QStringLiteral("压缩数据库。") + crlf +
                                    QStringLiteral("在压缩之前请先进行数据备份。") + crlf +
                                    QStringLiteral("是否完成数据备份？");
    struct Shown {
        MsgIcon icon;
        QString text;
    };
    struct Case {
        const char* name;
        std::function<bool(BackupMaintenance&)> click;
        QString folder;
        std::deque<MsgAnswer> answers;
        bool result;
        QList<Shown> shown;
        const char* events;  // what the screen showed around the messages, "|" between two
    };
    const auto backUp = [](BackupMaintenance& m) { return m.cmdBackUp_Click(); };
    const auto restore = [](BackupMaintenance& m) { return m.cmdLoalBack_Click(); };
    const auto compact = [](BackupMaintenance& m) { return m.cmdCompack_Click(); };
    const Case cases[] = {
        {"help",
         [](BackupMaintenance& m) {
             m.cmdQuestion_Click();
             return true;
         },
         {},
         {},
         true,
         {{MsgIcon::None,
           QStringLiteral("单击“开始备份”，对每日的数据进行备份处理。") + crlf +
               QStringLiteral("单击“开始恢复”，在数据被破坏的情况下进行恢复处理。")}},
         ""},
        {"backup cancelled", backUp, QString(), {}, true, {}, ""},
        {"backup",
         backUp,
         folder.filePath(QStringLiteral("new")),
         {},
         true,
         {{MsgIcon::Information, QStringLiteral("数据备份成功！")}},
         "busy|label:数 据 备 份 中 ！！|normal|label:"},
        {"restore cancelled", restore, QString(), {}, false, {}, ""},
        {"restore from ten files",
         restore,
         folder.filePath(QStringLiteral("ten")),
         {},
         false,
         {{MsgIcon::Exclamation, QStringLiteral("没找到符合条件的数据，中止数据恢复处理。")}},
         "busy|label:数 据 恢 复 中 ！！|normal|label:|focus cmdBack"},
        {"restore of another set",
         restore,
         folder.filePath(QStringLiteral("set03")),
         {},
         false,
         {{MsgIcon::Exclamation,
           QStringLiteral("要恢复的数据不是现在使用中的零售业的数据，\n\n中止数据恢复处理。")}},
         "busy|label:数 据 恢 复 中 ！！|normal|label:|focus cmdBack"},
        {"restore",
         restore,
         folder.filePath(QStringLiteral("set02")),
         {},
         true,
         {{MsgIcon::Information, QStringLiteral("数据恢复成功！")}},
         "busy|label:数 据 恢 复 中 ！！|normal|label:|caption|focus cmdBack"},
        {"compaction declined",
         compact,
         {},
         {MsgAnswer::No},
         false,
         {{MsgIcon::Question, compactQuestion}},
         ""},
        {"compaction",
         compact,
         {},
         {MsgAnswer::Yes},
         true,
         {{MsgIcon::Question, compactQuestion},
          {MsgIcon::Information, QStringLiteral("数据库压缩处理正常结束。")}},
         "busy|label:正在压缩数据库 ！！|normal|label:|focus cmdBack"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHost host;
        host.folder = c.folder;
        BackupMaintenance screen(host);
        messages.shown.clear();
        messages.answers = c.answers;
        EXPECT_EQ(c.click(screen), c.result);
        ASSERT_EQ(messages.shown.size(), c.shown.size())
            << messages.texts().join(u'\n').toStdString();
        for (int i = 0; i < c.shown.size(); ++i) {
            EXPECT_EQ(messages.shown.at(i).icon, c.shown.at(i).icon);
            EXPECT_EQ(messages.shown.at(i).text, c.shown.at(i).text);
            EXPECT_EQ(messages.shown.at(i).title, QStringLiteral("Ombrel"));
        }
        EXPECT_EQ(host.events, QString::fromUtf8(c.events).split(u'|', Qt::SkipEmptyParts));
        EXPECT_TRUE(Database::global().isOpen());
    }
    EXPECT_EQ(QDir(folder.filePath(QStringLiteral("new"))).entryList(QDir::Files).size(), 23);
}

TEST_F(BackupScreen, CompactionShrinksTheFileKeepsEveryRowAndAlwaysReopens) {
    const QString file = Database::global().filePath();
    const QString copy = folder.filePath(QStringLiteral("bak_Kaikei.mdb"));
    // Free pages to give back: a large table filled and emptied again.
    exec(
        QStringLiteral("WITH RECURSIVE n(v) AS (SELECT 1 UNION ALL SELECT v + 1 FROM n WHERE v < "
                       "20000) INSERT INTO T_TEKIYO SELECT '09', printf('%05d', v), "
                       "printf('%0500d', v) FROM n"));
    exec(QStringLiteral("DELETE FROM T_TEKIYO WHERE CID = '09'"));
    Database::global().checkpoint();
    const SetSnapshot mine(QStringLiteral("02"));
    const SetSnapshot other(QStringLiteral("03"));
    const qint64 before = QFileInfo(file).size();

    // A leftover copy of an interrupted run is replaced.
    QFile stale(copy);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("half");
    stale.close();
    ASSERT_TRUE(compactDatabase());
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
    EXPECT_TRUE(Database::global().isOpen());
    EXPECT_LT(QFileInfo(file).size(), before / 2);
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_TRUE(mine.unchanged());
    EXPECT_TRUE(other.unchanged());
    EXPECT_EQ(value(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));

    // A copy that cannot be written: the file stays, the connection comes back.
    ASSERT_TRUE(QDir().mkpath(copy));
    const qint64 now = QFileInfo(file).size();
    EXPECT_FALSE(compactDatabase());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.last().text.endsWith(u"(CompactDB)"))
        << messages.last().text.toStdString();
    EXPECT_TRUE(Database::global().isOpen());
    EXPECT_EQ(QFileInfo(file).size(), now);
    EXPECT_TRUE(mine.unchanged());
}

// The real screen: its buttons reach the routines and the folder comes from the real chooser.
TEST_F(BackupScreen, ScreenButtonsUseTheFolderChooser) {
    runBackUp screen;
    screen.show();
    EXPECT_EQ(screen.findChild<QLabel*>(QStringLiteral("lblReadMe"))->text(),
              BackupMaintenance::readMeText());
    EXPECT_TRUE(screen.windowTitle().endsWith(u" — 2024 年度"));
    // No automatic backup yet: nothing to restore from, ten to keep.
    EXPECT_EQ(screen.findChild<QListWidget*>(QStringLiteral("lstAutoBackup"))->count(), 0);
    EXPECT_FALSE(screen.findChild<QPushButton*>(QStringLiteral("cmdAutoRestore"))->isEnabled());
    EXPECT_EQ(screen.findChild<QSpinBox*>(QStringLiteral("numKeep"))->value(), 10);
    const auto click = [&](const char* button, const QString& chosen, const char* answer) {
        QTimer::singleShot(0, [chosen, answer] {
            auto* dialog = qobject_cast<FileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            dialog->showFolder(chosen);
            dialog->findChild<QPushButton*>(QLatin1String(answer))->click();
        });
        screen.findChild<QPushButton*>(QLatin1String(button))->click();
    };
    const QString target = folder.filePath(QStringLiteral("screen"));
    ASSERT_TRUE(QDir().mkpath(target));
    click("cmdBackUp", target, "cmdCancle");
    EXPECT_TRUE(QDir(target).isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty());
    click("cmdBackUp", target, "cmdOk");
    EXPECT_EQ(QDir(target).entryList(QDir::Files).size(), 23);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("数据备份成功！")});
    EXPECT_FALSE(screen.findChild<QLabel*>(QStringLiteral("lblMessage"))->isVisible());
    click("cmdLoalBack", target, "cmdOk");
    EXPECT_EQ(messages.last().text, QStringLiteral("数据恢复成功！"));
    screen.findChild<QPushButton*>(QStringLiteral("cmdQuestion"))->click();
    EXPECT_TRUE(messages.last().text.startsWith(u"单击“开始备份”"));
    // Shown again, the screen lists today's automatic backup and restores it after asking.
    ASSERT_TRUE(writeAutoBackup());
    screen.hide();
    screen.show();
    EXPECT_EQ(screen.findChild<QListWidget*>(QStringLiteral("lstAutoBackup"))->count(), 1);
    messages.answers = {MsgAnswer::Yes};
    screen.findChild<QPushButton*>(QStringLiteral("cmdAutoRestore"))->click();
    EXPECT_EQ(messages.last().text, QStringLiteral("数据恢复成功！"));
    screen.close();
}

}  // namespace
