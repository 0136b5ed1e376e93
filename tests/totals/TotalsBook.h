#pragma once

#include <QSqlQuery>
#include <QSqlRecord>

#include "common/Money.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/RowWriters.h"
#include "support/JournalLine.h"
#include "support/TestDatabase.h"
#include "totals/MonthFlags.h"

// Expected rows written several to a line, separated by spaces.
inline QStringList rowsOf(const char* text) {
    return QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts);
}

// A small household book on set "01" (the set whose chart is loaded), period 2024/04-2025/03,
// account 034 with two subsidiary accounts. Amounts are read back as plain text ("1000.5").
class TotalsBook : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("01");
        session().CallerForm = QStringLiteral("prtSoukanjoMotocho");
        exec(
            QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = '2024/04/01', KIMATU = '2025/03/31' "
                           "WHERE CID = '01'"));
        exec(QStringLiteral("UPDATE T_KANJO SET HOJOSET = 'Y' WHERE KOCODE = '034'"));
        ASSERT_TRUE(SetTukisimeData(QStringLiteral("2024/04"), QStringLiteral("2025/03")));
    }

    static QVariant amount(const char* text) {
        return Money::parse(QString::fromLatin1(text)).value().toDb();
    }

    void opening(const char* kocode, const char* balance) {
        exec(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = ? WHERE KOCODE = ?"),
             {amount(balance), QLatin1String(kocode)});
    }

    void subsidiary(const char* hokocode, const char* balance) {
        exec(QStringLiteral("INSERT INTO T_HOJOKAMOKU (CID, KANKOCODE, HOKOCODE, HOCODE, HONAME, "
                            "KISYUZAN) VALUES ('01', '034', ?, ?, ?, ?)"),
             {QLatin1String(hokocode), QLatin1String(hokocode), QLatin1String(hokocode),
              amount(balance)});
    }

    // One voucher line: debit account[/subsidiary] against credit account[/subsidiary].
    void line(const char* day, const char* debit, const char* debitSub, const char* credit,
              const char* creditSub, const char* value) {
        writeJournalLine(QStringLiteral("01"), ++lines_, QLatin1String(day), QLatin1String(debit),
                         QLatin1String(debitSub), QLatin1String(credit), QLatin1String(creditSub),
                         QLatin1String(value));
    }

    // Assets 004 1000, 009 5000, 034 2000 (subsidiaries 001: 1500, 002: 500); liabilities 124
    // 3000; equity 165 4000, 171 1000. Sales 180, wages 263.
    void standardOpenings() {
        opening("004", "1000");
        opening("009", "5000");
        opening("034", "2000");
        opening("124", "3000");
        opening("165", "4000");
        opening("171", "1000");
    }

    void standardBook() {
        standardOpenings();
        subsidiary("001", "1500");
        subsidiary("002", "500");
        line("2024/04/10", "004", "", "180", "", "3000");
        line("2024/04/25", "263", "", "004", "", "800.5");
        line("2024/04/28", "034", "001", "004", "", "200");
        line("2024/05/06", "009", "", "034", "002", "500");
        line("2024/05/25", "263", "", "009", "", "1200");
        // Nothing in 2024/06.
        line("2024/07/01", "124", "", "009", "", "1000");
        line("2024/07/10", "004", "", "180", "", "2500");
        line("2024/07/15", "034", "", "004", "", "100");  // no subsidiary named
        line("2025/01/20", "263", "", "004", "", "50");
    }

    // Account rows "KANKOCODE|DATEYM|KRTOTAL|KSTOTAL|KRRUI|KSRUI" of set 01.
    QStringList tukikan(const QString& condition = QStringLiteral("1 = 1"),
                        const QVariantList& params = {}) {
        return rows(QStringLiteral("SELECT KANKOCODE, DATEYM, KRTOTAL, KSTOTAL, KRRUI, KSRUI "
                                   "FROM T_TUKIKAN WHERE CID = '01' AND ") +
                        condition + QStringLiteral(" ORDER BY KANKOCODE, DATEYM"),
                    params, 2);
    }

    // Subsidiary rows "KANKOCODE|HOCODE|DATEYM|KRTOTAL|KSTOTAL|KRRUI|KSRUI" of set 01.
    QStringList tukihojo() {
        return rows(
            QStringLiteral("SELECT KANKOCODE, HOCODE, DATEYM, KRTOTAL, KSTOTAL, KRRUI, KSRUI FROM "
                           "T_TUKIHOJO WHERE CID = '01' ORDER BY KANKOCODE, HOCODE, DATEYM"),
            {}, 3);
    }

    // "DATEYM|SYORIFLG|SYORIFLGH|SYORIDAY" of set 01.
    QStringList flags() {
        return rows(
            QStringLiteral("SELECT DATEYM, SYORIFLG, SYORIFLGH, SYORIDAY FROM T_TUKISIME WHERE "
                           "CID = '01' ORDER BY DATEYM"));
    }

    QString lastEndMonth() {
        return value(QStringLiteral("SELECT DATEYM FROM T_TUKISIMECHECK WHERE CID = '01'"));
    }

  private:
    int lines_ = 0;
};
