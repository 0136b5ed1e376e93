#pragma once

#include <QString>

#include "print/PageModel.h"
#include "print/ReportOutput.h"

class QWidget;

// The program's report output: the preview window, and the printer chosen for the run.
class DesktopReportOutput : public ReportOutput {
  public:
    // Opens the maximised preview and returns when the user closes it.
    bool preview(const ReportJob& job) override;
    // Prints every page; throws ReportFailure (no printer, cancelled, failed).
    bool print(const ReportJob& job) override;
};

// Prints every page on the run's printer (the system default when none was chosen), showing a
// progress window that can cancel. Throws ReportFailure: no printer, cancelled, or failed.
void printReport(const PageModel& model, const QString& title, QWidget* parent);

// Writes the PDF with the same progress window. Throws ReportFailure.
void exportPdf(const PageModel& model, const QString& filePath, const QString& title,
               QWidget* parent);
