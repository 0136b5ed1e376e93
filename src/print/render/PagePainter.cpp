#include "print/render/PagePainter.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "print/ReportOutput.h"

namespace {

QFont fontFor(const FontRole& role, double scale) {
    QFont font(role.family);
    font.setPointSizeF(role.pointSize * scale);
    font.setBold(role.bold);
    // Never fall back to another family: a PDF must carry the one font whose text layer reads back.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

Qt::Alignment alignmentOf(TextAlign align) {
    switch (align) {
        case TextAlign::Left:
            return Qt::AlignLeft;
        case TextAlign::Center:
            return Qt::AlignHCenter;
        case TextAlign::Right:
            return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

}  // namespace

void paintPage(QPainter& painter, const PageModel& model, int page, double dotsPerMm) {
    if (page < 0 || page >= model.pages.size()) {
        return;
    }
    const Page& items = model.pages.at(page);
    // Fonts are sized in points of the device; the page's millimetres may be zoomed.
    const double scale = dotsPerMm * 25.4 / painter.device()->logicalDpiY();
    QHash<QString, QFont> fonts;
    QPen pen(Qt::black);
    for (const PageLine& line : items.lines) {
        pen.setWidthF(std::max(1.0, line.widthMm * dotsPerMm));
        painter.setPen(pen);
        painter.drawLine(QLineF(line.lineMm.p1() * dotsPerMm, line.lineMm.p2() * dotsPerMm));
    }
    painter.setPen(Qt::black);
    for (const PageText& text : items.texts) {
        auto it = fonts.find(text.font);
        if (it == fonts.end()) {
            it = fonts.insert(
                text.font,
                fontFor(model.fonts.value(text.font, model.fonts.value(QStringLiteral("body"))),
                        scale));
        }
        painter.setFont(*it);
        const QRectF rect(text.rectMm.topLeft() * dotsPerMm, text.rectMm.size() * dotsPerMm);
        const QString shown = QFontMetricsF(*it, painter.device())
                                  .elidedText(text.text, Qt::ElideRight, rect.width());
        painter.drawText(rect, alignmentOf(text.align) | Qt::AlignVCenter | Qt::TextSingleLine,
                         shown);
    }
}

bool paintPages(QPagedPaintDevice& device, const PageModel& model, int from, int to,
                const std::function<bool(int)>& progress) {
    const QPageLayout::Orientation orientation = model.paperMm.width() > model.paperMm.height()
                                                     ? QPageLayout::Landscape
                                                     : QPageLayout::Portrait;
    const QSizeF portrait =
        orientation == QPageLayout::Landscape ? model.paperMm.transposed() : model.paperMm;
    device.setPageLayout(QPageLayout(QPageSize(portrait, QPageSize::Millimeter), orientation,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    for (int page = std::max(0, from); page <= to && page < model.pages.size(); ++page) {
        if (page > std::max(0, from)) {
            device.newPage();
        }
        paintPage(painter, model, page, dotsPerMm);
        if (progress && !progress(page)) {
            painter.end();
            return false;
        }
    }
    return painter.end();
}

void writePdf(const PageModel& model, const QString& filePath, const QString& title,
              const std::function<bool(int)>& progress) {
    bool cancelled = false;
    {
        QPdfWriter writer(filePath);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Ombrel"));
        writer.setResolution(300);
        const auto going = [&](int page) {
            cancelled = progress && !progress(page);
            return !cancelled;
        };
        if (paintPages(writer, model, 0, int(model.pages.size()) - 1, going)) {
            return;
        }
    }
    // A half-written file would look like a finished report.
    QFile::remove(filePath);
    if (cancelled) {
        throw ReportFailure{ReportFailure::kCancelled, QString()};
    }
    throw ReportFailure{ReportFailure::kFileNotFound, QStringLiteral("不能写入文件: ") + filePath};
}
