#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "common/Session.h"
#include "generator/BookGenerator.h"
#include "maintenance/ui/runDatain.h"
#include "maintenance/ui/runDataout.h"
#include "print/ui/FileDialog.h"
#include "support/MessageBoxClicker.h"
#include "support/SetSnapshot.h"
#include "support/TestDatabase.h"

namespace {

class CsvScreens : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        QString error;
        ASSERT_TRUE(generateBook({QStringLiteral("02"), QDate(2024, 1, 1), 40, 3, 5}, &error))
            << error.toStdString();
        SetSnapshot::copySet(QStringLiteral("02"), QStringLiteral("03"));
        session().CurrentCid = QStringLiteral("02");
    }
};

// Answers the next folder chooser that opens: shows the folder and clicks the button, as a user
// would.
class FolderChooserAnswer {
  public:
    FolderChooserAnswer(const QString& folder, const char* button)
        : folder_(folder), button_(QLatin1String(button)) {
        poll();
    }
    ~FolderChooserAnswer() { *alive_ = false; }
    bool answered() const { return answered_; }
    QStringList listed() const { return listed_; }

  private:
    void poll() {
        auto* dialog = qobject_cast<FileDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog->isVisible()) {
            dialog->showFolder(folder_);
            listed_ = dialog->logic().files();
            QTest::mouseClick(dialog->findChild<QPushButton*>(button_), Qt::LeftButton);
            answered_ = true;
            return;
        }
        QTimer::singleShot(10, [this, alive = alive_] {
            if (*alive) {
                poll();
            }
        });
    }
    QString folder_;
    QString button_;
    bool answered_ = false;
    QStringList listed_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Both screens list the set's months with none chosen (every month), and the combo chooses the
// month their routines use.
TEST_F(CsvScreens, MonthComboDrivesTheRoutines) {
    runDataout out;
    runDatain in;
    struct Case {
        CsvScreen* screen;
        const char* start;
        std::function<int()> selected;
    };
    const Case cases[] = {{&out, "cmdStart", [&] { return out.logic().selected; }},
                          {&in, "cmdStr", [&] { return in.logic().selected; }}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        c.screen->show();
        EXPECT_EQ(c.screen->cmbTuki->count(), 12);
        EXPECT_EQ(c.screen->cmbTuki->itemText(2), QStringLiteral("2024年3月"));
        EXPECT_EQ(c.screen->cmbTuki->currentIndex(), -1);
        EXPECT_EQ(c.selected(), -1);
        c.screen->cmbTuki->setCurrentIndex(2);
        EXPECT_EQ(c.selected(), 2);
        EXPECT_NE(c.screen->findChild<QPushButton*>(QString::fromUtf8(c.start)), nullptr);
        EXPECT_TRUE(c.screen->windowTitle().endsWith(session().PeriodLabel));
        c.screen->hide();
    }
}

// The real screens with the real message boxes and the real folder chooser: a month exported,
// lost and read back; cancelling the chooser writes and reads nothing; the other set stays.
TEST_F(CsvScreens, ExportAndImportThroughTheFolderChooser) {
    const QString january = QStringLiteral(
        "SELECT DENCODE, DENMENO, SIDAY, KRKOCODE, KSKOCODE, KRKIN, TEKIYO FROM T_SI_MEISAI "
        "WHERE CID = '02' AND DATEYM = '2024/01' ORDER BY DENCODE, DENMENO");
    const QStringList lines = rows(january);
    ASSERT_FALSE(lines.isEmpty());
    const SetSnapshot other(QStringLiteral("03"));
    const QString target = folder.filePath(QStringLiteral("csv"));
    ASSERT_TRUE(QDir().mkpath(target));
    const auto start = [](CsvScreen& screen, const char* button) {
        screen.show();
        screen.cmbTuki->setCurrentIndex(0);
        QTest::mouseClick(screen.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    };
    {
        runDataout out;
        MessageBoxClicker boxes({QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok});
        {
            const FolderChooserAnswer cancel(target, "cmdCancle");
            start(out, "cmdStart");
            EXPECT_TRUE(cancel.answered());
        }
        EXPECT_TRUE(QDir(target).isEmpty());
        const FolderChooserAnswer choose(target, "cmdOk");
        start(out, "cmdStart");
        EXPECT_TRUE(choose.answered());
        // The question names the set as the main window shows it, then the month.
        ASSERT_EQ(boxes.texts().size(), 3);
        EXPECT_EQ(boxes.texts().at(0), boxes.texts().at(1));
        EXPECT_TRUE(
            boxes.texts().at(0).endsWith(QStringLiteral("  2024年1月的备份开始。可以吗？")));
        EXPECT_EQ(boxes.texts().at(2), QStringLiteral("数据备份成功！"));
        EXPECT_EQ(QDir(target).entryList(QDir::Files),
                  (QStringList{QStringLiteral("Data02_2024年1月.CSV"),
                               QStringLiteral("Kaisha02_2024年1月.CSV")}));
        out.close();
    }
    exec(QStringLiteral("DELETE FROM T_SI_MEISAI WHERE CID = '02' AND DATEYM = '2024/01'"));
    {
        runDatain in;
        MessageBoxClicker boxes({QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok});
        {
            const FolderChooserAnswer cancel(target, "cmdCancle");
            start(in, "cmdStr");
            EXPECT_TRUE(cancel.answered());
        }
        EXPECT_TRUE(rows(january).isEmpty());
        const FolderChooserAnswer choose(target, "cmdOk");
        start(in, "cmdStr");
        EXPECT_EQ(choose.listed().size(), 2);
        EXPECT_EQ(boxes.texts(), (QStringList{QStringLiteral("请指定恢复数据的路径。"),
                                              QStringLiteral("请指定恢复数据的路径。"),
                                              QStringLiteral("数据恢复成功！")}));
        in.close();
    }
    EXPECT_EQ(rows(january), lines);
    EXPECT_TRUE(other.unchanged());
}

}  // namespace
