#include "print/ui/DesktopReportOutput.h"

#include <QApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <functional>

#include "print/PageBuilder.h"
#include "print/PrintAccessReport.h"
#include "print/render/PagePainter.h"
#include "print/ui/PreviewWindow.h"

namespace {

// The report printing's number for a printer that refused the pages.
constexpr int kPrintFailed = 2212;
// Short runs finish before a progress window would be worth showing.
constexpr int kProgressDelayMs = 400;

// A cancellable progress window over a run of pages; shown only when the run takes a while.
class PageProgress {
  public:
    PageProgress(const QString& label, qsizetype pages, QWidget* parent)
        : dialog_(label, QStringLiteral("取消"), 0, int(pages), parent) {
        dialog_.setWindowTitle(QStringLiteral("Ombrel"));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(kProgressDelayMs);
        dialog_.setValue(0);
    }

    // For paintPages: false once the user has cancelled.
    bool step(int page) {
        dialog_.setValue(page + 1);
        cancelled_ = dialog_.wasCanceled();
        return !cancelled_;
    }
    bool cancelled() const { return cancelled_; }

  private:
    QProgressDialog dialog_;
    bool cancelled_ = false;
};

QPrinterInfo chosenPrinter(const QList<QPrinterInfo>& printers) {
    if (!currentPrinterName().isEmpty()) {
        const QPrinterInfo chosen = QPrinterInfo::printerInfo(currentPrinterName());
        if (!chosen.isNull()) {
            return chosen;
        }
    }
    const QPrinterInfo fallback = QPrinterInfo::defaultPrinter();
    return fallback.isNull() ? printers.first() : fallback;
}

QWidget* activeWindow() {
    return QApplication::activeWindow();
}

}  // namespace

bool DesktopReportOutput::preview(const ReportJob& job) {
    PreviewWindow window(job, activeWindow());
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    window.exec();
    return true;
}

bool DesktopReportOutput::print(const ReportJob& job) {
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        throw ReportFailure{ReportFailure::kNoPrinter, QStringLiteral("没有安装打印机。")};
    }
    printReport(buildPages(job.layout, job.data), job.layout.title, activeWindow());
    return true;
}

void printReport(const PageModel& model, const QString& title, QWidget* parent) {
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty()) {
        throw ReportFailure{ReportFailure::kNoPrinter, QStringLiteral("没有安装打印机。")};
    }
    const QPrinterInfo target = chosenPrinter(printers);
    QPrinter printer(target, QPrinter::HighResolution);
    printer.setDocName(title);
    PageProgress progress(QStringLiteral("正在打印“%1”…").arg(title), model.pages.size(), parent);
    // Qt's CUPS engine cannot withdraw a job: a cancel stops painting, and the pages painted so
    // far still reach the queue.
    const bool done = paintPages(printer, model, 0, int(model.pages.size()) - 1,
                                 [&](int page) { return progress.step(page); });
    if (progress.cancelled()) {
        throw ReportFailure{ReportFailure::kCancelled, QString()};
    }
    if (!done) {
        throw ReportFailure{kPrintFailed,
                            QStringLiteral("打印机“%1”不能打印。").arg(target.printerName())};
    }
}

void exportPdf(const PageModel& model, const QString& filePath, const QString& title,
               QWidget* parent) {
    PageProgress progress(QStringLiteral("正在写入PDF文件…"), model.pages.size(), parent);
    writePdf(model, filePath, title, [&](int page) { return progress.step(page); });
}
