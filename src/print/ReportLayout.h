#pragma once

#include <QHash>
#include <QList>
#include <QMarginsF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// How a report looks, read from its JSON document in MT_REPORT. Lengths are millimetres.
enum class TextAlign { Left, Center, Right };
// MoneyAbs prints a balance without its sign; Direction prints its side, 借 or 贷 (平 for zero),
// from the sign and the account's side in the column's "side" column ("0" debit-sided).
enum class CellFormat { Text, Money, MoneyBlankZero, MoneyAbs, Direction, Integer };
// Group totals of the lines since the group began, or running totals since the last new-page
// group (a ledger's totals so far, from its columns' running seeds on).
enum class BandTotals { None, Group, Running };

struct FontRole {
    QString family;
    double pointSize = 9;
    bool bold = false;
};

// One text of a band line. Without a column or an x it spans the content width.
struct BandItem {
    QString text;  // template: {title} {company} {slot1}..{slot9} {page} {pages} {COLUMN}
    QString font = QStringLiteral("body");
    TextAlign align = TextAlign::Left;
    QString column;  // placed over this column (or from it to the last column before totals)
    double xMm = -1;
    double widthMm = -1;
    // The line also shows totals under the columns marked "total".
    BandTotals totals = BandTotals::None;
    // "COLUMN=value" or "COLUMN!=value": the line prints only for a row that meets it.
    QString condition;
};
using BandLine = QList<BandItem>;

struct LayoutColumn {
    QString key;   // work-table column
    QString text;  // template over the row's columns, used instead of key when set
    QString heading;
    double widthMm = 20;
    TextAlign align = TextAlign::Left;
    CellFormat format = CellFormat::Text;
    bool total = false;
    bool carry = false;  // 过次页/承前页 repeat the last row's value (a ledger's balance)
    // For a total column: a column whose values the running totals (and so 过次页/承前页) add
    // besides this one's, never printed or added into group totals: a ledger's turnover before
    // its first printed month, so that its totals so far count from the period's start.
    QString runningSeed;
    QHash<QString, QString> map;  // stored code -> printed word, e.g. "0" -> "借"
    QString side;                 // for Direction: the column holding the account's side

    // The printed text of a stored value (for key columns); side is the side column's value.
    QString show(const QVariant& value, const QVariant& side = {}) const;
};

struct GroupBand {
    QString by;      // work-table column; a change of its value starts a new group
    int prefix = 0;  // compare only the first characters, e.g. 5 for the month of "yy.mm.dd"
    bool newPage = false;
    QList<BandLine> header;
    QList<BandLine> footer;
};

// Columns read beside the work table's from another table, joined on key = the work table's on.
struct Lookup {
    QString table;
    QString key;
    QString on;
    QStringList columns;
};

// A fixed form with numbered lines (a statutory statement): blocks of lines printed side by side,
// each numbered line showing column "KIN<n>" of the one-row value tables.
struct FormBlock {
    QString captionKey;
    QString lineKey;
    QStringList valueKeys;             // one per value table, in the tables' order
    QList<QPair<QString, int>> lines;  // caption and line number; 0 for a caption-only row
};

struct FormSource {
    QStringList tables;
    QList<FormBlock> blocks;
};

struct ReportLayout {
    QString name;
    QString title;
    QSizeF paperMm{210, 297};
    QMarginsF marginsMm{15, 12, 15, 12};  // left, top, right, bottom
    QHash<QString, FontRole> fonts;
    QString table;
    QStringList unionTables;  // further tables with the table's columns, read with it
    QString order;
    QList<Lookup> lookups;
    // A row is not printed when it meets every condition ("COL=v", "COL!=v") of one of these.
    QList<QStringList> skip;
    std::optional<FormSource> form;  // instead of a table
    QList<LayoutColumn> columns;
    double rowHeightMm = 5;
    bool ruleColumns = true;
    bool ruleRows = true;
    QList<BandLine> reportHeader;
    QList<BandLine> pageHeader;
    QList<BandLine> pageFooter;
    QList<BandLine> reportFooter;
    QList<GroupBand> groups;
    QString carryBottom;  // 过次页 line at a page's foot, empty for none
    QString carryTop;     // 承前页 line at the next page's head

    double contentWidthMm() const { return paperMm.width() - marginsMm.left() - marginsMm.right(); }
    FontRole font(const QString& role) const;
    int columnIndex(const QString& key) const;

    // Reads a layout document; on failure returns nullopt and says why in error.
    static std::optional<ReportLayout> parse(const QString& name, const QByteArray& json,
                                             QString* error);
    // Why the layout cannot print rows read with these columns (a running seed they lack), or "".
    QString mismatch(const QStringList& columnNames) const;
};

// The column a condition "COL=value" or "COL!=value" tests.
QString conditionColumn(const QString& condition);

// Money "#,##0.00" (more decimals only when the amount has them), blank for zero where asked.
QString formatCell(const QVariant& value, CellFormat format);
