#pragma once

#include <QHash>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>

#include "print/ReportLayout.h"

// The printed pages of a report as positioned items, in millimetres from the paper's top left.
// Built without a display; the back ends only paint it.
struct PageText {
    QRectF rectMm;
    QString text;
    QString font;
    TextAlign align = TextAlign::Left;
};

struct PageLine {
    QLineF lineMm;
    double widthMm = 0.2;
};

struct Page {
    QList<PageText> texts;
    QList<PageLine> lines;
};

struct PageModel {
    QSizeF paperMm;
    QHash<QString, FontRole> fonts;
    QList<Page> pages;

    // One line per item, ordered by position: "p1 20.0,30.5 <text>" and "p1 line 15.0,40.0
    // 195.0,40.0"; the form the golden files keep.
    QString toText() const;
};
