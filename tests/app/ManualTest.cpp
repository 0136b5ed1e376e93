#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <memory>

#include "app/Manyual.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "entry/JournalPrint.h"
#include "maintenance/ui/runBackUp.h"
#include "statements/MonthStatement.h"
#include "statements/SmallBusinessForms.h"
#include "statements/StatutoryBalanceSheet.h"
#include "statements/StatutoryProfitStatement.h"
#include "support/MessageBoxClicker.h"
#include "support/TestDatabase.h"
#include "totals/GeneralLedger.h"
#include "totals/LedgerCorrection.h"
#include "totals/SubsidiaryLedger.h"

namespace {

const QString kBuildDir = QStringLiteral(OMBREL_BUILD_DIR);
const QString kManual = kBuildDir + QStringLiteral("/manual");

QString readPage(const QString& name) {
    QFile file(kManual + u'/' + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return QString::fromUtf8(file.readAll());
}

QStringList targets(const QString& text, const QString& pattern) {
    QStringList found;
    QRegularExpressionMatchIterator it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext()) {
        found.append(it.next().captured(1));
    }
    return found;
}

// A picture of one colour is a screen that was not painted.
bool hasDetail(const QImage& image) {
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            if (image.pixel(x, y) != first) {
                return true;
            }
        }
    }
    return false;
}

// The manual the build made: the index reaches every page, every page's links lead to pages,
// and every picture a page shows was made by the build and shows something.
TEST(ManualPages, LinksAndPicturesOfTheBuiltManual) {
    const QStringList pages = QDir(kManual).entryList({QStringLiteral("*.md")}, QDir::Files);
    ASSERT_GE(pages.size(), 15);
    const QStringList fromIndex =
        targets(readPage(QStringLiteral("index.md")), QStringLiteral("\\]\\(([^)#]+\\.md)\\)"));
    EXPECT_EQ(QSet<QString>(fromIndex.begin(), fromIndex.end()) + QSet{QStringLiteral("index.md")},
              QSet<QString>(pages.begin(), pages.end()));
    int pictures = 0;
    for (const QString& page : pages) {
        SCOPED_TRACE(page.toStdString());
        const QString text = readPage(page);
        for (const QString& link : targets(text, QStringLiteral("[^!]\\[[^]]*\\]\\(([^)]+)\\)"))) {
            if (!link.startsWith(u"http")) {
                EXPECT_TRUE(pages.contains(link)) << link.toStdString();
            }
        }
        for (const QString& src : targets(text, QStringLiteral("!\\[[^]]*\\]\\(([^)]+)\\)"))) {
            SCOPED_TRACE(src.toStdString());
            const QImage image(kManual + u'/' + src);
            ASSERT_FALSE(image.isNull());
            EXPECT_GE(image.width(), 200);
            EXPECT_TRUE(hasDetail(image));
            ++pictures;
        }
    }
    EXPECT_GE(pictures, 25);
}

class ManualViewer : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        session().CurrentCid = QStringLiteral("02");
        session().PeriodLabel = QStringLiteral("2024年度");
        Manyual::setProgramDir(kBuildDir);
    }
    void TearDown() override {
        Manyual::setProgramDir(QString());
        DatabaseTest::TearDown();
    }

    static QString shownText(const Manyual& viewer) {
        return viewer.findChild<QTextBrowser*>(QStringLiteral("Image1"))->toPlainText();
    }
};

// Every page a screen's help box names is in the manual.
TEST_F(ManualViewer, EveryHelpBoxNamesAPageOfTheManual) {
    JournalPrint().cmdQuestion_Click();
    GeneralLedger().cmdQuestion_Click();
    GeneralLedger().Command1_Click();
    SubsidiaryLedger().cmdQuestion_Click();
    SubsidiaryLedger().Command1_Click();
    LedgerCorrection().cmdQuestion_Click();
    MonthStatement(MonthStatementKind::TrialBalance).cmdQuestion_Click();
    StatutoryBalanceSheet().cmdQuestion_Click();
    StatutoryProfitStatement().cmdQuestion_Click();
    SmallBusinessForms().cmdQuestion_Click();
    Manyual viewer;
    for (const MessageRequest& shown : messages.shown) {
        SCOPED_TRACE(shown.text.toStdString());
        EXPECT_TRUE(viewer.openPage(shown.helpPage));
        EXPECT_EQ(viewer.currentPage(), shown.helpPage);
        EXPECT_FALSE(shownText(viewer).isEmpty());
    }
    EXPECT_EQ(messages.shown.size(), 10);
}

// The real box of the backup screen's 帮助: its text as before, and its extra button opens the
// manual on the backup page while the screen stays open behind it.
TEST_F(ManualViewer, HelpBoxButtonOpensTheScreensPage) {
    runBackUp screen;
    screen.show();
    MessageBoxClicker clicker({QMessageBox::Help});
    QTest::mouseClick(screen.findChild<QPushButton*>(QStringLiteral("cmdQuestion")),
                      Qt::LeftButton);
    ASSERT_EQ(clicker.seen().size(), 1);
    EXPECT_TRUE(
        clicker.seen().at(0).text.startsWith(u"单击“开始备份”，对每日的数据进行备份处理。"));
    EXPECT_EQ(clicker.seen().at(0).buttonTexts,
              (QStringList{QStringLiteral("查看操作手册"), QStringLiteral("确定")}));
    EXPECT_EQ(clicker.seen().at(0).defaultButtonText, QStringLiteral("确定"));
    QPointer<Manyual> viewer = qobject_cast<Manyual*>(Screens::get(QStringLiteral("Manyual")));
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->currentPage(), QStringLiteral("backup"));
    EXPECT_TRUE(shownText(*viewer).contains(u"自动备份"));
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("操作说明 — 2024年度"));
    viewer->findChild<QPushButton*>(QStringLiteral("cmdBack"))->click();
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_TRUE(screen.isVisible());
    screen.close();
}

// From the daily entry screen's 帮助 the viewer opens on that screen's page and returns there.
TEST_F(ManualViewer, FromTheEntryScreenOpensItsPageAndReturnsThere) {
    QWidget entry;
    Screens::addExisting(QStringLiteral("InpKantanSiwake"), &entry);
    entry.show();
    auto viewer = std::make_unique<Manyual>();
    Screens::addExisting(QStringLiteral("Manyual"), viewer.get());
    ASSERT_TRUE(Screens::open(QStringLiteral("Manyual"), &entry));
    EXPECT_FALSE(entry.isVisible());
    EXPECT_EQ(viewer->currentPage(), QStringLiteral("daily-entry"));
    EXPECT_TRUE(shownText(*viewer).contains(u"确 定"));
    // Links between pages work.
    auto* browser = viewer->findChild<QTextBrowser*>(QStringLiteral("Image1"));
    browser->setSource(QUrl(QStringLiteral("patterns.md")));
    EXPECT_EQ(viewer->currentPage(), QStringLiteral("patterns"));
    viewer->findChild<QPushButton*>(QStringLiteral("cmdPrevious"))->click();
    EXPECT_EQ(viewer->currentPage(), QStringLiteral("daily-entry"));
    viewer->findChild<QPushButton*>(QStringLiteral("cmdBack"))->click();
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_TRUE(entry.isVisible());
    Screens::add(QStringLiteral("Manyual"), [] { return new Manyual; });
}

// Without a manual beside the program or installed, the window says where it looked.
TEST_F(ManualViewer, MissingManualIsSaidPlainly) {
    Manyual::setProgramDir(folder.path());
    Manyual viewer;
    EXPECT_FALSE(viewer.openPage(QStringLiteral("backup")));
    const QString text = shownText(viewer);
    EXPECT_TRUE(text.startsWith(u"找不到操作手册。")) << text.toStdString();
    EXPECT_TRUE(text.contains(QDir::cleanPath(folder.path() + QStringLiteral("/manual"))));
    EXPECT_TRUE(
        text.contains(QDir::cleanPath(folder.path() + QStringLiteral("/../share/ombrel/manual"))));
    // An installed manual is found from the program's bin folder.
    const QString installed = folder.filePath(QStringLiteral("share/ombrel/manual"));
    ASSERT_TRUE(QDir().mkpath(installed));
    ASSERT_TRUE(QFile::copy(kManual + QStringLiteral("/index.md"),
                            installed + QStringLiteral("/index.md")));
    EXPECT_EQ(Manyual::findFolder(folder.filePath(QStringLiteral("bin"))),
              QDir::cleanPath(installed));
    Manyual::setProgramDir(folder.filePath(QStringLiteral("bin")));
    EXPECT_TRUE(viewer.openPage(QString()));
    EXPECT_EQ(viewer.currentPage(), QStringLiteral("index"));
    EXPECT_FALSE(viewer.openPage(QStringLiteral("backup")));
    EXPECT_TRUE(shownText(viewer).startsWith(u"操作手册中没有这一页"));
}

}  // namespace
