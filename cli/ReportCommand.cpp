#include <functional>

#include "CliSupport.h"
#include "entry/Descriptions.h"
#include "entry/JournalPatterns.h"
#include "entry/JournalPrint.h"
#include "master/AccountListFill.h"
#include "print/PageBuilder.h"
#include "print/ReportJobs.h"
#include "print/render/PagePainter.h"
#include "print/render/XlsxExport.h"
#include "statements/MonthStatement.h"
#include "statements/SmallBusinessForms.h"
#include "statements/StatutoryBalanceSheet.h"
#include "statements/StatutoryProfitStatement.h"
#include "totals/GeneralLedger.h"
#include "totals/SubsidiaryLedger.h"

namespace {

using Fill = std::function<void()>;

// Each layout's work tables, filled as the screen that prints it fills them.
Fill fillFor(const QString& layout, const CommandOptions& options) {
    const auto refuse = [&](const QString& option) {
        if (options.has(option)) {
            badArguments(QStringLiteral("%1 不能用于 %2").arg(option, layout));
        }
    };
    // Only the ledgers are chosen by account, only the monthly statements and the
    // small-business forms by --month.
    const auto refuseAccounts = [&] {
        refuse(QStringLiteral("--first-account"));
        refuse(QStringLiteral("--last-account"));
    };
    if (layout != u"R_TS" && layout != u"R_PS" && layout != u"R_XQY01" && layout != u"R_XQY02") {
        refuse(QStringLiteral("--month"));
    }
    // A statement of one month: --month, the period's last by default.
    const auto oneMonth = [&] {
        refuse(QStringLiteral("--from"));
        refuse(QStringLiteral("--to"));
        refuseAccounts();
        return options.has(QStringLiteral("--month"))
                   ? parseMonth(options.required(QStringLiteral("--month")),
                                QStringLiteral("--month"))
                   : QString();
    };
    if (layout == u"R_KANJO_LISTH") {
        refuse(QStringLiteral("--from"));
        refuse(QStringLiteral("--to"));
        refuseAccounts();
        return [] { fillAccountList(); };
    }
    if (layout == u"R_SIWAKE" || layout == u"R_TEKIYO") {
        refuse(QStringLiteral("--from"));
        refuse(QStringLiteral("--to"));
        refuseAccounts();
        // The lists print the screens' work copies, which opening the screen makes.
        return [layout] {
            if (layout == u"R_SIWAKE") {
                JournalPatterns::fillWorkTable();
            } else if (!Descriptions().Form_Load()) {
                throw CliError{QStringLiteral("不能准备报表数据: ") + layout, 1};
            }
        };
    }
    if (layout == u"R_SIWAKE_NIKKI") {
        refuseAccounts();
        const auto day = [&](const QString& option) {
            return options.has(option) ? parseDay(options.required(option), option)
                                             .toString(QStringLiteral("yyyy/MM/dd"))
                                       : QString();
        };
        const QString from = day(QStringLiteral("--from"));
        const QString to = day(QStringLiteral("--to"));
        return [from, to] {
            // The journal's own refusals (no voucher, no line in the days) are on stderr.
            if (!JournalPrint().fillForDays(from, to)) {
                throw CliError{QStringLiteral("日记账没有可打印的数据。"), 1};
            }
        };
    }
    if (layout == u"R_ZICHAN" || layout == u"R_LIRUN") {
        // The year-end statements cover the whole period of the set.
        refuse(QStringLiteral("--from"));
        refuse(QStringLiteral("--to"));
        refuseAccounts();
        return [layout] {
            const bool filled = layout == u"R_ZICHAN" ? StatutoryBalanceSheet().fill()
                                                      : StatutoryProfitStatement().fill();
            if (!filled) {
                throw CliError{QStringLiteral("不能准备报表数据: ") + layout, 1};
            }
        };
    }
    const bool general = layout == u"R_KANJYOMOTOTYO";
    if (general || layout == u"R_HOJOMOTOTYO") {
        const auto month = [&](const QString& option) {
            return options.has(option) ? parseMonth(options.required(option), option) : QString();
        };
        const auto account = [&](const QString& option) {
            return options.has(option)
                       ? int(parseNumber(options.required(option), option, 1, 999999999))
                       : 0;
        };
        const QString from = month(QStringLiteral("--from"));
        const QString to = month(QStringLiteral("--to"));
        const int first = account(QStringLiteral("--first-account"));
        const int last = account(QStringLiteral("--last-account"));
        return [general, from, to, first, last] {
            // The ledger's own refusals (a wrong range) are on stderr.
            if (general ? !GeneralLedger().fillFor(from, to, first, last)
                        : !SubsidiaryLedger().fillFor(from, to, first, last)) {
                throw CliError{general ? QStringLiteral("总账没有可打印的数据。")
                                       : QStringLiteral("辅助账没有可打印的数据。"),
                               1};
            }
        };
    }
    const bool trialBalance = layout == u"R_TS";
    if (trialBalance || layout == u"R_PS") {
        const QString month = oneMonth();
        return [trialBalance, month] {
            MonthStatement statement(trialBalance ? MonthStatementKind::TrialBalance
                                                  : MonthStatementKind::IncomeStatement);
            // The statement's own refusals (no month, a missing line) are on stderr.
            if (!statement.fillFor(month)) {
                throw CliError{statement.title() + QStringLiteral("没有可打印的数据。"), 1};
            }
        };
    }
    const bool balanceSheet = layout == u"R_XQY01";
    if (balanceSheet || layout == u"R_XQY02") {
        const QString month = oneMonth();
        return [balanceSheet, month, layout] {
            // The form's own refusals (a month outside the list, a broken mapping) are on stderr.
            if (!SmallBusinessForms().fillFor(balanceSheet ? SmallBusinessForm::BalanceSheet
                                                           : SmallBusinessForm::IncomeStatement,
                                              month)) {
                throw CliError{QStringLiteral("不能编制报表: ") + layout, 1};
            }
        };
    }
    badArguments(QStringLiteral("未知的报表: ") + layout);
}

}  // namespace

// report LAYOUT --set CID [--from yyyy/mm/dd --to yyyy/mm/dd] (--pdf FILE | --xlsx FILE); the
// general and subsidiary ledgers take months (--from/--to yyyy/mm) and --first-account/
// --last-account N; the small-business forms R_XQY01/R_XQY02 take --month yyyy/mm (default: the
// last month of the period); the year-end statements R_ZICHAN and R_LIRUN take no range.
Command reportCommand(const QStringList& arguments) {
    if (arguments.isEmpty() || arguments.first().startsWith(u'-')) {
        badArguments(QStringLiteral("缺少报表名称"));
    }
    const QString layout = arguments.first();
    const CommandOptions options(
        arguments.mid(1),
        {QStringLiteral("--set"), QStringLiteral("--from"), QStringLiteral("--to"),
         QStringLiteral("--month"), QStringLiteral("--first-account"),
         QStringLiteral("--last-account"), QStringLiteral("--pdf"), QStringLiteral("--xlsx")},
        {});
    const QString cid =
        parseSetCode(options.required(QStringLiteral("--set")), QStringLiteral("--set"));
    const bool pdf = options.has(QStringLiteral("--pdf"));
    if (pdf == options.has(QStringLiteral("--xlsx"))) {
        badArguments(QStringLiteral("需要 --pdf FILE 或 --xlsx FILE 之一"));
    }
    const QString file = options.required(pdf ? QStringLiteral("--pdf") : QStringLiteral("--xlsx"));
    const Fill fill = fillFor(layout, options);
    return [=](QTextStream& out) {
        makeCurrent(cid);
        fill();
        try {
            const ReportJob job = loadReportJob(layout);
            if (pdf) {
                const PageModel pages = buildPages(job.layout, job.data);
                writePdf(pages, file, job.layout.title);
                out << QStringLiteral("%1: %2 页, %3 行 -> %4\n")
                           .arg(layout)
                           .arg(pages.pages.size())
                           .arg(job.data.rows.size())
                           .arg(file);
            } else {
                writeXlsx(job, file);
                out << QStringLiteral("%1: %2 行 -> %3\n")
                           .arg(layout)
                           .arg(job.data.rows.size())
                           .arg(file);
            }
        } catch (const ReportFailure& failure) {
            throw CliError{failure.description, 1};
        }
        return 0;
    };
}
