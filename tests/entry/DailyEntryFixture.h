#pragma once

#include "common/Clock.h"
#include "common/Session.h"
#include "entry/DailyEntry.h"
#include "entry/VoucherRange.h"
#include "master/CurrentAccountSet.h"
#include "support/TestDatabase.h"

// Household set 01 with its period moved to start on 2024/05/01 and 1,000 cash in hand; today is
// 2024/05/20, so the first opening makes vouchers 00001 (05/01) … 00020 (05/20).
class DailyEntryFixture : public DatabaseTest, protected DailyEntryHost {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        exec(
            QStringLiteral("UPDATE T_COMP_MAIN SET KISYU = '2024/05/01', KIMATU = '2025/04/30', "
                           "SIINLDAY = '2025/06/30' WHERE CID = '01'"));
        exec(QStringLiteral("UPDATE T_KISYUZAN SET KISYUZAN = ? WHERE CID = '01' AND KOCODE = "
                            "'004'"),
             {Money::fromInt(1000).toDb()});
        session().CurrentCid = QStringLiteral("01");
        session().CallerForm = QStringLiteral("MainMenu");
        ASSERT_TRUE(ResetCompanyData());
    }

    void setBusy(bool busy) override { busyCalls.append(busy); }
    void focusDateBox() override { focus.append(QStringLiteral("txtSyoriNen")); }
    void focusRate() override { focus.append(QStringLiteral("numRate")); }
    void focusIncomeGrid() override { focus.append(QStringLiteral("spdSS1")); }

    // Row of an account in a simple grid, -1 when it is not there.
    static int rowOf(const DailyEntry& entry, EntryGrid grid, const QString& kocode) {
        const QList<SimpleEntryRow>& rows = entry.rows(grid);
        for (int r = 0; r < rows.size(); ++r) {
            if (rows.at(r).KOCODE == kocode) {
                return r;
            }
        }
        return -1;
    }

    // Fills transfer row r with debit/credit account texts and an amount.
    static void transferLine(DailyEntry& entry, int row, const QString& debit,
                             const QString& credit, const QString& amount) {
        while (entry.transferRows().size() <= row) {
            ASSERT_TRUE(entry.add_spread_row());
        }
        entry.setTransferCell(row, kDebitColumn, debit);
        entry.setTransferCell(row, kCreditColumn, credit);
        entry.setTransferCell(row, kAmountColumn, amount);
    }

    // "YDAYZAN/DAYZAN" per voucher in whole units.
    QStringList chain() {
        QStringList out;
        for (const QString& row : rows(QStringLiteral("SELECT YDAYZAN, DAYZAN FROM T_SIWAKE WHERE "
                                                      "CID = '01' ORDER BY DENCODE"),
                                       {}, 0)) {
            out.append(row.split(u'|').join(u'/'));
        }
        return out;
    }

    QList<bool> busyCalls;
    QStringList focus;
};
