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
#include <functional>
#include <vector>

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

// The offscreen platform reports each window feature it lacks, and a build machine may have no
// runtime folder; neither says anything about the pictures.
void quietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith(u"This plugin does not support") &&
        !text.startsWith(u"QStandardPaths: XDG_RUNTIME_DIR")) {
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

// The first entry of a list that is not blank, for lists that start with an empty choice.
void chooseFirstFilled(QWidget* window, const char* name) {
    auto* box = window->findChild<QComboBox*>(QLatin1String(name));
    for (int i = 0; box != nullptr && i < box->count(); ++i) {
        if (!box->itemText(i).trimmed().isEmpty()) {
            chooseIndex(window, name, i);
            return;
        }
    }
    throw ShotFailed{window->objectName() + QStringLiteral(": nothing in ") + QLatin1String(name)};
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

// One screen of a menu: opened by its button, its lists chosen, grabbed, then optionally its
// preview and a screen that its preview enables, and closed again (the menu comes back).
struct Shot {
    const char* button;
    const char* form;
    const char* picture;
    std::function<void(QWidget*)> prepare = {};
    const char* preview = nullptr;
    const char* next = nullptr;  // button, form, picture of the further screen
    const char* nextForm = nullptr;
    const char* nextPicture = nullptr;
};

void shootMenu(Camera& camera, PreviewCamera& previews, QWidget* mainMenu, const char* button,
               const char* form, const char* picture, const std::vector<Shot>& shots) {
    QWidget* menu = openBy(mainMenu, button, QLatin1String(form));
    camera.shoot(menu, QLatin1String(picture));
    for (const Shot& shot : shots) {
        QWidget* screen = openBy(menu, shot.button, QLatin1String(shot.form));
        if (shot.prepare) {
            shot.prepare(screen);
        }
        camera.shoot(screen, QLatin1String(shot.picture));
        if (shot.preview != nullptr) {
            previews.expect(QLatin1String(shot.preview));
            buttonOf(screen, "cmdHyouji")->click();
        }
        if (shot.next != nullptr) {
            QWidget* next = openBy(screen, shot.next, QLatin1String(shot.nextForm));
            camera.shoot(next, QLatin1String(shot.nextPicture));
            next->close();
            settle();
        }
        screen->close();
        settle();
    }
    menu->close();
    settle();
}

const QStringList kJanuary{QStringLiteral("2024年1月"), QStringLiteral("2024年01月")};
const QStringList kMarch{QStringLiteral("2024年3月"), QStringLiteral("2024年03月")};

// The first three months; accounts from the first of the list to the last (or the first only).
std::function<void(QWidget*)> ledgerRange(bool oneAccount) {
    return [oneAccount](QWidget* screen) {
        choose(screen, "cmbTaisyoNenTuki1", kJanuary);
        choose(screen, "cmbTaisyoNenTuki2", kMarch);
        chooseIndex(screen, "cmbTaisyoKamoku1", 0);
        chooseIndex(screen, "cmbTaisyoKamoku2", oneAccount ? 0 : -1);
    };
}

std::function<void(QWidget*)> month(const char* list) {
    return [list](QWidget* screen) { choose(screen, list, kMarch); };
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

    shootMenu(camera, previews, &mainMenu, "cmdSyokiSet", "SyokiSetMenu", "menu-basic",
              {{"cmdKaisyaJoho", "InpKaisyaJoho", "account-set"},
               {"cmdKisyuZandaka", "InpKisyuZandaka", "opening-balances"},
               {"cmdKanjyoKamoku", "prtKanjoKamokuSet", "chart",
                [](QWidget* chart) {
                    for (const char* list : {"cmbDaiBunrui", "cmbChuBunrui", "cmbSyoBunrui"}) {
                        chooseFirstFilled(chart, list);
                    }
                }},
               {"cmdSiwake", "InpIkkatuSiwake", "patterns"},
               {"cmdTekiyou", "InpTekiyouTouroku", "descriptions"},
               {"cmdPassword", "Password", "password"}});
    shootMenu(
        camera, previews, &mainMenu, "cmdInOutsyori", "InOutMenu", "menu-books",
        {{"cmdInpKantan", "InpKantanSiwake", "daily-entry"},
         {"cmdSiwakeNikki", "prtSiwakeNikki", "journal",
          [](QWidget* journal) {
              chooseIndex(journal, "cmbTaisyoHizuke1", 0);
              chooseIndex(journal, "cmbTaisyoHizuke2", -1);
          },
          "journal-preview"},
         {"cmdSoukanjo", "prtSoukanjoMotocho", "general-ledger", ledgerRange(true),
          "general-ledger-preview", "cmdDataHyoji", "InpSoukanjoMotchoH", "ledger-correction"},
         {"cmdHojo", "prtSoukanjoHojoMotocho", "subsidiary-ledger", ledgerRange(false),
          "subsidiary-ledger-preview"},
         {"cmdTaisyakuTaisyo", "prtTaisyakuTaisyo", "trial-balance", month("cmbTaisyoNenTuki"),
          "trial-balance-preview"},
         {"cmdSonekiKeisan", "prtSonekiKeisan", "income-statement", month("cmbTaisyoNenTuki")},
         {"cmdZichan", "prtZichan", "balance-sheet"},
         {"cmdLirun", "prtLirun", "profit-statement"},
         {"cmdXiaoQiye", "prtXiaoQiye", "small-business", month("cmbTaisyoNenTuki"),
          "small-business-preview"}});
    shootMenu(camera, previews, &mainMenu, "cmdSave", "SaveUpdateMenu", "menu-data",
              {{"cmdBackUp", "runBackUp", "backup"},
               {"cmdNenjiUpdate", "runNenjiUpdate", "year-end"},
               {"cmdOutData", "runDataout", "csv-export", month("cmbTuki")},
               {"cmdInData", "runDatain", "csv-import", month("cmbTuki")},
               {"cmdConverter", "runConverter", "converter"}});
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
