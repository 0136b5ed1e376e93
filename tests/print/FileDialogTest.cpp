#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "common/Session.h"
#include "print/FileChooser.h"
#include "print/ui/FileDialog.h"
#include "support/QtPrinters.h"
#include "support/RecordingMessages.h"
#include "support/StringLists.h"

namespace {

// A folder holding the files of every use, some in another letter case, and two subfolders.
class FileChooserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        session().reset();
        session().CurrentCid = QStringLiteral("51");
        ASSERT_TRUE(folder.isValid());
        for (const char* name :
             {"Data51_03.CSV", "kaisha51_03.csv", "Data51_04.CSV", "Data52_03.CSV", "month.csv",
              "T_001.txt", "T_023.TXT", "T_024.txt", "notes.txt"}) {
            QFile file(folder.filePath(QString::fromUtf8(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("b")));
        ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("A")));
    }
    void TearDown() override { session().reset(); }

    QTemporaryDir folder;
    RecordingMessages messages;
};

TEST_F(FileChooserTest, EachUseListsItsFiles) {
    struct Case {
        FileDialogUse use;
        const char* month;
        QStringList patterns;  // empty: not checked
        const char* typeText;
        QStringList files;
    };
    const Case cases[] = {
        {FileDialogUse::Import, "03", strings({"Data51_03.CSV", "Kaisha51_03.CSV"}), "*.csv",
         strings({"Data51_03.CSV", "kaisha51_03.csv"})},
        {FileDialogUse::Import, "", strings({"Data51_00.CSV", "Kaisha51_00.CSV"}), "*.csv", {}},
        {FileDialogUse::Export, "", strings({"*.csv"}), "*.csv",
         strings(
             {"Data51_03.CSV", "Data51_04.CSV", "Data52_03.CSV", "kaisha51_03.csv", "month.csv"})},
        {FileDialogUse::Backup, "", {}, "*.txt", strings({"T_001.txt", "T_023.TXT"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.use));
        FileChooser chooser(c.use, QString::fromUtf8(c.month));
        chooser.setFolder(folder.path());
        if (!c.patterns.isEmpty()) {
            EXPECT_EQ(chooser.patterns(), c.patterns);
        }
        EXPECT_EQ(chooser.typeText(), QString::fromUtf8(c.typeText));
        EXPECT_EQ(chooser.files(), c.files);
    }
    const QStringList backup = FileChooser(FileDialogUse::Backup).patterns();
    ASSERT_EQ(backup.size(), 23);
    EXPECT_EQ(backup.first(), QStringLiteral("T_001.txt"));
    EXPECT_EQ(backup.at(9), QStringLiteral("T_010.txt"));
    EXPECT_EQ(backup.last(), QStringLiteral("T_023.txt"));
}

TEST_F(FileChooserTest, FoldersAndDrives) {
    FileChooser chooser(FileDialogUse::Export);
    chooser.setFolder(folder.path() + QStringLiteral("/b/.."));
    EXPECT_EQ(chooser.folder(), folder.path());
    EXPECT_EQ(chooser.folders(), QStringList({QFileInfo(folder.path()).absolutePath(),
                                              folder.filePath(QStringLiteral("A")),
                                              folder.filePath(QStringLiteral("b"))}));
    EXPECT_EQ(chooser.drive(), FileChooser::driveOf(folder.path()));
    EXPECT_TRUE(FileChooser::drives().contains(chooser.drive()));
    EXPECT_EQ(FileChooser::drives().first(), QStringLiteral("/"));
    // The root has no parent to go up to.
    ASSERT_TRUE(chooser.selectDrive(QStringLiteral("/")));
    EXPECT_EQ(chooser.folder(), QStringLiteral("/"));
    EXPECT_FALSE(chooser.folders().contains(QStringLiteral("/")));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(FileChooserTest, UnreadableDriveIsAskedAboutUntilCancelled) {
    FileChooser chooser(FileDialogUse::Backup);
    chooser.setFolder(folder.path());
    messages.answers = {MsgAnswer::Retry, MsgAnswer::Cancel};
    EXPECT_FALSE(chooser.selectDrive(folder.filePath(QStringLiteral("gone"))));
    ASSERT_EQ(messages.shown.size(), 2);
    for (const MessageRequest& asked : messages.shown) {
        EXPECT_EQ(asked.text, QStringLiteral("请确定磁盘已插入或者磁盘未损坏。"));
        EXPECT_EQ(asked.title, QStringLiteral("Warning"));
        EXPECT_EQ(asked.icon, MsgIcon::Exclamation);
        EXPECT_EQ(asked.buttons, MsgButtons::RetryCancel);
    }
    EXPECT_EQ(chooser.folder(), folder.path());
    EXPECT_EQ(chooser.drive(), FileChooser::driveOf(folder.path()));

    // The drive comes back while the question is up: Retry reads it.
    messages.shown.clear();
    const QString later = folder.filePath(QStringLiteral("later"));
    struct CreatingMessages : RecordingMessages {
        QString make;
        MsgAnswer show(const MessageRequest& request) override {
            QDir().mkdir(make);
            return RecordingMessages::show(request);
        }
    } creating;
    creating.make = later;
    creating.answers = {MsgAnswer::Retry};
    EXPECT_TRUE(chooser.selectDrive(later));
    EXPECT_EQ(creating.shown.size(), 1);
    EXPECT_EQ(chooser.folder(), later);
}

TEST_F(FileChooserTest, DialogWalksFoldersAndAnswersOkOrNothing) {
    FileDialog dialog(FileDialogUse::Backup, QString(), folder.path());
    auto* dirs = dialog.findChild<QListWidget*>(QStringLiteral("DirList"));
    auto* files = dialog.findChild<QListWidget*>(QStringLiteral("FileList"));
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("List1"));
    ASSERT_TRUE(dirs && files && types);
    EXPECT_EQ(types->currentText(), QStringLiteral("*.txt"));
    ASSERT_EQ(dirs->count(), 3);
    EXPECT_EQ(dirs->item(0)->text(), QStringLiteral(".."));
    EXPECT_EQ(dirs->item(1)->text(), QStringLiteral("A"));
    EXPECT_EQ(files->count(), 2);

    // Enter walks forward through the controls, Esc back.
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dirs->setFocus();
    QTest::keyClick(dirs, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), files);
    QTest::keyClick(files, Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), dirs);
    EXPECT_TRUE(dialog.isVisible());

    // A double click enters a folder; its (empty) file list follows.
    const QPoint second = dirs->visualItemRect(dirs->item(1)).center();
    QWindow* window = dialog.windowHandle();
    QTest::mouseDClick(window, Qt::LeftButton, {},
                       window->mapFromGlobal(dirs->viewport()->mapToGlobal(second)));
    EXPECT_EQ(dialog.folder(), folder.filePath(QStringLiteral("A")));
    EXPECT_EQ(files->count(), 0);
    dialog.hide();

    const auto answerWith = [&](const char* button) {
        QTimer::singleShot(0, [&dialog, button] {
            dialog.findChild<QPushButton*>(QLatin1String(button))->click();
        });
        return dialog.exec();
    };
    EXPECT_EQ(answerWith("cmdOk"), QDialog::Accepted);
    EXPECT_EQ(dialog.resultText(), QStringLiteral("ok"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(answerWith("cmdCancle"), QDialog::Rejected);
    EXPECT_TRUE(dialog.resultText().isEmpty());
    EXPECT_EQ(dialog.folder(), folder.filePath(QStringLiteral("A")));
}

}  // namespace
