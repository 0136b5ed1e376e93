#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "common/Session.h"
#include "db/RowWriters.h"
#include "maintenance/BackupSet.h"
#include "support/TestDatabase.h"

namespace {

class BackupSet : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("02");
        exec(
            QStringLiteral("UPDATE T_COMP_MAIN SET COMPANY = 'Lee, \"Best\" 商店', RATE = 1.5 "
                           "WHERE CID = '02'"));
        exec(
            QStringLiteral("INSERT INTO T_SIWAKE VALUES ('02', '00001', '00001', '2024/01/01', "
                           "'2024/01/01', '1', 0, 12345000, 0)"));
        exec(
            QStringLiteral("INSERT INTO T_SIWAKE VALUES ('03', '00001', '00001', '2024/01/01', "
                           "'2024/01/01', '1', 0, 0, 0)"));
        target = folder.filePath(QStringLiteral("Data/零售业/"));
    }
    QStringList lines(const QString& name) {
        QFile file(QDir(target).filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    QString target;
};

TEST_F(BackupSet, WritesOneQuotedLinePerRowOfTheCurrentSet) {
    EXPECT_EQ(defaultBackupFolder(QStringLiteral("零售业")), target);
    ASSERT_TRUE(DataBackUp(target));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("数据备份成功！")});
    EXPECT_EQ(messages.last().icon, MsgIcon::Information);
    EXPECT_EQ(QDir(target).entryList({QStringLiteral("T_*.txt")}).size(), 23);
    EXPECT_EQ(lines(QStringLiteral("T_003.txt")),
              QStringList{QStringLiteral("\"02\",\"00001\",\"00001\",\"2024/01/01\",\"2024/01/01\","
                                         "\"1\",\"0\",\"1234.5\",\"0\"")});
    const QStringList company = lines(QStringLiteral("T_002.txt"));
    ASSERT_EQ(company.size(), 1);
    EXPECT_TRUE(company.first().startsWith(u"\"02\",\"Lee, \"\"Best\"\" 商店\",\"\","))
        << company.first().toStdString();
    EXPECT_TRUE(company.first().endsWith(u",\"004\",\"1.5\""));
    // The working chart has no account set: it is written whole.
    EXPECT_EQ(lines(QStringLiteral("T_001.txt")).size(),
              count(QStringLiteral("SELECT COUNT(*) FROM T_KANJO")));
    QFile empty(QDir(target).filePath(QStringLiteral("T_023.txt")));
    EXPECT_EQ(empty.size(), 0);
}

TEST_F(BackupSet, YearEndSetStopsBeforeTheYearCopiesAndIsSilent) {
    ASSERT_TRUE(DataBackUp(target, BackupUse::YearEnd));
    EXPECT_EQ(QDir(target).entryList({QStringLiteral("T_*.txt")}).size(), 11);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(BackupSet, FailuresAreReportedByTheRoutineThatFailed) {
    exec(QStringLiteral("UPDATE T_BACKUP SET FLPNO = 10 WHERE SEQNO = 3"));
    EXPECT_FALSE(DataBackUp(target));
    EXPECT_TRUE(messages.last().text.endsWith(u"(write_data_to_text)"));
    // Files written before the failure stay; the failing one is not left half-written.
    EXPECT_TRUE(QFile::exists(QDir(target).filePath(QStringLiteral("T_002.txt"))));
    EXPECT_FALSE(QFile::exists(QDir(target).filePath(QStringLiteral("T_003.txt"))));

    QFile blocker(folder.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(DataBackUp(folder.filePath(QStringLiteral("blocked/inner/"))));
    EXPECT_TRUE(messages.last().text.endsWith(u"(DataBackUp)"));
}

}  // namespace
