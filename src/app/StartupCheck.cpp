#include "app/StartupCheck.h"

#include <QApplication>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

#include "db/DataSource.h"
#include "db/DbError.h"

namespace {

constexpr int kDailyScreenMissing = 3;

void finish(int status) {
    try {
        DataSource::close();
    } catch (const DbError&) {
        // Only a measurement: the next start folds the log in.
    }
    QCoreApplication::exit(status);
}

}  // namespace

std::unique_ptr<StartupCheck> StartupCheck::fromArguments(const QStringList& arguments,
                                                          const QElapsedTimer& started) {
    const bool main = arguments.contains(QStringLiteral("--startup-check"));
    const bool daily = arguments.contains(QStringLiteral("--startup-check=daily"));
    if (!main && !daily) {
        return nullptr;
    }
    return std::unique_ptr<StartupCheck>(new StartupCheck(daily, started));
}

void StartupCheck::start(QWidget* mainWindow) {
    QTimer::singleShot(0, mainWindow, [this, mainWindow] { measure(mainWindow); });
}

void StartupCheck::measure(QWidget* mainWindow) {
    mainWindow->repaint();
    report(mainWindow);
    if (!daily_) {
        finish(0);
        return;
    }
    // The screen loads its day while it is shown, inside the click.
    mainWindow->findChild<QPushButton*>(QStringLiteral("cmdKantanInp"))->click();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == u"InpKantanSiwake" && window->isVisible()) {
            window->repaint();
            report(window);
            finish(0);
            return;
        }
    }
    QTextStream(stderr) << "startup-check: the daily entry screen did not open\n";
    finish(kDailyScreenMissing);
}

MsgAnswer StartupCheck::PrintedMessages::show(const MessageRequest& request) {
    QTextStream(stderr) << "startup-check: message: " << request.text << '\n';
    return request.defaultAnswer;
}

void StartupCheck::report(QWidget* painted) {
    QTextStream(stdout) << "startup-check: " << painted->objectName() << " painted after "
                        << started_.elapsed() << " ms\n";
}
