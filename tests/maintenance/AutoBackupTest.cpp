#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "common/Clock.h"
#include "common/SavedBooks.h"
#include "common/Session.h"
#include "db/DataSource.h"
#include "entry/DailyEntryFixture.h"
#include "entry/VoucherRange.h"
#include "maintenance/AutoBackup.h"
#include "maintenance/BackupMaintenance.h"
#include "support/DatabaseFiles.h"
#include "support/SetSnapshot.h"
#include "support/StringLists.h"

namespace {

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
