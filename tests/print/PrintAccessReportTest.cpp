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
    const QString cr = QStringLiteral("\r");
    exec(QStringLiteral("INSERT INTO MT_REPORT VALUES ('R_BROKEN', '{\"paper\": \"A3\"}')"));
    const struct {
        const char* database;
        const char* layout;
        int mode;
        std::optional<ReportFailure> failure;
        bool result;
        QStringList messages;
        QStringList calls;
    } cases[] = {
        {"Kaikei.mdb", "R_TEKIYO", 0, {}, true, {}, {QStringLiteral("preview R_TEKIYO 0")}},
        {"Kaikei.mdb", "R_TEKIYO", 1, {}, true, {}, {QStringLiteral("print R_TEKIYO 0")}},
        // Blank names are said and the call goes on.
        {" ",
         "R_TEKIYO",
         1,
         {},
         true,
         {QStringLiteral("请指定数据记录名称。")},
         {QStringLiteral("print R_TEKIYO 0")}},
        {"Kaikei.mdb",
         " ",
         0,
         {},
         false,
         {QStringLiteral("请指定报表名称"), QStringLiteral("No:2103\r找不到报表“”。")},
         {}},
        {"Kaikei.mdb", "R_TEKIYO", 2, {}, true, {QStringLiteral("方法错误。")}, {}},
        {"Kaikei.mdb", "R_TEKIYO", -1, {}, true, {QStringLiteral("方法错误。")}, {}},
        {"Kaikei.mdb",
         "R_NOPE",
         1,
         {},
         false,
         {QStringLiteral("No:2103\r找不到报表“R_NOPE”。")},
         {}},
        {"Kaikei.mdb",
         "R_BROKEN",
         0,
         {},
         false,
         {QStringLiteral("No:2104\r报表“R_BROKEN”的格式不对: 纸张不明: A3")},
         {}},
        {"Kaikei.mdb",
         "R_TEKIYO",
         1,
         ReportFailure{ReportFailure::kNoPrinter, {}},
         false,
         {QStringLiteral("没有安装打印机。") + cr + QStringLiteral("请安装打印机。")},
         {}},
        {"Kaikei.mdb",
         "R_TEKIYO",
         1,
         ReportFailure{ReportFailure::kFileNotFound, {}},
         false,
         {QStringLiteral("找不到文件。") + cr + QStringLiteral("请确认可能使用的文件名。")},
         {}},
        {"Kaikei.mdb", "R_TEKIYO", 1, ReportFailure{ReportFailure::kCancelled, {}}, false, {}, {}},
        {"Kaikei.mdb",
         "R_TEKIYO",
         1,
         ReportFailure{9, QStringLiteral("纸张用完")},
         false,
         {QStringLiteral("No:9\r纸张用完")},
         {}},
    };
    for (const auto& c : cases) {
        const std::string label = std::string(c.layout) + " mode " + std::to_string(c.mode);
        FailingOutput output;
        output.failure = c.failure;
        messages.shown.clear();
        EXPECT_EQ(
            PrintAccessReport(QString::fromUtf8(c.database), QString::fromUtf8(c.layout), c.mode),
            c.result)
            << label;
        EXPECT_EQ(messages.texts(), c.messages) << label;
        for (const MessageRequest& shown : messages.shown) {
            EXPECT_EQ(shown.title, QStringLiteral("Ombrel")) << label;
        }
        EXPECT_EQ(output.calls(), c.calls) << label;
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
