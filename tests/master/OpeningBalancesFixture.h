#pragma once

#include "common/Session.h"
#include "db/Database.h"
#include "db/RowWriters.h"
#include "master/OpeningBalances.h"
#include "support/TestDatabase.h"
#include "totals/MonthFlags.h"

// Set 01 (the shipped working chart) with the period 2024/01/01-2024/12/31 made current, its
// month flags built and then all marked computed, so that a marking shows.
class OpeningBalancesFixture : public DatabaseTest, protected OpeningBalancesHost {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("01");
        exec(
            QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = '2024/01/01', KIMATU = '2024/12/31' "
                           "WHERE CID = '01'"));
        exec(QStringLiteral("DELETE FROM WK_COMPANY"));
        exec(QStringLiteral("INSERT INTO WK_COMPANY SELECT * FROM T_COMP_MAIN WHERE CID = '01'"));
        ASSERT_TRUE(SetTukisimeData(QStringLiteral("2024/01"), QStringLiteral("2024/12")));
        exec(QStringLiteral("UPDATE T_TUKISIME SET SYORIFLG = '1', SYORIFLGH = '1'"));
    }

    void focusRate() override { ++rateFocused; }

    // The grid row of an account.
    int rowOf(const OpeningBalances& logic, const QString& kocode) {
        for (int r = 0; r < logic.rows().size(); ++r) {
            if (logic.rows().at(r).KOCODE == kocode) {
                return r;
            }
        }
        ADD_FAILURE() << "no row for " << kocode.toStdString();
        return -1;
    }

    // An account's opening balance in the working chart and in the set, as "chart|set".
    QString stored(const QString& kocode) {
        return value(QStringLiteral("SELECT K.KISYUZAN || '|' || S.KISYUZAN FROM T_KANJO K "
                                    "JOIN T_KISYUZAN S ON S.KOCODE = K.KOCODE AND S.CID = '01' "
                                    "WHERE K.KOCODE = ?"),
                     {kocode});
    }
    // Debit total, credit total and their difference as the screen shows them.
    static QString totals(const OpeningBalances& logic) {
        return logic.txtKarikei().toText() + u'|' + logic.txtKasikei().toText() + u'|' +
               logic.txtTaisyakuSai().toText();
    }

    void writeVoucher(const QString& cid, const QString& code, const QString& day,
                      const QString& brought, const QString& closing) {
        ASSERT_TRUE(WriteSiwakeTable({cid, code, code, day, QStringLiteral("2024/01/01"),
                                      QStringLiteral("1"), brought, closing, QStringLiteral("0")},
                                     QStringLiteral("T_SIWAKE")));
    }

    QStringList vouchers() {
        return rows(
            QStringLiteral("SELECT DENDAY, YDAYZAN, DAYZAN FROM T_SIWAKE WHERE CID = '01' "
                           "ORDER BY DENCODE"));
    }

    bool anyMonthStale() {
        return count(QStringLiteral("SELECT COUNT(*) FROM T_TUKISIME WHERE CID = '01' "
                                    "AND (SYORIFLG <> '1' OR SYORIFLGH <> '1')")) > 0;
    }

    // A subsidiary account of the current set.
    void addSubsidiary(const QString& kocode, const QString& hokocode, qint64 units) {
        exec(QStringLiteral("INSERT INTO T_HOJOKAMOKU (CID, KANKOCODE, HOKOCODE, HOCODE, HONAME, "
                            "KISYUZAN) VALUES ('01', ?, ?, ?, ?, ?)"),
             {kocode, hokocode, hokocode, QStringLiteral("辅助") + hokocode, units});
    }

    int rateFocused = 0;
};
