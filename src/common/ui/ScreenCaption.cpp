#include "common/ui/ScreenCaption.h"

#include <QLabel>

#include "common/Session.h"
#include "common/ui/Screens.h"

QString mainWindowCompanyName() {
    QWidget* main = Screens::get(QStringLiteral("MainMenu"));
    const auto* label = main ? main->findChild<QLabel*>(QStringLiteral("lblKaisyaName")) : nullptr;
    return label ? label->text() : QString();
}

QString screenCaption(const QString& title) {
    const QString separator = QStringLiteral(" — ");
    return mainWindowCompanyName() + separator + session().PeriodLabel + separator + title;
}
