#include <gtest/gtest.h>

#include <QHash>
#include <QSqlDatabase>
#include <QStringDecoder>
#include <QStringEncoder>

#include "db/Database.h"
#include "db/ShippedDatabase.h"
#include "support/StringLists.h"
#include "support/TestDatabase.h"

namespace {

class CharacterTable : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        // A tab joins the two: the table has a row for "|", the helper's separator.
        for (const QString& row :
             rows(QStringLiteral("SELECT CHINESE || char(9) || JAPANESE FROM T_MOJICHG"))) {
            const QStringList cells = row.split(u'\t');
            japaneseOf.insert(cells.value(0), cells.value(1));
        }
    }

    // The word as the Japanese edition receives it; "?" where a character has no row.
    QString toJapanese(const QString& word) const {
        QString out;
        for (const QChar ch : word) {
            out += japaneseOf.value(QString(ch), QStringLiteral("?"));
        }
        return out;
    }

    QHash<QString, QString> japaneseOf;
};

TEST_F(CharacterTable, CoversTheCommonCharactersOnePairEach) {
    // GB2312 level 1 has 3,755 characters; only those with no Shift_JIS form are missing.
    EXPECT_GE(count(QStringLiteral("SELECT COUNT(*) FROM T_MOJICHG")), 3300);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_MOJICHG")),
              count(QStringLiteral("SELECT COUNT(DISTINCT CHINESE) FROM T_MOJICHG")));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_MOJICHG "
                                   "WHERE LENGTH(CHINESE) <> 1 OR LENGTH(JAPANESE) <> 1")),
              0);
}

TEST_F(CharacterTable, WritesAccountingWordsAsJapaneseDoes) {
    const QStringList pairs =
        strings({"现金 現金", "资产 資産", "负债 負債", "账簿 帳簿", "帐户 帳戸",
                 "发生 発生", "费用 費用", "收入 収入", "决算 決算", "准备金 準備金",
                 "原价 原価", "机械 機械", "委托 委託", "建筑 建築", "无形资产 無形資産",
                 "损益 損益", "税金 税金", "增值 増値", "以后 以後", "剩余 剰余"});
    for (const QString& pair : pairs) {
        const QStringList words = pair.split(u' ');
        EXPECT_EQ(toJapanese(words[0]), words[1]);
    }
}

TEST_F(CharacterTable, KeepsCharactersJapaneseAlreadyWrites) {
    // Their traditional forms (剝, 檔, 僱, 佔, 稅) are not in Shift_JIS; Japanese writes these.
    EXPECT_EQ(toJapanese(QStringLiteral("剥档雇占税")), QStringLiteral("剥档雇占税"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_MOJICHG WHERE JAPANESE IN "
                                   "('剝', '檔', '僱', '佔', '賬', '稅', '產')")),
              0);
}

TEST_F(CharacterTable, EveryJapaneseSideSurvivesShiftJis) {
    QString bad;
    for (auto it = japaneseOf.cbegin(); it != japaneseOf.cend(); ++it) {
        // A fresh codec each time: an error stays set on the one that met it.
        QStringEncoder encoder("Shift_JIS");
        QStringDecoder decoder("Shift_JIS");
        ASSERT_TRUE(encoder.isValid() && decoder.isValid());
        const QByteArray bytes = encoder.encode(it.value());
        if (encoder.hasError() || QString(decoder.decode(bytes)) != it.value()) {
            bad += it.value();
        }
    }
    EXPECT_EQ(bad, QString());
    // Guards the check itself: a character outside JIS X 0208 must fail it.
    QStringEncoder encoder("Shift_JIS");
    QStringDecoder decoder("Shift_JIS");
    const QByteArray bytes = encoder.encode(QStringLiteral("赋"));
    EXPECT_NE(QString(decoder.decode(bytes)), QStringLiteral("赋"));
}

// Every character of a shipped name, the brackets of 应付账款（外币） included, and the
// punctuation, letters and digits of descriptions.
TEST_F(CharacterTable, CoversTheShippedNamesAndDescriptions) {
    QString missing;
    const QStringList names = rows(QStringLiteral(
        "SELECT KANNAME FROM MT_KANJO UNION ALL SELECT KANNAME FROM T_KISYUZAN UNION ALL "
        "SELECT COMPANY FROM T_COMP_MAIN"));
    ASSERT_FALSE(names.isEmpty());
    QString printable;
    for (char16_t c = 0x20; c < 0x7F; ++c) {
        printable += QChar(c);
    }
    for (const QString& name :
         names + QStringList{printable, QStringLiteral("（）、，。：；“”‘’《》【】！？％…—～·　"),
                             QStringLiteral("０１２３４５６７８９ＡＢＣＸＹＺａｂｚ")}) {
        for (const QChar ch : name) {
            if (!japaneseOf.contains(QString(ch)) && !missing.contains(ch)) {
                missing += ch;
            }
        }
    }
    EXPECT_EQ(missing, QString());
    EXPECT_EQ(toJapanese(QStringLiteral("（A-1）·～—")), QStringLiteral("（A-1）・~―"));
}

// A file made before rows were added gets them after its own, which keep their order and
// values; a second open adds nothing.
TEST_F(CharacterTable, OldFilesGetTheNewRowsAfterTheirOwn) {
    const qint64 shipped = count(QStringLiteral("SELECT COUNT(*) FROM T_MOJICHG"));
    exec(QStringLiteral("DELETE FROM T_MOJICHG WHERE CHINESE IN ('（', '）', 'A', '#', ' ')"));
    exec(QStringLiteral("UPDATE T_MOJICHG SET JAPANESE = '帳' WHERE CHINESE = '一'"));
    const QStringList old = rows(QStringLiteral("SELECT JAPANESE, CHINESE FROM T_MOJICHG"));
    QSqlDatabase connection = Database::global().connection();
    ShippedDatabase::addMissingCharacters(connection);
    ShippedDatabase::addMissingCharacters(connection);
    const QStringList now = rows(QStringLiteral("SELECT JAPANESE, CHINESE FROM T_MOJICHG"));
    EXPECT_EQ(now.size(), shipped);
    EXPECT_EQ(now.mid(0, old.size()), old);
    QStringList added = now.mid(old.size());
    added.sort();
    EXPECT_EQ(added, strings({" | ", "#|#", "A|A", "（|（", "）|）"}));
}

}  // namespace
