#include "BenchBook.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include "common/Clock.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ShippedDatabase.h"
#include "master/CurrentAccountSet.h"

namespace {

class BenchDatabase {
  public:
    static const QString& error() {
        static BenchDatabase instance;
        return instance.error_;
    }

  private:
    BenchDatabase() {
        try {
            const QString file = dir_.filePath(QStringLiteral("Kaikei.mdb"));
            session().AppFolder = dir_.path() + u'/';
            Clock::setFixedToday(QDate(2025, 1, 10));
            ShippedDatabase::create(file);
            Database::global().open(file);
            if (!generateBook(yearSpec(kCid), &error_)) {
                error_.prepend(QStringLiteral("generateBook: "));
            }
        } catch (const DbError& e) {
            error_ = QString::number(e.number()) + u' ' + e.description();
        }
    }

    QTemporaryDir dir_;
    QString error_;
};

}  // namespace

BookSpec yearSpec(const QString& cid) {
    return {cid, QDate(2024, 1, 1), 365, 274, 20240101u};
}

bool benchBookReady(benchmark::State& state) {
    const QString& error = BenchDatabase::error();
    if (!error.isEmpty()) {
        state.SkipWithError(error.toUtf8().constData());
        return false;
    }
    return true;
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

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    // The SQL driver is a plugin, which wants an application object.
    QCoreApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
