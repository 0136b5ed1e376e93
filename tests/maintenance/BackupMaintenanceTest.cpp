#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "common/Clock.h"
#include "common/SavedBooks.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "db/DataSource.h"
#include "db/Database.h"
#include "entry/DailyEntryFixture.h"
#include "entry/VoucherRange.h"
#include "maintenance/AutoBackup.h"
#include "maintenance/BackupMaintenance.h"
#include "maintenance/BackupSet.h"
#include "maintenance/Compaction.h"
#include "maintenance/ui/AutoBackupProgress.h"
#include "maintenance/ui/runBackUp.h"
#include "print/ui/FileDialog.h"
#include "support/DatabaseFiles.h"
#include "support/SetSnapshot.h"
#include "support/StringLists.h"
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

class NoDisplay : public BackupMaintenanceHost {
  public:
    void setBusy(bool) override {}
    void showMessageLabel(const QString&) override {}
    QString chooseBackupFolder() override { return {}; }
    void focusBack() override {}
    QString accountSetText() const override { return QStringLiteral("家计簿"); }
    void refreshCaption() override {}
};

QStringList days(const QList<AutoBackupEntry>& all) {
    QStringList out;
    for (const AutoBackupEntry& entry : all) {
        out.append(entry.day.toString(QStringLiteral("MMdd")));
    }
    return out;
}

// The household set 01 of the entry tests, saved through the real entry screen logic with the
// real automatic backup listening; set 02 holds a voucher of the same code and day.
class AutoBackup : public DailyEntryFixture {
  protected:
    void SetUp() override {
        DailyEntryFixture::SetUp();
        SavedBooks::setListener([](const QString&) { writeAutoBackup(); });
        exec(
            QStringLiteral("INSERT INTO T_SIWAKE VALUES ('02', '00020', '00020', '2024/05/20', "
                           "'2024/05/20', '1', 0, 0, 0)"));
    }
    void TearDown() override {
        SavedBooks::setListener({});
        DailyEntryFixture::TearDown();
    }
    // Saves today's voucher with an income amount.
    void save(const QString& income) {
        DailyEntry entry(*this);
        ASSERT_TRUE(GetMinMaxSiwakeDenCode());
        ASSERT_TRUE(entry.Form_Load(session().CallerForm));
        ASSERT_TRUE(entry.setSimpleAmount(
            EntryGrid::Income, rowOf(entry, EntryGrid::Income, QStringLiteral("180")), income));
        ASSERT_TRUE(entry.cmdTouroku_Click()) << messages.texts().join(u'\n').toStdString();
    }
};

TEST_F(AutoBackup, FirstSaveOfEachDayWritesOneWholeBackupAndTheNewestAreKept) {
    const SetSnapshot other(QStringLiteral("02"));
    // A backup a crash left half written is neither listed nor in the way.
    const QString half = autoBackupRoot() + QStringLiteral("01/.20240520/");
    ASSERT_TRUE(QDir().mkpath(half));
    ASSERT_TRUE(QFile::copy(DataSource::defaultPath(), half + QStringLiteral("T_001.txt")));
    EXPECT_TRUE(autoBackups(QStringLiteral("01")).isEmpty());

    save(QStringLiteral("100"));
    save(QStringLiteral("200"));
    const QList<AutoBackupEntry> first = autoBackups(QStringLiteral("01"));
    ASSERT_EQ(days(first), QStringList{QStringLiteral("0520")});
    EXPECT_FALSE(QFileInfo::exists(half));
    // Written at the first save: the day's grid holds the first amount.
    EXPECT_TRUE(QString::fromUtf8(bytesOf(first.first().folder + QStringLiteral("T_007.txt")))
                    .contains(u"\"100\""));
    qint64 bytes = 0;
    for (const QFileInfo& file : QDir(first.first().folder).entryInfoList(QDir::Files)) {
        bytes += file.size();
    }
    EXPECT_EQ(first.first().bytes, bytes);
    EXPECT_TRUE(autoBackups(QStringLiteral("02")).isEmpty());

    // Eleven more days: the ten newest stay.
    for (int day = 21; day <= 31; ++day) {
        Clock::setFixedToday(QDate(2024, 5, day));
        save(QString::number(day));
    }
    EXPECT_EQ(
        days(autoBackups(QStringLiteral("01"))),
        strings({"0531", "0530", "0529", "0528", "0527", "0526", "0525", "0524", "0523", "0522"}));
    EXPECT_TRUE(other.unchanged());

    // Fewer to keep: the oldest go at once; an unreadable setting counts as ten.
    EXPECT_EQ(autoBackupKeepCount(), kDefaultAutoBackups);
    EXPECT_FALSE(setAutoBackupKeepCount(0));
    messages.shown.clear();
    ASSERT_TRUE(setAutoBackupKeepCount(3));
    EXPECT_EQ(autoBackupKeepCount(), 3);
    EXPECT_EQ(days(autoBackups(QStringLiteral("01"))), strings({"0531", "0530", "0529"}));
    QFile setting(autoBackupRoot() + QStringLiteral("保留份数.txt"));
    ASSERT_TRUE(setting.open(QIODevice::WriteOnly | QIODevice::Truncate));
    setting.write("many");
    setting.close();
    EXPECT_EQ(autoBackupKeepCount(), kDefaultAutoBackups);
}

// The program's backup after a save shows a window with the files written so far while it
// writes, and none on the day's later saves; the backup is the same.
TEST_F(AutoBackup, TheProgramsBackupShowsHowFarItIs) {
    SavedBooks::setListener([](const QString&) { writeAutoBackupShowingProgress(); });
    QList<int> seen;
    int files = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QProgressDialog*>(window);
            if (dialog != nullptr && dialog->isVisible()) {
                seen.append(dialog->value());
                files = dialog->maximum();
            }
        }
    });
    watch.start(0);
    save(QStringLiteral("100"));
    ASSERT_EQ(days(autoBackups(QStringLiteral("01"))), QStringList{QStringLiteral("0520")});
    EXPECT_EQ(files, 23);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_LE(seen.last(), 23);
    seen.clear();
    save(QStringLiteral("200"));
    watch.stop();
    EXPECT_TRUE(seen.isEmpty());
    for (QWidget* window : QApplication::topLevelWidgets()) {
        EXPECT_EQ(qobject_cast<QProgressDialog*>(window), nullptr);
    }
}

TEST_F(AutoBackup, FailedBackupLeavesNoFolderThatLooksWhole) {
    // The day's hidden folder cannot be made: a file stands in its way.
    ASSERT_TRUE(QDir().mkpath(autoBackupRoot() + QStringLiteral("01")));
    QFile blocker(autoBackupRoot() + QStringLiteral("01/.20240520"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(writeAutoBackup());
    EXPECT_TRUE(messages.last().text.endsWith(u"(DataBackUp)"));
    EXPECT_TRUE(autoBackups(QStringLiteral("01")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(autoBackupRoot() + QStringLiteral("01/20240520")));
}

// The backup screen lists the set's automatic backups and restores one after a question.
TEST_F(AutoBackup, ScreenRestoresAnAutomaticBackupAfterAsking) {
    save(QStringLiteral("100"));
    const QStringList saved =
        rows(QStringLiteral("SELECT KRKIN FROM T_SI_MEISAI WHERE CID = '01'"));
    Clock::setFixedToday(QDate(2024, 5, 21));
    save(QStringLiteral("300"));
    NoDisplay host;
    BackupMaintenance screen(host);
    screen.refreshAutoBackups();
    ASSERT_EQ(days(screen.autoBackupList()), strings({"0521", "0520"}));
    EXPECT_TRUE(BackupMaintenance::autoBackupText(screen.autoBackupList().last())
                    .startsWith(u"2024/05/20    "));
    EXPECT_TRUE(BackupMaintenance::autoBackupText(screen.autoBackupList().last()).endsWith(u" KB"));

    const QString question = QStringLiteral("用 2024/05/20 的自动备份恢复家计簿的数据。") +
                             QStringLiteral("\r\n现在的数据将被替换，可以吗?");
    for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
        messages.shown.clear();
        messages.answers = {answer};
        EXPECT_EQ(screen.cmdAutoRestore_Click(1), answer == MsgAnswer::Yes);
        EXPECT_EQ(messages.shown.first().text, question);
        EXPECT_EQ(messages.shown.first().icon, MsgIcon::Exclamation);
        EXPECT_EQ(messages.shown.first().defaultAnswer, MsgAnswer::No);
    }
    EXPECT_EQ(messages.last().text, QStringLiteral("数据恢复成功！"));
    EXPECT_EQ(rows(QStringLiteral("SELECT KRKIN FROM T_SI_MEISAI WHERE CID = '01'")), saved);
    EXPECT_FALSE(screen.cmdAutoRestore_Click(2));
    EXPECT_TRUE(screen.numKeep_Change(1));
    EXPECT_EQ(days(screen.autoBackupList()), strings({"0521"}));
}

}  // namespace
