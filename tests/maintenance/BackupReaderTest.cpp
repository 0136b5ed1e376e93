#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "common/Session.h"
#include "db/DbError.h"
#include "db/RowWriters.h"
#include "maintenance/BackupReader.h"
#include "maintenance/BackupSet.h"
#include "support/SetSnapshot.h"
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

const QByteArray kVoucher =
    R"("02","00001","00001","2024/01/05","2024/01/05","1","0","1234.5","0")";

class BackupReader : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("02");
        SetSnapshot::copySet(QStringLiteral("02"), QStringLiteral("03"));
        exec(
            QStringLiteral("INSERT INTO T_SIWAKE VALUES ('03', '00001', '00001', '2024/01/05', "
                           "'2024/01/05', '1', 0, 0, 0)"));
    }
    QString file(const QByteArray& bytes) {
        const QString path = folder.filePath(QStringLiteral("T_003.txt"));
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
        return path;
    }
    QStringList vouchers() {
        return rows(QStringLiteral("SELECT DENCODE, DENDAY, DAYZAN FROM T_SIWAKE WHERE CID = '02' "
                                   "ORDER BY DENCODE"),
                    {}, 2);
    }
};

TEST_F(BackupReader, ReadsEveryFormOfTheFile) {
    const QByteArray second = R"("02","00002","00002","2024/01/06","2024/01/06","1","0","-20","0")";
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList expected;
    };
    const QStringList two{QStringLiteral("00001|2024/01/05|1234.5"),
                          QStringLiteral("00002|2024/01/06|-20")};
    const Case cases[] = {
        {"empty file", QByteArray(), {}},
        {"CR LF", kVoucher + "\r\n" + second + "\r\n", two},
        {"LF, no end of last line", kVoucher + "\n" + second, two},
        {"UTF-8 BOM", "\xEF\xBB\xBF" + kVoucher + "\r\n" + second + "\r\n", two},
        {"blank lines between rows", kVoucher + "\r\n\r\n" + second + "\n\n", two},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("DELETE FROM T_SIWAKE WHERE CID = '02'"));
        EXPECT_TRUE(write_data_to_table(file(c.bytes), QStringLiteral("T_SIWAKE"), 3, 9));
        EXPECT_EQ(vouchers(), c.expected);
    }
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'\n').toStdString();
}

TEST_F(BackupReader, TextFieldsKeepCommasQuotesAndLineBreaksInBothEncodings) {
    const QString description = QStringLiteral("房租, \"一月\" O'Brien\r\n第二行");
    const QByteArray utf8 =
        "\"02\",\"T01\",\"" + description.toUtf8().replace("\"", "\"\"") + "\"\r\n";
    // The same row as GB18030 bytes: 房租 一月 第二行.
    const QByteArray gb18030 =
        "\"02\",\"T01\",\"\xB7\xBF\xD7\xE2, \"\"\xD2\xBB\xD4\xC2\"\" O'Brien\r\n"
        "\xB5\xDA\xB6\xFE\xD0\xD0\"\r\n";
    for (const QByteArray& bytes : {utf8, gb18030}) {
        exec(QStringLiteral("DELETE FROM T_TEKIYO WHERE CID = '02'"));
        const QString path = folder.filePath(QStringLiteral("T_010.txt"));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
        out.close();
        ASSERT_TRUE(write_data_to_table(path, QStringLiteral("T_TEKIYO"), 10, 3))
            << messages.texts().join(u'\n').toStdString();
        EXPECT_EQ(value(QStringLiteral("SELECT TENAME FROM T_TEKIYO WHERE CID = '02'")),
                  description);
    }
}

// A refused file leaves both sets exactly as they were and names the reader.
TEST_F(BackupReader, RefusesMalformedFilesWithoutChangingAnySet) {
    const QByteArray tenThousand = QByteArray(10000, 'x');
    struct Case {
        const char* name;
        QByteArray bytes;
        QString table;
        int seqNo;
        int fieldCount;
        const char* reason;
    };
    const QString siwake = QStringLiteral("T_SIWAKE");
    QByteArray toran = R"("02","2024/01","1","101","")";
    for (int i = 6; i <= 35; ++i) {
        toran += R"(,"0")";
    }
    const Case cases[] = {
        {"too few fields", R"("02","00002","00002","2024/01/06","2024/01/06","1","0","0")", siwake,
         3, 9, "有 8 个字段"},
        {"row wider than its table", kVoucher + R"(,"0")", siwake, 3, 9, "多于 9 个"},
        {"field count above the table's", kVoucher + R"(,"0")", siwake, 3, 10, "需要 9 个值"},
        {"unterminated quote at the end", kVoucher + "\r\n" + R"("02","00002","00)", siwake, 3, 9,
         "T_003.txt 第 2 行：第 3 个字段的双引号到文件末尾也没有结束"},
        {"truncated last row", kVoucher + "\r\n" + R"("02","00002","00002",)", siwake, 3, 9,
         "缺少字段"},
        {"truncated after a whole field", kVoucher + "\r\n" + R"("02","00002")", siwake, 3, 9,
         "有 2 个字段"},
        {"bytes that are no text", kVoucher + "\r\n\xFF\xFE\x80\x81", siwake, 3, 9,
         "T_003.txt 文件内容既不是 UTF-8 也不是 GB18030"},
        {"a NUL inside", kVoucher + QByteArray(1, '\0'), siwake, 3, 9, "控制字符"},
        {"unquoted field", R"("02",00002,"00002","2024/01/06","2024/01/06","1","0","0","0")",
         siwake, 3, 9, "没有用双引号"},
        {"text after a closing quote", R"("02""x,"00002")", siwake, 3, 9, "不是逗号或行尾"},
        {"10,000 characters without quotes", tenThousand, siwake, 3, 9, "没有用双引号"},
        {"a row of another set",
         kVoucher + "\r\n" + QByteArray(kVoucher).replace("\"02\"", "\"03\""), siwake, 3, 9,
         "属于账套 03"},
        {"empty raw number", toran, QStringLiteral("T_DAY_TORAN"), 7, 35, "第 5 列"},
        {"amount that is no number",
         R"("02","00002","00002","2024/01/06","2024/01/06","1","0","x","0")", siwake, 3, 9,
         "第 8 列"},
        {"duplicate key in the file", kVoucher + "\r\n" + kVoucher, siwake, 3, 9, "UNIQUE"},
        {"no writer for the number", kVoucher, siwake, 24, 9, "序号 24"},
    };
    exec(
        QStringLiteral("INSERT INTO T_SIWAKE VALUES ('02', '00009', '00009', '2024/02/01', "
                       "'2024/02/01', '1', 0, 0, 0)"));
    const SetSnapshot mine(QStringLiteral("02"));
    const SetSnapshot other(QStringLiteral("03"));
    ASSERT_EQ(mine.count(siwake), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        // The reader keeps its own transaction when the caller has none.
        EXPECT_FALSE(write_data_to_table(file(c.bytes), c.table, c.seqNo, c.fieldCount));
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_TRUE(messages.last().text.contains(QString::fromUtf8(c.reason)))
            << messages.last().text.toStdString();
        EXPECT_TRUE(messages.last().text.endsWith(u"(write_data_to_table)"));
        EXPECT_TRUE(mine.unchanged());
        EXPECT_TRUE(other.unchanged());
    }
}

TEST_F(BackupReader, AccountSetRowBecomesTheSessionsPeriod) {
    exec(
        QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = '2024/04/01', KIMATU = '2025/03/31', "
                       "GKBN = '0', NENDOSU = 7 WHERE CID = '02'"));
    const QString target = folder.filePath(QStringLiteral("set/"));
    ASSERT_TRUE(DataBackUp(target, BackupUse::YearEnd));
    const QString t002 = QDir(target).filePath(QStringLiteral("T_002.txt"));
    struct Case {
        const char* gkbn;
        QString label;
    };
    for (const Case& c :
         {Case{"0", QStringLiteral("2024 年度")}, Case{"1", QStringLiteral("第 7 期")}}) {
        SCOPED_TRACE(c.gkbn);
        exec(QStringLiteral("UPDATE T_COMP_MAIN SET GKBN = ? WHERE CID = '02'"),
             {QString::fromLatin1(c.gkbn)});
        ASSERT_TRUE(DataBackUp(target, BackupUse::YearEnd));
        exec(QStringLiteral("DELETE FROM T_COMP_MAIN WHERE CID = '02'"));
        exec(QStringLiteral("DELETE FROM WK_COMPANY"));
        exec(QStringLiteral("INSERT INTO WK_COMPANY SELECT * FROM T_COMP_MAIN WHERE CID = '03'"));
        RestoredPeriod period;
        ASSERT_TRUE(write_data_to_table(t002, QStringLiteral("T_COMP_MAIN"), 2, 27, &period));
        EXPECT_EQ(period.start, QStringLiteral("2024/04/01"));
        EXPECT_EQ(period.end, QStringLiteral("2025/03/31"));
        EXPECT_EQ(session().PeriodLabel, c.label);
        EXPECT_EQ(rows(QStringLiteral("SELECT * FROM WK_COMPANY")),
                  rows(QStringLiteral("SELECT * FROM T_COMP_MAIN WHERE CID = '02'")));
    }
}

}  // namespace

namespace {

// Spreadsheets save values back unquoted where they can; the CSV reader takes both forms, the
// backup reader only quoted ones.
TEST(FieldReader, BareFieldsOnlyWhereAllowed) {
    struct Case {
        const char* name;
        QString text;
        QStringList rows;  // fields joined by "|"; none when refused
        const char* error;
    };
    const QList<Case> cases = {
        {"bare and quoted mixed",
         QStringLiteral("a,\"b,\"\"c\"\"\",3\r\n4,,6\n"),
         {QStringLiteral("a|b,\"c\"|3"), QStringLiteral("4||6")},
         ""},
        {"empty last value",
         QStringLiteral("a,b,\r\nc,d,"),
         {QStringLiteral("a|b|"), QStringLiteral("c|d|")},
         ""},
        {"quote inside a bare value", QStringLiteral("a,b\"c\n"), {}, "却含有双引号"},
        {"lone carriage return", QStringLiteral("a\rb,c\n"), {}, "单独的回车符"},
        {"text after a closing quote", QStringLiteral("\"a\"b,c\n"), {}, "不是逗号或行尾"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BackupFieldReader reader(c.text, true);
        QStringList rows;
        QString error;
        try {
            QStringList fields;
            while (reader.nextRow(fields, 5)) {
                rows.append(fields.join(u'|'));
            }
        } catch (const DbError& e) {
            error = e.description();
        }
        EXPECT_EQ(rows, c.rows);
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.error))) << error.toStdString();
        // The backup reader refuses the first bare value.
        BackupFieldReader strict(c.text);
        QStringList fields;
        EXPECT_THROW(strict.nextRow(fields, 5), DbError);
    }
}

}  // namespace
