#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QScreen>

#include "app/AllScreens.h"
#include "app/ChineseTranslation.h"
#include "app/DesktopMessages.h"
#include "app/MainMenu.h"
#include "app/Password.h"
#include "app/StartupCheck.h"
#include "common/DataFolder.h"
#include "common/SavedBooks.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "maintenance/ui/AutoBackupProgress.h"
#include "print/ui/DesktopReportOutput.h"

int main(int argc, char* argv[]) {
    QElapsedTimer started;
    started.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ombrel"));
    // The installed menu entry, so that the desktop shows its name and icon for the windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.ombrel.Ombrel"));
    const std::unique_ptr<StartupCheck> startupCheck =
        StartupCheck::fromArguments(QApplication::arguments(), started);
    if (!installChineseTranslation(app)) {
        qWarning(
            "Qt's Chinese translation (qt6-translations-l10n) is missing: standard buttons "
            "stay in English.");
    }
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    QApplication::setFont(font);

    DesktopMessages desktopMessages;
    Messages::install(startupCheck ? startupCheck->messages() : &desktopMessages);
    DesktopReportOutput reportWindows;
    ReportOutput::install(&reportWindows);
    session().AppFolder = DataFolder::choose(QApplication::applicationDirPath());

    registerAllScreens();
    // The first save of a set each day also backs it up.
    SavedBooks::setListener([](const QString&) { writeAutoBackupShowingProgress(); });
    MainMenu mainMenu;
    Screens::addExisting(QStringLiteral("MainMenu"), &mainMenu);
    // The first window in the middle of the screen; every other one opens over its opener.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = mainMenu.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        mainMenu.move(frame.topLeft());
    }
    mainMenu.show();
    mainMenu.Form_Load();
    // No database (or one another copy of Ombrel is using): the message has been shown.
    if (session().RunState == 1) {
        mainMenu.close();
        ReportOutput::install(nullptr);
        Messages::install(nullptr);
        return 1;
    }
    if (mainMenu.logic().loginRequired() && !askLoginPassword(&mainMenu)) {
        mainMenu.close();  // RunState is 2 now: no backup offer
        ReportOutput::install(nullptr);
        Messages::install(nullptr);
        return 2;
    }
    if (startupCheck) {
        startupCheck->start(&mainMenu);
    }
    const int status = app.exec();
    ReportOutput::install(nullptr);
    Messages::install(nullptr);
    return status;
}
