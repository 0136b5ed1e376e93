#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <optional>

#include "app/AllScreens.h"
#include "app/MainMenu.h"
#include "common/Clock.h"
#include "common/Money.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "db/Database.h"
#include "print/ui/DesktopReportOutput.h"
#include "print/ui/FileDialog.h"
#include "support/GridMouse.h"
#include "support/ModalScript.h"
#include "support/SetSnapshot.h"
#include "support/TestDatabase.h"

namespace {

template <typename T = QWidget>
T* child(const QWidget* window, const char* name) {
    T* found = window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Gives a window the keyboard. The offscreen platform has no window manager: when a dialog
// closes, no window becomes active again, as a desktop would make its parent.
void activate(QWidget* window) {
    if (QApplication::activeWindow() != window) {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    }
}

// The window a form name stands for, which must be on screen; waits until it has the keyboard.
QWidget* shown(const char* form) {
    QWidget* window = Screens::get(QLatin1String(form));
    EXPECT_TRUE(window && window->isVisible()) << form;
    if (window != nullptr) {
        activate(window);
    }
    return window;
}

// Clicks a button with the mouse.
void press(const QWidget* window, const char* button) {
    auto* target = child<QPushButton>(window, button);
    ASSERT_TRUE(target && target->isVisible() && target->isEnabled()) << button;
    QTest::mouseClick(target, Qt::LeftButton);
}

// Types text into a widget: ASCII key by key, anything else whole as an input method commits it.
void typeText(QWidget* widget, const QString& text) {
    const bool ascii =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii) {
        QTest::keyClicks(widget, text);
        return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

// Replaces a box's text by typing.
void typeInto(QWidget* window, const char* box, const QString& text) {
    auto* edit = child<QLineEdit>(window, box);
    ASSERT_NE(edit, nullptr);
    activate(window);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    typeText(edit, text);
}

// Types into a grid cell: the first key opens its editor (F2 first for text an input method
// brings), the rest goes to the editor, which the finishing key leaves.
void typeCell(QTableWidget* grid, int row, int column, const QString& text,
              Qt::Key finish = Qt::Key_Tab) {
    activate(grid->window());
    grid->setFocus();
    grid->setCurrentCell(row, column);
    const bool asciiFirst = text.at(0).unicode() < 0x80;
    if (asciiFirst) {
        QTest::keyClicks(grid, text.left(1));
    } else {
        QTest::keyClick(grid, Qt::Key_F2);
    }
    QWidget* editor = QApplication::focusWidget();
    ASSERT_TRUE(editor && editor != grid && grid->isAncestorOf(editor)) << text.toStdString();
    typeText(editor, asciiFirst ? text.mid(1) : text);
    QTest::keyClick(editor, finish);
}

// True when a line of the text holds the cells in this order, apart only by blanks.
bool hasLine(const QString& text, const QStringList& cells) {
    QStringList escaped;
    for (const QString& cell : cells) {
        escaped.append(QRegularExpression::escape(cell));
    }
    const QRegularExpression line(escaped.join(QStringLiteral("\\h+")) + QStringLiteral("(\\h|$)"),
                                  QRegularExpression::MultilineOption);
    return line.match(text).hasMatch();
}

// One day of the shop: takings, goods bought, wages now and then, cash taken to the bank.
struct Day {
    QString date;
    Money sales;
    Money purchases;
    Money wages;
    Money deposit;
    bool depositByPattern = false;
};

Money yuan(qint64 whole, qint64 fen = 0) {
    return Money::fromUnits(whole * Money::kScale + fen * (Money::kScale / 100));
}

// Thirty days from January to November.
QList<Day> aYearOfDays() {
    QList<Day> days;
    for (int i = 0; i < 30; ++i) {
        Day day;
        day.date = QDate(2025, 1, 6).addDays(i * 11).toString(QStringLiteral("yyyy/MM/dd"));
        day.sales = yuan(800 + 37 * i, 25 * (i % 4));
        day.purchases = yuan(300 + 13 * i);
        day.wages = i % 5 == 4 ? yuan(1500) : Money();
        day.deposit = i % 3 == 2 ? yuan(500 + 10 * i) : Money();
        day.depositByPattern = i == 8;
        days.append(day);
    }
    return days;
}

int rowNamed(const QTableWidget* grid, const QString& name, int column = 0) {
    for (int r = 0; r < grid->rowCount(); ++r) {
        if (grid->item(r, column) != nullptr && grid->item(r, column)->text() == name) {
            return r;
        }
    }
    ADD_FAILURE() << name.toStdString();
    return 0;
}

// Shows a day on the daily screen by typing its date.
void goToDay(QWidget* daily, const QString& date) {
    typeInto(daily, "txtSyoriNen", date);
    QTest::keyClick(child<QLineEdit>(daily, "txtSyoriNen"), Qt::Key_Return);
    EXPECT_EQ(child<QLineEdit>(daily, "txtSyoriNen")->text(), date);
}

// Types a day into the grids and saves it with 确 定.
void enterDay(ModalScript& dialogs, QWidget* daily, const Day& day, bool describe) {
    goToDay(daily, day.date);
    auto* income = child<QTableWidget>(daily, "spdSS1");
    auto* expense = child<QTableWidget>(daily, "spdSS2");
    auto* transfer = child<QTableWidget>(daily, "spdSS3");
    const int sales = rowNamed(income, QStringLiteral("商品销售收入"));
    typeCell(income, sales, 1, day.sales.toText());
    if (describe) {
        typeCell(income, sales, 2, QStringLiteral("门市销售"));
    }
    typeCell(expense, rowNamed(expense, QStringLiteral("商品进货")), 1, day.purchases.toText());
    if (day.wages != Money()) {
        typeCell(expense, rowNamed(expense, QStringLiteral("工资")), 1, day.wages.toText());
    }
    if (day.deposit != Money()) {
        if (day.depositByPattern) {
            typeCell(transfer, 0, 0, QStringLiteral("111101"));
        } else {
            typeCell(transfer, 0, 1, QStringLiteral("111"));
            typeCell(transfer, 0, 2, QStringLiteral("101"));
        }
        typeCell(transfer, 0, 3, QStringLiteral("1111"));
        typeCell(transfer, 0, 5, day.deposit.toText());
    }
    dialogs.expect({ModalScript::click(QMessageBox::Ok)});
    press(daily, "cmdTouroku");
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.takeTexts(), QStringList{QStringLiteral("数据保存成功。")})
        << day.date.toStdString();
}

// What a report screen previews, written to a PDF through the preview's 导出PDF and the save
// dialog; returns the PDF's text.
QString printToPdf(ModalScript& dialogs, QWidget* screen, const QString& file) {
    dialogs.expect({
        ModalScript::on("PreviewWindow", [](QWidget* preview) { press(preview, "cmdPdf"); }),
        ModalScript::on("QFileDialog",
                        [file](QWidget* dialog) {
                            auto* name = child<QLineEdit>(dialog, "fileNameEdit");
                            ASSERT_NE(name, nullptr);
                            // Pasted: typed key by key, the completer's popup takes the Return.
                            name->setText(file);
                            QTest::keyClick(name, Qt::Key_Return);
                        }),
        ModalScript::click(QMessageBox::Ok),
        ModalScript::on("PreviewWindow", [](QWidget* preview) { press(preview, "cmdClose"); }),
    });
    press(screen, "cmdHyouji");
    EXPECT_TRUE(dialogs.done()) << file.toStdString();
    const QStringList said = dialogs.takeTexts();
    EXPECT_TRUE(said.size() == 1 && said.first().startsWith(QStringLiteral("已导出到：")) &&
                said.first().endsWith(file))
        << said.join(u'|').toStdString();
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), file, QStringLiteral("-")});
    EXPECT_TRUE(pdftotext.waitForFinished(30000));
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// Answers the folder chooser with a folder, as if walked to, and OK.
ModalScript::Step chooseFolder(const QString& path) {
    return ModalScript::on("FileDialog", [path](QWidget* dialog) {
        static_cast<FileDialog*>(dialog)->showFolder(path);
        press(dialog, "cmdOk");
    });
}

// The rows of a snapshot that belong to the tables named.
QStringList rowsOf(const SetSnapshot& snapshot, const QStringList& tables) {
    QStringList kept;
    for (const QString& row : snapshot.rows()) {
        if (tables.contains(row.section(u'|', 0, 0))) {
            kept.append(row);
        }
    }
    return kept;
}

// Ends a run of the program's windows: every window but the one kept goes, and the screens are
// forgotten, so that the next run (or test) makes its own (a window may own another: pointers
// that can go null).
void closeScreens(const QWidget* kept) {
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        windows.append(window);
    }
    for (const QPointer<QWidget>& window : windows) {
        if (window && window != kept) {
            delete window.data();
        }
    }
    Screens::clear();
}

class YearInTheLife : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        Clock::setFixedToday(QDate(2025, 12, 31));
        Database::global().close();  // the main window opens the program's file itself
        registerAllScreens();
        ReportOutput::install(&reportWindows);
    }
    void TearDown() override {
        closeScreens(nullptr);
        ReportOutput::install(nullptr);
        DatabaseTest::TearDown();
    }

    DesktopReportOutput reportWindows;
};

TEST_F(YearInTheLife, ASmallShopKeepsItsBooksThroughTheScreens) {
    ModalScript dialogs;
    MainMenu mainMenu;
    Screens::addExisting(QStringLiteral("MainMenu"), &mainMenu);
    mainMenu.show();
    mainMenu.Form_Load();
    ASSERT_EQ(session().RunState, 0);

    // 1. The retail set, chosen in the list with the keyboard: its company and period come first
    // (the current year proposed).
    auto* sets = child<QComboBox>(&mainMenu, "cmbKaikeiData");
    sets->setFocus();
    QTest::keyClick(sets, Qt::Key_Down);
    ASSERT_EQ(session().CurrentCid, QStringLiteral("02"));
    QWidget* company = shown("InpKaisyaJoho");
    EXPECT_EQ(child<QLineEdit>(company, "txtKisyubi")->text(), QStringLiteral("2025/01/01"));
    EXPECT_EQ(child<QLineEdit>(company, "txtKimatubi")->text(), QStringLiteral("2025/12/31"));
    typeInto(company, "txtKaisyaName", QStringLiteral("明光文具店"));
    typeInto(company, "txtJyusho1", QStringLiteral("长江路 8 号"));
    typeInto(company, "txtShihonkin", QStringLiteral("25000"));
    press(company, "cmdTouroku");
    press(company, "cmdBack");
    QWidget* settings = shown("SyokiSetMenu");

    // Opening balances that balance: cash and bank against the owner's capital.
    press(settings, "cmdKisyuZandaka");
    QWidget* opening = shown("InpKisyuZandaka");
    auto* balances = child<QTableWidget>(opening, "spdSS");
    typeCell(balances, rowNamed(balances, QStringLiteral("101")), 3, QStringLiteral("5000"));
    typeCell(balances, rowNamed(balances, QStringLiteral("111")), 3, QStringLiteral("20000"));
    typeCell(balances, rowNamed(balances, QStringLiteral("302")), 3, QStringLiteral("25000"));
    EXPECT_EQ(child<QLineEdit>(opening, "txtTaisyakuSai")->text(), QStringLiteral("0.00"));
    press(opening, "cmdBack");

    // The bank account gets a subsidiary account for the shop's bank, which holds all of it.
    press(shown("SyokiSetMenu"), "cmdKanjyoKamoku");
    QWidget* chart = shown("prtKanjoKamokuSet");
    auto* accounts = child<QTableWidget>(chart, "spdSS");
    auto* group = child<QComboBox>(chart, "cmbDaiBunrui");
    group->setFocus();
    QTest::keyClick(group, Qt::Key_Home);
    EXPECT_EQ(child<QComboBox>(chart, "cmbChuBunrui")->currentText(), QStringLiteral("流动资产"));
    doubleClickCell(accounts, rowNamed(accounts, QStringLiteral("银行存款"), 1), 1);
    QWidget* account = shown("InpKanjokamokuCh");
    QTest::mouseClick(child<QCheckBox>(account, "chkHojokamoku"), Qt::LeftButton);
    auto* subsidiaries = child<QTableWidget>(account, "spdSS");
    doubleClickCell(subsidiaries, 0, 0);
    EXPECT_EQ(child<QLineEdit>(account, "txtHK_Code")->text(), QStringLiteral("1111"));
    typeInto(account, "txtHK_Name", QStringLiteral("工商银行"));
    typeInto(account, "txtHK_Zandaka", QStringLiteral("20000"));
    press(account, "cmdSyusei");
    press(account, "cmdBack");
    press(shown("prtKanjoKamokuSet"), "cmdBack");
    EXPECT_EQ(
        rows(QStringLiteral("SELECT HOCODE, HONAME, KISYUZAN FROM T_HOJOKAMOKU WHERE CID = '02'")),
        QStringList{QStringLiteral("1111|工商银行|200000000")});

    // 2. Two descriptions and a pattern that uses one of them.
    press(shown("SyokiSetMenu"), "cmdTekiyou");
    QWidget* descriptions = shown("InpTekiyouTouroku");
    for (const QString& text : {QStringLiteral("门市销售"), QStringLiteral("存入银行")}) {
        typeInto(descriptions, "txtTekiyou", text);
        press(descriptions, "cmdTouroku");
    }
    press(descriptions, "cmdBack");
    press(shown("SyokiSetMenu"), "cmdSiwake");
    QWidget* patterns = shown("InpIkkatuSiwake");
    auto* debit = child<QComboBox>(patterns, "cmbKarikata");
    debit->setFocus();
    QTest::keyClicks(debit, QStringLiteral("111"));
    QTest::keyClick(debit, Qt::Key_Return);
    auto* credit = child<QComboBox>(patterns, "cmbKasikata");
    QTest::keyClicks(credit, QStringLiteral("101"));
    QTest::keyClick(credit, Qt::Key_Return);
    typeInto(patterns, "txtIkkatuSiwake", QStringLiteral("存现"));
    auto* patternDescription = child<QComboBox>(patterns, "cmbTekiyou");
    patternDescription->setFocus();
    typeText(patternDescription->lineEdit(), QStringLiteral("存入银行"));
    EXPECT_EQ(child<QLineEdit>(patterns, "txtTekiyou")->text(), QStringLiteral("存入银行"));
    press(patterns, "cmdTouroku");
    press(patterns, "cmdBack");
    press(shown("SyokiSetMenu"), "cmdBack");
    EXPECT_EQ(dialogs.takeTexts(), QStringList());
    EXPECT_EQ(value(QStringLiteral("SELECT KRCODE || KSCODE || ' ' || SINAME || ' ' || TENAME "
                                   "FROM T_SI_PATTERN WHERE CID = '02'")),
              QStringLiteral("111101 存现 存入银行"));

    // 3. Thirty days typed into the daily screen, opened from the books menu.
    press(&mainMenu, "cmdInOutsyori");
    press(shown("InOutMenu"), "cmdInpKantan");
    QWidget* daily = shown("InpKantanSiwake");
    QList<Day> days = aYearOfDays();
    std::optional<SetSnapshot> otherSet;
    for (int i = 0; i < days.size(); ++i) {
        enterDay(dialogs, daily, days.at(i), i % 2 == 0);
        if (i == 0) {
            // Another shop in the same file with the same voucher codes, days and accounts:
            // nothing done to this one may touch it.
            SetSnapshot::copySet(QStringLiteral("02"), QStringLiteral("51"));
            otherSet.emplace(QStringLiteral("51"));
        }
    }
    // A day corrected after saving, and one deleted.
    days[4].sales += yuan(100);
    auto* income = child<QTableWidget>(daily, "spdSS1");
    goToDay(daily, days.at(4).date);
    typeCell(income, rowNamed(income, QStringLiteral("商品销售收入")), 1,
             days.at(4).sales.toText());
    dialogs.expect({ModalScript::click(QMessageBox::Ok)});
    press(daily, "cmdTouroku");
    goToDay(daily, days.at(7).date);
    dialogs.expect({ModalScript::click(QMessageBox::Ok)});
    press(daily, "cmdDelete");
    ASSERT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.takeTexts().last().left(10), QStringLiteral("单击“确定”后，此日"));
    const QString lines =
        QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '02' AND SIDAY = ?");
    EXPECT_EQ(count(lines, {days.at(7).date}), 0);
    EXPECT_EQ(
        count(lines + QStringLiteral(" AND KSKIN = ?"), {days.at(4).date, days.at(4).sales.toDb()}),
        1);
    // The registered descriptions on the days they were typed; the pattern's day has the
    // pattern's accounts and description, whose number a transfer line looks up.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_SI_MEISAI WHERE CID = '02' AND "
                                   "TEKIYO = '门市销售' AND SISYU = '0'")),
              15);
    EXPECT_EQ(value(QStringLiteral("SELECT M.ptcode || ' ' || M.KRKOCODE || ' ' || M.KSKOCODE || "
                                   "' ' || M.TEKIYO FROM T_SI_MEISAI M JOIN T_TEKIYO T ON T.CID = "
                                   "M.CID AND T.TEKINO = M.TECODE WHERE M.CID = '02' AND "
                                   "M.SIDAY = ? AND M.SISYU = '1'"),
                    {days.at(8).date}),
              QStringLiteral("111101 009 004 存入银行"));
    days.removeAt(7);

    Money sales, costs, deposits;
    for (const Day& day : days) {
        sales += day.sales;
        costs += day.purchases + day.wages;
        deposits += day.deposit;
    }
    const Money cash = yuan(5000) + sales - costs - deposits;
    const Money bank = yuan(20000) + deposits;
    const Money profit = sales - costs;
    goToDay(daily, QStringLiteral("2025/12/31"));
    EXPECT_EQ(child<QLineEdit>(daily, "txtHonjituZandaka")->text(), cash.toDisplay(2));
    press(daily, "cmdBack");

    // 4. The books and statements to PDF; their totals are what was typed.
    const auto report = [&](const char* button, const char* form, const char* name) {
        press(shown("InOutMenu"), button);
        QWidget* screen = shown(form);
        const QString text = printToPdf(
            dialogs, screen, folder.filePath(QString::fromLatin1(name) + QStringLiteral(".pdf")));
        press(screen, "cmdBack");
        return text;
    };
    const auto m = [](Money amount) { return amount.toDisplay(2); };
    const QString journal = report("cmdSiwakeNikki", "prtSiwakeNikki", "journal");
    EXPECT_TRUE(hasLine(journal, {QStringLiteral("合计"), m(sales + costs + deposits),
                                  m(sales + costs + deposits)}))
        << journal.toStdString();
    const QString ledger = report("cmdSoukanjo", "prtSoukanjoMotocho", "ledger");
    EXPECT_TRUE(hasLine(ledger, {QStringLiteral("结转余额"), QStringLiteral("借"), m(yuan(5000))}));
    EXPECT_TRUE(hasLine(ledger, {QStringLiteral("借"), m(cash)})) << ledger.toStdString();
    EXPECT_TRUE(hasLine(ledger, {QStringLiteral("借"), m(bank)}));
    const QString subsidiary = report("cmdHojo", "prtSoukanjoHojoMotocho", "subsidiary");
    EXPECT_TRUE(subsidiary.contains(QStringLiteral("辅助科目：1111 工商银行")));
    EXPECT_TRUE(
        hasLine(subsidiary, {QStringLiteral("结转余额"), QStringLiteral("借"), m(yuan(20000))}));
    EXPECT_TRUE(hasLine(subsidiary, {QStringLiteral("借"), m(bank)}));
    EXPECT_TRUE(hasLine(subsidiary, {QStringLiteral("本年累计"), m(deposits)}))
        << subsidiary.toStdString();
    const QString trial = report("cmdTaisyakuTaisyo", "prtTaisyakuTaisyo", "trial");
    EXPECT_TRUE(hasLine(trial, {QStringLiteral("101"), QStringLiteral("现金"), m(cash), m(cash)}));
    EXPECT_TRUE(hasLine(trial, {QStringLiteral("【资产总计】"), m(cash + bank), m(cash + bank)}));
    EXPECT_TRUE(hasLine(
        trial, {QStringLiteral("【负债和所有者权益合计】"), m(cash + bank), m(cash + bank)}))
        << trial.toStdString();
    const QString incomeStatement = report("cmdSonekiKeisan", "prtSonekiKeisan", "income");
    EXPECT_TRUE(hasLine(incomeStatement, {QStringLiteral("商品销售收入"), m(sales), m(sales)}));
    EXPECT_TRUE(hasLine(incomeStatement, {QStringLiteral("【本年利润】"), m(profit), m(profit)}))
        << incomeStatement.toStdString();
    const QString balanceSheet = report("cmdZichan", "prtZichan", "balance-sheet");
    EXPECT_TRUE(hasLine(balanceSheet, {QStringLiteral("资产总计"), QStringLiteral("44"),
                                       m(yuan(25000)), m(cash + bank)}))
        << balanceSheet.toStdString();
    EXPECT_TRUE(hasLine(balanceSheet, {QStringLiteral("负债和所有者权益总计"), QStringLiteral("88"),
                                       m(yuan(25000)), m(cash + bank)}));
    const QString profitStatement = report("cmdLirun", "prtLirun", "profit");
    EXPECT_TRUE(hasLine(profitStatement,
                        {QStringLiteral("主营业务收入净额"), QStringLiteral("5"), m(sales)}));
    EXPECT_TRUE(hasLine(profitStatement, {QStringLiteral("净利润（净亏损以“－”号填列）"),
                                          QStringLiteral("43"), m(profit)}))
        << profitStatement.toStdString();
    const QString smallBusiness = report("cmdXiaoQiye", "prtXiaoQiye", "small-business");
    EXPECT_TRUE(hasLine(smallBusiness, {QStringLiteral("资产总计"), QStringLiteral("30"),
                                        m(cash + bank), m(yuan(25000))}))
        << smallBusiness.toStdString();
    press(shown("InOutMenu"), "cmdBack");

    // 5. Backed up into a folder chosen in the folder chooser.
    press(&mainMenu, "cmdSave");
    press(shown("SaveUpdateMenu"), "cmdBackUp");
    QWidget* backup = shown("runBackUp");
    const QString backupFolder = folder.filePath(QStringLiteral("backup"));
    ASSERT_TRUE(QDir().mkpath(backupFolder));
    const SetSnapshot atBackup(QStringLiteral("02"));
    const QStringList chartAtBackup = rows(QStringLiteral("SELECT * FROM T_KANJO ORDER BY KOCODE"));
    dialogs.expect({chooseFolder(backupFolder), ModalScript::click(QMessageBox::Ok)});
    press(backup, "cmdBackUp");
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.takeTexts(), QStringList{QStringLiteral("数据备份成功！")});
    EXPECT_EQ(QDir(backupFolder).entryList({QStringLiteral("T_*.txt")}).size(), 23);
    press(backup, "cmdBack");

    // The year carried forward: the closing balances open 2026.
    press(shown("SaveUpdateMenu"), "cmdNenjiUpdate");
    QWidget* yearEnd = shown("runNenjiUpdate");
    dialogs.expect({ModalScript::click(QMessageBox::Yes), ModalScript::click(QMessageBox::Yes),
                    ModalScript::click(QMessageBox::Ok)});
    press(yearEnd, "cmdJikkou");
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.takeTexts().last(), QStringLiteral("年底结转成功！"));
    const QString periodAndCash = QStringLiteral(
        "SELECT C.KISYU || ' ' || C.KIMATU || ' ' || (SELECT COUNT(*) FROM T_SIWAKE S WHERE "
        "S.CID = C.CID) || ' ' || K.KISYUZAN FROM T_COMP_MAIN C JOIN T_KISYUZAN K ON K.CID = "
        "C.CID AND K.KOCODE = '004' WHERE C.CID = '02'");
    const QString newYear =
        QStringLiteral("2026/01/01 2026/12/31 0 ") + QString::number(cash.units());
    EXPECT_EQ(value(periodAndCash), newYear);

    // The previous year loaded is the year as it was; then back to the current one.
    dialogs.expect({ModalScript::click(QMessageBox::Yes), ModalScript::click(QMessageBox::Ok)});
    press(yearEnd, "cmdPerYear");
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.takeTexts().last(), QStringLiteral("上一年度数据导入成功！"));
    const QStringList yearTables = {QStringLiteral("T_COMP_MAIN"), QStringLiteral("T_SIWAKE"),
                                    QStringLiteral("T_SI_MEISAI"), QStringLiteral("T_DAY_TORAN"),
                                    QStringLiteral("T_KISYUZAN"),  QStringLiteral("T_HOJOKAMOKU"),
                                    QStringLiteral("T_TEKIYO"),    QStringLiteral("T_SI_PATTERN")};
    EXPECT_EQ(rowsOf(SetSnapshot(QStringLiteral("02")), yearTables), rowsOf(atBackup, yearTables));
    dialogs.expect({ModalScript::click(QMessageBox::Ok)});
    press(yearEnd, "cmdNowYear");
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.takeTexts(), QStringList{QStringLiteral("数据恢复成功！")});
    EXPECT_EQ(value(periodAndCash), newYear);
    press(yearEnd, "cmdBack");
    press(shown("SaveUpdateMenu"), "cmdBack");

    // The opening balances screen shows the carried cash and bank.
    press(&mainMenu, "cmdSyokiSet");
    press(shown("SyokiSetMenu"), "cmdKisyuZandaka");
    opening = shown("InpKisyuZandaka");
    balances = child<QTableWidget>(opening, "spdSS");
    EXPECT_EQ(balances->item(rowNamed(balances, QStringLiteral("101")), 3)->text(), m(cash));
    EXPECT_EQ(balances->item(rowNamed(balances, QStringLiteral("111")), 3)->text(), m(bank));
    press(opening, "cmdBack");
    press(shown("SyokiSetMenu"), "cmdBack");
    EXPECT_TRUE(otherSet->unchanged());

    // The program ends without the backup it offers.
    dialogs.expect({ModalScript::click(QMessageBox::No)});
    press(&mainMenu, "cmdEnd");
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.takeTexts(), QStringList{QStringLiteral("系统自动进行数据备份，要执行吗?")});

    // 6. A fresh start in another folder, where another shop already keeps its books: the backup
    // restored through the backup screen is the set as it was backed up.
    closeScreens(&mainMenu);
    registerAllScreens();
    QTemporaryDir freshFolder;
    session().AppFolder = freshFolder.path() + u'/';
    MainMenu freshStart;
    Screens::addExisting(QStringLiteral("MainMenu"), &freshStart);
    freshStart.show();
    freshStart.Form_Load();
    ASSERT_EQ(session().RunState, 0);
    SetSnapshot::copySetFromFile(folder.filePath(QStringLiteral("Kaikei.mdb")),
                                 QStringLiteral("51"));
    const SetSnapshot otherShop(QStringLiteral("51"));
    ASSERT_GT(otherShop.count(QStringLiteral("T_SI_MEISAI")), 0);
    sets = child<QComboBox>(&freshStart, "cmbKaikeiData");
    sets->setFocus();
    QTest::keyClick(sets, Qt::Key_Down);
    ASSERT_EQ(session().CurrentCid, QStringLiteral("02"));
    company = shown("InpKaisyaJoho");
    typeInto(company, "txtKaisyaName", QStringLiteral("明光文具店"));
    press(company, "cmdTouroku");
    press(company, "cmdBack");
    press(shown("SyokiSetMenu"), "cmdBack");
    press(&freshStart, "cmdSave");
    press(shown("SaveUpdateMenu"), "cmdBackUp");
    backup = shown("runBackUp");
    dialogs.expect({chooseFolder(backupFolder), ModalScript::click(QMessageBox::Ok)});
    press(backup, "cmdLoalBack");
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.takeTexts(), QStringList{QStringLiteral("数据恢复成功！")});
    QStringList backedUp = rows(QStringLiteral("SELECT KEISIKI FROM T_BACKUP"));
    EXPECT_EQ(backedUp.size(), 23);
    // Every table of the set as backed up, except that the months are open again for their
    // totals to be rebuilt.
    backedUp.removeOne(QStringLiteral("T_TUKISIME"));
    EXPECT_EQ(rowsOf(SetSnapshot(QStringLiteral("02")), backedUp), rowsOf(atBackup, backedUp));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM T_TUKISIME WHERE CID = '02' AND "
                                   "SYORIFLG = '0' AND SYORIFLGH = '0'")),
              atBackup.count(QStringLiteral("T_TUKISIME")));
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM T_KANJO ORDER BY KOCODE")), chartAtBackup);
    EXPECT_TRUE(otherShop.unchanged());
    press(backup, "cmdBack");
    press(shown("SaveUpdateMenu"), "cmdBack");
    dialogs.expect({ModalScript::click(QMessageBox::No)});
    press(&freshStart, "cmdEnd");
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.takeTexts(), QStringList{QStringLiteral("系统自动进行数据备份，要执行吗?")});
}

}  // namespace
