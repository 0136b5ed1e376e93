// Makes the manual's pictures: a sample book in a temporary folder, each screen the manual shows
// opened through the program's own buttons and grabbed to a PNG. Run offscreen by the build.

#include <QApplication>
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
    camera.shoot(journal, QStringLiteral("journal"));
    previews.expect(QStringLiteral("journal-preview"));
    buttonOf(journal, "cmdHyouji")->click();
    journal->close();
    settle();
    QWidget* ledger = openBy(books, "cmdSoukanjo", QStringLiteral("prtSoukanjoMotocho"));
    camera.shoot(ledger, QStringLiteral("general-ledger"));
    previews.expect(QStringLiteral("general-ledger-preview"));
    buttonOf(ledger, "cmdHyouji")->click();
    screenOf(camera, ledger, "cmdDataHyoji", QStringLiteral("InpSoukanjoMotchoH"),
             QStringLiteral("ledger-correction"));
    ledger->close();
    settle();
    screenOf(camera, books, "cmdHojo", QStringLiteral("prtSoukanjoHojoMotocho"),
             QStringLiteral("subsidiary-ledger"));
    QWidget* trial = openBy(books, "cmdTaisyakuTaisyo", QStringLiteral("prtTaisyakuTaisyo"));
    camera.shoot(trial, QStringLiteral("trial-balance"));
    previews.expect(QStringLiteral("trial-balance-preview"));
    buttonOf(trial, "cmdHyouji")->click();
    trial->close();
    settle();
    screenOf(camera, books, "cmdSonekiKeisan", QStringLiteral("prtSonekiKeisan"),
             QStringLiteral("income-statement"));
    screenOf(camera, books, "cmdZichan", QStringLiteral("prtZichan"),
             QStringLiteral("balance-sheet"));
    screenOf(camera, books, "cmdLirun", QStringLiteral("prtLirun"),
             QStringLiteral("profit-statement"));
    screenOf(camera, books, "cmdXiaoQiye", QStringLiteral("prtXiaoQiye"),
             QStringLiteral("small-business"));
    screenOf(camera, books, "Command1", QStringLiteral("SetUsePrinter"), QStringLiteral("printer"));
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
    Database::global().close();
    std::printf("ombrel-manual-shots: %d pictures in %lld ms\n", camera.count(),
                static_cast<long long>(timer.elapsed()));
    return status;
}
