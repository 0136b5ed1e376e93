#include "generator/BookGenerator.h"

#include <QList>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <array>
#include <numeric>
#include <optional>
#include <random>
#include <vector>

#include "common/Clock.h"
#include "common/Money.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/RowWriters.h"
#include "master/CurrentAccountSet.h"
#include "totals/MonthFlags.h"

namespace {

// A reason the book cannot be written; ends the generator like an engine error.
struct GenerateError {
    QString text;
};

[[noreturn]] void failWith(const QString& text) {
    throw GenerateError{text};
}

void checkWritten(bool written, const QString& table) {
    if (!written) {
        const Database& db = Database::global();
        failWith(QStringLiteral("%1: %2 %3")
                     .arg(table)
                     .arg(db.lastErrorNumber())
                     .arg(db.lastErrorText()));
    }
}

const QString kSourceCid = QStringLiteral("02");
const QString kCash = QStringLiteral("004");
const QString kBank = QStringLiteral("009");
const QString kReceivables = QStringLiteral("034");
const QString kGoods = QStringLiteral("049");
const QString kPayables = QStringLiteral("120");
const QString kCapital = QStringLiteral("165");
const QString kRetained = QStringLiteral("171");
const QString kSales = QStringLiteral("180");
const QString kPurchases = QStringLiteral("247");

const QString kMeisai = QStringLiteral("T_SI_MEISAI");
const QString kDayToran = QStringLiteral("T_DAY_TORAN");

// Cash kept in the till; only what lies above it is taken to the bank.
constexpr Money kCashReserve = Money::fromInt(20000);

struct Account {
    QString kocode;
    QString kmcode;
};

// Draws from the seeded engine by plain arithmetic: the library's distributions give different
// numbers on different standard libraries, and the book must not.
class Draw {
  public:
    explicit Draw(quint32 seed) : engine_(seed) {}

    // 0 <= result < n.
    quint32 below(quint32 n) {
        return static_cast<quint32>((static_cast<quint64>(engine_()) * n) >> 32);
    }
    // An amount of whole cents from lo to hi cents.
    Money cents(qint64 lo, qint64 hi) {
        return Money::fromUnits((lo + below(static_cast<quint32>(hi - lo + 1))) * 100);
    }
    // m of the indices 0..n-1, as a mask.
    std::vector<bool> pick(int n, int m) {
        std::vector<int> order(static_cast<size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        std::vector<bool> chosen(static_cast<size_t>(n), false);
        for (int j = 0; j < m; ++j) {
            const int k = j + static_cast<int>(below(static_cast<quint32>(n - j)));
            std::swap(order[static_cast<size_t>(j)], order[static_cast<size_t>(k)]);
            chosen[static_cast<size_t>(order[static_cast<size_t>(j)])] = true;
        }
        return chosen;
    }

  private:
    std::mt19937 engine_;
};

QString dayText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

// "2024/01/31" → "2024年01月31日", as the account-set screen stores the period texts.
QString printedDate(const QString& day) {
    return day.left(4) + u'年' + day.mid(5, 2) + u'月' + day.mid(8, 2) + u'日';
}

QString bookProblem(const BookSpec& book) {
    const bool twoDigits = book.cid.size() == 2 && book.cid.at(0).isDigit() &&
                           book.cid.at(1).isDigit() && book.cid != u"00";
    if (!twoDigits) {
        return QStringLiteral("账套代码必须是01到99的两位数字: ") + book.cid;
    }
    if (!book.start.isValid()) {
        return QStringLiteral("起始日期无效。");
    }
    const qint64 periodDays = book.start.daysTo(book.start.addYears(1));
    if (book.days < 1 || book.days > periodDays) {
        return QStringLiteral("天数必须在1到%1之间: %2").arg(periodDays).arg(book.days);
    }
    const int most = std::clamp(book.maxLinesPerDay, 1, 9999);
    if (book.linesPerDay < 1 || book.linesPerDay > most) {
        return QStringLiteral("每天的分录数必须在1到%1之间: %2").arg(most).arg(book.linesPerDay);
    }
    return {};
}

class Generator {
  public:
    explicit Generator(const BookSpec& book)
        : spec_(book),
          cid_(book.cid),
          lineNumberWidth_(book.linesPerDay > 999 ? 4 : 3),
          draw_(book.seed),
          db_(Database::global()) {}

    void run() {
        prepareAccountSet();
        makeCurrent();
        clearBook();
        loadAccounts();
        writeOpeningBalances();
        for (int i = 0; i < spec_.days; ++i) {
            writeDay(i);
        }
        markMonthsStale();
    }

  private:
    void prepareAccountSet();
    void makeCurrent();
    void clearBook();
    void loadAccounts();
    QList<Account> gridAccounts(const QString& condition);
    void writeOpeningBalances();
    void setOpening(const QString& kocode, Money amount);
    void writeSubsidiaries(const QString& kocode, const QString& name,
                           const std::array<Money, 3>& amounts);
    void writeDay(int index);
    Money writeTransfer(const QString& dencode, int number, const QString& day, Money cash);
    void writeLine(const QString& dencode, int number, const QString& day, bool simple,
                   const QString& debit, const QString& debitSub, const QString& credit,
                   const QString& creditSub, Money amount, const QString& text);
    void writeDayToran(const Account& account, const QString& month, int dayOfMonth, Money amount);
    void markMonthsStale();

    QString subsidiary() { return QStringLiteral("0") + QString::number(1 + draw_.below(3)); }

    const BookSpec& spec_;
    const QString cid_;
    const int lineNumberWidth_;
    Draw draw_;
    Database& db_;
    QString kisyu_;
    QString kimatu_;
    QString today_;
    QList<Account> income_;
    QList<Account> expense_;
    Money cash_;
    QSet<QString> dayToranRows_;
};

void Generator::prepareAccountSet() {
    const QDate end = spec_.start.addYears(1).addDays(-1);
    kisyu_ = dayText(spec_.start);
    kimatu_ = dayText(end);
    const QString siinlday = dayText(end.addMonths(3));
    today_ = Clock::todayText();
    const bool exists =
        db_.scalar(QStringLiteral("SELECT CID FROM T_COMP_MAIN WHERE CID = ?"), {cid_}).isValid();
    if (exists) {
        db_.execute(QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = ?, KIMATU = ?, PKISYU = ?, "
                                   "PKIMATU = ?, KISYUM = ?, SIINLDAY = ? WHERE CID = ?"),
                    {kisyu_, kimatu_, printedDate(kisyu_), printedDate(kimatu_), kisyu_.left(7),
                     siinlday, cid_});
        return;
    }
    RecordSet source =
        db_.query(QStringLiteral("SELECT * FROM T_COMP_MAIN WHERE CID = ?"), {kSourceCid});
    if (source.eof()) {
        failWith(QStringLiteral("找不到作为模板的账套 ") + kSourceCid);
    }
    const QList<Column>& columns = db_.columns(QStringLiteral("T_COMP_MAIN"));
    QStringList fields;
    for (int i = 0; i < columns.size(); ++i) {
        fields.append(source.valueAt(i).toString());
    }
    source.close();
    const auto set = [&](const char* column, const QString& value) {
        for (int i = 0; i < columns.size(); ++i) {
            if (columns.at(i).name.compare(QLatin1String(column), Qt::CaseInsensitive) == 0) {
                fields[i] = value;
                return;
            }
        }
        failWith(QStringLiteral("T_COMP_MAIN: ") + QLatin1String(column));
    };
    set("CID", cid_);
    set("COMPANY", QStringLiteral("生成的账套 ") + cid_);
    set("NOMAL", QStringLiteral("0"));
    set("KISYU", kisyu_);
    set("KIMATU", kimatu_);
    set("STKBN", QString());
    set("PKISYU", printedDate(kisyu_));
    set("PKIMATU", printedDate(kimatu_));
    set("KISYUM", kisyu_.left(7));
    set("SIINLDAY", siinlday);
    set("AICODE", kCash);
    checkWritten(WriteCompanyTable(fields, QStringLiteral("T_COMP_MAIN")),
                 QStringLiteral("T_COMP_MAIN"));
}

void Generator::makeCurrent() {
    session().CurrentCid = cid_;
    if (!ResetCompanyData()) {
        failWith(QStringLiteral("ResetCompanyData 失败。"));
    }
    bool ok = false;
    change_kanjo_data(ok);
    if (!ok) {
        failWith(QStringLiteral("change_kanjo_data 失败。"));
    }
}

void Generator::clearBook() {
    for (const char* table :
         {"T_SIWAKE", "T_SI_MEISAI", "T_DAY_TORAN", "T_HOJOKAMOKU", "T_TUKIKAN", "T_TUKIHOJO"}) {
        db_.execute(QStringLiteral("DELETE FROM %1 WHERE CID = ?").arg(QLatin1String(table)),
                    {cid_});
    }
}

// The accounts of a simple grid of the entry screen, in its order, limited by condition.
QList<Account> Generator::gridAccounts(const QString& condition) {
    QList<Account> accounts;
    RecordSet rs = db_.query(
        QStringLiteral("SELECT KOCODE, KMCODE FROM T_KANJO WHERE SIYOU = 'Y' AND KANNAME <> '' "
                       "AND JUN <> 0 AND KISYUMKBN NOT IN('1', '2') AND SYORIKBN = '0' AND %1 "
                       "ORDER BY KOCODE, JUN")
            .arg(condition));
    for (; !rs.eof(); rs.moveNext()) {
        accounts.append({rs.text(QStringLiteral("KOCODE")), rs.text(QStringLiteral("KMCODE"))});
    }
    return accounts;
}

void Generator::loadAccounts() {
    const QVariantList fixed = {kCash,    kBank,     kReceivables, kGoods,    kPayables,
                                kCapital, kRetained, kSales,       kPurchases};
    const qint64 found =
        db_.scalar(QStringLiteral("SELECT COUNT(*) FROM T_KANJO WHERE SYORIKBN = '0' AND "
                                  "SIYOU = 'Y' AND KOCODE IN (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                   fixed)
            .toLongLong();
    income_ = gridAccounts(
        QStringLiteral("DAIBUN = '1' AND TAIKBN = '1' AND KOCODE BETWEEN '180' AND '191'"));
    expense_ =
        gridAccounts(QStringLiteral("DAIBUN IN('2', '3') AND TAIKBN = '0' AND (KOCODE = '247' OR "
                                    "KOCODE BETWEEN '263' AND '309')"));
    if (found != fixed.size() || income_.isEmpty() || expense_.isEmpty()) {
        failWith(QStringLiteral("账套 %1 的科目表缺少生成账簿所需的科目。").arg(cid_));
    }
}

void Generator::setOpening(const QString& kocode, Money amount) {
    db_.execute(QStringLiteral("UPDATE T_KISYUZAN SET KISYUZAN = ? WHERE CID = ? AND KOCODE = ?"),
                {amount.toDb(), cid_, kocode});
    db_.execute(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = ? WHERE KOCODE = ?"),
                {amount.toDb(), kocode});
}

void Generator::writeSubsidiaries(const QString& kocode, const QString& name,
                                  const std::array<Money, 3>& amounts) {
    db_.execute(QStringLiteral("UPDATE T_KISYUZAN SET HOJOSET = 'Y' WHERE CID = ? AND KOCODE = ?"),
                {cid_, kocode});
    db_.execute(QStringLiteral("UPDATE T_KANJO SET HOJOSET = 'Y' WHERE KOCODE = ?"), {kocode});
    const QString kmcode =
        db_.scalar(QStringLiteral("SELECT KMCODE FROM T_KANJO WHERE KOCODE = ?"), {kocode})
            .toString();
    for (int i = 0; i < 3; ++i) {
        const QString row = QString::number(i + 1);
        checkWritten(WriteHojoKamokuTable({cid_, kocode, u'0' + row, kmcode + row, name + row,
                                           amounts[static_cast<size_t>(i)].toText()},
                                          QStringLiteral("T_HOJOKAMOKU")),
                     QStringLiteral("T_HOJOKAMOKU"));
    }
}

void Generator::writeOpeningBalances() {
    db_.execute(QStringLiteral("UPDATE T_KISYUZAN SET KISYUZAN = 0 WHERE CID = ?"), {cid_});
    db_.execute(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 0"));
    const Money cash = draw_.cents(2'000'000, 8'000'000);
    const Money bank = draw_.cents(20'000'000, 80'000'000);
    const Money goods = draw_.cents(5'000'000, 15'000'000);
    std::array<Money, 3> receivable;
    std::array<Money, 3> payable;
    Money receivables;
    Money payables;
    for (size_t i = 0; i < 3; ++i) {
        receivable[i] = draw_.cents(1'000'000, 6'000'000);
        payable[i] = draw_.cents(1'000'000, 5'000'000);
        receivables += receivable[i];
        payables += payable[i];
    }
    // Capital in whole ten thousands, about half of the net assets; the rest is profit brought
    // forward, so that debit and credit agree.
    const Money net = cash + bank + goods + receivables - payables;
    constexpr qint64 step = Money::fromInt(10000).units();
    const Money capital = Money::fromUnits(net.units() / 2 / step * step);
    setOpening(kCash, cash);
    setOpening(kBank, bank);
    setOpening(kGoods, goods);
    setOpening(kReceivables, receivables);
    setOpening(kPayables, payables);
    setOpening(kCapital, capital);
    setOpening(kRetained, net - capital);
    writeSubsidiaries(kReceivables, QStringLiteral("客户"), receivable);
    writeSubsidiaries(kPayables, QStringLiteral("供应商"), payable);
    cash_ = cash;
}

void Generator::writeLine(const QString& dencode, int number, const QString& day, bool simple,
                          const QString& debit, const QString& debitSub, const QString& credit,
                          const QString& creditSub, Money amount, const QString& text) {
    static const QString kZero = QStringLiteral("0");
    static const QString kOne = QStringLiteral("1");
    static const QString kBukbn = QStringLiteral("00");
    static const QString kTax = QStringLiteral("000");
    const QString& kind = simple ? kZero : kOne;
    static const QString kSimpleTkbn = QStringLiteral("1");
    static const QString kTransferTkbn = QStringLiteral("5");
    const QString& tkbn = simple ? kSimpleTkbn : kTransferTkbn;
    const QString& tritu = simple ? kOne : kZero;
    const QString value = amount.toText();
    const QStringList fields = {
        dencode,     QStringLiteral("%1").arg(number, lineNumberWidth_, 10, QLatin1Char('0')),
        cid_,        day,
        day.left(7), kind,
        debit,       debitSub,
        kBukbn,      tkbn,
        kTax,        tritu,
        kZero,       value,
        value,       credit,
        creditSub,   credit,
        creditSub,   kBukbn,
        tkbn,        kTax,
        tritu,       kZero,
        value,       value,
        debit,       debitSub,
        QString(),   text,
        QString()};
    checkWritten(WriteSiMeisaiTable(fields, kMeisai), kMeisai);
}

// Every grid row is stored each day, zero amounts included, as the entry screen's save does.
void Generator::writeDayToran(const Account& account, const QString& month, int dayOfMonth,
                              Money amount) {
    const QString key = account.kocode + month;
    if (!dayToranRows_.contains(key)) {
        dayToranRows_.insert(key);
        QStringList fields = {cid_, account.kocode, month, account.kmcode};
        for (int d = 1; d <= 31; ++d) {
            fields.append(d == dayOfMonth ? amount.toText() : QStringLiteral("0"));
        }
        if (WriteDayToranTable(fields, kDayToran)) {
            return;
        }
    }
    db_.execute(QStringLiteral("UPDATE T_DAY_TORAN SET KIN%1 = ? WHERE KOCODE = ? AND "
                               "DATEYM = ? AND CID = ?")
                    .arg(dayOfMonth),
                {amount.toDb(), account.kocode, month, cid_});
}

// One transfer-grid line; returns the change of the cash balance.
Money Generator::writeTransfer(const QString& dencode, int number, const QString& day, Money cash) {
    quint32 roll = draw_.below(100);
    Money deposit;
    if (roll >= 95) {
        // Only cash above the reserve goes to the bank; otherwise the line is a collection.
        const qint64 surplusCents = (cash - kCashReserve).units() / 100;
        const qint64 share = 10 + draw_.below(41);
        deposit = Money::fromUnits(surplusCents * share / 100 * 100);
        if (deposit < Money::fromInt(100)) {
            roll = 30;
        }
    }
    // Drawn in a fixed order: the order in which arguments are evaluated is not.
    const QString sub = subsidiary();
    if (roll < 30) {
        writeLine(dencode, number, day, false, kReceivables, sub, kSales, QString(),
                  draw_.cents(10'000, 1'000'000), QStringLiteral("赊销商品"));
    } else if (roll < 55) {
        writeLine(dencode, number, day, false, kBank, QString(), kReceivables, sub,
                  draw_.cents(10'000, 900'000), QStringLiteral("收回应收账款"));
    } else if (roll < 80) {
        writeLine(dencode, number, day, false, kPurchases, QString(), kPayables, sub,
                  draw_.cents(10'000, 800'000), QStringLiteral("赊购商品"));
    } else if (roll < 95) {
        writeLine(dencode, number, day, false, kPayables, sub, kBank, QString(),
                  draw_.cents(10'000, 700'000), QStringLiteral("支付应付账款"));
    } else {
        writeLine(dencode, number, day, false, kBank, QString(), kCash, QString(), deposit,
                  QStringLiteral("现金存入银行"));
        return -deposit;
    }
    return {};
}

void Generator::writeDay(int index) {
    const QDate date = spec_.start.addDays(index);
    const QString day = dayText(date);
    const QString month = day.left(7);
    const QString dencode = QStringLiteral("%1").arg(index + 1, 5, 10, QLatin1Char('0'));
    // Each grid account gives at most one line a day, as a save of the entry screen writes them;
    // the rest of the day's lines come from the transfer grid.
    const int k = spec_.linesPerDay;
    const int incomeLines = std::min(static_cast<int>(income_.size()), (k + 9) / 10);
    const int expenseLines = std::min(static_cast<int>(expense_.size()), (k - incomeLines) / 4);
    const std::vector<bool> incomeChosen =
        draw_.pick(static_cast<int>(income_.size()), incomeLines);
    const std::vector<bool> expenseChosen =
        draw_.pick(static_cast<int>(expense_.size()), expenseLines);

    const Money opening = cash_;
    int number = 0;
    for (qsizetype a = 0; a < income_.size(); ++a) {
        Money amount;
        if (incomeChosen[static_cast<size_t>(a)]) {
            amount = draw_.cents(20'000, 2'000'000);
            writeLine(dencode, ++number, day, true, kCash, QString(), income_.at(a).kocode,
                      QString(), amount, QStringLiteral("现金收入"));
            cash_ += amount;
        }
        writeDayToran(income_.at(a), month, date.day(), amount);
    }
    for (qsizetype a = 0; a < expense_.size(); ++a) {
        Money amount;
        if (expenseChosen[static_cast<size_t>(a)]) {
            amount = draw_.cents(1'000, 150'000);
            writeLine(dencode, ++number, day, true, expense_.at(a).kocode, QString(), kCash,
                      QString(), amount, QStringLiteral("现金支出"));
            cash_ -= amount;
        }
        writeDayToran(expense_.at(a), month, date.day(), amount);
    }
    while (number < k) {
        cash_ += writeTransfer(dencode, ++number, day, cash_);
    }
    checkWritten(WriteSiwakeTable({cid_, dencode, dencode, day, today_, QStringLiteral("1"),
                                   opening.toText(), cash_.toText(), QStringLiteral("0")},
                                  QStringLiteral("T_SIWAKE")),
                 QStringLiteral("T_SIWAKE"));
}

void Generator::markMonthsStale() {
    const QString first = openingMonth(kisyu_.left(7));
    const QString last = kimatu_.left(7);
    if (!MarkMonthsStale(first, last)) {
        failWith(QStringLiteral("UpdateTukiSimebi 失败。"));
    }
}

}  // namespace

bool generateBook(const BookSpec& book, QString* error) {
    const auto failed = [error](const QString& text) {
        if (error) {
            *error = text;
        }
        return false;
    };
    const QString problem = bookProblem(book);
    if (!problem.isEmpty()) {
        return failed(problem);
    }
    Database& db = Database::global();
    if (!db.isOpen()) {
        return failed(QStringLiteral("数据库没有打开。"));
    }
    Session& s = session();
    const QString previousCid = s.CurrentCid;
    const QString previousLabel = s.PeriodLabel;
    QString reason;
    try {
        std::optional<TransactionGuard> transaction;
        if (!db.inTransaction()) {
            transaction.emplace(db);
        }
        Generator(book).run();
        if (transaction) {
            transaction->commit();
        }
        return true;
    } catch (const DbError& e) {
        reason = QString::number(e.number()) + u' ' + e.description();
    } catch (const GenerateError& e) {
        reason = e.text;
    }
    s.CurrentCid = previousCid;
    s.PeriodLabel = previousLabel;
    return failed(reason);
}
