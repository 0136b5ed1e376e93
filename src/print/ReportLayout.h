#pragma once

#include <QHash>
#include <QList>
#include <QMarginsF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>

// How a report looks, read from its JSON document in MT_REPORT. Lengths are millimetres.
enum class TextAlign { Left, Center, Right };
enum class CellFormat { Text, Money, MoneyBlankZero, Integer };

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
    // The line also shows the running or group totals under the columns marked "total".
    bool totals = false;
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
    QHash<QString, QString> map;  // stored code -> printed word, e.g. "0" -> "借"

    // The printed text of a stored value (for key columns).
    QString show(const QVariant& value) const;
};

struct GroupBand {
    QString by;  // work-table column; a change of its value starts a new group
    bool newPage = false;
    QList<BandLine> header;
    QList<BandLine> footer;
};

struct ReportLayout {
    QString name;
    QString title;
    QSizeF paperMm{210, 297};
    QMarginsF marginsMm{15, 12, 15, 12};  // left, top, right, bottom
    QHash<QString, FontRole> fonts;
    QString table;
    QString order;
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
};

// Money "#,##0.00" (more decimals only when the amount has them), blank for zero where asked.
QString formatCell(const QVariant& value, CellFormat format);
