#include <gtest/gtest.h>

#include "db/Database.h"
#include "db/RowWriters.h"
#include "support/StringLists.h"
#include "support/TestDatabase.h"

namespace {

QStringList columnNames(const QString& table) {
    QStringList names;
    for (const Column& c : Database::global().columns(table)) {
        names.append(c.name);
    }
    return names;
}

class ShippedSchema : public DatabaseTest {};

TEST_F(ShippedSchema, BackupListNamesTablesThatFitTheirWriters) {
    RecordSet rs = Database::global().query(
        QStringLiteral("SELECT SEQNO, TEXTNAME, FLPNO, KEISIKI FROM T_BACKUP ORDER BY SEQNO"));
    int expected = 1;
    for (; !rs.eof(); rs.moveNext(), ++expected) {
        const int seqNo = static_cast<int>(rs.number(QStringLiteral("SEQNO")));
        const QString table = rs.text(QStringLiteral("KEISIKI"));
        EXPECT_EQ(seqNo, expected);
        EXPECT_EQ(rs.text(QStringLiteral("TEXTNAME")),
                  QStringLiteral("T_%1").arg(seqNo, 3, 10, QLatin1Char('0')));
        const RowWriter writer = rowWriterForSeqNo(seqNo);
        ASSERT_NE(writer, nullptr);
        EXPECT_EQ(rs.number(QStringLiteral("FLPNO")), rowWriterFieldCount(writer)) << seqNo;
        EXPECT_EQ(Database::global().columns(table).size(), rowWriterFieldCount(writer))
            << table.toStdString();
    }
    EXPECT_EQ(expected, 24);
    EXPECT_EQ(rowWriterForSeqNo(0), nullptr);
    EXPECT_EQ(rowWriterForSeqNo(24), nullptr);
}

TEST_F(ShippedSchema, CopiesShareTheLayoutOfTheirLiveTables) {
    const QStringList pairs = strings(
        {"T_COMP_MAIN WK_COMPANY", "T_COMP_MAIN BT_COMP_MAIN", "T_SIWAKE BT_SIWAKE",
         "T_SI_MEISAI BT_SI_MEISAI", "T_SI_MEISAI T_SIMEISAI_FUKYU", "T_DAY_INPUT BT_DAY_INPUT",
         "T_SI_PATTERN BT_SI_PATTERN", "T_SI_PATTERN WK_SI_PATTERN", "T_DAY_TORAN BT_DAY_TORAN",
         "T_KISYUZAN BT_KISYUZAN", "T_HOJOKAMOKU BT_HOJOKAMOKU", "T_TEKIYO BT_TEKIYO",
         "T_TEKIYO WK_TEKIYO", "T_TUKISIME BT_TUKISIME", "P_KESANSYO BT_KESANSYO"});
    for (const QString& pair : pairs) {
        const QStringList tables = pair.split(u' ');
        EXPECT_EQ(columnNames(tables[0]), columnNames(tables[1])) << pair.toStdString();
    }
    EXPECT_EQ(columnNames(QStringLiteral("BT_KANJO")),
              strings({"CID"}) + columnNames(QStringLiteral("T_KANJO")));
    EXPECT_EQ(columnNames(QStringLiteral("MT_KANJO")),
              columnNames(QStringLiteral("T_KANJO")) + strings({"CID"}));
}

TEST_F(ShippedSchema, PositionsTheWritersRelyOn) {
    const auto at = [](const QString& table, int position) {
        return columnNames(table).at(position - 1);
    };
    EXPECT_EQ(at(QStringLiteral("T_COMP_MAIN"), 14), QStringLiteral("KISYU"));
    EXPECT_EQ(at(QStringLiteral("T_COMP_MAIN"), 19), QStringLiteral("NENDOSU"));
    EXPECT_EQ(at(QStringLiteral("T_COMP_MAIN"), 27), QStringLiteral("RATE"));
    EXPECT_EQ(at(QStringLiteral("T_KANJO"), 18), QStringLiteral("KISYUZAN"));
    EXPECT_EQ(at(QStringLiteral("T_KANJO"), 23), QStringLiteral("JUN"));
    EXPECT_EQ(at(QStringLiteral("T_SI_MEISAI"), 14), QStringLiteral("KRKIN"));
    EXPECT_EQ(at(QStringLiteral("T_SI_MEISAI"), 25), QStringLiteral("KSKIN"));
    EXPECT_EQ(at(QStringLiteral("T_SI_MEISAI"), 31), QStringLiteral("ptcode"));
    EXPECT_EQ(at(QStringLiteral("T_DAY_TORAN"), 35), QStringLiteral("KIN31"));
    EXPECT_EQ(at(QStringLiteral("T_KISYUZAN"), 11), QStringLiteral("RATE"));
    EXPECT_EQ(at(QStringLiteral("P_KESANSYO"), 66), QStringLiteral("DATEYMD"));
    EXPECT_EQ(columnNames(QStringLiteral("P_KESANSYO_S")).size(), 88);
    EXPECT_EQ(columnNames(QStringLiteral("T_SIALL_OUT")).size(), 24);
    EXPECT_EQ(columnNames(QStringLiteral("T_PRINTKOMOKU")).first(), QStringLiteral("PCODE1"));
    // Every money column stores an exact count, never a float.
    for (const Column& c : Database::global().columns(QStringLiteral("T_SI_MEISAI"))) {
        if (c.name.endsWith(u"KIN")) {
            EXPECT_EQ(c.kind, ColumnKind::Money) << c.name.toStdString();
        }
    }
}

TEST_F(ShippedSchema, ShippedRows) {
    EXPECT_EQ(rows(QStringLiteral("SELECT CID, DATEYM FROM T_TUKISIMECHECK ORDER BY CID")),
              strings({"P1|", "P2|"}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_COMP_MAIN WHERE CID < '51' AND "
                                   "KISYU = '2000/01/01' AND AICODE = '004'")),
              13);
    EXPECT_EQ(value(QStringLiteral("SELECT COMPANY FROM T_COMP_MAIN WHERE CID = '01'")),
              QStringLiteral("家计簿"));
    // The accounts the program gives a fixed role, with the kind that role needs.
    EXPECT_EQ(rows(QStringLiteral(
                  "SELECT KOCODE, SYORIKBN FROM MT_KANJO WHERE KOCODE IN ('004', '113', '152', "
                  "'171', '176', '202', '258', '348', '353', '999') ORDER BY KOCODE")),
              strings({"004|0", "113|1", "152|1", "171|0", "176|1", "202|1", "258|1", "348|1",
                       "353|1", "999|0"}));
    EXPECT_EQ(value(QStringLiteral("SELECT KMCODE FROM MT_KANJO WHERE KOCODE = '999'")),
              QStringLiteral("999"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM MT_KANJO WHERE KISYUZAN <> 0")), 0);
}

}  // namespace
