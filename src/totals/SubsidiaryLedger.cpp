#include "totals/SubsidiaryLedger.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "common/Messages.h"
#include "common/Money.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "print/PrintAccessReport.h"
#include "totals/TotalsPass.h"

const QString SubsidiaryLedger::kForm = QStringLiteral("prtSoukanjoHojoMotocho");
const QString SubsidiaryLedger::kTitle = QStringLiteral("辅助账");
const QString SubsidiaryLedger::kLayout = QStringLiteral("R_HOJOMOTOTYO");

namespace {

const QString kNoData = QStringLiteral("没有符合条件的数据。");
const QString kCarriedForward = QStringLiteral("结转余额");

// Posting accounts in use that a ledger may be printed for: as the general ledger's lists.
const QString kWrongAccounts =
    QStringLiteral("指定的科目出现错误") + Messages::kCrLf + QStringLiteral("请重新选择一次");

struct ChartEntry {
    QString kmcode;
    QString name;
    bool debitSided = true;
};

struct SubsidiaryEntry {
    QString hocode;
    QString honame;
};

QString subsidiaryKey(const QString& kocode, const QString& hokocode) {
    return kocode + u'\t' + hokocode;
}

// Texts are written trimmed; an empty one as '' (a null string would be bound as NULL).
QVariant text(const QString& value) {
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value.trimmed());
}

// "2024/05/01" prints as "24.05.01".
QString shortDay(const QString& day) {
    return day.size() == 10 ? day.mid(2).replace(u'/', u'.') : day;
}

struct LedgerLine {
    QString siday;
    QString denno;
    QString denmeno;
    int jun = 0;  // 0 debit, 1 credit of the subsidiary
    Money amount;
    QString counterKocode;
    QString counterHokocode;
    QString tekiyo;
};

// One subsidiary account, keyed by its account key and subsidiary key: two accounts may give
// their subsidiaries the same code.
struct Ledger {
    QString kocode;
    QString hokocode;
    Money carried;  // in the account's direction
    // Each side's lines before the first chosen month: where the year-to-date totals start.
    Money debitBefore;
    Money creditBefore;
    std::vector<LedgerLine> lines;
};

class LedgerFill {
  public:
    LedgerFill(QString periodStart, QString from, QString to)
        : cid_(session().CurrentCid),
          periodStart_(std::move(periodStart)),
          from_(std::move(from)),
          to_(std::move(to)) {}

    void run(int firstAccount, int lastAccount) {
        readChart();
        readSubsidiaries(firstAccount, lastAccount);
        readLines(QStringLiteral("KR"), 0);
        readLines(QStringLiteral("KS"), 1);
        db_.execute(QStringLiteral("DELETE FROM T_SKANSUBMT_OUT"));
        for (auto& [key, ledger] : ledgers_) {
            write(ledger);
        }
    }

  private:
    // Names and sides once per fill, not once per line.
    void readChart() {
        for (const QVariantList& r :
             db_.selectAll(QStringLiteral("SELECT KOCODE, KMCODE, KANNAME, TAIKBN FROM T_KANJO"))) {
            chart_.insert(r.at(0).toString(),
                          {r.at(1).toString().trimmed(), r.at(2).toString().trimmed(),
                           r.at(3).toString().trimmed() == u"0"});
        }
    }

    void readSubsidiaries(int firstAccount, int lastAccount) {
        QSet<QString> inRange;
        for (const QVariantList& r : db_.selectAll(QStringLiteral("SELECT KOCODE, KMCODE FROM "
                                                                  "T_KANJO WHERE ") +
                                                   LedgerSelection::kPostingAccounts)) {
            bool number = false;
            const int kmcode = r.at(1).toString().trimmed().toInt(&number);
            if (number && kmcode >= firstAccount && kmcode <= lastAccount) {
                inRange.insert(r.at(0).toString());
            }
        }
        for (const QVariantList& r :
             db_.selectAll(QStringLiteral("SELECT KANKOCODE, HOKOCODE, HOCODE, HONAME, KISYUZAN "
                                          "FROM T_HOJOKAMOKU WHERE CID = ?"),
                           {cid_})) {
            const QString kocode = r.at(0).toString();
            const QString hokocode = r.at(1).toString();
            const QString key = subsidiaryKey(kocode, hokocode);
            subsidiaries_.insert(key, {r.at(2).toString().trimmed(), r.at(3).toString().trimmed()});
            // A subsidiary without a name is not printed.
            if (inRange.contains(kocode) && !r.at(3).toString().trimmed().isEmpty()) {
                ledgers_.emplace(std::pair(kocode, hokocode),
                                 Ledger{kocode, hokocode, Money::fromDb(r.at(4)), {}, {}, {}});
            }
        }
    }

    // The subsidiary lines of one side from the period's first month through the last chosen
    // month: those before the first chosen month go into the carried-forward balance.
    void readLines(const QString& side, int jun) {
        // A line that names no counter account is a transfer: the other side is its counter.
        const QString other = side == u"KR" ? QStringLiteral("KS") : QStringLiteral("KR");
        const QString sql =
            QStringLiteral(
                "SELECT SM.%1KOCODE, SM.%1HOKOCODE, SM.DATEYM, SM.SIDAY, COALESCE(SW.DENNO, "
                "SM.DENCODE), SM.DENMENO, SM.%1KIN, CASE WHEN COALESCE(SM.%1AICODE, '') = '' THEN "
                "SM.%2KOCODE ELSE SM.%1AICODE END, CASE WHEN COALESCE(SM.%1AICODE, '') = '' THEN "
                "SM.%2HOKOCODE ELSE SM.%1AIHOCODE END, SM.TEKIYO FROM T_SI_MEISAI SM LEFT JOIN "
                "T_SIWAKE SW ON SW.CID = SM.CID AND SW.DENCODE = SM.DENCODE WHERE SM.CID = ? AND "
                "SM.DATEYM BETWEEN ? AND ? AND SM.%1HOKOCODE <> ''")
                .arg(side, other);
        for (const QVariantList& r : db_.selectAll(sql, {cid_, periodStart_, to_})) {
            const auto found = ledgers_.find(std::pair(r.at(0).toString(), r.at(1).toString()));
            if (found == ledgers_.end()) {
                continue;
            }
            Ledger& ledger = found->second;
            const Money amount = Money::fromDb(r.at(6));
            if (r.at(2).toString() < from_) {
                ledger.carried += signedAmount(ledger.kocode, jun, amount);
                (jun == 0 ? ledger.debitBefore : ledger.creditBefore) += amount;
                continue;
            }
            ledger.lines.push_back({shortDay(r.at(3).toString().trimmed()),
                                    r.at(4).toString().trimmed(), r.at(5).toString().trimmed(), jun,
                                    amount, r.at(7).toString(), r.at(8).toString(),
                                    r.at(9).toString().trimmed()});
        }
    }

    Money signedAmount(const QString& kocode, int jun, Money amount) const {
        const bool debitSided = chart_.value(kocode).debitSided;
        return (jun == 0) == debitSided ? amount : -amount;
    }

    void write(Ledger& ledger) {
        if (ledger.carried == Money() && ledger.lines.empty()) {
            return;
        }
        std::stable_sort(ledger.lines.begin(), ledger.lines.end(),
                         [](const LedgerLine& a, const LedgerLine& b) {
                             return std::tie(a.siday, a.denno, a.denmeno, a.jun) <
                                    std::tie(b.siday, b.denno, b.denmeno, b.jun);
                         });
        const ChartEntry account = chart_.value(ledger.kocode);
        const SubsidiaryEntry own =
            subsidiaries_.value(subsidiaryKey(ledger.kocode, ledger.hokocode));
        Money balance = ledger.carried;
        // The carried-forward line names its account too: it heads the ledger's first page.
        insert({ledger.kocode, QStringLiteral("00.01.01"), QStringLiteral("0"), QStringLiteral("0"),
                0, account.kmcode, own.hocode, account.name, own.honame, QString(), QString(),
                QString(), QString(), kCarriedForward, Money(), Money(), balance,
                ledger.debitBefore, ledger.creditBefore});
        for (const LedgerLine& line : ledger.lines) {
            balance += signedAmount(ledger.kocode, line.jun, line.amount);
            const ChartEntry counter = chart_.value(line.counterKocode);
            const SubsidiaryEntry counterSub =
                line.counterHokocode.trimmed().isEmpty()
                    ? SubsidiaryEntry()
                    : subsidiaries_.value(subsidiaryKey(line.counterKocode, line.counterHokocode));
            insert({ledger.kocode, line.siday, line.denno, line.denmeno, line.jun, account.kmcode,
                    own.hocode, account.name, own.honame, counter.kmcode, counterSub.hocode,
                    counter.name, counterSub.honame, line.tekiyo,
                    line.jun == 0 ? line.amount : Money(), line.jun == 1 ? line.amount : Money(),
                    balance, Money(), Money()});
        }
    }

    struct Row {
        QString kankocode, siday, denno, denmeno;
        int jun;
        QString kmcode, hocode, kmname, honame, aicode, aihocode, ainame, aihoname, tekiyo;
        Money krkin, kskin, zan, ykrkin, ykskin;
    };

    void insert(const Row& row) {
        static const QString sql = QStringLiteral(
            "INSERT INTO T_SKANSUBMT_OUT (KANKOCODE, SIDAY, DENNO, DENMENO, JUN, KMCODE, HOCODE, "
            "KMNAME, HONAME, AICODE, AIHOCODE, AINAME, AIHONAME, TEKIYO, KRKIN, KSKIN, ZAN, "
            "YKRKIN, "
            "YKSKIN) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        db_.execute(sql, {text(row.kankocode), text(row.siday), text(row.denno), text(row.denmeno),
                          row.jun, text(row.kmcode), text(row.hocode), text(row.kmname),
                          text(row.honame), text(row.aicode), text(row.aihocode), text(row.ainame),
                          text(row.aihoname), text(row.tekiyo), row.krkin.toDb(), row.kskin.toDb(),
                          row.zan.toDb(), row.ykrkin.toDb(), row.ykskin.toDb()});
    }

    Database& db_ = Database::global();
    const QString cid_;
    const QString periodStart_;
    const QString from_;
    const QString to_;
    QHash<QString, ChartEntry> chart_;
    QHash<QString, SubsidiaryEntry> subsidiaries_;
    std::map<std::pair<QString, QString>, Ledger> ledgers_;
};

}  // namespace

bool SubsidiaryLedger::Form_Load() {
    session().CallerForm = kForm;
    dataHyojiEnabled_ = false;
    try {
        // Only an account with subsidiary accounts can have a subsidiary ledger.
        loadLists(QStringLiteral("SELECT KOCODE, KMCODE, KANNAME FROM T_KANJO K WHERE ") +
                      kPostingAccounts +
                      QStringLiteral(" AND EXISTS (SELECT 1 FROM T_HOJOKAMOKU H WHERE H.CID = ? "
                                     "AND H.KANKOCODE = K.KOCODE) ORDER BY KMCODE"),
                  {session().CurrentCid});
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("Form_Load"));
        return false;
    }
}

bool SubsidiaryLedger::checkSelections() {
    return checkLists(kWrongAccounts);
}

bool SubsidiaryLedger::PrintMotokanjo() {
    const QString periodStart = months_.first().month;
    const QString from = months_.at(firstMonth_).month;
    const QString to = months_.at(lastMonth_).month;
    // The subsidiary step of the pass runs for this screen only.
    session().CallerForm = kForm;
    if (!msum_tukisime(periodStart, to, kForm)) {
        return false;
    }
    Database& db = Database::global();
    try {
        // A caller that holds a transaction (the command-line tool) keeps the fill in it.
        std::optional<TransactionGuard> transaction;
        if (!db.inTransaction()) {
            transaction.emplace(db);
        }
        LedgerFill(periodStart, from, to)
            .run(accounts_.at(firstAccount_).number, accounts_.at(lastAccount_).number);
        if (transaction) {
            transaction->commit();
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("PrintMotokanjo"));
        return false;
    }
}

bool SubsidiaryLedger::runFill() {
    if (busy_) {
        busy_(true);
    }
    const bool filled = PrintMotokanjo();
    if (busy_) {
        busy_(false);
    }
    if (!filled) {
        return false;
    }
    try {
        if (Database::global()
                .scalar(QStringLiteral("SELECT KANKOCODE FROM T_SKANSUBMT_OUT"))
                .isNull()) {
            messages().exclamation(kNoData);
            return false;
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("print_data"));
        return false;
    }
    return WritePrintKomokuTable(headerSlots(), QStringLiteral("T_PRINTKOMOKU"));
}

bool SubsidiaryLedger::print_data(int mode) {
    singleAccount_ = false;
    if (!checkSelections() || !runFill()) {
        return false;
    }
    if (!PrintAccessReport(session().AppFolder + QStringLiteral("Kaikei.mdb"), kLayout, mode)) {
        return false;
    }
    dataHyojiEnabled_ = true;
    return true;
}

bool SubsidiaryLedger::cmdDataHyoji_Click() {
    singleAccount_ = true;
    const bool ok = checkSelections() && PrintMotokanjo();
    singleAccount_ = false;
    return ok;
}

void SubsidiaryLedger::cmdQuestion_Click() {
    messages().help(MsgIcon::Information,
                    QStringLiteral("把输入的交易内容作为辅助账打印。") + Messages::kCrLf +
                        QStringLiteral("用A4纸打印。") + Messages::kCrLf +
                        QStringLiteral("在下拉框中选择日期，单击“打印预览”就会显示一览表。"),
                    QStringLiteral("journal-ledgers"));
}

void SubsidiaryLedger::Command1_Click() {
    messages().help(MsgIcon::Exclamation,
                    QStringLiteral("如果要修改在打印预览里看到的数据，") + Messages::kCrLf +
                        QStringLiteral("选择想要修改的科目名后单击“账目预览”，") + Messages::kCrLf +
                        QStringLiteral("进入账目预览画面即可修改。"),
                    QStringLiteral("journal-ledgers"));
}

bool SubsidiaryLedger::fillFor(const QString& fromMonth, const QString& toMonth, int firstAccount,
                               int lastAccount) {
    return Form_Load() &&
           chooseFor(fromMonth, toMonth, firstAccount, lastAccount, kWrongAccounts) &&
           checkSelections() && runFill();
}
