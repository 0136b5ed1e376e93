#include <gtest/gtest.h>
#include <sys/resource.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <csignal>
#include <optional>

#include "db/DataSource.h"
#include "db/Database.h"
#include "db/DatabaseLock.h"
#include "entry/DailyEntryFixture.h"
#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

TEST(DatabaseLock, OneHolderPerFileAndALockLeftByADeadProcessIsTakenOver) {
    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("Kaikei.mdb"));
    EXPECT_EQ(DatabaseLock::lockPathFor(database), database + QStringLiteral(".lock"));

    DatabaseLock first(database);
    DatabaseLock second(database);
    ASSERT_TRUE(first.tryLock());
    EXPECT_TRUE(QFileInfo::exists(database + QStringLiteral(".lock")));
    EXPECT_FALSE(second.tryLock());
    EXPECT_TRUE(second.heldElsewhere());
    const QStringList refusal = second.refusal().split(u'\n');
    ASSERT_EQ(refusal.size(), 4) << second.refusal().toStdString();
    EXPECT_EQ(refusal.at(0), QStringLiteral("Ombrel 已经在使用这个数据库文件，不能再启动一个。"));
    EXPECT_EQ(refusal.at(1), database);
    EXPECT_EQ(refusal.at(2), QStringLiteral("（进程 %1 %2，计算机 %3）")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                                      QSysInfo::machineHostName()));
    EXPECT_EQ(refusal.at(3), QStringLiteral("请先结束那个 Ombrel。"));
    first.unlock();
    EXPECT_TRUE(second.tryLock());
    second.unlock();

    // What a crash (kill -9) leaves behind: the lock of a process that is gone.
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    ASSERT_GT(deadPid, 0);
    ASSERT_TRUE(gone.waitForFinished());
    writeFile(
        database + QStringLiteral(".lock"),
        QStringLiteral("%1\nombrel\n%2\n").arg(deadPid).arg(QSysInfo::machineHostName()).toUtf8());
    EXPECT_TRUE(first.tryLock()) << first.refusal().toStdString();
    EXPECT_TRUE(bytesOf(database + QStringLiteral(".lock"))
                    .startsWith(QByteArray::number(QCoreApplication::applicationPid())));
    first.unlock();

    // A kill between creating the lock and writing into it leaves an empty one.
    writeFile(database + QStringLiteral(".lock"), QByteArray());
    EXPECT_TRUE(first.tryLock()) << first.refusal().toStdString();
}

TEST(DatabaseLock, TheToolRefusesAFileThatIsInUse) {
    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("Kaikei.mdb"));
    ASSERT_EQ(cli({QStringLiteral("--db"), database, QStringLiteral("sets")}).status, 0);
    const QByteArray before = bytesOf(database);
    DatabaseLock program(database);
    ASSERT_TRUE(program.tryLock());
    const CliRun refused = cli({QStringLiteral("--db"), database, QStringLiteral("sets")});
    EXPECT_NE(refused.status, 0);
    EXPECT_TRUE(refused.out.isEmpty());
    // It names the holder: this test runner.
    EXPECT_TRUE(refused.err.contains(QStringLiteral("Ombrel 已经在使用这个数据库文件")))
        << refused.err.toStdString();
    EXPECT_TRUE(
        refused.err.contains(QStringLiteral("（进程 %1 ").arg(QCoreApplication::applicationPid())));
    EXPECT_EQ(bytesOf(database), before);
    program.unlock();
    EXPECT_EQ(cli({QStringLiteral("--db"), database, QStringLiteral("sets")}).status, 0);
}

class DatabaseFile : public DailyEntryFixture {};

// Files that are not ours are refused before anything in them changes.
TEST_F(DatabaseFile, OpeningRefusesForeignEmptyAndDamagedFilesUntouched) {
    const QString ours = DataSource::defaultPath();
    Database::global().close();
    const QString foreign = folder.filePath(QStringLiteral("foreign.db"));
    valueIn(foreign, QStringLiteral("CREATE TABLE notes (text TEXT)"));
    valueIn(foreign, QStringLiteral("INSERT INTO notes VALUES ('keep me')"));
    ASSERT_EQ(valueIn(foreign, QStringLiteral("SELECT text FROM notes")),
              QStringLiteral("keep me"));
    const QString empty = folder.filePath(QStringLiteral("empty.mdb"));
    writeFile(empty, QByteArray());
    const QString garbage = folder.filePath(QStringLiteral("garbage.mdb"));
    writeFile(garbage, QByteArray(8192, 'g'));
    // Our file with one page of the voucher lines overwritten.
    const QString damaged = folder.filePath(QStringLiteral("damaged.mdb"));
    QByteArray bytes = bytesOf(ours);
    const qsizetype pageSize = valueIn(ours, QStringLiteral("PRAGMA page_size")).toLongLong();
    const qint64 page =
        valueIn(ours,
                QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'T_SI_MEISAI'"))
            .toLongLong();
    ASSERT_GT(page, 1);
    bytes.replace((page - 1) * pageSize, pageSize, QByteArray(pageSize, '\x5a'));
    writeFile(damaged, bytes);

    const QString unrecognized =
        QStringLiteral("这个文件不是 Ombrel 的数据库，或者已经损坏，不能使用：");
    const struct {
        QString path;
        QString message;
    } cases[] = {{foreign, unrecognized},
                 {empty, unrecognized},
                 {garbage, unrecognized},
                 {damaged, QStringLiteral("数据库文件已经损坏，不能使用：")}};
    for (const auto& c : cases) {
        const QByteArray before = bytesOf(c.path);
        const QDateTime modified = QFileInfo(c.path).lastModified();
        try {
            Database::global().open(c.path);
            ADD_FAILURE() << "opened " << c.path.toStdString();
        } catch (const DbError& error) {
            EXPECT_EQ(error.number(), DbError::kUnrecognized);
            EXPECT_TRUE(error.description().startsWith(c.message + u'\n' + c.path))
                << error.description().toStdString();
        }
        EXPECT_FALSE(Database::global().isOpen());
        EXPECT_EQ(bytesOf(c.path), before) << c.path.toStdString();
        EXPECT_EQ(QFileInfo(c.path).lastModified(), modified) << c.path.toStdString();
        EXPECT_FALSE(QFileInfo::exists(c.path + QStringLiteral("-wal")));
    }
    EXPECT_EQ(valueIn(foreign, QStringLiteral("PRAGMA journal_mode")), QStringLiteral("delete"));
    Database::global().open(ours);
}

// After a save, with the program still running, the file alone holds the day: a copy of it
// (without the -wal beside it) is a complete backup.
TEST_F(DatabaseFile, ASavedDayIsInTheFileItselfWhileTheProgramRuns) {
    ASSERT_TRUE(GetMinMaxSiwakeDenCode());
    DailyEntry entry(*this);
    ASSERT_TRUE(entry.Form_Load(session().CallerForm));
    ASSERT_TRUE(entry.setSimpleAmount(EntryGrid::Income,
                                      rowOf(entry, EntryGrid::Income, QStringLiteral("180")),
                                      QStringLiteral("123.45")));
    ASSERT_TRUE(entry.cmdTouroku_Click());
    EXPECT_EQ(valueIn(DataSource::defaultPath(), QStringLiteral("PRAGMA journal_mode")),
              QStringLiteral("wal"));

    const QString copy = folder.filePath(QStringLiteral("copy/Kaikei.mdb"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(copy).path()));
    ASSERT_TRUE(QFile::copy(DataSource::defaultPath(), copy));
    EXPECT_EQ(valueIn(copy, QStringLiteral("SELECT SUM(KRKIN) FROM T_SI_MEISAI WHERE CID = '01' "
                                           "AND SIDAY = '2024/05/20' AND KSKOCODE = '180'")),
              QStringLiteral("1234500"));
}

}  // namespace

namespace {

// A file that may not grow (as on a full disk): the commit is safe in the log, but folding it
// into the file fails, and that is reported instead of ignored, by the commit and by the close.
TEST_F(DatabaseFile, AFailedCheckpointIsReported) {
    Database& db = Database::global();
    const QString file = DataSource::defaultPath();
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = static_cast<rlim_t>(QFileInfo(file).size());
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    std::optional<DbError> commitError;
    std::optional<DbError> closeError;
    {
        TransactionGuard transaction(db);
        for (int i = 0; i < 400; ++i) {
            db.execute(QStringLiteral("INSERT INTO T_BACKUP (TEXTNAME) VALUES (?)"),
                       {QStringLiteral("%1").arg(i, 200, 10, QLatin1Char('x'))});
        }
        try {
            transaction.commit();
        } catch (const DbError& error) {
            commitError = error;
        }
    }
    try {
        db.close();
    } catch (const DbError& error) {
        closeError = error;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    ASSERT_TRUE(commitError.has_value());
    EXPECT_FALSE(commitError->description().isEmpty());
    EXPECT_TRUE(closeError.has_value());
    EXPECT_FALSE(db.isOpen());

    // Nothing was lost: the next opening folds the log in.
    db.open(file);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_BACKUP WHERE TEXTNAME LIKE 'x%'")), 400);
    EXPECT_FALSE(QFileInfo(file + QStringLiteral("-wal")).size() > 0);
}

}  // namespace
