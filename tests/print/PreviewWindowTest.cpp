#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "print/PageBuilder.h"
#include "print/PrintAccessReport.h"
#include "print/ReportJobs.h"
#include "print/render/PagePainter.h"
#include "print/ui/DesktopReportOutput.h"
#include "print/ui/PreviewWindow.h"
#include "support/TestDatabase.h"

namespace {

constexpr int kDescriptions = 150;

// The description list of 150 entries: a few pages of the shipped layout.
class PreviewWindowTest : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        for (int i = 1; i <= kDescriptions; ++i) {
            exec(QStringLiteral("INSERT INTO WK_TEKIYO VALUES ('01', ?, ?)"),
                 {QStringLiteral("%1").arg(i, 3, 10, QChar(u'0')),
                  QStringLiteral("摘要 %1").arg(i)});
        }
        job = loadReportJob(QStringLiteral("R_TEKIYO"));
    }
    void TearDown() override {
        ReportOutput::install(nullptr);
        DatabaseTest::TearDown();
    }

    static QPushButton* button(const QWidget& window, const char* name) {
        return window.findChild<QPushButton*>(QLatin1String(name));
    }
    static QString pageText(const QWidget& window) {
        return window.findChild<QLabel*>(QStringLiteral("lblPage"))->text();
    }
    static int darkPixels(const QImage& image) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
            }
        }
        return dark;
    }

    ReportJob job;
};

TEST_F(PreviewWindowTest, PagesThroughAndPaintsTheShownPage) {
    PreviewWindow window(job);
    window.resize(900, 700);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const int pages = window.pageCount();
    ASSERT_GE(pages, 3);
    const QString ofAll = QStringLiteral(" / 共 %1 页").arg(pages);
    EXPECT_EQ(pageText(window), QStringLiteral("第 1 页") + ofAll);
    EXPECT_FALSE(button(window, "cmdPrevious")->isEnabled());

    QWidget* view = window.findChild<QWidget*>(QStringLiteral("pageView"));
    ASSERT_NE(view, nullptr);
    const QImage first = view->grab().toImage();
    EXPECT_GT(darkPixels(first), 500);

    button(window, "cmdNext")->click();
    EXPECT_EQ(pageText(window), QStringLiteral("第 2 页") + ofAll);
    EXPECT_NE(view->grab().toImage(), first);
    button(window, "cmdPrevious")->click();
    EXPECT_EQ(window.page(), 0);
    button(window, "cmdLast")->click();
    EXPECT_EQ(pageText(window), QStringLiteral("第 %1 页").arg(pages) + ofAll);
    EXPECT_FALSE(button(window, "cmdNext")->isEnabled());
    button(window, "cmdFirst")->click();
    EXPECT_EQ(window.page(), 0);
    // The paging keys work wherever the focus is, even on the zoom list.
    const std::pair<Qt::Key, int> keys[] = {{Qt::Key_PageDown, 1},
                                            {Qt::Key_End, pages - 1},
                                            {Qt::Key_PageUp, pages - 2},
                                            {Qt::Key_Home, 0}};
    auto* zoom = window.findChild<QComboBox*>(QStringLiteral("cmbZoom"));
    for (QWidget* focus :
         {static_cast<QWidget*>(zoom), window.findChild<QWidget*>(QStringLiteral("scrollPage"))}) {
        focus->setFocus();
        for (const auto& [key, page] : keys) {
            QTest::keyClick(QApplication::focusWidget(), key);
            EXPECT_EQ(window.page(), page) << key;
        }
    }
    EXPECT_EQ(zoom->currentText(), QStringLiteral("适合宽度"));

    // Zoom scales the sheet; fitting the width fills the window's width.
    window.setZoom(100);
    const int atFull = view->width();
    window.setZoom(200);
    EXPECT_NEAR(view->width(), 2 * atFull, 2);
    EXPECT_EQ(zoom->currentText(), QStringLiteral("200%"));
    window.setZoom(0);
    EXPECT_LT(view->width(), window.width());
    EXPECT_GT(view->width(), window.width() * 8 / 10);
}

TEST_F(PreviewWindowTest, ExportsWriteTheFileTheUserNames) {
    PreviewWindow window(job);
    QStringList suggested;
    QString answer;
    window.setFileNameQuestion([&](QWidget*, const QString&, const QString& path, const QString&) {
        suggested.append(QFileInfo(path).fileName());
        return answer;
    });
    struct Case {
        const char* button;
        QString answer;
        QString written;  // empty: nothing is written
        QString said;
        QByteArray magic;
    };
    const QString dir = folder.path() + u'/';
    const Case cases[] = {
        {"cmdPdf", dir + QStringLiteral("摘要.pdf"), dir + QStringLiteral("摘要.pdf"),
         QStringLiteral("已导出到：\r\n") + dir + QStringLiteral("摘要.pdf"), "%PDF"},
        // A name without the type gets it.
        {"cmdExcel", dir + QStringLiteral("list"), dir + QStringLiteral("list.xlsx"),
         QStringLiteral("已导出到：\r\n") + dir + QStringLiteral("list.xlsx"), "PK"},
        // The user gave no name.
        {"cmdPdf", QString(), QString(), QString(), {}},
        {"cmdExcel",
         dir + QStringLiteral("none/x.xlsx"),
         QString(),
         QStringLiteral("不能写入文件: ") + dir + QStringLiteral("none/x.xlsx"),
         {}},
        {"cmdPdf",
         dir + QStringLiteral("none/x.pdf"),
         QString(),
         QStringLiteral("不能写入文件: ") + dir + QStringLiteral("none/x.pdf"),
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button + (u' ' + c.answer).toStdString());
        messages.shown.clear();
        answer = c.answer;
        button(window, c.button)->click();
        EXPECT_EQ(messages.texts(), c.said.isEmpty() ? QStringList() : QStringList{c.said});
        if (!c.written.isEmpty()) {
            QFile file(c.written);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_TRUE(file.read(4).startsWith(c.magic));
            EXPECT_EQ(messages.last().icon, MsgIcon::Information);
        } else if (!c.said.isEmpty()) {
            EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
        }
    }
    // The suggested name is the report's title.
    EXPECT_EQ(suggested.first(), QStringLiteral("摘要一览表.pdf"));
    EXPECT_EQ(suggested.at(1), QStringLiteral("摘要一览表.xlsx"));
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("none")));
}

TEST_F(PreviewWindowTest, TheRealSaveDialogHandsBackThePathChosenInIt) {
    const QString path = folder.filePath(QStringLiteral("chosen.pdf"));
    QTimer::singleShot(0, [path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, checks the name
    });
    EXPECT_EQ(PreviewWindow::askWithSaveDialog(nullptr, QStringLiteral("导出PDF"),
                                               folder.filePath(QStringLiteral("x.pdf")),
                                               QStringLiteral("PDF文件 (*.pdf)")),
              path);
}

TEST_F(PreviewWindowTest, PreviewIsModalAndMaximised) {
    DesktopReportOutput output;
    ReportOutput::install(&output);
    bool wasMaximised = false;
    int pages = 0;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<PreviewWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        wasMaximised = window->windowState().testFlag(Qt::WindowMaximized);
        pages = window->pageCount();
        button(*window, "cmdClose")->click();
    });
    EXPECT_TRUE(PrintAccessReport(QStringLiteral("Kaikei.mdb"), QStringLiteral("R_TEKIYO"), 0));
    EXPECT_TRUE(wasMaximised);
    EXPECT_EQ(pages, int(buildPages(job.layout, job.data).pages.size()));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(PreviewWindowTest, CancelledPdfLeavesNoFile) {
    const PageModel model = buildPages(job.layout, job.data);
    const QString path = folder.filePath(QStringLiteral("cancelled.pdf"));
    int painted = 0;
    try {
        writePdf(model, path, QStringLiteral("摘要一览表"), [&](int) { return ++painted < 2; });
        ADD_FAILURE() << "not cancelled";
    } catch (const ReportFailure& failure) {
        EXPECT_EQ(failure.number, ReportFailure::kCancelled);
    }
    EXPECT_EQ(painted, 2);
    EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
