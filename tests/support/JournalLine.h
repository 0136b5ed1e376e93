#pragma once

#include <gtest/gtest.h>
#include <QStringList>

#include "db/Database.h"
#include "db/RowWriters.h"

// Writes voucher number `voucher` of set cid as one transfer line (line "001"): debit
// account[/subsidiary] against credit account[/subsidiary] for amount. Fails the test when the
// row writer refuses it.
inline void writeJournalLine(const QString& cid, int voucher, const QString& day,
                             const QString& debit, const QString& debitSub, const QString& credit,
                             const QString& creditSub, const QString& amount) {
    QStringList f(31);
    f[0] = QStringLiteral("%1").arg(voucher, 5, 10, QLatin1Char('0'));
    f[1] = QStringLiteral("001");
    f[2] = cid;
    f[3] = day;
    f[4] = day.left(7);
    f[5] = QStringLiteral("1");
    f[6] = debit;
    f[7] = debitSub;
    f[13] = amount;
    f[17] = credit;
    f[18] = creditSub;
    f[24] = amount;
    EXPECT_TRUE(WriteSiMeisaiTable(f, QStringLiteral("T_SI_MEISAI")))
        << Database::global().lastErrorText().toStdString();
}
