#include <gtest/gtest.h>

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

#include "support/StringLists.h"
#include "support/TestDatabase.h"

namespace {

class CharacterTable : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        for (const QString& row : rows(QStringLiteral("SELECT CHINESE, JAPANESE FROM T_MOJICHG"))) {
            const QStringList cells = row.split(u'|');
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

bool isIdeograph(QChar ch) {
    return ch.unicode() >= 0x4E00 && ch.unicode() <= 0x9FFF;
}

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
    QStringEncoder encoder("Shift_JIS");
    QStringDecoder decoder("Shift_JIS");
    ASSERT_TRUE(encoder.isValid() && decoder.isValid());
    QString bad;
    for (auto it = japaneseOf.cbegin(); it != japaneseOf.cend(); ++it) {
        const QByteArray bytes = encoder.encode(it.value());
        if (encoder.hasError() || QString(decoder.decode(bytes)) != it.value()) {
            bad += it.value();
        }
    }
    EXPECT_EQ(bad, QString());
    // Guards the check itself: a character outside JIS X 0208 must fail it.
    const QByteArray bytes = encoder.encode(QStringLiteral("赋"));
    EXPECT_NE(QString(decoder.decode(bytes)), QStringLiteral("赋"));
}

TEST_F(CharacterTable, CoversTheShippedChartAndAccountSets) {
    QString missing;
    const QStringList names = rows(
        QStringLiteral("SELECT KANNAME FROM MT_KANJO UNION ALL SELECT COMPANY FROM T_COMP_MAIN"));
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        for (const QChar ch : name) {
            if (isIdeograph(ch) && !japaneseOf.contains(QString(ch)) && !missing.contains(ch)) {
                missing += ch;
            }
        }
    }
    EXPECT_EQ(missing, QString());
}

}  // namespace
