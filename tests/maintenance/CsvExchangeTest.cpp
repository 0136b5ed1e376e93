#include <gtest/gtest.h>
#include <iconv.h>
#include <QDir>
#include <QFile>
#include <functional>

#include "common/Session.h"
#include "db/DataSource.h"
#include "db/Database.h"
#include "entry/DailyEntry.h"
#include "generator/BookGenerator.h"
#include "maintenance/BackupReader.h"
#include "maintenance/BackupSet.h"
#include "maintenance/CsvExchange.h"
#include "support/DatabaseFiles.h"
#include "support/SetSnapshot.h"
#include "support/TestDatabase.h"
#include "totals/TotalsPass.h"

namespace {

const QString kSet = QStringLiteral("02");
const QString kOther = QStringLiteral("03");
const QString kJanuary = QStringLiteral("2024年1月");
const QString kDescription = QStringLiteral("Lee, \"Best\" O'Brien 收款");

// As a Chinese Windows saves text.
QByteArray toGb18030(const QString& text) {
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 2 + 8, Qt::Uninitialized);
    iconv_t cd = iconv_open("GB18030", "UTF-8");
    char* from = in.data();
    char* to = out.data();
    size_t fromLeft = static_cast<size_t>(in.size());
    size_t toLeft = static_cast<size_t>(out.size());
    EXPECT_NE(iconv(cd, &from, &fromLeft, &to, &toLeft), static_cast<size_t>(-1));
    iconv_close(cd);
    out.truncate(out.size() - static_cast<qsizetype>(toLeft));
    return out;
}

// The rows only one side holds, for a readable failure.
std::string difference(const QStringList& actual, const QStringList& expected) {
    QStringList lines;
    for (const QString& row : actual) {
        if (!expected.contains(row)) {
            lines.append(QStringLiteral("new: ") + row);
        }
    }
    for (const QString& row : expected) {
        if (!actual.contains(row)) {
            lines.append(QStringLiteral("gone: ") + row);
        }
    }
    return lines.mid(0, 12).join(u'\n').toStdString();
}

using Rows = QList<QStringList>;

Rows parse(const QByteArray& bytes) {
    BackupFieldReader reader(decodeBackupText(bytes));
    Rows rows;
    QStringList fields;
    while (reader.nextRow(fields, 66)) {
        rows.append(fields);
    }
    return rows;
}

QByteArray quoted(const Rows& rows) {
    QString text;
    for (const QStringList& row : rows) {
        QStringList fields;
        for (const QString& field : row) {
            fields.append(backupField(field));
        }
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

class CsvExchange : public DatabaseTest {
  protected:
    void generate(int days, int linesPerDay) {
        QString error;
        ASSERT_TRUE(generateBook({kSet, QDate(2024, 1, 1), days, linesPerDay, 11}, &error))
            << error.toStdString();
        // A description that needs quoting and a line without a date, which no export takes.
        exec(QStringLiteral("UPDATE T_SI_MEISAI SET TEKIYO = ? WHERE CID = '02' AND DENCODE = "
                            "'00002' AND DENMENO = '001'"),
             {kDescription});
        exec(
            QStringLiteral("INSERT INTO T_SI_MEISAI (DENCODE, DENMENO, CID, SIDAY, DATEYM, "
                           "KRKOCODE, KSKOCODE, KRBUKBN) VALUES ('00001', '900', '02', '', '', "
                           "'004', '001', '00')"));
        SetSnapshot::copySet(kSet, kOther);
        session().CurrentCid = kSet;
        messages.shown.clear();
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    bool exportMonth(const QString& month, const QString& to) {
        CsvExport csv;
        EXPECT_TRUE(csv.FormInit());
        csv.selected = csvMonthIndex(csv.months, month);
        return csv.exportTo(to);
    }
    bool importMonth(const QString& month, const QString& from) {
        CsvImport csv;
        EXPECT_TRUE(csv.FormInit());
        csv.selected = month.isEmpty() ? -1 : csvMonthIndex(csv.months, month);
        return csv.importFrom(from);
    }
    // What the import must give back: lines, day balances, grid amounts and monthly totals.
    QStringList books() {
        EXPECT_TRUE(msum_tukisime(QStringLiteral("2024/01"), QStringLiteral("2024/12"),
                                  session().CallerForm));
        return rows(QStringLiteral("SELECT * FROM T_SI_MEISAI WHERE CID = '02' ORDER BY DENCODE, "
                                   "DENMENO")) +
               rows(QStringLiteral("SELECT DENCODE, DENDAY, YDAYZAN, DAYZAN FROM T_SIWAKE WHERE "
                                   "CID = '02' ORDER BY DENDAY"),
                    {}, 2) +
               rows(QStringLiteral("SELECT * FROM T_DAY_TORAN WHERE CID = '02' ORDER BY KOCODE, "
                                   "DATEYM")) +
               rows(QStringLiteral("SELECT * FROM T_TUKIKAN WHERE CID = '02' ORDER BY KANKOCODE, "
                                   "DATEYM"));
    }
};

// Every month of a year exported and imported into the emptied set gives the books back; the
// copy under another set code is never touched.
TEST_F(CsvExchange, RoundTripOfEveryMonthRestoresTheBooks) {
    generate(366, 3);
    CsvExport months;
    ASSERT_TRUE(months.FormInit());
    ASSERT_EQ(months.months.size(), 12);
    const SetSnapshot other(kOther);
    // The files hold the lines as they were before the export marked them: the copy that reads
    // them has not exported them yet.
    const QStringList original = books();
    for (const LedgerMonth& month : months.months) {
        ASSERT_TRUE(exportMonth(month.month, path(QStringLiteral("out"))))
            << month.month.toStdString();
    }
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '02' AND "
                                   "KRBUKBN <> '01'")),
              1);  // only the line without a date

    exec(QStringLiteral("DELETE FROM T_SI_MEISAI WHERE CID = '02' AND SIDAY <> ''"));
    exec(QStringLiteral("UPDATE T_SIWAKE SET YDAYZAN = 0, DAYZAN = 0 WHERE CID = '02'"));
    QString zero;
    for (int d = 1; d <= 31; ++d) {
        zero += QStringLiteral("%1KIN%2 = 0").arg(d > 1 ? QStringLiteral(", ") : QString()).arg(d);
    }
    exec(QStringLiteral("UPDATE T_DAY_TORAN SET %1 WHERE CID = '02'").arg(zero));
    exec(QStringLiteral("DELETE FROM T_TUKIKAN WHERE CID = '02'"));
    ASSERT_NE(books(), original);

    for (const LedgerMonth& month : months.months) {
        ASSERT_TRUE(importMonth(month.month, path(QStringLiteral("out"))))
            << messages.texts().join(u'\n').toStdString();
    }
    const QStringList restored = books();
    EXPECT_TRUE(restored == original) << difference(restored, original);
    EXPECT_TRUE(other.unchanged());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE A JOIN T_SIWAKE B ON B.CID = "
                                   "A.CID AND B.DENDAY = date(replace(A.DENDAY, '/', '-'), "
                                   "'+1 day') WHERE A.CID = '02' AND B.YDAYZAN <> A.DAYZAN")),
              0);
}

// Export: the two files with a byte-order mark, CR LF lines, the lines marked once; the same
// month again finds nothing; the other set's identical lines stay unmarked.
TEST_F(CsvExchange, ExportWritesTheMonthOnceAndMarksIt) {
    generate(40, 4);
    const SetSnapshot other(kOther);
    ASSERT_TRUE(exportMonth(QStringLiteral("2024/01"), path(QStringLiteral("out"))));
    const QByteArray data = bytesOf(path(QStringLiteral("out/Data02_2024年1月.CSV")));
    const QByteArray company = bytesOf(path(QStringLiteral("out/Kaisha02_2024年1月.CSV")));
    EXPECT_TRUE(data.startsWith("\xEF\xBB\xBF\"000"));
    EXPECT_TRUE(data.endsWith("\"\r\n"));
    const Rows lines = parse(data);
    EXPECT_EQ(lines.size(), count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = "
                                                 "'02' AND DATEYM = '2024/01'")));
    EXPECT_EQ(lines.at(0).size(), 31);
    ASSERT_EQ(parse(company).size(), 1);
    EXPECT_EQ(parse(company).at(0).size(), 27);
    EXPECT_TRUE(data.contains("\"Lee, \"\"Best\"\" O'Brien"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '02' AND "
                                   "KRBUKBN = '01'")),
              lines.size());
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("数据备份成功！")});

    messages.shown.clear();
    EXPECT_FALSE(exportMonth(QStringLiteral("2024/01"), path(QStringLiteral("again"))));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("备份的数据不存在。")});
    EXPECT_FALSE(QDir(path(QStringLiteral("again"))).exists());

    // All months: the rest, under "00"; never the line without a date.
    CsvExport all;
    ASSERT_TRUE(all.FormInit());
    ASSERT_TRUE(all.exportTo(path(QStringLiteral("all"))));
    EXPECT_EQ(parse(bytesOf(path(QStringLiteral("all/Data02_00.CSV")))).size(),
              count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '02' AND "
                                   "DATEYM = '2024/02'")));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("all/Kaisha02_00.CSV"))));
    EXPECT_TRUE(other.unchanged());
}

struct Host : CsvExchangeHost {
    QString folder;
    QStringList files;
    int busy = 0;
    void setBusy(bool on) override { busy += on ? 1 : 0; }
    QString chooseFolder(QStringList& listed) override {
        listed = files;
        return folder;
    }
    void focusBack() override {}
    QString accountSetText() const override { return QStringLiteral("零售业"); }
};

// The screens' clicks: the question and the folder choice stop them, every message of both.
TEST_F(CsvExchange, ClicksAskAndStopAsTheScreensDo) {
    generate(40, 4);
    Host host;
    struct Case {
        const char* name;
        bool exportScreen;
        int month;
        MsgAnswer answer;
        QString folder;
        QStringList files;
        QStringList texts;
        bool done;
    };
    const QString out = path(QStringLiteral("out"));
    const QString ask = QStringLiteral("零售业  2024年1月的备份开始。可以吗？");
    const QStringList both = {QStringLiteral("Data02_2024年1月.CSV"),
                              QStringLiteral("Kaisha02_2024年1月.CSV")};
    const QString where = QStringLiteral("请指定恢复数据的路径。");
    const QString none = QStringLiteral("没有找到符合条件的数据，中止恢复处理。");
    const QList<Case> cases = {
        {"every month answered No",
         true,
         -1,
         MsgAnswer::No,
         out,
         {},
         {QStringLiteral("零售业的备份开始。可以吗？")},
         false},
        {"export answered No", true, 0, MsgAnswer::No, out, {}, {ask}, false},
        {"export folder cancelled", true, 0, MsgAnswer::Yes, QString(), {}, {ask}, false},
        {"export", true, 0, MsgAnswer::Yes, out, {}, {ask, QStringLiteral("数据备份成功！")}, true},
        {"export again",
         true,
         0,
         MsgAnswer::Yes,
         out,
         {},
         {QStringLiteral("备份的数据不存在。")},
         false},
        {"import folder cancelled", false, 0, MsgAnswer::Ok, QString(), {}, {where}, false},
        {"import with one file", false, 0, MsgAnswer::Ok, out, {both.at(0)}, {where, none}, false},
        {"import",
         false,
         0,
         MsgAnswer::Ok,
         out,
         both,
         {where, QStringLiteral("数据恢复成功！")},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        messages.answers = {c.answer};
        host.folder = c.folder;
        host.files = c.files;
        const int before =
            static_cast<int>(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = "
                                                  "'02' AND KRBUKBN = '01'")));
        bool done = false;
        if (c.exportScreen) {
            CsvExport screen(&host);
            ASSERT_TRUE(screen.FormInit());
            screen.selected = c.month;
            done = screen.cmdStart_Click();
        } else {
            CsvImport screen(&host);
            ASSERT_TRUE(screen.FormInit());
            screen.selected = c.month;
            done = screen.cmdStr_Click();
        }
        EXPECT_EQ(done, c.done);
        EXPECT_EQ(messages.texts(), c.texts);
        if (c.exportScreen && !c.done) {
            EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '02' "
                                           "AND KRBUKBN = '01'")),
                      before);
        }
    }
    EXPECT_EQ(messages.shown.at(0).icon, MsgIcon::Exclamation);
}

// A copy that has not reached the files' days yet gets a voucher for each day up to them, and
// the day balances run on over the new days.
TEST_F(CsvExchange, ImportMakesTheDaysTheTargetHasNotReached) {
    generate(40, 4);
    const QStringList vouchers = rows(QStringLiteral("SELECT DENCODE, DENDAY, YDAYZAN, DAYZAN FROM "
                                                     "T_SIWAKE WHERE CID = '02' ORDER BY DENDAY"),
                                      {}, 2);
    ASSERT_TRUE(exportMonth(QStringLiteral("2024/01"), path(QStringLiteral("out"))));
    exec(QStringLiteral("DELETE FROM T_SIWAKE WHERE CID = '02' AND DENDAY > '2024/01/20'"));
    exec(QStringLiteral("DELETE FROM T_SI_MEISAI WHERE CID = '02' AND SIDAY > '2024/01/20'"));
    const SetSnapshot other(kOther);
    ASSERT_TRUE(importMonth(QStringLiteral("2024/01"), path(QStringLiteral("out"))));
    EXPECT_EQ(rows(QStringLiteral("SELECT DENCODE, DENDAY, YDAYZAN, DAYZAN FROM T_SIWAKE WHERE "
                                  "CID = '02' ORDER BY DENDAY"),
                   {}, 2),
              vouchers.mid(0, 31));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '02' AND SIDAY = "
                                   "'2024/01/31' AND DENCODE = '00031'")),
              4);
    EXPECT_TRUE(other.unchanged());
}

// A failing statement in each routine is reported under the routine's name and changes neither
// set. The tables are broken and repaired around each case; the connection is reopened so that
// it reads the broken table afresh.
TEST_F(CsvExchange, EachRoutinesFailureIsReportedByNameAndChangesNothing) {
    generate(40, 4);
    ASSERT_TRUE(exportMonth(QStringLiteral("2024/01"), path(QStringLiteral("jan"))));
    // Days the import has to make again, for SetNewRec.
    exec(QStringLiteral("DELETE FROM T_SIWAKE WHERE CID = '02' AND DENDAY BETWEEN '2024/01/21' "
                        "AND '2024/01/31'"));
    exec(QStringLiteral("DELETE FROM T_SI_MEISAI WHERE CID = '02' AND SIDAY BETWEEN '2024/01/21' "
                        "AND '2024/01/31'"));
    const auto reopen = [] {
        Database::global().close();
        Database::global().open(DataSource::defaultPath());
    };
    struct Case {
        const char* routine;
        QString breakIt;
        QString repair;
        std::function<bool()> run;
        QString textEnd;
    };
    const QList<Case> cases = {
        {"export FormInit", QStringLiteral("ALTER TABLE T_DAY_INPUT RENAME TO X_DAY_INPUT"),
         QStringLiteral("ALTER TABLE X_DAY_INPUT RENAME TO T_DAY_INPUT"),
         [] { return CsvExport().FormInit(); }, QStringLiteral("(FormInit)")},
        {"import FormInit", QStringLiteral("ALTER TABLE T_DAY_INPUT RENAME TO X_DAY_INPUT"),
         QStringLiteral("ALTER TABLE X_DAY_INPUT RENAME TO T_DAY_INPUT"),
         [] { return CsvImport().FormInit(); }, QStringLiteral("(FormInit)")},
        {"write_data_to_csv", QStringLiteral("ALTER TABLE T_SI_MEISAI DROP COLUMN ptcode"),
         QStringLiteral("ALTER TABLE T_SI_MEISAI ADD COLUMN ptcode TEXT NOT NULL DEFAULT ''"),
         [this] { return exportMonth(QStringLiteral("2024/02"), path(QStringLiteral("feb"))); },
         QStringLiteral("(write_data_to_csv)。")},
        {"SetNewRec",
         QStringLiteral("CREATE TRIGGER no_voucher BEFORE INSERT ON T_SIWAKE BEGIN SELECT "
                        "RAISE(ABORT, 'no voucher'); END"),
         QStringLiteral("DROP TRIGGER no_voucher"),
         [this] { return importMonth(QStringLiteral("2024/01"), path(QStringLiteral("jan"))); },
         QStringLiteral("(SetNewRec)")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.routine);
        const SetSnapshot set(kSet);
        const SetSnapshot other(kOther);
        exec(c.breakIt);
        reopen();
        messages.shown.clear();
        EXPECT_FALSE(c.run());
        ASSERT_FALSE(messages.shown.isEmpty());
        EXPECT_EQ(messages.shown.first().icon, MsgIcon::Critical);
        EXPECT_TRUE(messages.shown.first().text.endsWith(c.textEnd))
            << messages.shown.first().text.toStdString();
        exec(c.repair);
        reopen();
        EXPECT_TRUE(set.unchanged());
        EXPECT_TRUE(other.unchanged());
    }
}

// Spreadsheets save the files back in other forms; each is read as the original.
TEST_F(CsvExchange, ImportReadsTheFormsSpreadsheetsWrite) {
    generate(40, 4);
    const QStringList lines =
        rows(QStringLiteral("SELECT * FROM T_SI_MEISAI WHERE CID = '02' "
                            "ORDER BY DENCODE, DENMENO"));
    ASSERT_TRUE(exportMonth(QStringLiteral("2024/01"), path(QStringLiteral("out"))));
    const QByteArray data = bytesOf(path(QStringLiteral("out/Data02_2024年1月.CSV")));
    const QByteArray company = bytesOf(path(QStringLiteral("out/Kaisha02_2024年1月.CSV")));
    const QString text = decodeBackupText(data);
    // Quoted only where a value needs it, as Excel writes, with dates reformatted.
    QString bare;
    for (const QStringList& row : parse(data)) {
        QStringList fields;
        for (int i = 0; i < row.size(); ++i) {
            QString field =
                i == 3 ? QString(row.at(i)).replace(QStringLiteral("/0"), QStringLiteral("/"))
                       : row.at(i);
            fields.append(field.contains(u',') || field.contains(u'"') ? backupField(field)
                                                                       : field);
        }
        bare += fields.join(u',') + u'\n';
    }
    const struct {
        const char* name;
        QByteArray data;
    } forms[] = {
        {"UTF-8 without BOM, LF", text.toUtf8().replace("\r\n", "\n")},
        {"GB18030, CR LF", toGb18030(text)},
        {"unquoted, short dates", bare.toUtf8()},
    };
    for (const auto& form : forms) {
        SCOPED_TRACE(form.name);
        const QString dir = path(QString::fromUtf8(form.name));
        writeAll(dir + QStringLiteral("/Data02_2024年1月.CSV"), form.data);
        writeAll(dir + QStringLiteral("/Kaisha02_2024年1月.CSV"), company);
        exec(QStringLiteral("DELETE FROM T_SI_MEISAI WHERE CID = '02' AND DATEYM = '2024/01'"));
        ASSERT_TRUE(importMonth(QStringLiteral("2024/01"), dir))
            << messages.texts().join(u'\n').toStdString();
        const QStringList read =
            rows(QStringLiteral("SELECT * FROM T_SI_MEISAI WHERE CID = '02' "
                                "ORDER BY DENCODE, DENMENO"));
        EXPECT_TRUE(read == lines) << difference(read, lines);
    }
}

// Broken files are refused whole with a message naming the file and line; neither set changes.
TEST_F(CsvExchange, BrokenFilesAreRefusedWhole) {
    generate(40, 4);
    ASSERT_TRUE(exportMonth(QStringLiteral("2024/01"), path(QStringLiteral("out"))));
    const Rows data = parse(bytesOf(path(QStringLiteral("out/Data02_2024年1月.CSV"))));
    const Rows company = parse(bytesOf(path(QStringLiteral("out/Kaisha02_2024年1月.CSV"))));
    const QString dataName = QStringLiteral("Data02_2024年1月.CSV 第 3 行：");
    const auto field = [&](int position, const QString& value) {
        Rows changed = data;
        changed[2][position - 1] = value;
        return quoted(changed);
    };
    struct Case {
        const char* name;
        QByteArray data;
        QByteArray company;
        QString message;
    };
    const QByteArray good = quoted(data);
    Rows twoCompanies = company;
    twoCompanies.append(company.at(0));
    Rows shortLine = data;
    shortLine[2].removeLast();
    const QList<Case> cases = {
        {"short line",
         quoted(shortLine),
         {},
         dataName + QStringLiteral("有 30 个字段，应为 31 个。")},
        {"unknown account",
         field(7, QStringLiteral("9Z9")),
         {},
         dataName + QStringLiteral("第 7 个字段的科目“9Z9”不存在。")},
        {"unknown credit account",
         field(18, QString()),
         {},
         dataName + QStringLiteral("第 18 个字段的科目“”不存在。")},
        {"date before the period",
         field(4, QStringLiteral("2023/12/31")),
         {},
         dataName + QStringLiteral("日期 2023/12/31 不在会计期间")},
        {"not a date",
         field(4, QStringLiteral("2024/01/32")),
         {},
         dataName + QStringLiteral("日期“2024/01/32”不是有效的日期。")},
        {"another month",
         field(4, QStringLiteral("2024/02/01")),
         {},
         dataName + QStringLiteral("月份“2024/01”与日期 2024/02/01 不一致。")},
        {"amount",
         field(14, QStringLiteral("12,5")),
         {},
         dataName + QStringLiteral("第 14 个字段的金额“12,5”不是数字。")},
        {"rate",
         field(12, QStringLiteral("x")),
         {},
         dataName + QStringLiteral("第 12 个字段“x”不是数字。")},
        {"line of another set",
         field(3, kOther),
         {},
         dataName + QStringLiteral("这一行属于账套 03，不属于现在的账套 02。")},
        {"company of another set", good,
         [&] {
             Rows changed = company;
             changed[0][0] = kOther;
             return quoted(changed);
         }(),
         QStringLiteral("Kaisha02_2024年1月.CSV 第 1 行：这是账套 03 的文件")},
        {"two company rows", good, quoted(twoCompanies),
         QStringLiteral("Kaisha02_2024年1月.CSV 第 2 行：账套文件只能有一行。")},
        {"empty data file", QByteArray(""), {}, QStringLiteral("File is NULL")},
        {"empty company file", good, QByteArray("\xEF\xBB\xBF"), QStringLiteral("File is NULL")},
        {"random bytes",
         QByteArray("\x81\x30\xff\xfe\x00\x01\x9a", 7),
         {},
         QStringLiteral("Data02_2024年1月.CSV 文件内容既不是 UTF-8 也不是 GB18030 文本。")},
        {"open quote",
         good + "\"00001\",\"0",
         {},
         QStringLiteral("的双引号到文件末尾也没有结束。")},
    };
    const SetSnapshot set(kSet);
    const SetSnapshot other(kOther);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        const QString dir = path(QString::fromUtf8(c.name));
        writeAll(dir + QStringLiteral("/Data02_2024年1月.CSV"), c.data);
        writeAll(dir + QStringLiteral("/Kaisha02_2024年1月.CSV"),
                 c.company.isNull() ? quoted(company) : c.company);
        EXPECT_FALSE(importMonth(QStringLiteral("2024/01"), dir));
        ASSERT_FALSE(messages.shown.isEmpty());
        EXPECT_TRUE(messages.texts().join(u'\n').contains(c.message))
            << messages.texts().join(u'\n').toStdString();
        EXPECT_TRUE(messages.last().text.endsWith(u"账套没有改变。(cmdStr_Click)"));
        EXPECT_TRUE(messages.texts().join(u'\n').contains(u"(RWdata)"));
        EXPECT_TRUE(set.unchanged());
        EXPECT_TRUE(other.unchanged());
        EXPECT_EQ(value(QStringLiteral("SELECT CID FROM WK_COMPANY")), kSet);
    }
}

}  // namespace

namespace {

struct QuietHost : DailyEntryHost {
    void setBusy(bool) override {}
    void focusDateBox() override {}
    void focusRate() override {}
    void focusIncomeGrid() override {}
};

// A day with more transfer lines than the daily screen edits comes in whole and opens read-only,
// every line shown.
TEST_F(CsvExchange, ADayBeyondTheDailyScreensRowsIsImportedWholeAndStaysReadable) {
    generate(40, 4);
    const QString day = QStringLiteral("2024/01/31");
    for (int n = 0; n < 130; ++n) {
        exec(QStringLiteral("INSERT INTO T_SI_MEISAI (DENCODE, DENMENO, CID, SIDAY, DATEYM, SISYU, "
                            "KRKOCODE, KRHOKOCODE, KRBUKBN, KRKIN, KRTKIN, KSKOCODE, KSHOKOCODE, "
                            "KSBUKBN, KSKIN, KSTKIN, KRTKOCODE, KSTKOCODE, TEKIYO) SELECT DENCODE, "
                            "?, '02', ?, '2024/01', '1', '009', '', '00', 10000, 10000, '004', '', "
                            "'00', 10000, 10000, '000', '000', '存款' FROM T_SIWAKE WHERE CID = "
                            "'02' AND DENDAY = ?"),
             {QStringLiteral("%1").arg(500 + n, 3, 10, QLatin1Char('0')), day, day});
    }
    const QString lines = QStringLiteral(
        "SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '02' AND "
        "SIDAY = '2024/01/31' AND SISYU = '1'");
    const qint64 transfers = count(lines);
    ASSERT_GT(transfers, DailyEntry::kMaxTransferRows);
    ASSERT_TRUE(exportMonth(QStringLiteral("2024/01"), path(QStringLiteral("out"))));
    exec(QStringLiteral("DELETE FROM T_SI_MEISAI WHERE CID = '02' AND DATEYM = '2024/01'"));
    ASSERT_TRUE(importMonth(QStringLiteral("2024/01"), path(QStringLiteral("out"))))
        << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(count(lines), transfers);

    QuietHost host;
    DailyEntry entry(host);
    ASSERT_TRUE(entry.Form_Load(QStringLiteral("MainMenu")))
        << messages.texts().join(u'\n').toStdString();
    entry.setTxtSyoriNen(day);
    ASSERT_TRUE(entry.txtSyoriNen_LostFocus()) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(entry.txtSyoriNen(), day);
    EXPECT_TRUE(entry.readOnly());
    EXPECT_EQ(entry.transferRows().size(), transfers);
}

}  // namespace
