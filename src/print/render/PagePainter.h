#pragma once

#include <QPagedPaintDevice>
#include <QPainter>
#include <functional>

#include "print/PageModel.h"

// Paints one page of the model; dotsPerMm maps the model's millimetres to the device (a zoomed
// preview simply passes more dots).
void paintPage(QPainter& painter, const PageModel& model, int page, double dotsPerMm);

// Paints pages from..to (inclusive) on a PDF writer or printer, a new sheet for each page.
// progress(page) is called after each page; returning false stops (the user cancelled).
bool paintPages(QPagedPaintDevice& device, const PageModel& model, int from, int to,
                const std::function<bool(int)>& progress = {});

// Writes every page to a PDF file, calling progress as paintPages does. Throws ReportFailure when
// the file cannot be written, or kCancelled when progress stopped it (the file is then removed).
void writePdf(const PageModel& model, const QString& filePath, const QString& title,
              const std::function<bool(int)>& progress = {});
