#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <functional>

#include "print/PageModel.h"
#include "print/ReportOutput.h"

class PageView;

// The report on screen, one page at a time: paging, zoom, print and export. Only the page shown
// is painted, so a report of thousands of pages opens as fast as its page model is built.
class PreviewWindow : public QDialog {
    Q_OBJECT
  public:
    // Where to save an export: (parent, caption, suggested path, filter) -> the chosen path, or
    // empty when the user gave none.
    using FileNameQuestion =
        std::function<QString(QWidget*, const QString&, const QString&, const QString&)>;

    explicit PreviewWindow(const ReportJob& job, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // Replaces the save dialog (tests answer with a path).
    void setFileNameQuestion(FileNameQuestion ask) { askFileName_ = std::move(ask); }
    // The question the window asks unless told otherwise: a save dialog.
    static QString askWithSaveDialog(QWidget* parent, const QString& caption,
                                     const QString& suggested, const QString& filter);

    int page() const { return page_; }
    int pageCount() const { return int(model_.pages.size()); }
    const PageModel& model() const { return model_; }
    // Shows page index (from 0), kept inside the report.
    void showPage(int index);
    // Zoom in percent of the paper's real size; 0 fits the page's width into the window.
    void setZoom(int percent);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void exportPdf();
    void exportExcel();
    void printAll();
    // Asks for an export's file (the report's title in the documents folder suggested), writes
    // it and says where, or why not.
    void exportFile(const QString& caption, const QString& suffix, const QString& filter,
                    const std::function<void(const QString&)>& write);
    void applyZoom();

    ReportJob job_;
    PageModel model_;
    int page_ = 0;
    int zoom_ = 0;
    FileNameQuestion askFileName_;
    QScrollArea* scroll_;
    PageView* view_;
    QPushButton* cmdFirst;
    QPushButton* cmdPrevious;
    QPushButton* cmdNext;
    QPushButton* cmdLast;
    QLabel* lblPage;
    QComboBox* cmbZoom;
    QPushButton* cmdPrint;
    QPushButton* cmdPdf;
    QPushButton* cmdExcel;
    QPushButton* cmdClose;
};
