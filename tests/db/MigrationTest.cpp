#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

#include "db/DataSource.h"
#include "db/Database.h"
#include "db/Migrations.h"
#include "db/ShippedDatabase.h"
#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"
#include "support/OlderFiles.h"

namespace {

// Tables the upgrade fills with shipped rows; every other table is the user's.
const QStringList kShippedTables = {QStringLiteral("MT_FORMLINE"), QStringLiteral("MT_REPORT"),
                                    QStringLiteral("T_MOJICHG")};

// Layouts the upgrade writes over the file's own: their work tables gained columns.
const QStringList kReplacedLayouts = {QStringLiteral("R_KANJYOMOTOTYO"),
                                      QStringLiteral("R_HOJOMOTOTYO")};

// Every table's columns with their types and defaults, in table order.
QString columnsIn(const QString& file) {
    return valueIn(file, QStringLiteral("SELECT group_concat(c, ';') FROM (SELECT m.name || '.' "
                                        "|| p.name || ' ' || p.type || ' ' || "
                                        "COALESCE(p.dflt_value, '') AS c FROM sqlite_master m "
                                        "JOIN pragma_table_info(m.name) p WHERE m.type = 'table' "
                                        "ORDER BY m.name, p.cid)"));
}

// What an older file lacked, as statements on the version 1 file.
const QStringList kOlderFile = {
    QStringLiteral("DROP TABLE MT_FORMLINE"),
    QStringLiteral("DELETE FROM MT_REPORT WHERE REPNAME IN ('R_XQY01', 'R_XQY02', 'R_LIRUN')"),
    QStringLiteral("DELETE FROM T_MOJICHG WHERE CHINESE IN ('（', '）', 'A', '赊')")};

class Upgrade : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath(QStringLiteral("Kaikei.mdb"));
        DataSource::setRegisteredPath(file);
    }
    void TearDown() override {
        DataSource::close();
        DataSource::setRegisteredPath(QString());
    }
    // DataSource::open then close; the failure's number and text, or 0 and "".
    std::pair<int, QString> openAndClose() {
        try {
            DataSource::open();
        } catch (const DbError& error) {
            EXPECT_FALSE(Database::global().isOpen());
            EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral(".lock")));
            return {error.number(), error.description()};
        }
        DataSource::close();
        return {0, QString()};
    }
    QStringList filesInDir() const { return QDir(dir.path()).entryList(QDir::Files); }
    QString shipped() {
        const QString path = dir.filePath(QStringLiteral("shipped/Kaikei.mdb"));
        if (!QFileInfo::exists(path)) {
            EXPECT_TRUE(QDir().mkpath(QFileInfo(path).path()));
            ShippedDatabase::create(path);
        }
        return path;
    }

    QTemporaryDir dir;
    QString file;
};

// A file of an older version is copied, then brought up to date in place; the user's rows stay
// as they were, the shipped tables are complete, and the next opening finds nothing to do.
TEST_F(Upgrade, OlderFilesAreCopiedThenCompletedOnce) {
    const struct {
        const char* name;
        std::function<void(const QString&)> make;
        QStringList backups;
    } cases[] = {
        {"the shipped file is current",
         [this](const QString& f) { QFile::copy(shipped(), f); },
         {}},
        {"a file of today's schema", unpackVersion1File, {QStringLiteral("Kaikei.mdb.v1.bak")}},
        {"an older file lacking shipped rows",
         [](const QString& f) {
             unpackVersion1File(f);
             changeFile(f, kOlderFile);
         },
         {QStringLiteral("Kaikei.mdb.v1.bak")}},
        // The fixture holds every layout and table of version 2: only its number was missing.
        {"a file of version 2",
         [](const QString& f) {
             unpackVersion1File(f);
             changeFile(f, {QStringLiteral("PRAGMA user_version = 2")});
         },
         {QStringLiteral("Kaikei.mdb.v2.bak")}},
    };
    const auto shippedTables = tablesOf(shipped());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(file);
        for (const QString& name : filesInDir()) {
            QFile::remove(dir.filePath(name));
        }
        c.make(file);
        const QByteArray original = bytesOf(file);
        const auto before = tablesOf(file);
        if (!c.backups.isEmpty()) {
            // Two sets with their own vouchers: neither may be touched.
            ASSERT_GE(before.value(QStringLiteral("T_SIWAKE")).filter(QStringLiteral("02|")).size(),
                      1);
            ASSERT_GE(before.value(QStringLiteral("T_SIWAKE")).filter(QStringLiteral("01|")).size(),
                      1);
        }

        EXPECT_EQ(openAndClose(), std::make_pair(0, QString()));
        EXPECT_EQ(valueIn(file, QStringLiteral("PRAGMA user_version")),
                  QString::number(Migrations::kCurrentVersion));
        EXPECT_EQ(valueIn(file, QStringLiteral("PRAGMA application_id")),
                  QString::number(Migrations::kApplicationId));
        // The same indexes as a new file: a step forgotten for an index shows here.
        const QString indexes = QStringLiteral(
            "SELECT group_concat(tbl_name || '.' || name, ' ') FROM (SELECT tbl_name, name FROM "
            "sqlite_master WHERE type = 'index' ORDER BY name)");
        EXPECT_EQ(valueIn(file, indexes), valueIn(shipped(), indexes));
        EXPECT_EQ(filesInDir(), QStringList{QStringLiteral("Kaikei.mdb")} + c.backups);
        for (const QString& backup : c.backups) {
            EXPECT_EQ(bytesOf(dir.filePath(backup)), original);
        }
        const auto after = tablesOf(file);
        EXPECT_EQ(after.keys(), shippedTables.keys());
        EXPECT_EQ(columnsIn(file), columnsIn(shipped()));
        for (auto table = before.begin(); table != before.end(); ++table) {
            if (kShippedTables.contains(table.key())) {
                // What the file held stays, first and in its order (character numbers), but for
                // the layouts replaced in their place.
                QStringList held = after.value(table.key()).mid(0, table->size());
                QStringList kept = *table;
                for (QStringList* rows : {&held, &kept}) {
                    rows->removeIf([](const QString& row) {
                        return kReplacedLayouts.contains(row.section(u'|', 0, 0));
                    });
                }
                EXPECT_EQ(held, kept) << table.key().toStdString();
                EXPECT_EQ(held.size() + (table.key() == u"MT_REPORT" ? 2 : 0), table->size());
            } else {
                EXPECT_EQ(after.value(table.key()), *table) << table.key().toStdString();
            }
        }
        for (const QString& table : kShippedTables) {
            QStringList rows = after.value(table);
            QStringList expected = shippedTables.value(table);
            rows.sort();
            expected.sort();
            EXPECT_EQ(rows, expected) << table.toStdString();
        }

        // Compacting keeps the version: the next opening copies nothing and changes nothing.
        EXPECT_EQ(cli({QStringLiteral("--db"), file, QStringLiteral("compact")}).status, 0);
        const auto compacted = tablesOf(file);
        EXPECT_EQ(openAndClose(), std::make_pair(0, QString()));
        EXPECT_EQ(filesInDir(), QStringList{QStringLiteral("Kaikei.mdb")} + c.backups);
        EXPECT_EQ(tablesOf(file), compacted);
    }
}

// Files that cannot be used are left as they were, by the program's opening and by the tool: a
// newer program's file, and older files whose upgrade fails half way (here a trigger refuses the
// report layouts, after the form-line table was made or the ledgers' columns were added).
TEST_F(Upgrade, NewerFilesAndFailedUpgradesLeaveTheFileAsItWas) {
    const QString mark = QString::number(Migrations::kApplicationId);
    const int current = Migrations::kCurrentVersion;
    const QString newer =
        QStringLiteral("此数据库文件由更新版本的 Ombrel 创建（版本 %1），本程序只支持到版本 %2。");
    const QString failed =
        QStringLiteral("不能把数据库文件从版本 %1 升级到版本 %2，文件保持原样：");
    const QString refuseLayouts = QStringLiteral(
        "CREATE TRIGGER no_layouts BEFORE %1 ON MT_REPORT BEGIN SELECT RAISE(ABORT, 'no room for "
        "layouts'); END");
    const struct {
        const char* name;
        QStringList change;
        int number;
        QStringList message;
    } cases[] = {
        {"a file of a newer program",
         {QStringLiteral("PRAGMA user_version = %1").arg(current + 1),
          QStringLiteral("PRAGMA application_id = ") + mark},
         DbError::kNewerVersion,
         {newer.arg(current + 1).arg(current), file, QStringLiteral("请使用新版本打开。")}},
        {"our tables with a newer version but no mark",
         {QStringLiteral("PRAGMA user_version = 7")},
         DbError::kNewerVersion,
         {newer.arg(7).arg(current), file, QStringLiteral("请使用新版本打开。")}},
        {"another program's file with a version",
         {QStringLiteral("DROP TABLE T_SI_MEISAI"), QStringLiteral("PRAGMA user_version = 9")},
         DbError::kUnrecognized,
         {QStringLiteral("这个文件不是 Ombrel 的数据库，或者已经损坏，不能使用："), file}},
        {"a failing upgrade",
         kOlderFile + QStringList{refuseLayouts.arg(QStringLiteral("INSERT"))},
         DbError::kUpgradeFailed,
         {failed.arg(1).arg(current), file, QStringLiteral("升级前的副本："),
          file + QStringLiteral(".v1.bak"), QStringLiteral("1811 no room for layouts")}},
        {"a failing upgrade of version 2",
         {QStringLiteral("PRAGMA user_version = 2"), refuseLayouts.arg(QStringLiteral("UPDATE"))},
         DbError::kUpgradeFailed,
         {failed.arg(2).arg(current), file, QStringLiteral("升级前的副本："),
          file + QStringLiteral(".v2.bak"), QStringLiteral("1811 no room for layouts")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& name : filesInDir()) {
            QFile::remove(dir.filePath(name));
        }
        unpackVersion1File(file);
        changeFile(file, c.change);
        const QByteArray original = bytesOf(file);
        const auto before = tablesOf(file);
        const bool upgrading = c.number == DbError::kUpgradeFailed;
        const QString backup = upgrading ? c.message.at(3) : QString();

        const auto [number, text] = openAndClose();
        EXPECT_EQ(number, c.number);
        EXPECT_EQ(text.split(u'\n'), c.message);
        EXPECT_EQ(bytesOf(file), original);
        EXPECT_EQ(tablesOf(file), before);
        const QStringList left =
            upgrading ? QStringList{QStringLiteral("Kaikei.mdb"), QFileInfo(backup).fileName()}
                      : QStringList{QStringLiteral("Kaikei.mdb")};
        EXPECT_EQ(filesInDir(), left);
        if (upgrading) {
            EXPECT_EQ(bytesOf(backup), original);
        }

        // The tool refuses it the same way, and a copy identical to the file is not made twice.
        const CliRun refused = cli({QStringLiteral("--db"), file, QStringLiteral("sets")});
        EXPECT_EQ(refused.status, 1);
        EXPECT_TRUE(refused.out.isEmpty());
        EXPECT_TRUE(refused.err.contains(c.message.first())) << refused.err.toStdString();
        EXPECT_EQ(bytesOf(file), original);
        EXPECT_EQ(filesInDir(), left);
    }
}

}  // namespace
