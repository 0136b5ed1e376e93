#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/Session.h"
#include "db/DataSource.h"
#include "db/Database.h"
#include "db/DatabaseLock.h"
#include "db/Migrations.h"
#include "db/RowWriters.h"
#include "session/MainMenuLogic.h"
#include "support/DatabaseFiles.h"
#include "support/OlderFiles.h"
#include "support/TestDatabase.h"

namespace {

class FakeHost : public MainMenuHost {
  public:
    void showProgress(int value, const QString& status) override {
        progress.append(QString::number(value) + u' ' + status);
    }
    void hideProgress() override { progress.append(QStringLiteral("hide")); }
    void setBusy(bool busy) override { busyLevel += busy ? 1 : -1; }
    QString pickDatabaseFile() override {
        ++picks;
        return pickedFile;
    }
    bool openScreen(const QString& form) override {
        opened.append(form + u'<' + session().CallerForm);
        return true;
    }
    bool dataBackUp() override {
        ++backups;
        return true;
    }
    bool resetNowYearData(const QString& first, const QString& last) override {
        restored.append(first + u'-' + last);
        return true;
    }
    void showMessageLabel(const QString& text) override { labels.append(text); }

    QStringList progress;
    QStringList opened;
    QStringList restored;
    QStringList labels;
    QString pickedFile;
    int picks = 0;
    int busyLevel = 0;
    int backups = 0;
};

class MainMenuStart : public DatabaseTest {
  protected:
    // Gives set cid a real period so that it is no longer a template.
    void setPeriod(const QString& cid, const QString& kisyu, const QString& kimatu,
                   const QString& gkbn = QStringLiteral("0"), int nendosu = 1) {
        exec(QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = ?, KIMATU = ?, GKBN = ?, NENDOSU = ? "
                            "WHERE CID = ?"),
             {kisyu, kimatu, gkbn, nendosu, cid});
    }
    void addUserSet(const QString& cid, const QString& name, const QString& kisyu) {
        QStringList fields(27);
        fields[0] = cid;
        fields[1] = name;
        fields[13] = kisyu;
        fields[14] = QStringLiteral("2000/12/31");
        fields[18] = QStringLiteral("1");
        fields[25] = QStringLiteral("004");
        ASSERT_TRUE(WriteCompanyTable(fields, QStringLiteral("T_COMP_MAIN")));
    }
    int indexOf(const QString& name) {
        for (int i = 0; i < logic.entries().size(); ++i) {
            if (logic.entries().at(i).text == name) {
                return i;
            }
        }
        return -1;
    }

    FakeHost host;
    MainMenuLogic logic{host};
};

TEST_F(MainMenuStart, FirstRunMakesTheLowestSetCurrent) {
    Database::global().close();
    logic.load();
    EXPECT_EQ(session().RunState, 0);
    EXPECT_EQ(session().CurrentCid, QStringLiteral("01"));
    EXPECT_EQ(session().PeriodLabel, QStringLiteral("2000年度"));
    EXPECT_EQ(logic.entries().size(), 13);
    EXPECT_EQ(logic.lblKaisyaName(), QStringLiteral("家计簿"));
    EXPECT_TRUE(logic.bookButtonsEnabled());
    EXPECT_FALSE(logic.passwordPresent());
    EXPECT_EQ(host.progress, (QStringList{QStringLiteral("10 开始装载数据库数据。"),
                                          QStringLiteral("20 装载基础设置数据。"),
                                          QStringLiteral("50 装载日期输入数据。"),
                                          QStringLiteral("100 "), QStringLiteral("hide")}));
    EXPECT_EQ(value(QStringLiteral("SELECT CID FROM WK_COMPANY")), QStringLiteral("01"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_TUKISIME WHERE CID = '01'")), 13);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(MainMenuStart, RemembersTheLastSetAndItsPeriodCaption) {
    setPeriod(QStringLiteral("05"), QStringLiteral("2024/04/01"), QStringLiteral("2025/03/31"),
              QStringLiteral("1"), 3);
    exec(QStringLiteral("INSERT INTO WK_COMPANY SELECT * FROM T_COMP_MAIN WHERE CID = '05'"));
    exec(QStringLiteral("UPDATE T_TUKISIMECHECK SET DATEYM = 'abcd' WHERE CID = 'P1'"));
    logic.set_start();
    EXPECT_EQ(session().CurrentCid, QStringLiteral("05"));
    EXPECT_EQ(logic.selectedIndex(), 4);
    EXPECT_EQ(session().PeriodLabel, QStringLiteral("第 3 期"));
    EXPECT_TRUE(logic.passwordPresent());
    EXPECT_EQ(value(QStringLiteral("SELECT MIN(INYM) || MAX(INYM) FROM T_DAY_INPUT "
                                   "WHERE CID = '05'")),
              QStringLiteral("2024/042025/03"));

    // A remembered set that has since been deleted falls back to the lowest.
    exec(QStringLiteral("DELETE FROM T_COMP_MAIN WHERE CID = '05'"));
    logic.set_start();
    EXPECT_EQ(session().CurrentCid, QStringLiteral("01"));
    EXPECT_EQ(value(QStringLiteral("SELECT CID FROM WK_COMPANY")), QStringLiteral("01"));
}

TEST_F(MainMenuStart, EmptySetListLeavesOnlyNewSetAndExit) {
    exec(QStringLiteral("DELETE FROM T_COMP_MAIN"));
    logic.set_start();
    EXPECT_TRUE(logic.entries().isEmpty());
    EXPECT_FALSE(logic.bookButtonsEnabled());
    EXPECT_EQ(session().CurrentCid, Session::kNoAccountSetMarker);
    EXPECT_EQ(session().RunState, 0);
    logic.cmdNewKaisyaJoho_Click();
    EXPECT_EQ(host.opened, QStringList{QStringLiteral("InpKaisyaJoho<MainMenu")});
}

TEST_F(MainMenuStart, FailedStartRollsBackAndEndsTheRun) {
    exec(QStringLiteral("DROP TABLE T_DAY_INPUT"));
    exec(QStringLiteral("INSERT INTO WK_COMPANY SELECT * FROM T_COMP_MAIN WHERE CID = '03'"));
    exec(QStringLiteral("UPDATE T_TUKISIMECHECK SET DATEYM = 'abcd' WHERE CID = 'P1'"));
    logic.set_start();
    EXPECT_EQ(session().RunState, 2);
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(messages.shown.at(0).text.endsWith(u"(SetDayInputData)"));
    EXPECT_TRUE(messages.shown.at(1).text.endsWith(u"(set_start)"));
    EXPECT_EQ(value(QStringLiteral("SELECT CID FROM WK_COMPANY")), QStringLiteral("03"));
    EXPECT_FALSE(Database::global().inTransaction());
    // The password is asked all the same, and a set created now whose switch fails opens no
    // books.
    EXPECT_TRUE(logic.loginRequired());
    EXPECT_FALSE(logic.bookButtonsEnabled());
    addUserSet(QStringLiteral("51"), QStringLiteral("新公司"), QStringLiteral("2024/01/01"));
    logic.addEntry(QStringLiteral("新公司"), 51);
    EXPECT_FALSE(logic.bookButtonsEnabled());
    // No backup is offered when the start failed.
    messages.shown.clear();
    logic.Form_Unload();
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_FALSE(Database::global().isOpen());
}

TEST_F(MainMenuStart, AFileInUseOrUnusableIsNamed) {
    Database::global().close();
    DatabaseLock other(DataSource::defaultPath());
    ASSERT_TRUE(other.tryLock());
    logic.load();
    EXPECT_EQ(session().RunState, 1);
    EXPECT_EQ(host.picks, 0);
    EXPECT_FALSE(Database::global().isOpen());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.last().text.startsWith(
        QStringLiteral("Ombrel 已经在使用这个数据库文件，不能再启动一个。")))
        << messages.last().text.toStdString();
    EXPECT_FALSE(logic.loginRequired());
    other.unlock();

    // A file that cannot be used is named, neither replaced nor changed; the user may pick
    // another one, and without one the start ends: a damaged file, a newer program's, and an
    // older one whose upgrade fails (the start never goes on with it half done).
    const QString path = DataSource::defaultPath();
    const QByteArray shipped = bytesOf(path);
    const struct {
        QByteArray bytes;
        QStringList change;
        QString message;
    } cases[] = {
        {QByteArray(4096, 'x'),
         {},
         QStringLiteral("这个文件不是 Ombrel 的数据库，或者已经损坏，不能使用：")},
        {shipped,
         {QStringLiteral("PRAGMA user_version = %1").arg(Migrations::kCurrentVersion + 1)},
         QStringLiteral("此数据库文件由更新版本的 Ombrel 创建（版本 %1），本程序只支持到版本 %2。")
             .arg(Migrations::kCurrentVersion + 1)
             .arg(Migrations::kCurrentVersion)},
        {shipped,
         {QStringLiteral("PRAGMA user_version = 0"),
          QStringLiteral("DELETE FROM MT_REPORT WHERE REPNAME = 'R_TS'"),
          QStringLiteral("CREATE TRIGGER no_layouts BEFORE INSERT ON MT_REPORT "
                         "BEGIN SELECT RAISE(ABORT, 'full'); END")},
         QStringLiteral("不能把数据库文件从版本 1 升级到版本 %1，文件保持原样：")
             .arg(Migrations::kCurrentVersion)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        writeAll(path, c.bytes);
        changeFile(path, c.change);
        const QByteArray before = bytesOf(path);
        messages.shown.clear();
        host.picks = 0;
        session().RunState = 0;
        logic.load();
        EXPECT_EQ(host.picks, 1);
        EXPECT_EQ(session().RunState, 1);
        EXPECT_FALSE(Database::global().isOpen());
        ASSERT_EQ(messages.shown.size(), 2);
        EXPECT_TRUE(messages.shown.first().text.startsWith(c.message + u'\n' + path))
            << messages.shown.first().text.toStdString();
        EXPECT_EQ(messages.shown.last().text, QStringLiteral("数据库连接出现错误，系统无法启动。"));
        EXPECT_EQ(bytesOf(path), before);
    }
}

TEST_F(MainMenuStart, DatabaseIsCreatedOrChosenOrTheStartFails) {
    Database::global().close();
    QFile::remove(DataSource::defaultPath());
    logic.load();  // the first attempt fails, the silent registration creates the file
    EXPECT_TRUE(QFile::exists(DataSource::defaultPath()));
    EXPECT_EQ(session().RunState, 0);
    EXPECT_EQ(host.picks, 0);
    EXPECT_EQ(logic.entries().size(), 13);
    Database::global().close();

    // A folder where nothing can be created: the user is asked for a file.
    const QString chosen = folder.filePath(QStringLiteral("chosen.mdb"));
    ASSERT_TRUE(QFile::rename(DataSource::defaultPath(), chosen));
    session().AppFolder = folder.filePath(QStringLiteral("missing/folder/"));
    host.pickedFile = chosen;
    logic.load();
    EXPECT_EQ(host.picks, 1);
    EXPECT_EQ(session().RunState, 0);
    EXPECT_EQ(Database::global().filePath(), chosen);
    Database::global().close();

    DataSource::setRegisteredPath(QString());
    host.pickedFile.clear();
    logic.load();
    EXPECT_EQ(host.picks, 2);
    EXPECT_EQ(session().RunState, 1);
    EXPECT_FALSE(logic.bookButtonsEnabled());
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("数据库连接出现错误，系统无法启动。")});
    logic.Form_Unload();  // no backup offer, nothing to close
    EXPECT_EQ(messages.shown.size(), 1);
}

class MainMenuSwitch : public MainMenuStart {
  protected:
    void SetUp() override {
        MainMenuStart::SetUp();
        setPeriod(QStringLiteral("02"), QStringLiteral("2024/01/01"), QStringLiteral("2024/12/31"));
        addUserSet(QStringLiteral("51"), QStringLiteral("我的商店"), QStringLiteral("2000/01/01"));
        logic.set_start();
        ASSERT_EQ(session().CurrentCid, QStringLiteral("01"));
    }
};

TEST_F(MainMenuSwitch, FirstLoadCopiesTheTemplateChartLaterLoadsOverlayTheSetsValues) {
    const qint64 accounts = count(QStringLiteral("SELECT COUNT(*) FROM MT_KANJO"));
    logic.cmbKaikeiData_Click(indexOf(QStringLiteral("零售业")));
    EXPECT_EQ(session().CurrentCid, QStringLiteral("02"));
    EXPECT_EQ(logic.lblKaisyaName(), QStringLiteral("零售业"));
    EXPECT_TRUE(host.opened.isEmpty());  // a set with a period opens no screen
    EXPECT_EQ(host.busyLevel, 0);

    // A set of the user's own, loaded for the first time, takes the template chart.
    exec(QStringLiteral("UPDATE T_KANJO SET KANNAME = 'stale', KISYUZAN = 5"));
    logic.cmbKaikeiData_Click(indexOf(QStringLiteral("我的商店")));
    EXPECT_EQ(session().CurrentCid, QStringLiteral("51"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_KANJO WHERE KANNAME = 'stale'")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_KISYUZAN WHERE CID = '51'")), accounts);
    EXPECT_EQ(value(QStringLiteral("SELECT DISTINCT CID FROM MT_KANJO")), QStringLiteral("51"));

    // Its own values, changed since, overlay the chart on the next load.
    exec(
        QStringLiteral("UPDATE T_KISYUZAN SET KANNAME = '零用现金', KISYUZAN = 12345000, "
                       "JUN = 7 WHERE CID = '51' AND KOCODE = '004'"));
    logic.cmbKaikeiData_Click(indexOf(QStringLiteral("零售业")));
    logic.cmbKaikeiData_Click(indexOf(QStringLiteral("我的商店")));
    EXPECT_EQ(
        rows(QStringLiteral("SELECT KANNAME, KISYUZAN, JUN FROM T_KANJO WHERE KOCODE = '004'")),
        QStringList{QStringLiteral("零用现金|12345000|7")});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_KISYUZAN WHERE CID = '51'")), accounts);
    // The structure columns keep coming from the template.
    EXPECT_EQ(value(QStringLiteral("SELECT TOCODE FROM T_KANJO WHERE KOCODE = '004'")),
              QStringLiteral("028"));
}

TEST_F(MainMenuSwitch, TemplateSetsOpenTheAccountSetScreenUserSetsDoNot) {
    logic.cmbKaikeiData_Click(indexOf(QStringLiteral("我的商店")));
    EXPECT_TRUE(host.opened.isEmpty());
    logic.cmdKantanInp_Click();  // its placeholder period is no period
    EXPECT_EQ(messages.shown.size(), 1);
    logic.cmbKaikeiData_Click(indexOf(QStringLiteral("餐饮业")));
    EXPECT_EQ(host.opened, QStringList{QStringLiteral("InpKaisyaJoho<SyokiSetMenu")});
}

TEST_F(MainMenuSwitch, ChoosingTheCurrentSetAgainDoesNothing) {
    exec(QStringLiteral("DELETE FROM T_DAY_INPUT"));
    logic.cmbKaikeiData_Click(0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_DAY_INPUT")), 0);
    EXPECT_TRUE(host.opened.isEmpty());
    EXPECT_EQ(host.busyLevel, 0);
}

TEST_F(MainMenuSwitch, FailedSwitchKeepsThePreviousSet) {
    exec(QStringLiteral("ALTER TABLE MT_KANJO RENAME TO MT_KANJO_AWAY"));
    const QString label = session().PeriodLabel;
    logic.cmbKaikeiData_Click(indexOf(QStringLiteral("我的商店")));
    EXPECT_TRUE(messages.last().text.endsWith(u"(change_kanjo_data)"));
    EXPECT_EQ(session().CurrentCid, QStringLiteral("01"));
    EXPECT_EQ(session().PeriodLabel, label);
    EXPECT_EQ(value(QStringLiteral("SELECT CID FROM WK_COMPANY")), QStringLiteral("01"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_DAY_INPUT WHERE CID = '51'")), 0);
    EXPECT_FALSE(Database::global().inTransaction());
    EXPECT_EQ(host.busyLevel, 0);
}

TEST_F(MainMenuSwitch, PeriodGuardRefusesSetsWithoutAPeriod) {
    logic.cmdInOutsyori_Click();
    logic.cmdKantanInp_Click();
    logic.cmdSave_Click();
    const QString head = QStringLiteral("账套的会计期间没有被正确设定。\r\n");
    EXPECT_EQ(
        messages.texts(),
        (QStringList{
            head + QStringLiteral("请在基础设置菜单的账套选项中重新设定后再选择账簿管理。"),
            head + QStringLiteral("请在基础设置菜单的账套选项中重新设定后再选择日间结算。"),
            head + QStringLiteral("请在基础设置菜单的账套选项中重新设定后再选择数据处理。")}));
    EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(host.opened.isEmpty());

    logic.cmbKaikeiData_Click(indexOf(QStringLiteral("零售业")));
    exec(
        QStringLiteral("INSERT INTO T_SIWAKE (CID, DENCODE, DENDAY) VALUES "
                       "('02', '00001', '2024/01/01'), ('02', '00031', '2024/01/31')"));
    logic.cmdInOutsyori_Click();
    logic.cmdKantanInp_Click();
    logic.cmdSave_Click();
    logic.cmdSyokiSet_Click();
    EXPECT_EQ(host.opened,
              (QStringList{QStringLiteral("InOutMenu<"), QStringLiteral("InpKantanSiwake<MainMenu"),
                           QStringLiteral("SaveUpdateMenu<MainMenu"),
                           QStringLiteral("SyokiSetMenu<MainMenu")}));
    EXPECT_EQ(session().MinDencode, QStringLiteral("00001"));
    EXPECT_EQ(session().MaxDencode, QStringLiteral("00031"));
    EXPECT_EQ(messages.shown.size(), 3);
}

TEST_F(MainMenuSwitch, ExitRestoresTheCurrentYearAndOffersABackup) {
    logic.cmbKaikeiData_Click(indexOf(QStringLiteral("零售业")));
    session().CurrentYearLoaded = false;
    messages.answers = {MsgAnswer::Yes};
    logic.Form_Unload();
    EXPECT_EQ(host.restored, QStringList{QStringLiteral("2024/01-2024/12")});
    EXPECT_EQ(host.labels,
              (QStringList{QStringLiteral("本 年 度 数 据 自 动 恢 复 中 ！！"), QString()}));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("系统自动进行数据备份，要执行吗?")});
    EXPECT_EQ(messages.last().buttons, MsgButtons::YesNo);
    EXPECT_EQ(messages.last().defaultAnswer, MsgAnswer::No);
    EXPECT_EQ(host.backups, 1);
    EXPECT_FALSE(Database::global().isOpen());
}

TEST_F(MainMenuSwitch, ExitWithoutBackupWhenDeclined) {
    logic.Form_Unload();
    EXPECT_TRUE(host.restored.isEmpty());
    EXPECT_EQ(host.backups, 0);
}

TEST_F(MainMenuStart, EveryPreparedSetLoadsItsChart) {
    logic.set_start();
    for (int index = static_cast<int>(logic.entries().size()) - 1; index >= 0; --index) {
        logic.cmbKaikeiData_Click(index);
        const QString cid = session().CurrentCid;
        ASSERT_EQ(cid.toInt(), logic.entries().at(index).itemData);
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_KANJO K JOIN T_KISYUZAN S ON "
                                       "S.KOCODE = K.KOCODE AND S.CID = ? WHERE "
                                       "K.KANNAME = S.KANNAME AND K.JUN = S.JUN"),
                        {cid}),
                  count(QStringLiteral("SELECT COUNT(*) FROM MT_KANJO")))
            << cid.toStdString();
    }
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
    // Each prepared set, chosen for the first time, asks for its company and period.
    EXPECT_EQ(host.opened.size(), 13);
}

TEST_F(MainMenuSwitch, SetsCreatedOrDeletedElsewhereJoinOrLeaveTheList) {
    addUserSet(QStringLiteral("53"), QStringLiteral("新公司"), QStringLiteral("2024/01/01"));
    logic.addEntry(QStringLiteral("新公司"), 53);
    EXPECT_EQ(logic.entries().at(logic.selectedIndex()).itemData, 53);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_KISYUZAN WHERE CID = '53'")),
              count(QStringLiteral("SELECT COUNT(*) FROM MT_KANJO")));
    exec(QStringLiteral("DELETE FROM T_COMP_MAIN WHERE CID = '53'"));
    logic.removeEntry(53);
    EXPECT_EQ(session().CurrentCid, QStringLiteral("01"));
    EXPECT_EQ(logic.selectedIndex(), 0);
    EXPECT_EQ(logic.entries().size(), 14);
}

}  // namespace
