#include <gtest/gtest.h>

#include "db/Database.h"
#include "db/RowWriters.h"
#include "support/StringLists.h"
#include "support/TestDatabase.h"

namespace {

class RowWriters : public DatabaseTest {
  protected:
    static QStringList blanks(int n) { return QStringList(n, QString()); }
};

TEST_F(RowWriters, CompanyRowEncodesEveryKindOfPosition) {
    QStringList f = blanks(27);
    f[0] = QStringLiteral(" 52 ");                // text: trimmed
    f[1] = QStringLiteral("O'Brien \"A\" 商店");  // text with both quotes
    f[13] = QStringLiteral("2024-4-10");          // date: 7 digits, read as 2024 / 41 / 0
    f[14] = QStringLiteral("25/03/31");           // date: two-digit year
    f[18] = QStringLiteral("3");                  // raw number
    f[21] = QStringLiteral(" 2024/04 ");          // untrimmed text
    f[22] = QStringLiteral("2024");               // date with too few digits
    f[23] = QString();                            // number: empty is 0
    f[26] = QString();                            // quoted number: empty is '0'
    ASSERT_TRUE(WriteCompanyTable(f, QStringLiteral("T_COMP_MAIN")))
        << Database::global().lastErrorText().toStdString();
    EXPECT_EQ(rows(QStringLiteral("SELECT CID, COMPANY, KISYU, KIMATU, NENDOSU, KISYUM, "
                                  "SETURITU, SIHON, RATE, typeof(NENDOSU) FROM T_COMP_MAIN "
                                  "WHERE CID = '52'")),
              QStringList{QStringLiteral(
                  "52|O'Brien \"A\" 商店|2024/12/01|2025/03/31|3| 2024/04 ||0|0|integer")});

    // A raw number does not accept an empty field: nothing is written.
    f[0] = QStringLiteral("53");
    f[18] = QString();
    EXPECT_FALSE(WriteCompanyTable(f, QStringLiteral("T_COMP_MAIN")));
    EXPECT_EQ(Database::global().lastErrorNumber(), DbError::kInvalidValue);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_COMP_MAIN WHERE CID = '53'")), 0);
}

TEST_F(RowWriters, AmountsAreStoredExactly) {
    QStringList line = blanks(31);
    line[0] = QStringLiteral("00001");
    line[1] = QStringLiteral("001");
    line[2] = QStringLiteral("51");
    line[3] = QStringLiteral("20240402");
    line[13] = QStringLiteral("1234.5678");  // KRKIN
    line[24] = QStringLiteral("-0.1");       // KSKIN
    ASSERT_TRUE(WriteSiMeisaiTable(line, QStringLiteral("T_SI_MEISAI")));
    EXPECT_EQ(rows(QStringLiteral("SELECT SIDAY, KRKIN, KSKIN, KRTKIN, typeof(KRKIN) "
                                  "FROM T_SI_MEISAI")),
              strings({"2024/04/02|12345678|-1000|0|integer"}));

    QStringList toran = blanks(35);
    toran[0] = QStringLiteral("51");
    toran[1] = QStringLiteral("501");
    toran[2] = QStringLiteral("2024/02");
    for (int day = 1; day <= 31; ++day) {
        toran[3 + day] = day <= 29 ? QString::number(day) : QStringLiteral("0");
    }
    ASSERT_TRUE(WriteDayToranTable(toran, QStringLiteral("T_DAY_TORAN")));
    EXPECT_EQ(value(QStringLiteral("SELECT KIN29 || '/' || KIN30 FROM T_DAY_TORAN")),
              QStringLiteral("290000/0"));

    // Text that is no amount never reaches the table.
    toran[1] = QStringLiteral("502");
    toran[10] = QStringLiteral("12abc");
    EXPECT_FALSE(WriteDayToranTable(toran, QStringLiteral("T_DAY_TORAN")));
    toran[10] = QStringLiteral("1,234");  // separators are read as a person writes them
    EXPECT_TRUE(WriteDayToranTable(toran, QStringLiteral("T_DAY_TORAN")));
}

TEST_F(RowWriters, WrongShapeOrTableFails) {
    EXPECT_FALSE(WriteTekiyoTable(blanks(2), QStringLiteral("T_TEKIYO")));
    EXPECT_FALSE(WriteTekiyoTable(blanks(4), QStringLiteral("T_TEKIYO")));
    // The writer of a 3-column table cannot fill a wider one.
    EXPECT_FALSE(WriteTekiyoTable(blanks(3), QStringLiteral("T_SI_PATTERN")));
    EXPECT_FALSE(WriteTekiyoTable(blanks(3), QStringLiteral("T_TEKIYO; DROP TABLE T_KANJO")));
    EXPECT_TRUE(WriteTekiyoTable(
        {QStringLiteral("51"), QStringLiteral("1"), QStringLiteral("  it's \"fine\"  ")},
        QStringLiteral("WK_TEKIYO")));
    EXPECT_EQ(value(QStringLiteral("SELECT TENAME FROM WK_TEKIYO")),
              QStringLiteral("it's \"fine\""));
}

TEST_F(RowWriters, KesansyoKeepsItsOuterTextsUntrimmed) {
    QStringList f = blanks(66);
    f[0] = QStringLiteral("51 ");
    for (int i = 1; i <= 64; ++i) {
        f[i] = QString::number(i);
    }
    f[65] = QStringLiteral("2024/12/31");
    ASSERT_TRUE(WriteBKesansyoTable(f, QStringLiteral("BT_KESANSYO")));
    EXPECT_EQ(value(QStringLiteral("SELECT CID || '|' || KIN64 || '|' || DATEYMD FROM "
                                   "BT_KESANSYO")),
              QStringLiteral("51 |640000|2024/12/31"));
    EXPECT_EQ(rowWriterEncoding(&WriteKisyuzanTable, 11), FieldEncoding::QuotedNumber);
    EXPECT_EQ(rowWriterEncoding(&WriteSiwakeTable, 4), FieldEncoding::Date);
    EXPECT_EQ(rowWriterEncoding(&WriteSiwakeTable, 6), FieldEncoding::Text);
}

}  // namespace
