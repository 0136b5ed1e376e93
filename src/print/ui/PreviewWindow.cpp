#include "print/ui/PreviewWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "common/Messages.h"
#include "print/PageBuilder.h"
#include "print/PrintAccessReport.h"
#include "print/render/PagePainter.h"
#include "print/render/XlsxExport.h"
#include "print/ui/DesktopReportOutput.h"

namespace {

constexpr int kFitWidth = 0;
constexpr int kZooms[] = {50, 75, 100, 125, 150, 200};
constexpr int kPaperMarginPx = 12;
constexpr double kMmPerInch = 25.4;

}  // namespace

// One sheet of paper on screen.
class PageView : public QWidget {
  public:
    PageView(const PageModel& model, QWidget* parent) : QWidget(parent), model_(model) {
        setObjectName(QStringLiteral("pageView"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void showPage(int page, double dotsPerMm) {
        page_ = page;
        dotsPerMm_ = dotsPerMm;
        setFixedSize((model_.paperMm * dotsPerMm).toSize());
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        paintPage(painter, model_, page_, dotsPerMm_);
    }

  private:
    const PageModel& model_;
    int page_ = 0;
    double dotsPerMm_ = 1;
};

PreviewWindow::PreviewWindow(const ReportJob& job, QWidget* parent)
    : QDialog(parent),
      job_(job),
      model_(buildPages(job.layout, job.data)),
      askFileName_(&PreviewWindow::askWithSaveDialog) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(job.layout.title.isEmpty() ? job.layout.name : job.layout.title);
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);

    const auto makeButton = [this](const QString& name, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        return button;
    };
    cmdFirst = makeButton(QStringLiteral("cmdFirst"), QStringLiteral("首页"));
    cmdPrevious = makeButton(QStringLiteral("cmdPrevious"), QStringLiteral("上一页"));
    cmdNext = makeButton(QStringLiteral("cmdNext"), QStringLiteral("下一页"));
    cmdLast = makeButton(QStringLiteral("cmdLast"), QStringLiteral("末页"));
    lblPage = new QLabel(this);
    lblPage->setObjectName(QStringLiteral("lblPage"));
    lblPage->setMinimumWidth(140);
    lblPage->setAlignment(Qt::AlignCenter);
    cmbZoom = new QComboBox(this);
    cmbZoom->setObjectName(QStringLiteral("cmbZoom"));
    for (const int percent : kZooms) {
        cmbZoom->addItem(QStringLiteral("%1%").arg(percent), percent);
    }
    cmbZoom->addItem(QStringLiteral("适合宽度"), kFitWidth);
    cmbZoom->setCurrentIndex(cmbZoom->count() - 1);
    cmdPrint = makeButton(QStringLiteral("cmdPrint"), QStringLiteral("打印"));
    cmdPdf = makeButton(QStringLiteral("cmdPdf"), QStringLiteral("导出PDF"));
    cmdExcel = makeButton(QStringLiteral("cmdExcel"), QStringLiteral("导出Excel"));
    cmdClose = makeButton(QStringLiteral("cmdClose"), QStringLiteral("关闭"));

    auto* bar = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(cmdFirst), static_cast<QWidget*>(cmdPrevious),
                       static_cast<QWidget*>(lblPage), static_cast<QWidget*>(cmdNext),
                       static_cast<QWidget*>(cmdLast), static_cast<QWidget*>(cmbZoom)}) {
        bar->addWidget(w);
    }
    bar->addStretch();
    for (QPushButton* b : {cmdPrint, cmdPdf, cmdExcel, cmdClose}) {
        bar->addWidget(b);
    }

    view_ = new PageView(model_, this);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("scrollPage"));
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setWidget(view_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);
    resize(1000, 760);

    connect(cmdFirst, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(cmdPrevious, &QPushButton::clicked, this, [this] { showPage(page_ - 1); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { showPage(page_ + 1); });
    connect(cmdLast, &QPushButton::clicked, this, [this] { showPage(pageCount() - 1); });
    connect(cmbZoom, &QComboBox::currentIndexChanged, this,
            [this](int index) { setZoom(cmbZoom->itemData(index).toInt()); });
    connect(cmdPrint, &QPushButton::clicked, this, &PreviewWindow::printAll);
    connect(cmdPdf, &QPushButton::clicked, this, &PreviewWindow::exportPdf);
    connect(cmdExcel, &QPushButton::clicked, this, &PreviewWindow::exportExcel);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);

    // The paging keys work whichever control has the focus (the zoom list would take them).
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    showPage(0);
}

PreviewWindow::~PreviewWindow() = default;

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Print)) {
        cmdPrint->click();
        return true;
    }
    switch (key->key()) {
        case Qt::Key_Home:
            showPage(0);
            return true;
        case Qt::Key_PageUp:
            showPage(page_ - 1);
            return true;
        case Qt::Key_PageDown:
            showPage(page_ + 1);
            return true;
        case Qt::Key_End:
            showPage(pageCount() - 1);
            return true;
        default:
            return QDialog::eventFilter(watched, event);
    }
}

QString PreviewWindow::askWithSaveDialog(QWidget* parent, const QString& caption,
                                         const QString& suggested, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

void PreviewWindow::showPage(int index) {
    page_ = std::max(0, std::min(index, pageCount() - 1));
    const bool any = pageCount() > 0;
    lblPage->setText(
        QStringLiteral("第 %1 页 / 共 %2 页").arg(any ? page_ + 1 : 0).arg(pageCount()));
    cmdFirst->setEnabled(page_ > 0);
    cmdPrevious->setEnabled(page_ > 0);
    cmdNext->setEnabled(page_ < pageCount() - 1);
    cmdLast->setEnabled(page_ < pageCount() - 1);
    applyZoom();
    scroll_->verticalScrollBar()->setValue(0);
}

void PreviewWindow::setZoom(int percent) {
    zoom_ = percent;
    const int index = cmbZoom->findData(percent);
    if (index >= 0 && index != cmbZoom->currentIndex()) {
        cmbZoom->setCurrentIndex(index);
    }
    applyZoom();
}

void PreviewWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (zoom_ == kFitWidth) {
        applyZoom();
    }
}

void PreviewWindow::applyZoom() {
    double dotsPerMm = logicalDpiX() / kMmPerInch * zoom_ / 100.0;
    if (zoom_ == kFitWidth) {
        // Leave room for the vertical scroll bar, so that fitting does not bring in a
        // horizontal one.
        const int width = scroll_->width() - 2 * scroll_->frameWidth() -
                          scroll_->verticalScrollBar()->sizeHint().width() - 2 * kPaperMarginPx;
        dotsPerMm = std::max(1, width) / model_.paperMm.width();
    }
    view_->showPage(page_, dotsPerMm);
}

void PreviewWindow::exportFile(const QString& caption, const QString& suffix, const QString& filter,
                               const std::function<void(const QString&)>& write) {
    QString name = windowTitle();
    name.replace(u'/', u'_').replace(u'\\', u'_');
    const QString suggested =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(name + u'.' + suffix);
    QString file = askFileName_(this, caption, suggested, filter);
    if (file.isEmpty()) {
        return;
    }
    if (QFileInfo(file).suffix().compare(suffix, Qt::CaseInsensitive) != 0) {
        file += u'.' + suffix;
    }
    try {
        write(file);
        messages().information(QStringLiteral("已导出到：") + Messages::kCrLf +
                               QDir::toNativeSeparators(file));
    } catch (const ReportFailure& failure) {
        if (failure.number != ReportFailure::kCancelled) {
            messages().exclamation(failure.description);
        }
    }
}

void PreviewWindow::exportPdf() {
    exportFile(QStringLiteral("导出PDF"), QStringLiteral("pdf"), QStringLiteral("PDF文件 (*.pdf)"),
               [this](const QString& file) { ::exportPdf(model_, file, windowTitle(), this); });
}

void PreviewWindow::exportExcel() {
    exportFile(QStringLiteral("导出Excel"), QStringLiteral("xlsx"),
               QStringLiteral("Excel文件 (*.xlsx)"), [this](const QString& file) {
                   QApplication::setOverrideCursor(Qt::WaitCursor);
                   const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
                   writeXlsx(job_, file);
               });
}

void PreviewWindow::printAll() {
    try {
        printReport(model_, windowTitle(), this);
    } catch (const ReportFailure& failure) {
        showReportFailure(failure);
    }
}
