// Makes the manual's pictures: a sample book in a temporary folder, each screen the manual shows
// opened through the program's own buttons and grabbed to a PNG. Run offscreen by the build.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFont>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/AllScreens.h"
#include "app/ChineseTranslation.h"
#include "app/MainMenu.h"
#include "common/Clock.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "db/DataSource.h"
#include "db/Database.h"
#include "db/ShippedDatabase.h"
#include "generator/BookGenerator.h"
#include "maintenance/AutoBackup.h"
#include "print/ui/PreviewWindow.h"

namespace {

struct ShotFailed {
    QString reason;
};

// The offscreen platform reports each window feature it lacks; that says nothing about the
// pictures.
void quietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith(u"This plugin does not support")) {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    }
}

void settle() {
    QEventLoop loop;
    QTimer::singleShot(30, &loop, &QEventLoop::quit);
    loop.exec();
}

class Camera {
  public:
    explicit Camera(QString folder) : folder_(std::move(folder)) {}

    void shoot(QWidget* window, const QString& name) {
        settle();
        const QImage image = window->grab().toImage();
        if (image.isNull() || !image.save(folder_ + u'/' + name + QStringLiteral(".png"))) {
            throw ShotFailed{QStringLiteral("cannot write ") + name};
        }
        ++count_;
    }
    int count() const { return count_; }

  private:
    QString folder_;
    int count_ = 0;
};

// Report previews are grabbed at a fixed size and closed again at once.
class PreviewCamera : public ReportOutput {
  public:
    explicit PreviewCamera(Camera& camera) : camera_(camera) {}

    void expect(const QString& name) { next_ = name; }

    bool preview(const ReportJob& job) override {
        PreviewWindow window(job);
        window.resize(1000, 760);
        window.show();
        if (!next_.isEmpty()) {
            camera_.shoot(&window, next_);
            next_.clear();
        }
        return true;
    }
    bool print(const ReportJob&) override { return true; }

  private:
    Camera& camera_;
    QString next_;
};

QPushButton* buttonOf(QWidget* window, const char* name) {
    auto* button = window->findChild<QPushButton*>(QLatin1String(name));
    if (button == nullptr) {
        throw ShotFailed{window->objectName() + QStringLiteral(" has no ") + QLatin1String(name)};
    }
    return button;
}

// Chooses the first entry of a list whose text holds one of texts, as a user would.
void choose(QWidget* window, const char* name, const QStringList& texts) {
    auto* box = window->findChild<QComboBox*>(QLatin1String(name));
    for (int i = 0; box != nullptr && i < box->count(); ++i) {
        for (const QString& text : texts) {
            if (box->itemText(i).contains(text)) {
                box->setCurrentIndex(i);
                emit box->activated(i);
                return;
            }
        }
    }
    throw ShotFailed{window->objectName() + u' ' + QLatin1String(name) + QStringLiteral(": no ") +
                     texts.join(u'/')};
}

void chooseIndex(QWidget* window, const char* name, int index) {
    auto* box = window->findChild<QComboBox*>(QLatin1String(name));
    if (box == nullptr || index >= box->count()) {
        throw ShotFailed{window->objectName() + QStringLiteral(": no ") + QLatin1String(name)};
    }
    box->setCurrentIndex(index < 0 ? box->count() + index : index);
    emit box->activated(box->currentIndex());
}

// Clicks the opener's button and returns the screen it showed.
QWidget* openBy(QWidget* opener, const char* button, const QString& form) {
    buttonOf(opener, button)->click();
    settle();
    QWidget* screen = Screens::has(form) ? Screens::get(form) : nullptr;
    if (screen == nullptr || !screen->isVisible()) {
        throw ShotFailed{form + QStringLiteral(" did not open")};
    }
    return screen;
}

// Opens a screen from a menu, grabs it and closes it again (the menu comes back).
void screenOf(Camera& camera, QWidget* menu, const char* button, const QString& form,
              const QString& name) {
    QWidget* screen = openBy(menu, button, form);
    camera.shoot(screen, name);
    screen->close();
    settle();
}

// A year of a small shop from January 1st, today March 15th: 74 days of receipts, payments and
// transfers written through the program's own writers, with opening balances and subsidiaries.
void makeSampleBook(const QString& file) {
    ShippedDatabase::create(file);
    Database::global().open(file);
    BookSpec book{QStringLiteral("02"), QDate(2024, 1, 1), 75, 6, 20240315};
    QString error;
    if (!generateBook(book, &error)) {
        throw ShotFailed{error};
    }
    Database::global().execute(
        QStringLiteral("UPDATE T_COMP_MAIN SET COMPANY = ? WHERE CID = '02'"),
        {QStringLiteral("示例商店")});
    Database::global().close();
}

void shootAll(Camera& camera, PreviewCamera& previews) {
    MainMenu mainMenu;
    Screens::addExisting(QStringLiteral("MainMenu"), &mainMenu);
    mainMenu.show();
    mainMenu.Form_Load();
    if (session().RunState == 1) {
        throw ShotFailed{QStringLiteral("the sample book did not open")};
    }
    writeAutoBackup();
    camera.shoot(&mainMenu, QStringLiteral("main-window"));

    QWidget* basic = openBy(&mainMenu, "cmdSyokiSet", QStringLiteral("SyokiSetMenu"));
    camera.shoot(basic, QStringLiteral("menu-basic"));
    screenOf(camera, basic, "cmdKaisyaJoho", QStringLiteral("InpKaisyaJoho"),
             QStringLiteral("account-set"));
    screenOf(camera, basic, "cmdKisyuZandaka", QStringLiteral("InpKisyuZandaka"),
             QStringLiteral("opening-balances"));
    screenOf(camera, basic, "cmdKanjyoKamoku", QStringLiteral("prtKanjoKamokuSet"),
             QStringLiteral("chart"));
    screenOf(camera, basic, "cmdSiwake", QStringLiteral("InpIkkatuSiwake"),
             QStringLiteral("patterns"));
    screenOf(camera, basic, "cmdTekiyou", QStringLiteral("InpTekiyouTouroku"),
             QStringLiteral("descriptions"));
    screenOf(camera, basic, "cmdPassword", QStringLiteral("Password"), QStringLiteral("password"));
    basic->close();
    settle();

    QWidget* books = openBy(&mainMenu, "cmdInOutsyori", QStringLiteral("InOutMenu"));
    camera.shoot(books, QStringLiteral("menu-books"));
    screenOf(camera, books, "cmdInpKantan", QStringLiteral("InpKantanSiwake"),
             QStringLiteral("daily-entry"));
    QWidget* journal = openBy(books, "cmdSiwakeNikki", QStringLiteral("prtSiwakeNikki"));
    chooseIndex(journal, "cmbTaisyoHizuke1", 0);
    chooseIndex(journal, "cmbTaisyoHizuke2", -1);
    camera.shoot(journal, QStringLiteral("journal"));
    previews.expect(QStringLiteral("journal-preview"));
    buttonOf(journal, "cmdHyouji")->click();
    journal->close();
    settle();
    const QStringList january{QStringLiteral("2024年1月"), QStringLiteral("2024年01月")};
    const QStringList march{QStringLiteral("2024年3月"), QStringLiteral("2024年03月")};
    QWidget* ledger = openBy(books, "cmdSoukanjo", QStringLiteral("prtSoukanjoMotocho"));
    choose(ledger, "cmbTaisyoNenTuki1", january);
    choose(ledger, "cmbTaisyoNenTuki2", march);
    chooseIndex(ledger, "cmbTaisyoKamoku1", 0);
    chooseIndex(ledger, "cmbTaisyoKamoku2", 0);
    camera.shoot(ledger, QStringLiteral("general-ledger"));
    previews.expect(QStringLiteral("general-ledger-preview"));
    buttonOf(ledger, "cmdHyouji")->click();
    screenOf(camera, ledger, "cmdDataHyoji", QStringLiteral("InpSoukanjoMotchoH"),
             QStringLiteral("ledger-correction"));
    ledger->close();
    settle();
    QWidget* subsidiary = openBy(books, "cmdHojo", QStringLiteral("prtSoukanjoHojoMotocho"));
    choose(subsidiary, "cmbTaisyoNenTuki1", january);
    choose(subsidiary, "cmbTaisyoNenTuki2", march);
    chooseIndex(subsidiary, "cmbTaisyoKamoku1", 0);
    chooseIndex(subsidiary, "cmbTaisyoKamoku2", -1);
    camera.shoot(subsidiary, QStringLiteral("subsidiary-ledger"));
    previews.expect(QStringLiteral("subsidiary-ledger-preview"));
    buttonOf(subsidiary, "cmdHyouji")->click();
    subsidiary->close();
    settle();
    QWidget* trial = openBy(books, "cmdTaisyakuTaisyo", QStringLiteral("prtTaisyakuTaisyo"));
    choose(trial, "cmbTaisyoNenTuki", march);
    camera.shoot(trial, QStringLiteral("trial-balance"));
    previews.expect(QStringLiteral("trial-balance-preview"));
    buttonOf(trial, "cmdHyouji")->click();
    trial->close();
    settle();
    QWidget* income = openBy(books, "cmdSonekiKeisan", QStringLiteral("prtSonekiKeisan"));
    choose(income, "cmbTaisyoNenTuki", march);
    camera.shoot(income, QStringLiteral("income-statement"));
    income->close();
    settle();
    screenOf(camera, books, "cmdZichan", QStringLiteral("prtZichan"),
             QStringLiteral("balance-sheet"));
    screenOf(camera, books, "cmdLirun", QStringLiteral("prtLirun"),
             QStringLiteral("profit-statement"));
    QWidget* forms = openBy(books, "cmdXiaoQiye", QStringLiteral("prtXiaoQiye"));
    choose(forms, "cmbTaisyoNenTuki", march);
    camera.shoot(forms, QStringLiteral("small-business"));
    previews.expect(QStringLiteral("small-business-preview"));
    buttonOf(forms, "cmdHyouji")->click();
    forms->close();
    settle();
    books->close();
    settle();

    QWidget* data = openBy(&mainMenu, "cmdSave", QStringLiteral("SaveUpdateMenu"));
    camera.shoot(data, QStringLiteral("menu-data"));
    screenOf(camera, data, "cmdBackUp", QStringLiteral("runBackUp"), QStringLiteral("backup"));
    screenOf(camera, data, "cmdNenjiUpdate", QStringLiteral("runNenjiUpdate"),
             QStringLiteral("year-end"));
    screenOf(camera, data, "cmdOutData", QStringLiteral("runDataout"),
             QStringLiteral("csv-export"));
    screenOf(camera, data, "cmdInData", QStringLiteral("runDatain"), QStringLiteral("csv-import"));
    screenOf(camera, data, "cmdConverter", QStringLiteral("runConverter"),
             QStringLiteral("converter"));
    data->close();
    settle();
}

}  // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(quietPlatform);
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: ombrel-manual-shots IMAGE_FOLDER\n");
        return 2;
    }
    installChineseTranslation(app);
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    QApplication::setFont(font);

    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir(folder).removeRecursively();  // no picture of a screen that is gone may stay
    QTemporaryDir books;
    if (!QDir().mkpath(folder) || !books.isValid()) {
        std::fprintf(stderr, "cannot make %s or a temporary folder\n", argv[1]);
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    session().AppFolder = books.path() + u'/';
    DataSource::setRegisteredPath(QString());
    Clock::setFixedToday(QDate(2024, 3, 15));
    Camera camera(folder);
    PreviewCamera previews(camera);
    ReportOutput::install(&previews);
    registerAllScreens();
    int status = 0;
    try {
        makeSampleBook(DataSource::defaultPath());
        shootAll(camera, previews);
    } catch (const ShotFailed& failure) {
        std::fprintf(stderr, "ombrel-manual-shots: %s\n", qPrintable(failure.reason));
        status = 1;
    }
    ReportOutput::install(nullptr);
    try {
        DataSource::close();
    } catch (const DbError&) {
    }
    std::printf("ombrel-manual-shots: %d pictures in %lld ms\n", camera.count(),
                static_cast<long long>(timer.elapsed()));
    return status;
}
