#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <functional>

#include "common/Session.h"
#include "db/Database.h"
#include "db/ShippedDatabase.h"
#include "maintenance/BackupRestore.h"
#include "maintenance/BackupSet.h"
#include "support/DatabaseFiles.h"
#include "support/GeneratedYears.h"
#include "support/SetSnapshot.h"
#include "support/TestDatabase.h"

namespace {

const QString kSetText = QStringLiteral("零售业");
const QString kDescription = QStringLiteral("Lee, \"Best\" O'Brien");

void copyFolder(const QString& from, const QString& to) {
    ASSERT_TRUE(QDir().mkpath(to));
    for (const QString& name : QDir(from).entryList(QDir::Files)) {
        ASSERT_TRUE(QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name)));
    }
}

// A generated book in set 02 with year copies and a description that needs quoting, a copy of
// it as set 03, and a full backup of each set.
class Restore : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        generateYear(QStringLiteral("02"), QDate(2024, 1, 1), 40, 6, 7);
        exec(QStringLiteral("UPDATE T_SI_MEISAI SET TEKIYO = ? WHERE CID = '02' AND DENCODE = "
                            "(SELECT MIN(DENCODE) FROM T_SI_MEISAI WHERE CID = '02')"),
             {kDescription});
        SetSnapshot::copyToYearTables(QStringLiteral("02"));
        exec(
            QStringLiteral("INSERT INTO BT_KESANSYO (CID, KIN1, KIN64, DATEYMD) VALUES ('02', "
                           "12345000, -5000, '2023/12/31')"));
        SetSnapshot::copySet(QStringLiteral("02"), QStringLiteral("03"));
        session().CurrentCid = QStringLiteral("03");
        ASSERT_TRUE(DataBackUp(path(QStringLiteral("other/"))));
        session().CurrentCid = QStringLiteral("02");
        ASSERT_TRUE(DataBackUp(path(QStringLiteral("base/"))));
        source = state();
        ASSERT_GT(SetSnapshot(QStringLiteral("02")).count(QStringLiteral("BT_SI_MEISAI")), 200);
        messages.shown.clear();
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    // The set and the working chart, which a restore replaces together.
    QStringList state() {
        return SetSnapshot(QStringLiteral("02")).rows() +
               rows(QStringLiteral("SELECT * FROM T_KANJO ORDER BY KOCODE"));
    }
    // Something a restore must put back: a voucher gone and an account renamed.
    void spoil() {
        exec(
            QStringLiteral("DELETE FROM T_SIWAKE WHERE CID = '02' AND DENCODE = (SELECT "
                           "MAX(DENCODE) FROM T_SIWAKE WHERE CID = '02')"));
        exec(
            QStringLiteral("UPDATE T_KANJO SET KANNAME = KANNAME || '*' WHERE KOCODE = (SELECT "
                           "MIN(KOCODE) FROM T_KANJO)"));
    }
    QStringList source;
};

TEST_F(Restore, RoundTripIntoAnotherCopyOfTheDatabase) {
    // Another database: the shipped file with a different book in set 02, copied as set 03.
    Database::global().close();
    const QString second = path(QStringLiteral("second.mdb"));
    ShippedDatabase::create(second);
    Database::global().open(second);
    generateYear(QStringLiteral("02"), QDate(2024, 1, 1), 20, 9, 99);
    SetSnapshot::copySet(QStringLiteral("02"), QStringLiteral("03"));
    const SetSnapshot other(QStringLiteral("03"));
    ASSERT_NE(state(), source);

    EXPECT_EQ(restoreBackupSet(path(QStringLiteral("base/")), kSetText), RestoreOutcome::Restored);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("数据恢复成功！")});
    EXPECT_EQ(state(), source);
    EXPECT_TRUE(other.unchanged());
    EXPECT_GT(
        count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE TEKIYO = ?"), {kDescription}),
        0);
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM WK_COMPANY")),
              rows(QStringLiteral("SELECT * FROM T_COMP_MAIN WHERE CID = '02'")));
    EXPECT_EQ(session().PeriodLabel, QStringLiteral("第 1 期"));
}

// Each folder starts as a copy of the full backup of set 02 and is then broken (or changed in a
// way that must still restore). A refused folder leaves both sets and the chart as they were.
TEST_F(Restore, BrokenFoldersAreRefusedAndNothingElseChanges) {
    using Change = std::function<void(const QDir&)>;
    const auto remove = [](std::initializer_list<int> numbers) {
        return [numbers](const QDir& dir) {
            for (int n : numbers) {
                QFile::remove(
                    dir.filePath(QStringLiteral("T_%1.txt").arg(n, 3, 10, QLatin1Char('0'))));
            }
        };
    };
    const auto removeRange = [](int from, int to) {
        return [from, to](const QDir& dir) {
            for (int n = from; n <= to; ++n) {
                QFile::remove(
                    dir.filePath(QStringLiteral("T_%1.txt").arg(n, 3, 10, QLatin1Char('0'))));
            }
        };
    };
    const auto replace = [](const char* name, QByteArray bytes) {
        return
            [name, bytes](const QDir& dir) { writeAll(dir.filePath(QLatin1String(name)), bytes); };
    };
    const auto edit = [](const char* name, std::function<QByteArray(QByteArray)> change) {
        return [name, change](const QDir& dir) {
            const QString file = dir.filePath(QLatin1String(name));
            writeAll(file, change(bytesOf(file)));
        };
    };
    QByteArray random(4096, Qt::Uninitialized);
    QRandomGenerator generator(13);
    for (char& c : random) {
        c = static_cast<char>(generator.bounded(256));
    }
    const QByteArray longText(10000, 'x');
    const QByteArray longDescription =
        "\"02\",\"9\",\"" + QString(10000, QChar(0x8D26)).toUtf8() + "\"\r\n";

    enum Expect { Refused, OtherSet, Failed, Restored };
    struct Case {
        const char* name;
        Change change;
        Expect expect;
        const char* message;  // a part of the last message
    };
    const Case cases[] = {
        {"10 files", removeRange(11, 23), Refused, "没找到符合条件的数据"},
        {"12 files", removeRange(13, 23), Refused, "没找到符合条件的数据"},
        {"22 files", remove({23}), Refused, "没找到符合条件的数据"},
        {"no files", removeRange(1, 23), Refused, "没找到符合条件的数据"},
        {"another set's files",
         [this, removeRange](const QDir& dir) {
             removeRange(1, 23)(dir);
             copyFolder(path(QStringLiteral("other")), dir.path());
         },
         OtherSet, "要恢复的数据不是现在使用中的零售业的数据，\n\n中止数据恢复处理。"},
        {"empty account-set file", replace("T_002.txt", {}), OtherSet, "中止数据恢复处理。"},
        {"account-set row of 28 fields",
         edit("T_002.txt", [](QByteArray b) { return b.replace("\r\n", ",\"x\"\r\n"); }), Failed,
         "(check_company)"},
        {"account-set file of random bytes", replace("T_002.txt", random), Failed,
         "(check_company)"},
        {"file of random bytes", replace("T_005.txt", random), Failed, "(write_data_to_table)"},
        {"row with a field too few",
         edit("T_003.txt",
              [](QByteArray b) {
                  const qsizetype end = b.indexOf("\r\n");
                  return b.remove(b.lastIndexOf(",\"", end), end - b.lastIndexOf(",\"", end));
              }),
         Failed, "有 8 个字段"},
        {"row wider than its table",
         edit("T_004.txt", [](QByteArray b) { return b.replace("\r\n", ",\"\"\r\n"); }), Failed,
         "多于 31 个"},
        {"unterminated quote at the end of the last file",
         edit("T_023.txt", [](QByteArray b) { return b.left(b.size() - 3); }), Failed, "没有结束"},
        {"truncated last row",
         edit("T_004.txt", [](QByteArray b) { return b.left(b.lastIndexOf("\",\"") + 2); }), Failed,
         "(write_data_to_table)"},
        {"empty raw number",
         edit("T_007.txt", [](QByteArray b) { return b.replace(",\"0\",", ",\"\","); }), Failed,
         "(write_data_to_table)"},
        {"row of another set in a file",
         edit("T_003.txt",
              [](QByteArray b) { return b + b.left(b.indexOf('\r')).replace("\"02\"", "\"03\""); }),
         Failed, "属于账套 03"},
        {"10,000 characters without quotes", replace("T_006.txt", longText), Failed,
         "没有用双引号"},
        {"11 files of which one is missing",
         [removeRange](const QDir& dir) {
             removeRange(11, 23)(dir);
             QFile::copy(dir.filePath(QStringLiteral("T_001.txt")),
                         dir.filePath(QStringLiteral("T_015.txt")));
         },
         Failed, "T_011.txt"},
        {"LF line ends and a BOM",
         [](const QDir& dir) {
             for (const QString& name : dir.entryList(QDir::Files)) {
                 const QString file = dir.filePath(name);
                 writeAll(file, "\xEF\xBB\xBF" + bytesOf(file).replace("\r\n", "\n"));
             }
         },
         Restored, "数据恢复成功！"},
        {"a description of 10,000 characters", replace("T_010.txt", longDescription), Restored,
         "数据恢复成功！"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QDir dir(path(QStringLiteral("case%1").arg(++n)));
        copyFolder(path(QStringLiteral("base")), dir.path());
        c.change(dir);
        spoil();
        const QStringList before = state();
        const SetSnapshot other(QStringLiteral("03"));
        messages.shown.clear();

        const RestoreOutcome outcome = restoreBackupSet(dir.path(), kSetText);

        ASSERT_FALSE(messages.shown.isEmpty());
        EXPECT_TRUE(messages.last().text.contains(QString::fromUtf8(c.message)))
            << messages.last().text.toStdString();
        EXPECT_TRUE(other.unchanged());
        EXPECT_FALSE(Database::global().inTransaction());
        switch (c.expect) {
            case Refused:
            case OtherSet:
                EXPECT_EQ(outcome, c.expect == Refused ? RestoreOutcome::NotABackup
                                                       : RestoreOutcome::OtherSet);
                EXPECT_EQ(messages.shown.size(), 1);
                EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
                EXPECT_EQ(state(), before);
                break;
            case Failed:
                EXPECT_EQ(outcome, RestoreOutcome::Failed);
                EXPECT_EQ(messages.shown.size(), 1);
                EXPECT_EQ(state(), before);
                break;
            case Restored:
                EXPECT_EQ(outcome, RestoreOutcome::Restored);
                EXPECT_EQ(messages.last().icon, MsgIcon::Information);
                EXPECT_NE(state(), before);
                EXPECT_EQ(state() == source, std::string(c.name).starts_with("LF"));
                break;
        }
    }
    EXPECT_EQ(count(QStringLiteral("SELECT LENGTH(TENAME) FROM T_TEKIYO WHERE CID = '02'")), 10000);
}

TEST_F(Restore, YearEndSetRestoresTheLiveTablesOnly) {
    const QDir dir(path(QStringLiteral("yearend")));
    copyFolder(path(QStringLiteral("base")), dir.path());
    for (int n = 12; n <= 23; ++n) {
        QFile::remove(dir.filePath(QStringLiteral("T_%1.txt").arg(n, 3, 10, QLatin1Char('0'))));
    }
    spoil();
    exec(QStringLiteral("DELETE FROM BT_SIWAKE WHERE CID = '02' AND DENCODE > '00030'"));
    const SetSnapshot yearCopy(QStringLiteral("02"));
    EXPECT_EQ(restoreBackupSet(dir.path(), kSetText), RestoreOutcome::Restored);
    QStringList live;
    QStringList copies;
    for (const QString& row : state()) {
        (row.startsWith(u"BT_") ? copies : live).append(row);
    }
    const QRegularExpression yearCopies(QStringLiteral("^BT_"));
    EXPECT_EQ(copies, yearCopy.rows().filter(yearCopies));
    QStringList sourceLive = source;
    sourceLive.removeIf([&](const QString& row) { return row.contains(yearCopies); });
    EXPECT_EQ(live, sourceLive);
}

}  // namespace
