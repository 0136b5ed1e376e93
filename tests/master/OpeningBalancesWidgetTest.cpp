#include <gtest/gtest.h>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "OpeningBalancesFixture.h"
#include "master/ui/InpKisyuZandaka.h"

namespace {

class OpeningBalancesWidget : public OpeningBalancesFixture {
  protected:
    template <typename T>
    T* child(const InpKisyuZandaka& window, const char* name) {
        auto* found = window.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString boxText(const InpKisyuZandaka& window, const char* name) {
        return child<QLineEdit>(window, name)->text();
    }
};

TEST_F(OpeningBalancesWidget, ShowsEditsAndGuardsClosing) {
    InpKisyuZandaka window;
    window.show();
    auto* grid = child<QTableWidget>(window, "spdSS");
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->rowCount(), 81);
    EXPECT_TRUE(grid->isColumnHidden(4));
    QStringList first;
    for (int c = 0; c < 6; ++c) {
        first.append(grid->item(0, c)->text());
    }
    EXPECT_EQ(first.join(u'|'), QStringLiteral("101|现金|借|0.00|004|0"));
    int equity = -1;
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 0; c < 6; ++c) {
            EXPECT_EQ(bool(grid->item(r, c)->flags() & Qt::ItemIsEditable), c == 3);
        }
        const bool credit = grid->item(r, 2)->text() == u"贷";
        EXPECT_EQ(grid->item(r, 1)->foreground().color() == QColor(Qt::blue), credit);
        if (grid->item(r, 4)->text() == u"165") {
            equity = r;
        }
    }
    ASSERT_GE(equity, 0);
    EXPECT_FALSE(child<QDoubleSpinBox>(window, "numRate")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>(window, "txtTaisyakuSai")->isReadOnly());

    // An edit is stored and shown as the program reads it; the totals follow.
    grid->item(0, 3)->setText(QStringLiteral("1000.5"));
    EXPECT_EQ(value(QStringLiteral("SELECT KISYUZAN FROM T_KANJO WHERE KOCODE = '004'")),
              QStringLiteral("10005000"));
    EXPECT_EQ(grid->item(0, 3)->text(), QStringLiteral("1,000.50"));
    EXPECT_EQ(boxText(window, "txtKarikei") + u'|' + boxText(window, "txtKasikei") + u'|' +
                  boxText(window, "txtTaisyakuSai"),
              QStringLiteral("1,000.50|0.00|1,000.50"));
    // A refused text puts the stored amount back; amounts go to the 分 and no further.
    const QStringList refused = {QStringLiteral("xyz"), QStringLiteral("1.239")};
    for (const QString& text : refused) {
        grid->item(0, 3)->setText(text);
        EXPECT_EQ(grid->item(0, 3)->text(), QStringLiteral("1,000.50"));
    }
    EXPECT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("“1.239”超过两位小数。金额只能输入到分（例如 1234.56）。"));
    EXPECT_EQ(value(QStringLiteral("SELECT KISYUZAN FROM T_KANJO WHERE KOCODE = '004'")),
              QStringLiteral("10005000"));

    // Unbalanced by 0.40: the difference shows and the window stays.
    grid->item(equity, 3)->setText(QStringLiteral("1,000.10"));
    EXPECT_EQ(boxText(window, "txtTaisyakuSai"), QStringLiteral("0.40"));
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    grid->item(equity, 3)->setText(QStringLiteral("1,000.5"));
    EXPECT_EQ(boxText(window, "txtTaisyakuSai"), QStringLiteral("0.00"));
    child<QPushButton>(window, "cmdBack")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(messages.shown.size(), 3);

    // Each showing reads what is stored.
    exec(QStringLiteral("UPDATE T_KANJO SET KISYUZAN = 0 WHERE KOCODE = '004'"));
    window.show();
    EXPECT_EQ(grid->item(0, 3)->text(), QStringLiteral("0.00"));
    EXPECT_EQ(boxText(window, "txtTaisyakuSai"), QStringLiteral("-1,000.50"));

    // Clearing after OK empties the grid's amounts.
    messages.answers = {MsgAnswer::Ok};
    child<QPushButton>(window, "cmdClear")->click();
    EXPECT_EQ(grid->item(equity, 3)->text(), QStringLiteral("0.00"));
    EXPECT_EQ(boxText(window, "txtTaisyakuSai"), QStringLiteral("0.00"));
    EXPECT_TRUE(window.close());
}

TEST_F(OpeningBalancesWidget, TheRateBoxFollowsTheSet) {
    exec(QStringLiteral("UPDATE T_COMP_MAIN SET KANCNG = '1' WHERE CID = '01'"));
    exec(QStringLiteral("UPDATE T_KISYUZAN SET RATE = 8.5 WHERE CID = '01'"));
    InpKisyuZandaka window;
    window.show();
    auto* rate = child<QDoubleSpinBox>(window, "numRate");
    EXPECT_TRUE(rate->isEnabled());
    EXPECT_EQ(rate->value(), 8.5);
    EXPECT_FALSE(window.logic().changed());
    rate->setValue(0.0);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(messages.last().text, QStringLiteral("汇率未输入。"));
    rate->setValue(6.25);
    EXPECT_TRUE(window.close());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_KISYUZAN WHERE CID = '01' "
                                   "AND RATE = 6.25")),
              296);
}

}  // namespace
