#pragma once

#include <QSqlQuery>
#include <QSqlRecord>

#include "common/Money.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/RowWriters.h"
#include "support/TestDatabase.h"
#include "totals/MonthFlags.h"

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
        QStringList f(31);
        f[0] = QStringLiteral("%1").arg(++lines_, 5, 10, QLatin1Char('0'));
        f[1] = QStringLiteral("001");
        f[2] = QStringLiteral("01");
        f[3] = QLatin1String(day);
        f[4] = QLatin1String(day).left(7);
        f[5] = QStringLiteral("1");
        f[6] = QLatin1String(debit);
        f[7] = QLatin1String(debitSub);
        f[13] = QLatin1String(value);
        f[17] = QLatin1String(credit);
        f[18] = QLatin1String(creditSub);
        f[24] = QLatin1String(value);
        ASSERT_TRUE(WriteSiMeisaiTable(f, QStringLiteral("T_SI_MEISAI")))
            << Database::global().lastErrorText().toStdString();
    }

    // Assets 004 1000, 009 5000, 034 2000 (subsidiaries 001: 1500, 002: 500); liabilities 124
    // 3000; equity 165 4000, 171 1000. Sales 180, wages 263.
    void standardBook() {
        opening("004", "1000");
        opening("009", "5000");
        opening("034", "2000");
        opening("124", "3000");
        opening("165", "4000");
        opening("171", "1000");
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

    // Rows of a query whose columns from firstAmount on are amounts, joined by "|".
    QStringList amountRows(const QString& sql, int firstAmount, const QVariantList& params = {}) {
        QSqlQuery query(Database::global().connection());
        query.prepare(sql);
        for (int i = 0; i < params.size(); ++i) {
            query.bindValue(i, params.at(i));
        }
        EXPECT_TRUE(query.exec()) << sql.toStdString();
        QStringList all;
        while (query.next()) {
            QStringList columns;
            for (int i = 0; i < query.record().count(); ++i) {
                columns.append(i < firstAmount ? query.value(i).toString()
                                               : Money::fromDb(query.value(i)).toText());
            }
            all.append(columns.join(u'|'));
        }
        return all;
    }

    // Account rows "KANKOCODE|DATEYM|KRTOTAL|KSTOTAL|KRRUI|KSRUI" of set 01.
    QStringList tukikan(const QString& condition = QStringLiteral("1 = 1"),
                        const QVariantList& params = {}) {
        return amountRows(QStringLiteral("SELECT KANKOCODE, DATEYM, KRTOTAL, KSTOTAL, KRRUI, KSRUI "
                                         "FROM T_TUKIKAN WHERE CID = '01' AND ") +
                              condition + QStringLiteral(" ORDER BY KANKOCODE, DATEYM"),
                          2, params);
    }

    // Subsidiary rows "KANKOCODE|HOCODE|DATEYM|KRTOTAL|KSTOTAL|KRRUI|KSRUI" of set 01.
    QStringList tukihojo() {
        return amountRows(
            QStringLiteral("SELECT KANKOCODE, HOCODE, DATEYM, KRTOTAL, KSTOTAL, KRRUI, KSRUI FROM "
                           "T_TUKIHOJO WHERE CID = '01' ORDER BY KANKOCODE, HOCODE, DATEYM"),
            3);
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
