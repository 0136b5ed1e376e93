#include <optional>

#include "print/PrintAccessReport.h"
#include "support/RecordingReportOutput.h"
#include "support/TestDatabase.h"

namespace {

class PrintAccessReportTest : public DatabaseTest {};

// Fails as a printer or file would, or records like a working output.
class FailingOutput : public RecordingReportOutput {
  public:
    std::optional<ReportFailure> failure;
    bool print(const ReportJob& job) override {
        if (failure) {
            throw *failure;
        }
        return RecordingReportOutput::print(job);
    }
};

TEST_F(PrintAccessReportTest, ModesNamesAndFailuresSayWhatTheyShould) {
    exec(QStringLiteral("INSERT INTO MT_REPORT VALUES ('R_BROKEN', '{\"paper\": \"A3\"}')"));
    const ReportFailure noPrinter{ReportFailure::kNoPrinter, {}};
    const ReportFailure noFile{ReportFailure::kFileNotFound, {}};
    const ReportFailure cancelled{ReportFailure::kCancelled, {}};
    const ReportFailure paper{9, QStringLiteral("纸张用完")};
    const struct {
        const char* database;
        const char* layout;
        int mode;
        std::optional<ReportFailure> failure;
        bool result;
        const char* messages;  // the texts shown, "|" between two
        const char* calls;
    } cases[] = {
        {"Kaikei.mdb", "R_TEKIYO", 0, {}, true, "", "preview R_TEKIYO 0"},
        {"Kaikei.mdb", "R_TEKIYO", 1, {}, true, "", "print R_TEKIYO 0"},
        // Blank names are said and the call goes on.
        {" ", "R_TEKIYO", 1, {}, true, "请指定数据记录名称。", "print R_TEKIYO 0"},
        {"Kaikei.mdb", " ", 0, {}, false, "请指定报表名称|No:2103\r找不到报表“”。", ""},
        {"Kaikei.mdb", "R_TEKIYO", 2, {}, true, "方法错误。", ""},
        {"Kaikei.mdb", "R_TEKIYO", -1, {}, true, "方法错误。", ""},
        {"Kaikei.mdb", "R_NOPE", 1, {}, false, "No:2103\r找不到报表“R_NOPE”。", ""},
        {"Kaikei.mdb",
         "R_BROKEN",
         0,
         {},
         false,
         "No:2104\r报表“R_BROKEN”的格式不对: 纸张不明: A3",
         ""},
        {"Kaikei.mdb", "R_TEKIYO", 1, noPrinter, false, "没有安装打印机。\r请安装打印机。", ""},
        {"Kaikei.mdb", "R_TEKIYO", 1, noFile, false, "找不到文件。\r请确认可能使用的文件名。", ""},
        {"Kaikei.mdb", "R_TEKIYO", 1, cancelled, false, "", ""},
        {"Kaikei.mdb", "R_TEKIYO", 1, paper, false, "No:9\r纸张用完", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.layout) + " mode " + std::to_string(c.mode));
        FailingOutput output;
        output.failure = c.failure;
        messages.shown.clear();
        EXPECT_EQ(
            PrintAccessReport(QString::fromUtf8(c.database), QString::fromUtf8(c.layout), c.mode),
            c.result);
        EXPECT_EQ(messages.texts(), QString::fromUtf8(c.messages).split(u'|', Qt::SkipEmptyParts));
        for (const MessageRequest& shown : messages.shown) {
            EXPECT_EQ(shown.title, QStringLiteral("Ombrel"));
        }
        EXPECT_EQ(output.calls(), QString::fromUtf8(c.calls).split(u'|', Qt::SkipEmptyParts));
    }
}

TEST_F(PrintAccessReportTest, HeaderSlotsAreTrimmedAndReplaceTheRow) {
    QStringList slotTexts;
    for (int i = 0; i <= 9; ++i) {
        slotTexts.append(QStringLiteral(" s%1 ").arg(i));
    }
    ASSERT_TRUE(WritePrintKomokuTable(slotTexts, QStringLiteral("T_PRINTKOMOKU")));
    slotTexts[9] = QStringLiteral("2024/05/31'; --");
    ASSERT_TRUE(WritePrintKomokuTable(slotTexts, QStringLiteral("T_PRINTKOMOKU")));
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM T_PRINTKOMOKU")),
              QStringList{QStringLiteral("s1|s2|s3|s4|s5|s6|s7|s8|2024/05/31'; --")});
    EXPECT_FALSE(WritePrintKomokuTable(slotTexts, QStringLiteral("T_NOPE")));
    EXPECT_TRUE(messages.last().text.endsWith(u"(WritePrintKomokuTable)"));
}

}  // namespace
