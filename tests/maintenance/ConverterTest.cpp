#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTimer>
#include <functional>

#include "app/AllScreens.h"
#include "common/Money.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "db/Database.h"
#include "maintenance/BackupReader.h"
#include "maintenance/BackupRestore.h"
#include "maintenance/Converter.h"
#include "maintenance/ui/runConverter.h"
#include "print/ui/FileDialog.h"
#include "support/DatabaseFiles.h"
#include "support/GeneratedYears.h"
#include "support/SetSnapshot.h"
#include "support/TestDatabase.h"

namespace {

const QString kSetText = QStringLiteral("零售业");
// Punctuation, Latin letters and digits as descriptions hold them.
const QString kDescription = QStringLiteral("（预付）O'Brien 第3期，“合同”：A-12/B；");

// The fields of every row of a set file.
QList<QStringList> fileRows(const QString& path) {
    BackupFieldReader reader(decodeBackupText(bytesOf(path)));
    QList<QStringList> rows;
    QStringList fields;
    while (reader.nextRow(fields, 66)) {
        rows.append(fields);
    }
    return rows;
}

// Rows of the set that an import writes back as they were: everything but the month closing,
// which an import reopens, and the totals it drops.
QStringList importedRows(const QString& cid) {
    QStringList kept;
    const SetSnapshot snapshot(cid);
    for (const QString& row : snapshot.rows()) {
        if (!row.startsWith(u"T_TUKI")) {
            kept.append(row);
        }
    }
    return kept;
}

// A generated book in set 02 with year copies and a description of many kinds of characters,
// a copy of it as set 03, and the converter's export of set 02.
class Converter : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        generateYear(QStringLiteral("02"), QDate(2024, 1, 1), 30, 5, 7);
        exec(QStringLiteral("UPDATE T_SI_MEISAI SET TEKIYO = ? WHERE CID = '02' AND DENCODE = "
                            "(SELECT MIN(DENCODE) FROM T_SI_MEISAI WHERE CID = '02')"),
             {kDescription});
        SetSnapshot::copyToYearTables(QStringLiteral("02"));
        // A description, a subsidiary account and a month of the small tables, in names that
        // need numbers.
        exec(
            QStringLiteral("INSERT INTO T_TEKIYO (CID, TEKINO, TENAME) VALUES ('02', '901', "
                           "'（收）现金')"));
        exec(
            QStringLiteral("INSERT INTO T_HOJOKAMOKU (CID, KANKOCODE, HOKOCODE, HOCODE, HONAME) "
                           "VALUES ('02', '001', '901', '901', '工商银行')"));
        exec(
            QStringLiteral("INSERT INTO T_DAY_INPUT (CID, INYM, OUTYM) VALUES ('02', '2099/01', "
                           "'2099/01')"));
        SetSnapshot::copySet(QStringLiteral("02"), QStringLiteral("03"));
        session().CurrentCid = QStringLiteral("02");
        LostCharacters lost;
        ASSERT_TRUE(exportConverterSet(path(QStringLiteral("base/")), lost));
        ASSERT_EQ(lost, LostCharacters()) << lostCharactersText(lost).toStdString();
        source = importedRows(QStringLiteral("02"));
        chart = rows(QStringLiteral("SELECT * FROM T_KANJO ORDER BY KOCODE"));
        ASSERT_GT(SetSnapshot(QStringLiteral("02")).count(QStringLiteral("BT_SI_MEISAI")), 100);
        messages.shown.clear();
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    // What an import must replace: a voucher gone, a description and a company name changed.
    void spoil() {
        exec(
            QStringLiteral("DELETE FROM T_SIWAKE WHERE CID = '02' AND DENCODE = (SELECT "
                           "MAX(DENCODE) FROM T_SIWAKE WHERE CID = '02')"));
        exec(QStringLiteral("UPDATE T_SI_MEISAI SET TEKIYO = 'x' WHERE CID = '02'"));
        exec(QStringLiteral("UPDATE T_COMP_MAIN SET COMPANY = 'y' WHERE CID = '02'"));
    }
    QStringList source;
    QStringList chart;
};

TEST_F(Converter, ExportWritesNumbersAndEmptiesTheNames) {
    const CharacterTable table = CharacterTable::load();
    const auto number = [&](QChar c) { return table.chinese().indexOf(c) + 1; };
    const QString company =
        value(QStringLiteral("SELECT COMPANY FROM T_COMP_MAIN WHERE CID = '02'"));
    QString expected;
    for (const QChar c : company) {
        ASSERT_GT(number(c), 0);
        expected += QStringLiteral("%1").arg(number(c), 4, 10, QLatin1Char('0'));
    }
    const QDir base(path(QStringLiteral("base")));
    EXPECT_EQ(fileRows(base.filePath(QStringLiteral("T_002.txt"))).value(0).value(1), expected);
    // The chart goes without its names; the opening balances without theirs.
    for (const QStringList& row : fileRows(base.filePath(QStringLiteral("T_001.txt")))) {
        ASSERT_EQ(row.size(), 24);
        EXPECT_EQ(row.at(2) + row.at(3), QString());
    }
    const QList<QStringList> opening = fileRows(base.filePath(QStringLiteral("T_008.txt")));
    ASSERT_FALSE(opening.isEmpty());
    EXPECT_EQ(opening.first().at(3), QString());
    // Descriptions in voucher order, as numbers only.
    const QList<QStringList> lines = fileRows(base.filePath(QStringLiteral("T_004.txt")));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(CharacterTable::decode(lines.first().at(29), table.chinese()), kDescription);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        ASSERT_LE(lines.at(i - 1).at(2).toLongLong(), lines.at(i).at(2).toLongLong());
    }
    // Export changes nothing.
    EXPECT_EQ(importedRows(QStringLiteral("02")), source);
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM T_KANJO ORDER BY KOCODE")), chart);
}

TEST_F(Converter, ImportOfTheExportGivesTheSetBack) {
    const SetSnapshot other(QStringLiteral("03"));
    spoil();
    exec(QStringLiteral("UPDATE T_KANJO SET KANNAME = KANNAME || '*'"));
    const QStringList names = rows(QStringLiteral("SELECT KOCODE, KANNAME FROM T_KANJO"));
    ASSERT_NE(importedRows(QStringLiteral("02")), source);

    EXPECT_EQ(
        importConverterSet(path(QStringLiteral("base/")), kSetText, ImportedCharacters::Chinese),
        ConverterOutcome::Imported);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("日文版数据导入成功！")});
    EXPECT_EQ(importedRows(QStringLiteral("02")), source);
    EXPECT_TRUE(other.unchanged());
    // This edition's account names stay.
    EXPECT_EQ(rows(QStringLiteral("SELECT KOCODE, KANNAME FROM T_KANJO")), names);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_TUKIKAN WHERE CID = '02'")), 0);
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM WK_COMPANY")),
              rows(QStringLiteral("SELECT * FROM T_COMP_MAIN WHERE CID = '02'")));
    EXPECT_TRUE(session().CurrentYearLoaded);
}

TEST_F(Converter, JapaneseCharactersOnRequest) {
    exec(
        QStringLiteral("INSERT INTO T_TEKIYO (CID, TEKINO, TENAME) VALUES ('02', '999', "
                       "'资产负债（账簿）')"));
    LostCharacters lost;
    ASSERT_TRUE(exportConverterSet(path(QStringLiteral("names/")), lost));
    ASSERT_EQ(
        importConverterSet(path(QStringLiteral("names/")), kSetText, ImportedCharacters::Japanese),
        ConverterOutcome::Imported);
    EXPECT_EQ(value(QStringLiteral("SELECT TENAME FROM T_TEKIYO WHERE CID = '02' AND TEKINO = "
                                   "'999'")),
              QStringLiteral("資産負債（帳簿）"));
}

// KANCNG "1" with a stored rate of 1500: opening balances are multiplied by 15 and divided by
// 100; without the switch they come across as they stand.
TEST_F(Converter, OpeningBalancesFollowTheRate) {
    const QString account =
        value(QStringLiteral("SELECT MIN(KOCODE) FROM T_KISYUZAN WHERE CID = '02'"));
    struct Case {
        const char* kancng;
        const char* rate;
        const char* balance;
        const char* expected;
        const char* storedRate;
    };
    const Case cases[] = {
        {"1", "1500", "100", "15", "15"},
        {"1", "1500", "-0.0333", "-0.005", "15"},
        {"0", "1500", "100", "100", "15"},
        {"1", "0", "100", "100", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kancng) + " " + c.rate + " " + c.balance);
        exec(QStringLiteral("UPDATE T_COMP_MAIN SET KANCNG = ? WHERE CID = '02'"),
             {QString::fromLatin1(c.kancng)});
        exec(QStringLiteral("UPDATE T_KISYUZAN SET RATE = ?, KISYUZAN = 0 WHERE CID = '02'"),
             {QString::fromLatin1(c.rate).toDouble()});
        const QVariant balance = Money::parse(QString::fromLatin1(c.balance))->toDb();
        exec(QStringLiteral("UPDATE T_KISYUZAN SET KISYUZAN = ? WHERE CID = '02' AND KOCODE = ?"),
             {balance, account});
        exec(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = ? WHERE KOCODE = ?"),
             {balance, account});
        const QString out =
            path(QStringLiteral("rate%1%2/").arg(QLatin1String(c.kancng), QLatin1String(c.rate)));
        LostCharacters lost;
        ASSERT_TRUE(exportConverterSet(out, lost));
        ASSERT_EQ(importConverterSet(out, kSetText, ImportedCharacters::Chinese),
                  ConverterOutcome::Imported);
        EXPECT_EQ(rows(QStringLiteral("SELECT KISYUZAN FROM T_KISYUZAN WHERE CID = '02' "
                                      "AND KOCODE = ?"),
                       {account}, 0),
                  QStringList{QString::fromLatin1(c.expected)});
        EXPECT_EQ(value(QStringLiteral("SELECT RATE FROM T_KISYUZAN WHERE CID = '02' AND "
                                       "KOCODE = ?"),
                        {account}),
                  QString::fromLatin1(c.storedRate));
        EXPECT_EQ(
            rows(QStringLiteral("SELECT KISYUZAN FROM T_KANJO WHERE KOCODE = ?"), {account}, 0),
            QStringList{QString::fromLatin1(c.expected)});
    }
}

TEST_F(Converter, LostCharactersAreCountedByField) {
    exec(QStringLiteral("UPDATE T_COMP_MAIN SET COMPANY = '€商店€' WHERE CID = '02'"));
    exec(QStringLiteral("UPDATE T_SI_MEISAI SET TEKIYO = 'a😀b' WHERE CID = '02'"));
    const qint64 lines = count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '02'"));
    LostCharacters lost;
    ASSERT_TRUE(exportConverterSet(path(QStringLiteral("lost/")), lost));
    const LostCharacters expected{{QStringLiteral("T_COMP_MAIN.COMPANY"), 2},
                                  {QStringLiteral("T_SI_MEISAI.TEKIYO"), static_cast<int>(lines)}};
    EXPECT_EQ(lost, expected);
    const QStringList company = fileRows(path(QStringLiteral("lost/T_002.txt"))).value(0);
    EXPECT_TRUE(company.value(1).startsWith(u"0000")) << company.value(1).toStdString();
    EXPECT_EQ(company.value(1).size(), 4 * 4);
    EXPECT_EQ(
        lostCharactersText(lost),
        QStringLiteral("有 %1 个字符不在字符对照表中，已按“0000”导出，日文版中将缺少这些字符："
                       "\nT_COMP_MAIN.COMPANY：2 个\nT_SI_MEISAI.TEKIYO：%2 个")
            .arg(lines + 2)
            .arg(lines));
    ASSERT_EQ(
        importConverterSet(path(QStringLiteral("lost/")), kSetText, ImportedCharacters::Chinese),
        ConverterOutcome::Imported);
    EXPECT_EQ(value(QStringLiteral("SELECT COMPANY FROM T_COMP_MAIN WHERE CID = '02'")),
              QStringLiteral("?商店?"));
}

// Every prepared set: its company name and account names, written where the converter carries
// text, come back character for character, with nothing lost.
TEST_F(Converter, PreparedSetNamesSurviveTheRoundTrip) {
    const QStringList sets = rows(QStringLiteral("SELECT CID FROM T_COMP_MAIN ORDER BY CID"));
    ASSERT_EQ(sets.size(), 13);
    for (const QString& cid : sets) {
        SCOPED_TRACE(cid.toStdString());
        session().CurrentCid = cid;
        const QStringList names =
            rows(QStringLiteral("SELECT KANNAME FROM T_KISYUZAN WHERE CID = ?"), {cid});
        ASSERT_FALSE(names.isEmpty());
        exec(QStringLiteral("DELETE FROM T_TEKIYO WHERE CID = ?"), {cid});
        exec(QStringLiteral("INSERT INTO T_TEKIYO (CID, TEKINO, TENAME) SELECT CID, KOCODE, "
                            "KANNAME FROM T_KISYUZAN WHERE CID = ?"),
             {cid});
        const auto texts = [&] {
            return rows(QStringLiteral("SELECT * FROM T_TEKIYO WHERE CID = ? ORDER BY TEKINO"),
                        {cid}) +
                   rows(QStringLiteral("SELECT * FROM T_COMP_MAIN WHERE CID = ?"), {cid});
        };
        const QStringList before = texts();
        LostCharacters lost;
        const QString out = path(QStringLiteral("set%1/").arg(cid));
        ASSERT_TRUE(exportConverterSet(out, lost));
        EXPECT_EQ(lost, LostCharacters());
        exec(QStringLiteral("UPDATE T_TEKIYO SET TENAME = '' WHERE CID = ?"), {cid});
        exec(QStringLiteral("UPDATE T_COMP_MAIN SET COMPANY = '' WHERE CID = ?"), {cid});
        ASSERT_EQ(importConverterSet(out, kSetText, ImportedCharacters::Chinese),
                  ConverterOutcome::Imported);
        EXPECT_EQ(texts(), before);
    }
}

// Each folder starts as a copy of the export of set 02 and is then broken. A refused folder
// leaves both sets and the chart as they were.
TEST_F(Converter, BrokenFoldersAreRefusedAndNothingChanges) {
    using Change = std::function<void(const QDir&)>;
    const auto edit = [](const char* name, std::function<QByteArray(QByteArray)> change) {
        return [name, change](const QDir& dir) {
            const QString file = dir.filePath(QLatin1String(name));
            writeAll(file, change(bytesOf(file)));
        };
    };
    // Replaces field `at` (from 1) of the first row of a file.
    const auto field = [](const char* name, int at, QString text) {
        return [name, at, text](const QDir& dir) {
            const QString file = dir.filePath(QLatin1String(name));
            QList<QStringList> rows = fileRows(file);
            ASSERT_FALSE(rows.isEmpty()) << name;
            rows[0][at - 1] = text;
            QByteArray out;
            for (const QStringList& row : rows) {
                QStringList quoted;
                for (const QString& f : row) {
                    quoted.append(u'"' + f + u'"');
                }
                out += quoted.join(u',').toUtf8() + "\r\n";
            }
            writeAll(file, out);
        };
    };
    QByteArray random(2048, Qt::Uninitialized);
    QRandomGenerator generator(5);
    for (char& c : random) {
        c = static_cast<char>(generator.bounded(256));
    }
    struct Case {
        const char* name;
        Change change;
        ConverterOutcome expect;
        const char* message;  // a part of the last message
    };
    const Case cases[] = {
        {"22 files",
         [](const QDir& dir) { QFile::remove(dir.filePath(QStringLiteral("T_023.txt"))); },
         ConverterOutcome::NotASet, "没找到符合条件的数据，中止日文版数据导入处理。"},
        {"the 11 files of a year-end",
         [](const QDir& dir) {
             for (int n = 12; n <= 23; ++n) {
                 QFile::remove(
                     dir.filePath(QStringLiteral("T_%1.txt").arg(n, 3, 10, QLatin1Char('0'))));
             }
         },
         ConverterOutcome::NotASet, "没找到符合条件的数据，中止日文版数据导入处理。"},
        {"another set", field("T_002.txt", 1, QStringLiteral("03")), ConverterOutcome::OtherSet,
         "要导入的数据不是现在使用中的零售业的数据，\n\n中止日文版数据导入处理。"},
        {"letters for a number", field("T_004.txt", 30, QStringLiteral("00a1")),
         ConverterOutcome::Failed, "T_004.txt 第 1 行：第 30 个字段：“00a1”不是四位数字"},
        {"digits not in fours", field("T_010.txt", 3, QStringLiteral("00012")),
         ConverterOutcome::Failed, "长度不是 4 的倍数"},
        {"a number past the table", field("T_009.txt", 5, QStringLiteral("9999")),
         ConverterOutcome::Failed, "字符编号 9999 超出了字符对照表"},
        {"a field too few",
         edit("T_003.txt",
              [](QByteArray b) {
                  const qsizetype end = b.indexOf("\r\n");
                  return b.remove(b.lastIndexOf(",\"", end), end - b.lastIndexOf(",\"", end));
              }),
         ConverterOutcome::Failed, "T_003.txt 第 1 行：有 8 个字段，应为 9 个。"},
        {"random bytes",
         [&random](const QDir& dir) {
             writeAll(dir.filePath(QStringLiteral("T_006.txt")), random);
         },
         ConverterOutcome::Failed, "(converter_data)"},
        {"a row of another set", field("T_005.txt", 1, QStringLiteral("03")),
         ConverterOutcome::Failed, "属于账套 03"},
        {"an opening balance that is no number", field("T_008.txt", 5, QStringLiteral("abc")),
         ConverterOutcome::Failed, "期初余额“abc”不是数字"},
        {"a rate that is no number", field("T_008.txt", 11, QStringLiteral("x")),
         ConverterOutcome::Failed, "汇率“x”不是数字"},
        {"an empty raw number", field("T_007.txt", 5, QString()), ConverterOutcome::Failed,
         "(converter_data)"},
    };
    const SetSnapshot other(QStringLiteral("03"));
    const QStringList before = SetSnapshot(QStringLiteral("02")).rows();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString broken = path(QStringLiteral("broken/"));
        QDir(broken).removeRecursively();
        QDir().mkpath(broken);
        for (const QString& name : QDir(path(QStringLiteral("base"))).entryList(QDir::Files)) {
            ASSERT_TRUE(QFile::copy(QDir(path(QStringLiteral("base"))).filePath(name),
                                    QDir(broken).filePath(name)));
        }
        c.change(QDir(broken));
        messages.shown.clear();
        EXPECT_EQ(importConverterSet(broken, kSetText, ImportedCharacters::Chinese), c.expect);
        ASSERT_FALSE(messages.shown.isEmpty());
        EXPECT_TRUE(messages.last().text.contains(QString::fromUtf8(c.message)))
            << messages.last().text.toStdString();
        EXPECT_EQ(SetSnapshot(QStringLiteral("02")).rows(), before);
        EXPECT_EQ(rows(QStringLiteral("SELECT * FROM T_KANJO ORDER BY KOCODE")), chart);
        EXPECT_TRUE(other.unchanged());
        EXPECT_FALSE(Database::global().inTransaction());
    }
}

// The screen's routines with a host that answers the folder choice.
class Host : public BackupMaintenanceHost {
  public:
    void setBusy(bool busy) override { busyCalls.append(busy); }
    void showMessageLabel(const QString& text) override { labels.append(text); }
    QString chooseBackupFolder() override { return folder; }
    void focusBack() override {}
    QString accountSetText() const override { return kSetText; }
    void refreshCaption() override { ++captions; }
    QString folder;
    QList<bool> busyCalls;
    QStringList labels;
    int captions = 0;
};

TEST_F(Converter, ScreenRoutinesShowTheirMessages) {
    Host host;
    ConverterMaintenance screen(host);
    exec(
        QStringLiteral("INSERT INTO T_TEKIYO (CID, TEKINO, TENAME) VALUES ('02', '1', '€'), "
                       "('02', '2', '€€')"));
    struct Case {
        const char* name;
        QString folder;
        std::function<bool()> run;
        bool result;
        QStringList texts;
        MsgIcon icon;  // of the first message
    };
    const auto exportSet = [&] { return screen.cmdBackUp_Click(); };
    const auto importSet = [&] { return screen.cmdConverter_Click(); };
    const auto help = [&] {
        screen.cmdQuestion_Click();
        return true;
    };
    const QString into = path(QStringLiteral("screen"));
    const Case cases[] = {
        {"export cancelled", QString(), exportSet, true, {}, MsgIcon::None},
        {"export",
         into,
         exportSet,
         true,
         {QStringLiteral("数据导出成功！"),
          lostCharactersText({{QStringLiteral("T_TEKIYO.TENAME"), 3}})},
         MsgIcon::Information},
        {"import cancelled", QString(), importSet, false, {}, MsgIcon::None},
        {"import",
         into,
         importSet,
         true,
         {QStringLiteral("日文版数据导入成功！")},
         MsgIcon::Information},
        {"import of no set",
         path(QStringLiteral("nothing")),
         importSet,
         false,
         {QStringLiteral("没找到符合条件的数据，中止日文版数据导入处理。")},
         MsgIcon::Exclamation},
        {"help",
         QString(),
         help,
         true,
         {QStringLiteral("单击“中文版数据导出”，将录入的数据导出供日文版系统导入用。\r\n"
                         "单击“日文版数据导入”，将日文版数据导入本系统。")},
         MsgIcon::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.folder = c.folder;
        messages.shown.clear();
        EXPECT_EQ(c.run(), c.result);
        EXPECT_EQ(messages.texts(), c.texts);
        if (!messages.shown.isEmpty()) {
            EXPECT_EQ(messages.shown.first().icon, c.icon);
        }
        for (const MessageRequest& shown : messages.shown) {
            EXPECT_EQ(shown.title, QStringLiteral("Ombrel"));
        }
    }
    EXPECT_TRUE(host.labels.contains(QStringLiteral("日 文 版 数 据 导 入 中 ！！")));
    EXPECT_EQ(host.captions, 1);
    EXPECT_EQ(host.busyCalls.count(true), host.busyCalls.count(false));
    EXPECT_EQ(ConverterMaintenance::readMeText(),
              QStringLiteral("使用中日文版数据变换功能，可以避免数据重复录入，提高工作效率。"));
}

// The screen: registered for the data menu, buttons through the folder chooser, optNo for the
// Japanese characters.
TEST_F(Converter, ScreenButtonsUseTheFolderChooserAndTheOptions) {
    registerAllScreens();
    EXPECT_TRUE(Screens::has(QStringLiteral("runConverter")));
    session().PeriodLabel = QStringLiteral("2024 年度");
    runConverter screen;
    screen.show();
    EXPECT_EQ(screen.findChild<QLabel*>(QStringLiteral("lblReadMe"))->text(),
              ConverterMaintenance::readMeText());
    EXPECT_TRUE(screen.windowTitle().endsWith(u" — 2024 年度"));
    EXPECT_TRUE(screen.findChild<QRadioButton*>(QStringLiteral("optYes"))->isChecked());
    const auto click = [&](const char* button, const QString& chosen) {
        QTimer::singleShot(0, [chosen] {
            auto* dialog = qobject_cast<FileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            dialog->showFolder(chosen);
            dialog->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
        });
        screen.findChild<QPushButton*>(QLatin1String(button))->click();
    };
    const QString target = folder.filePath(QStringLiteral("screen"));
    ASSERT_TRUE(QDir().mkpath(target));
    click("cmdBackUp", target);
    EXPECT_EQ(QDir(target).entryList(QDir::Files).size(), 23);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("数据导出成功！")});
    screen.findChild<QRadioButton*>(QStringLiteral("optNo"))->click();
    click("cmdConverter", target);
    EXPECT_EQ(messages.last().text, QStringLiteral("日文版数据导入成功！"));
    EXPECT_FALSE(screen.findChild<QLabel*>(QStringLiteral("lblMessage"))->isVisible());
    EXPECT_EQ(value(QStringLiteral("SELECT TENAME FROM T_TEKIYO WHERE CID = '02' AND TEKINO = "
                                   "'901'")),
              QStringLiteral("（収）現金"));
    screen.findChild<QPushButton*>(QStringLiteral("cmdQuestion"))->click();
    EXPECT_EQ(messages.last().text, ConverterMaintenance::questionText());
    screen.close();
}

}  // namespace
