#include "print/ReportLayout.h"

#include <algorithm>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "common/Money.h"

namespace {

const QString kDefaultFamily = QStringLiteral("WenQuanYi Micro Hei");

struct ParseError {
    QString what;
};

QString errorText(const QString& name, const QString& what) {
    return QStringLiteral("报表“%1”的格式不对: %2").arg(name, what);
}

TextAlign alignOf(const QJsonValue& value) {
    const QString text = value.toString(QStringLiteral("left"));
    if (text == u"left") {
        return TextAlign::Left;
    }
    if (text == u"center") {
        return TextAlign::Center;
    }
    if (text == u"right") {
        return TextAlign::Right;
    }
    throw ParseError{QStringLiteral("对齐方式不明: ") + text};
}

CellFormat formatOf(const QJsonValue& value) {
    const QString text = value.toString(QStringLiteral("text"));
    if (text == u"text") {
        return CellFormat::Text;
    }
    if (text == u"money") {
        return CellFormat::Money;
    }
    if (text == u"money_blank_zero") {
        return CellFormat::MoneyBlankZero;
    }
    if (text == u"integer") {
        return CellFormat::Integer;
    }
    if (text == u"money_abs") {
        return CellFormat::MoneyAbs;
    }
    if (text == u"direction") {
        return CellFormat::Direction;
    }
    throw ParseError{QStringLiteral("格式不明: ") + text};
}

BandItem itemOf(const QJsonObject& object) {
    BandItem item;
    item.text = object.value(QStringLiteral("text")).toString();
    item.font = object.value(QStringLiteral("font")).toString(QStringLiteral("body"));
    item.align = alignOf(object.value(QStringLiteral("align")));
    item.column = object.value(QStringLiteral("column")).toString();
    item.xMm = object.value(QStringLiteral("x_mm")).toDouble(-1);
    item.widthMm = object.value(QStringLiteral("width_mm")).toDouble(-1);
    const QJsonValue totals = object.value(QStringLiteral("totals"));
    item.totals = totals.toString() == u"running" ? BandTotals::Running
                  : totals.toBool()               ? BandTotals::Group
                                                  : BandTotals::None;
    item.condition = object.value(QStringLiteral("if")).toString();
    static const QRegularExpression condition(QStringLiteral("^[A-Z_][A-Z0-9_]*!?=.*$"));
    if (!item.condition.isEmpty() && !condition.match(item.condition).hasMatch()) {
        throw ParseError{QStringLiteral("条件不对: ") + item.condition};
    }
    return item;
}

// A band is a list of lines; a line is one item or a list of items sharing the line.
QList<BandLine> bandOf(const QJsonValue& value) {
    QList<BandLine> lines;
    for (const QJsonValue& line : value.toArray()) {
        BandLine items;
        if (line.isArray()) {
            for (const QJsonValue& item : line.toArray()) {
                items.append(itemOf(item.toObject()));
            }
        } else if (line.isObject()) {
            items.append(itemOf(line.toObject()));
        } else {
            throw ParseError{QStringLiteral("栏的行必须是对象或数组")};
        }
        lines.append(items);
    }
    return lines;
}

FontRole fontOf(const QJsonValue& value) {
    const QJsonArray parts = value.toArray();
    FontRole font;
    font.family = parts.at(0).toString(kDefaultFamily);
    font.pointSize = parts.at(1).toDouble(9);
    font.bold = parts.at(2).toString() == u"bold";
    if (font.pointSize <= 0) {
        throw ParseError{QStringLiteral("字号不对")};
    }
    return font;
}

QSizeF paperOf(const QJsonObject& root) {
    const QString paper = root.value(QStringLiteral("paper")).toString(QStringLiteral("A4"));
    QSizeF size;
    if (paper == u"A4") {
        size = QSizeF(210, 297);
    } else if (paper == u"B4") {
        size = QSizeF(250, 353);  // ISO B4, as the statutory forms are printed
    } else {
        throw ParseError{QStringLiteral("纸张不明: ") + paper};
    }
    const QString orientation =
        root.value(QStringLiteral("orientation")).toString(QStringLiteral("portrait"));
    if (orientation == u"landscape") {
        return size.transposed();
    }
    if (orientation != u"portrait") {
        throw ParseError{QStringLiteral("纸张方向不明: ") + orientation};
    }
    return size;
}

bool isName(const QString& text) {
    static const QRegularExpression name(QStringLiteral("^[A-Z_][A-Z0-9_]*$"));
    return name.match(text).hasMatch();
}

// The source is shipped data, but it still ends up in SQL text: only names and commas pass.
void checkSource(const QString& table, const QString& order) {
    static const QRegularExpression orderList(
        QStringLiteral("^([A-Z_][A-Z0-9_]*( (ASC|DESC))?)(, *[A-Z_][A-Z0-9_]*( (ASC|DESC))?)*$"));
    if (!isName(table)) {
        throw ParseError{QStringLiteral("数据表名不对: ") + table};
    }
    if (!order.isEmpty() && !orderList.match(order).hasMatch()) {
        throw ParseError{QStringLiteral("排序不对: ") + order};
    }
}

FormSource formOf(const QJsonObject& object) {
    FormSource form;
    for (const QJsonValue& table : object.value(QStringLiteral("tables")).toArray()) {
        form.tables.append(table.toString());
        checkSource(form.tables.last(), QString());
    }
    for (const QJsonValue& value : object.value(QStringLiteral("blocks")).toArray()) {
        const QJsonObject blockObject = value.toObject();
        FormBlock block;
        block.captionKey = blockObject.value(QStringLiteral("caption")).toString();
        block.lineKey = blockObject.value(QStringLiteral("line")).toString();
        for (const QJsonValue& key : blockObject.value(QStringLiteral("values")).toArray()) {
            block.valueKeys.append(key.toString());
        }
        if (block.captionKey.isEmpty() || block.lineKey.isEmpty() ||
            block.valueKeys.size() != form.tables.size()) {
            throw ParseError{QStringLiteral("表格块不对: ") + block.captionKey};
        }
        for (const QJsonValue& line : blockObject.value(QStringLiteral("lines")).toArray()) {
            const QJsonArray parts = line.toArray();
            const int number = parts.at(1).toInt();
            if (parts.isEmpty() || number < 0) {
                throw ParseError{QStringLiteral("表格行不对: ") + parts.at(0).toString()};
            }
            block.lines.append({parts.at(0).toString(), number});
        }
        form.blocks.append(block);
    }
    if (form.blocks.isEmpty()) {
        throw ParseError{QStringLiteral("表格没有内容")};
    }
    return form;
}

ReportLayout layoutOf(const QString& name, const QJsonObject& root) {
    ReportLayout layout;
    layout.name = name;
    layout.title = root.value(QStringLiteral("title")).toString();
    layout.paperMm = paperOf(root);
    const QJsonArray margins = root.value(QStringLiteral("margins_mm")).toArray();
    if (margins.size() == 4) {
        layout.marginsMm = QMarginsF(margins.at(0).toDouble(), margins.at(1).toDouble(),
                                     margins.at(2).toDouble(), margins.at(3).toDouble());
    }
    layout.fonts.insert(QStringLiteral("body"), FontRole{kDefaultFamily, 9, false});
    layout.fonts.insert(QStringLiteral("heading"), FontRole{kDefaultFamily, 9, true});
    layout.fonts.insert(QStringLiteral("title"), FontRole{kDefaultFamily, 16, true});
    const QJsonObject fonts = root.value(QStringLiteral("fonts")).toObject();
    for (auto it = fonts.begin(); it != fonts.end(); ++it) {
        layout.fonts.insert(it.key(), fontOf(it.value()));
    }
    const QJsonObject source = root.value(QStringLiteral("source")).toObject();
    if (source.contains(QStringLiteral("form"))) {
        layout.form = formOf(source.value(QStringLiteral("form")).toObject());
    } else {
        layout.table = source.value(QStringLiteral("table")).toString();
        layout.order = source.value(QStringLiteral("order")).toString();
        checkSource(layout.table, layout.order);
        for (const QJsonValue& table : source.value(QStringLiteral("union")).toArray()) {
            layout.unionTables.append(table.toString());
            checkSource(layout.unionTables.last(), QString());
        }
    }
    for (const QJsonValue& value : source.value(QStringLiteral("skip")).toArray()) {
        QStringList conditions;
        for (const QJsonValue& condition : value.toArray()) {
            conditions.append(condition.toString());
            if (!isName(conditionColumn(conditions.last()))) {
                throw ParseError{QStringLiteral("条件不对: ") + conditions.last()};
            }
        }
        layout.skip.append(conditions);
    }
    for (const QJsonValue& value : source.value(QStringLiteral("lookups")).toArray()) {
        const QJsonObject object = value.toObject();
        Lookup lookup{object.value(QStringLiteral("table")).toString(),
                      object.value(QStringLiteral("key")).toString(),
                      object.value(QStringLiteral("on")).toString(),
                      {}};
        for (const QJsonValue& column : object.value(QStringLiteral("columns")).toArray()) {
            lookup.columns.append(column.toString());
        }
        const QStringList names = QStringList{lookup.table, lookup.key, lookup.on} + lookup.columns;
        if (!std::all_of(names.begin(), names.end(), isName)) {
            throw ParseError{QStringLiteral("查找表不对: ") + names.join(u',')};
        }
        layout.lookups.append(lookup);
    }
    layout.rowHeightMm = root.value(QStringLiteral("row_height_mm")).toDouble(5);
    const QJsonObject rules = root.value(QStringLiteral("rules")).toObject();
    layout.ruleColumns = rules.value(QStringLiteral("columns")).toBool(true);
    layout.ruleRows = rules.value(QStringLiteral("rows")).toBool(true);
    for (const QJsonValue& value : root.value(QStringLiteral("columns")).toArray()) {
        const QJsonObject object = value.toObject();
        LayoutColumn column;
        column.key = object.value(QStringLiteral("key")).toString();
        column.text = object.value(QStringLiteral("text")).toString();
        column.heading = object.value(QStringLiteral("heading")).toString();
        column.widthMm = object.value(QStringLiteral("width_mm")).toDouble(20);
        column.align = alignOf(object.value(QStringLiteral("align")));
        column.format = formatOf(object.value(QStringLiteral("format")));
        column.total = object.value(QStringLiteral("total")).toBool();
        column.side = object.value(QStringLiteral("side")).toString();
        column.carry = object.value(QStringLiteral("carry")).toBool();
        column.runningSeed = object.value(QStringLiteral("running_seed")).toString();
        if (!column.runningSeed.isEmpty() && (!column.total || !isName(column.runningSeed))) {
            throw ParseError{QStringLiteral("累计起点列不对: ") + column.runningSeed};
        }
        const QJsonObject map = object.value(QStringLiteral("map")).toObject();
        for (auto it = map.begin(); it != map.end(); ++it) {
            column.map.insert(it.key(), it.value().toString());
        }
        if (column.key.isEmpty() && column.text.isEmpty()) {
            throw ParseError{QStringLiteral("列没有数据: ") + column.heading};
        }
        layout.columns.append(column);
    }
    double width = 0;
    for (const LayoutColumn& column : layout.columns) {
        width += column.widthMm;
    }
    if (width > layout.contentWidthMm() + 0.01) {
        throw ParseError{QStringLiteral("列宽合计 %1 mm 超过版心 %2 mm")
                             .arg(width)
                             .arg(layout.contentWidthMm())};
    }
    const QJsonObject bands = root.value(QStringLiteral("bands")).toObject();
    layout.reportHeader = bandOf(bands.value(QStringLiteral("report_header")));
    layout.pageHeader = bandOf(bands.value(QStringLiteral("page_header")));
    layout.pageFooter = bandOf(bands.value(QStringLiteral("page_footer")));
    layout.reportFooter = bandOf(bands.value(QStringLiteral("report_footer")));
    for (const QJsonValue& value : bands.value(QStringLiteral("groups")).toArray()) {
        const QJsonObject object = value.toObject();
        GroupBand group;
        group.by = object.value(QStringLiteral("by")).toString();
        group.newPage = object.value(QStringLiteral("new_page")).toBool();
        group.prefix = object.value(QStringLiteral("prefix")).toInt();
        group.header = bandOf(object.value(QStringLiteral("header")));
        group.footer = bandOf(object.value(QStringLiteral("footer")));
        layout.groups.append(group);
    }
    const QJsonObject carry = bands.value(QStringLiteral("carry")).toObject();
    layout.carryBottom = carry.value(QStringLiteral("bottom")).toString();
    layout.carryTop = carry.value(QStringLiteral("top")).toString();
    return layout;
}

}  // namespace

FontRole ReportLayout::font(const QString& role) const {
    return fonts.value(role, fonts.value(QStringLiteral("body")));
}

int ReportLayout::columnIndex(const QString& key) const {
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).key == key) {
            return i;
        }
    }
    return -1;
}

std::optional<ReportLayout> ReportLayout::parse(const QString& name, const QByteArray& json,
                                                QString* error) {
    QJsonParseError jsonError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &jsonError);
    try {
        if (jsonError.error != QJsonParseError::NoError || !document.isObject()) {
            throw ParseError{jsonError.errorString()};
        }
        return layoutOf(name, document.object());
    } catch (const ParseError& failure) {
        if (error) {
            *error = errorText(name, failure.what);
        }
        return std::nullopt;
    }
}

QString ReportLayout::mismatch(const QStringList& columnNames) const {
    for (const LayoutColumn& column : columns) {
        if (!column.runningSeed.isEmpty() && !columnNames.contains(column.runningSeed)) {
            return errorText(name, QStringLiteral("累计起点列不明: ") + column.runningSeed);
        }
    }
    return {};
}

QString LayoutColumn::show(const QVariant& value, const QVariant& sideValue) const {
    if (format == CellFormat::Direction) {
        const int sign = Money::fromDb(value).sign();
        const bool debitSided = sideValue.toString().trimmed() == u"0";
        return sign == 0 ? QStringLiteral("平")
                         : ((sign > 0) == debitSided ? QStringLiteral("借") : QStringLiteral("贷"));
    }
    QString shown = formatCell(value, format);
    if (format == CellFormat::Text) {
        // Full-width blanks in front indent a form's sub-lines (其中：…) and stay.
        qsizetype end = shown.size();
        while (end > 0 && shown.at(end - 1).isSpace()) {
            --end;
        }
        qsizetype start = 0;
        while (start < end && shown.at(start) != QChar(0x3000) && shown.at(start).isSpace()) {
            ++start;
        }
        shown = shown.mid(start, end - start);
    } else {
        shown = shown.trimmed();
    }
    return map.isEmpty() ? shown : map.value(shown, shown);
}

QString conditionColumn(const QString& condition) {
    return condition.section(u'=', 0, 0).remove(u'!');
}

QString formatCell(const QVariant& value, CellFormat format) {
    switch (format) {
        case CellFormat::Text:
            return value.toString();
        case CellFormat::Money:
            return Money::fromDb(value).toExactDisplay();
        case CellFormat::MoneyBlankZero: {
            const Money amount = Money::fromDb(value);
            return amount.isZero() ? QString() : amount.toExactDisplay();
        }
        case CellFormat::MoneyAbs:
            return Money::fromDb(value).abs().toExactDisplay();
        case CellFormat::Direction:
            return QString();  // needs the side: LayoutColumn::show
        case CellFormat::Integer:
            return value.isNull() || value.toString().isEmpty()
                       ? QString()
                       : QString::number(value.toLongLong());
    }
    return value.toString();
}
