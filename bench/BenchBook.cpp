#include "BenchBook.h"

#include <QApplication>
#include <QTemporaryDir>
#include <map>

#include "common/Clock.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ShippedDatabase.h"
#include "master/CurrentAccountSet.h"

namespace {

class BenchDatabase {
  public:
    static BenchDatabase& instance() {
        static BenchDatabase database;
        return database;
    }

    const QString& error() const { return error_; }

    // The reason the book of lines could not be built, or empty.
    const QString& book(qint64 lines) {
        auto found = books_.find(lines);
        if (found == books_.end()) {
            QString reason = error_;
            if (reason.isEmpty() && !generateBook(yearSpec(bookCid(lines), lines), &reason)) {
                reason.prepend(QStringLiteral("generateBook: "));
            }
            found = books_.emplace(lines, reason).first;
        }
        return found->second;
    }

  private:
    BenchDatabase() {
        try {
            const QString file = dir_.filePath(QStringLiteral("Kaikei.mdb"));
            session().AppFolder = dir_.path() + u'/';
            Clock::setFixedToday(QDate(2025, 1, 10));
            ShippedDatabase::create(file);
            Database::global().open(file);
        } catch (const DbError& e) {
            error_ = QString::number(e.number()) + u' ' + e.description();
        }
    }

    QTemporaryDir dir_;
    QString error_;
    std::map<qint64, QString> books_;
};

bool ready(benchmark::State& state, const QString& error) {
    if (!error.isEmpty()) {
        state.SkipWithError(error.toUtf8().constData());
        return false;
    }
    return true;
}

}  // namespace

BookSpec yearSpec(const QString& cid, qint64 lines) {
    constexpr int days = 365;
    const int perDay = static_cast<int>((lines + days - 1) / days);
    BookSpec book{cid, QDate(2024, 1, 1), days, perDay, 20240101u};
    book.maxLinesPerDay = std::max(perDay, book.maxLinesPerDay);
    return book;
}

QString bookCid(qint64 lines) {
    return lines == kHundredThousand ? kCid : QStringLiteral("53");
}

bool benchDatabaseReady(benchmark::State& state) {
    return ready(state, BenchDatabase::instance().error());
}

bool benchBookReady(benchmark::State& state, qint64 lines) {
    return ready(state, BenchDatabase::instance().book(lines));
}

bool useSet(const QString& cid) {
    TransactionGuard transaction;
    session().CurrentCid = cid;
    bool ok = false;
    if (ResetCompanyData()) {
        change_kanjo_data(ok);
    }
    if (ok) {
        transaction.commit();
    }
    return ok;
}

bool currentBookReady(benchmark::State& state, qint64 lines) {
    if (!benchBookReady(state, lines)) {
        return false;
    }
    const QString cid = bookCid(lines);
    if (session().CurrentCid != cid && !useSet(cid)) {
        state.SkipWithError("the generated set cannot be made current");
        return false;
    }
    return true;
}

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    // The SQL driver is a plugin, which wants an application object; reports paint with fonts
    // and the preview is a window, which want a widget application but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
