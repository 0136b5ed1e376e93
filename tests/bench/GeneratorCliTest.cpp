#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include "support/CliRunner.h"
#include "support/DatabaseFiles.h"
#include "support/QtPrinters.h"

namespace {

QStringList generateArguments(const QString& file) {
    return QStringList{QStringLiteral("--db"), file} +
           QStringLiteral(
               "--today 2024/03/15 generate --set 51 --start 2024/01/01 --days 60 "
               "--lines-per-day 12 --seed 42")
               .split(u' ');
}

TEST(GeneratorCli, GeneratesABookAndTotalsIt) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Kaikei.mdb"));
    const CliRun generated = cli(generateArguments(file));
    ASSERT_EQ(generated.status, 0) << generated.err.toStdString();
    EXPECT_TRUE(generated.out.contains(u"720 lines")) << generated.out.toStdString();
    EXPECT_EQ(valueIn(file, QStringLiteral("SELECT COUNT(*) FROM T_SIWAKE WHERE CID = '51'")),
              QStringLiteral("60"));
    // --today fixes the date the vouchers were created on.
    EXPECT_EQ(valueIn(file, QStringLiteral("SELECT DISTINCT SYORIDAY FROM T_SIWAKE")),
              QStringLiteral("2024/03/15"));

    const QStringList totalsArguments = QStringList{QStringLiteral("--db"), file} +
                                        QStringLiteral("totals --set 51 --end 2024/02").split(u' ');
    const CliRun totals = cli(totalsArguments);
    ASSERT_EQ(totals.status, 0) << totals.err.toStdString();
    const QString tukikan =
        valueIn(file, QStringLiteral("SELECT COUNT(*) FROM T_TUKIKAN WHERE CID = '51'"));
    EXPECT_GT(tukikan.toInt(), 0);
    EXPECT_TRUE(totals.out.contains(QStringLiteral("T_TUKIKAN %1 rows").arg(tukikan)))
        << totals.out.toStdString();
    EXPECT_EQ(valueIn(file, QStringLiteral("SELECT DATEYM FROM T_TUKISIMECHECK WHERE CID = '51'")),
              QStringLiteral("2024/02"));
    // Without --subsidiary the subsidiary totals are left stale, with it they are computed.
    EXPECT_EQ(valueIn(file, QStringLiteral("SELECT SYORIFLGH FROM T_TUKISIME WHERE CID = '51' "
                                           "AND DATEYM = '2024/02'")),
              QStringLiteral("0"));
    const CliRun subsidiary = cli(totalsArguments + QStringList{QStringLiteral("--subsidiary")});
    ASSERT_EQ(subsidiary.status, 0) << subsidiary.err.toStdString();
    EXPECT_EQ(valueIn(file, QStringLiteral("SELECT SYORIFLGH FROM T_TUKISIME WHERE CID = '51' "
                                           "AND DATEYM = '2024/02'")),
              QStringLiteral("1"));
    EXPECT_NE(valueIn(file, QStringLiteral("SELECT COUNT(*) FROM T_TUKIHOJO WHERE CID = '51' "
                                           "AND DATEYM = '2024/02'")),
              QStringLiteral("0"));

    // The same command line gives the same book in another file.
    const QString other = dir.filePath(QStringLiteral("other.mdb"));
    ASSERT_EQ(cli(generateArguments(other)).status, 0);
    const QString digest = QStringLiteral(
        "SELECT GROUP_CONCAT(DENCODE || DENMENO || KRKOCODE || KRHOKOCODE || KSKOCODE || "
        "KSHOKOCODE || KRKIN, ',') FROM (SELECT * FROM T_SI_MEISAI WHERE CID = '51' ORDER BY "
        "DENCODE, DENMENO)");
    EXPECT_EQ(valueIn(other, digest), valueIn(file, digest));
}

}  // namespace
