#include "print/PageBuilder.h"

#include <algorithm>

#include "common/Money.h"

namespace {

constexpr double kPadMm = 1.0;
constexpr double kMmPerPoint = 25.4 / 72.0;
constexpr double kLeading = 1.5;
constexpr double kThinMm = 0.15;
constexpr double kFrameMm = 0.35;

using Totals = QList<Money>;

class Builder {
  public:
    Builder(const ReportLayout& layout, const ReportData& data) : layout_(layout), data_(data) {
        double x = layout.marginsMm.left();
        for (const LayoutColumn& column : layout.columns) {
            columnX_.append(x);
            x += column.widthMm;
            keyIndex_.append(column.key.isEmpty() ? -1 : data.column(column.key));
            sideIndex_.append(column.side.isEmpty() ? -1 : data.column(column.side));
            seedIndex_.append(column.runningSeed.isEmpty() ? -1 : data.column(column.runningSeed));
            if (column.total && firstTotal_ < 0) {
                firstTotal_ = int(columnX_.size()) - 1;
            }
        }
        tableRight_ = x;
        for (int i = 0; i < layout.columns.size(); ++i) {
            if (layout.columns.at(i).total && keyIndex_.at(i) >= 0) {
                totalColumns_.append(i);
            }
        }
        allBounds_ = columnX_;
        allBounds_.append(tableRight_);
        frameBounds_ = {layout.marginsMm.left(), tableRight_};
        // A totals line's label spans the columns before the first total column.
        totalsBounds_ = {layout.marginsMm.left()};
        for (int i = std::max(firstTotal_, 1); i < columnX_.size(); ++i) {
            totalsBounds_.append(columnX_.at(i));
        }
        totalsBounds_.append(tableRight_);
        for (const GroupBand& group : layout.groups) {
            groupIndex_.append(data.column(group.by));
        }
        const double footer = bandHeight(layout.pageFooter);
        bodyBottom_ = layout.paperMm.height() - layout.marginsMm.bottom() - footer -
                      (footer > 0 ? 2.0 : 0.0) - (carrying() ? layout.rowHeightMm : 0.0);
        model_.paperMm = layout.paperMm;
        model_.fonts = layout.fonts;
    }

    PageModel build() {
        const int rowCount = int(data_.rows.size());
        Totals reportTotals = zeroTotals();
        QList<Totals> groupTotals(layout_.groups.size(), zeroTotals());
        carried_ = zeroTotals();
        startPage(-1, false);
        for (int row = 0; row < rowCount; ++row) {
            const int changed = row == 0 ? 0 : changedLevel(row);
            if (row > 0 && changed < layout_.groups.size()) {
                closeGroups(changed, row - 1, groupTotals);
            }
            if (changed < layout_.groups.size()) {
                openGroups(changed, row, groupTotals);
            } else {
                ensureRoom(layout_.rowHeightMm, row);
            }
            placeDetail(row);
            lastDetail_ = row;
            for (const int i : totalColumns_) {
                const Money amount = Money::fromDb(data_.rows.at(row).at(keyIndex_.at(i)));
                reportTotals[i] += amount;
                carried_[i] += amount;
                if (seedIndex_.at(i) >= 0) {
                    carried_[i] += Money::fromDb(data_.rows.at(row).at(seedIndex_.at(i)));
                }
                for (Totals& totals : groupTotals) {
                    totals[i] += amount;
                }
            }
        }
        if (rowCount > 0) {
            closeGroups(0, rowCount - 1, groupTotals);
        }
        for (const BandLine& line : layout_.reportFooter) {
            ensureRoom(lineHeight(line), rowCount - 1);
            placeBandLine(line, rowCount - 1, reportTotals);
        }
        finishPage();
        finalizeHeadersAndFooters();
        return std::move(model_);
    }

  private:
    Totals zeroTotals() const { return Totals(layout_.columns.size()); }

    // The outermost group level whose key differs from the previous row; size() when none.
    int changedLevel(int row) const {
        for (int g = 0; g < groupIndex_.size(); ++g) {
            const int index = groupIndex_.at(g);
            if (index < 0) {
                continue;
            }
            const int prefix = layout_.groups.at(g).prefix;
            const QVariant& now = data_.rows.at(row).at(index);
            const QVariant& before = data_.rows.at(row - 1).at(index);
            if (prefix > 0 ? now.toString().left(prefix) != before.toString().left(prefix)
                           : now != before) {
                return g;
            }
        }
        return int(groupIndex_.size());
    }

    void closeGroups(int from, int lastRow, QList<Totals>& groupTotals) {
        for (int g = int(layout_.groups.size()) - 1; g >= from; --g) {
            for (const BandLine& line : layout_.groups.at(g).footer) {
                ensureRoom(lineHeight(line), lastRow);
                placeBandLine(line, lastRow, groupTotals.at(g));
            }
        }
    }

    void openGroups(int from, int row, QList<Totals>& groupTotals) {
        for (int g = from; g < layout_.groups.size(); ++g) {
            groupTotals[g] = zeroTotals();
            if (layout_.groups.at(g).newPage) {
                carried_ = zeroTotals();
                if (bodyLines_ > 0) {
                    finishPage();
                    startPage(row, false);
                }
                pageRow_.last() = row;
            }
        }
        // A group's header stays with its first row.
        double height = layout_.rowHeightMm;
        for (int g = from; g < layout_.groups.size(); ++g) {
            for (const BandLine& line : layout_.groups.at(g).header) {
                height += lineHeight(line);
            }
        }
        ensureRoom(height, row);
        for (int g = from; g < layout_.groups.size(); ++g) {
            for (const BandLine& line : layout_.groups.at(g).header) {
                placeBandLine(line, row, {});
            }
        }
    }

    double lineHeight(const BandLine& line) const {
        double height = layout_.rowHeightMm;
        for (const BandItem& item : line) {
            height = std::max(height, layout_.font(item.font).pointSize * kMmPerPoint * kLeading);
        }
        return height;
    }

    double bandHeight(const QList<BandLine>& band) const {
        double height = 0;
        for (const BandLine& line : band) {
            height += lineHeight(line);
        }
        return height;
    }

    bool carrying() const { return !layout_.carryBottom.isEmpty(); }

    double bodyBottom() const { return bodyBottom_; }

    // Starts a new page when the next lines do not fit; the page ends with 过次页 and the next
    // starts with 承前页, both showing the running totals.
    void ensureRoom(double height, int row) {
        if (y_ + height <= bodyBottom() + 0.001 || bodyLines_ == 0) {
            return;
        }
        if (carrying()) {
            placeTotalsLine(layout_.carryBottom, carried_);
        }
        finishPage();
        startPage(row, carrying());
    }

    void startPage(int row, bool carriedIn) {
        model_.pages.append(Page());
        // Pages tend to hold as many items as the one before.
        if (model_.pages.size() > 1) {
            model_.pages.last().texts.reserve(
                model_.pages.at(model_.pages.size() - 2).texts.size());
            model_.pages.last().lines.reserve(
                model_.pages.at(model_.pages.size() - 2).lines.size());
        }
        pageRow_.append(row);
        bodyLines_ = 0;
        y_ = layout_.marginsMm.top();
        if (model_.pages.size() == 1) {
            y_ += bandHeight(layout_.reportHeader);
        }
        y_ += bandHeight(layout_.pageHeader);
        tableTop_ = y_;
        runTop_ = y_;
        runBounds_.clear();
        bool anyHeading = false;
        for (const LayoutColumn& column : layout_.columns) {
            anyHeading = anyHeading || !column.heading.isEmpty();
        }
        if (anyHeading) {
            for (int i = 0; i < layout_.columns.size(); ++i) {
                text(QRectF(columnX_.at(i), y_, layout_.columns.at(i).widthMm, layout_.rowHeightMm),
                     layout_.columns.at(i).heading, QStringLiteral("heading"), TextAlign::Center);
            }
            endLine(allBounds_, layout_.rowHeightMm);
            bodyLines_ = 0;
        }
        if (carriedIn) {
            placeTotalsLine(layout_.carryTop, carried_);
        }
    }

    void finishPage() {
        closeRun();
        Page& page = model_.pages.last();
        const double left = layout_.marginsMm.left();
        if (y_ > tableTop_ && !layout_.columns.isEmpty()) {
            page.lines.append(PageLine{QLineF(left, tableTop_, tableRight_, tableTop_), kFrameMm});
            page.lines.append(PageLine{QLineF(left, y_, tableRight_, y_), kFrameMm});
        }
    }

    // Vertical rules are drawn once for each run of lines that share the same column bounds.
    void endLine(const QList<double>& bounds, double height) {
        if (bounds != runBounds_) {
            closeRun();
            runBounds_ = bounds;
            runTop_ = y_;
        }
        y_ += height;
        ++bodyLines_;
        if (layout_.ruleRows && y_ > tableTop_) {
            model_.pages.last().lines.append(
                PageLine{QLineF(layout_.marginsMm.left(), y_, tableRight_, y_), kThinMm});
        }
    }

    void closeRun() {
        if (y_ <= runTop_ || runBounds_.isEmpty() || layout_.columns.isEmpty()) {
            return;
        }
        Page& page = model_.pages.last();
        for (int i = 0; i < runBounds_.size(); ++i) {
            const bool outer = i == 0 || i == runBounds_.size() - 1;
            if (outer || layout_.ruleColumns) {
                page.lines.append(PageLine{QLineF(runBounds_.at(i), runTop_, runBounds_.at(i), y_),
                                           outer ? kFrameMm : kThinMm});
            }
        }
        runTop_ = y_;
    }

    void text(const QRectF& cell, const QString& value, const QString& font, TextAlign align) {
        if (value.isEmpty()) {
            return;
        }
        model_.pages.last().texts.append(
            PageText{cell.adjusted(kPadMm, 0, -kPadMm, 0), value, font, align});
    }

    void placeDetail(int row) {
        const QVariantList& values = data_.rows.at(row);
        for (int i = 0; i < layout_.columns.size(); ++i) {
            const LayoutColumn& column = layout_.columns.at(i);
            const QString value =
                column.text.isEmpty()
                    ? column.show(keyIndex_.at(i) >= 0 ? values.at(keyIndex_.at(i)) : QVariant(),
                                  sideIndex_.at(i) >= 0 ? values.at(sideIndex_.at(i)) : QVariant())
                    : data_.resolve(column.text, row).trimmed();
            text(QRectF(columnX_.at(i), y_, column.widthMm, layout_.rowHeightMm), value,
                 QStringLiteral("body"), column.align);
        }
        endLine(allBounds_, layout_.rowHeightMm);
    }

    void placeTotals(const Totals& totals) {
        for (int i = 0; i < layout_.columns.size(); ++i) {
            const LayoutColumn& column = layout_.columns.at(i);
            if (column.total) {
                text(QRectF(columnX_.at(i), y_, column.widthMm, layout_.rowHeightMm),
                     formatCell(totals.at(i).toDb(), column.format), QStringLiteral("body"),
                     column.align);
            }
        }
    }

    void placeTotalsLine(const QString& label, const Totals& totals) {
        const double labelRight = firstTotal_ > 0 ? columnX_.at(firstTotal_) : tableRight_;
        text(QRectF(layout_.marginsMm.left(), y_, labelRight - layout_.marginsMm.left(),
                    layout_.rowHeightMm),
             label, QStringLiteral("body"), TextAlign::Center);
        placeTotals(totals);
        // A ledger's 过次页/承前页 also shows the balance the lines reached.
        for (int i = 0; i < layout_.columns.size(); ++i) {
            const LayoutColumn& column = layout_.columns.at(i);
            if (column.carry && lastDetail_ >= 0 && keyIndex_.at(i) >= 0) {
                const QVariantList& values = data_.rows.at(lastDetail_);
                text(QRectF(columnX_.at(i), y_, column.widthMm, layout_.rowHeightMm),
                     column.show(values.at(keyIndex_.at(i)),
                                 sideIndex_.at(i) >= 0 ? values.at(sideIndex_.at(i)) : QVariant()),
                     QStringLiteral("body"), column.align);
            }
        }
        endLine(firstTotal_ >= 0 ? totalsBounds_ : frameBounds_, layout_.rowHeightMm);
    }

    QRectF itemRect(const BandItem& item, double top, double left, double width,
                    double height) const {
        const int column = item.column.isEmpty() ? -1 : layout_.columnIndex(item.column);
        if (column >= 0) {
            return QRectF(columnX_.at(column), top, layout_.columns.at(column).widthMm, height);
        }
        if (item.xMm >= 0) {
            return QRectF(left + item.xMm, top, item.widthMm > 0 ? item.widthMm : width - item.xMm,
                          height);
        }
        return QRectF(left, top, item.widthMm > 0 ? item.widthMm : width, height);
    }

    // Whether the row meets every condition of the line's items.
    bool meets(const BandLine& line, int row) const {
        for (const BandItem& item : line) {
            if (!item.condition.isEmpty() && !data_.meets(row, item.condition)) {
                return false;
            }
        }
        return true;
    }

    // A band line inside the table: group header or footer, or the report's last lines.
    void placeBandLine(const BandLine& line, int row, const Totals& totals) {
        const double height = lineHeight(line);
        const double left = layout_.marginsMm.left();
        // A heading whose texts are all empty (an account directly under its class) takes no line.
        const bool empty = std::all_of(line.begin(), line.end(), [&](const BandItem& item) {
            return item.totals == BandTotals::None &&
                   data_.resolve(item.text, row).trimmed().isEmpty();
        });
        if (empty || !meets(line, row)) {
            return;
        }
        BandTotals kind = BandTotals::None;
        for (const BandItem& item : line) {
            kind = std::max(kind, item.totals);
            const double width = item.totals != BandTotals::None && firstTotal_ > 0
                                     ? columnX_.at(firstTotal_) - left
                                     : tableRight_ - left;
            text(itemRect(item, y_, left, width, height), data_.resolve(item.text, row), item.font,
                 item.align);
        }
        const bool withTotals = kind != BandTotals::None;
        if (kind == BandTotals::Running) {
            placeTotals(carried_);
        } else if (withTotals && !totals.isEmpty()) {
            placeTotals(totals);
        }
        endLine(withTotals && firstTotal_ >= 0 ? totalsBounds_ : frameBounds_, height);
    }

    // Page headers and footers know the page count only at the end.
    void finalizeHeadersAndFooters() {
        const double left = layout_.marginsMm.left();
        const double width = layout_.contentWidthMm();
        const QString pages = QString::number(model_.pages.size());
        for (int p = 0; p < model_.pages.size(); ++p) {
            const QHash<QString, QString> page{{QStringLiteral("page"), QString::number(p + 1)},
                                               {QStringLiteral("pages"), pages}};
            const int row = pageRow_.at(p) >= 0 ? pageRow_.at(p) : 0;
            QList<PageText> items;
            const auto placeBand = [&](const QList<BandLine>& band, double top) {
                for (const BandLine& line : band) {
                    const double height = lineHeight(line);
                    for (const BandItem& item : line) {
                        const QString value = data_.resolve(item.text, row, page);
                        if (!value.isEmpty()) {
                            items.append(PageText{itemRect(item, top, left, width, height)
                                                      .adjusted(kPadMm, 0, -kPadMm, 0),
                                                  value, item.font, item.align});
                        }
                    }
                    top += height;
                }
            };
            double top = layout_.marginsMm.top();
            if (p == 0) {
                placeBand(layout_.reportHeader, top);
                top += bandHeight(layout_.reportHeader);
            }
            placeBand(layout_.pageHeader, top);
            placeBand(layout_.pageFooter, layout_.paperMm.height() - layout_.marginsMm.bottom() -
                                              bandHeight(layout_.pageFooter));
            model_.pages[p].texts.append(items);
        }
    }

    const ReportLayout& layout_;
    const ReportData& data_;
    PageModel model_;
    QList<double> columnX_;
    QList<int> keyIndex_;
    QList<int> sideIndex_;
    QList<int> seedIndex_;
    QList<int> groupIndex_;
    QList<int> totalColumns_;  // columns with "total" that the rows hold
    QList<double> allBounds_;
    QList<double> frameBounds_;
    QList<double> totalsBounds_;
    QList<int> pageRow_;  // the row whose columns a page's header shows
    int firstTotal_ = -1;
    int lastDetail_ = -1;  // the row placed last, whose carried columns a 过次页 line repeats
    double tableRight_ = 0;
    double bodyBottom_ = 0;  // lines end here, above the page footer and the 过次页 line
    double tableTop_ = 0;
    double y_ = 0;
    int bodyLines_ = 0;
    double runTop_ = 0;
    QList<double> runBounds_;
    Totals carried_;
};

}  // namespace

PageModel buildPages(const ReportLayout& layout, const ReportData& data) {
    return Builder(layout, data).build();
}
