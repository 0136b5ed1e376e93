#include <QApplication>
#include <QFont>

#include "app/AllScreens.h"
#include "app/DesktopMessages.h"
#include "app/MainMenu.h"
#include "common/Session.h"
#include "common/ui/Screens.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ombrel"));
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    QApplication::setFont(font);

    DesktopMessages desktopMessages;
    Messages::install(&desktopMessages);
    session().AppFolder = QApplication::applicationDirPath() + u'/';

    registerAllScreens();
    MainMenu mainMenu;
    Screens::addExisting(QStringLiteral("MainMenu"), &mainMenu);
    mainMenu.show();
    mainMenu.Form_Load();
    const int status = session().RunState == 1 && !mainMenu.isVisible() ? 1 : app.exec();
    Messages::install(nullptr);
    return status;
}
