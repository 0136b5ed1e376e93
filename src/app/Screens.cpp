#include "app/Screens.h"

#include <QHash>
#include <QPointer>

namespace Screens {

namespace {

struct Entry {
    Factory make;
    QPointer<QWidget> window;
};

QHash<QString, Entry>& registry() {
    static QHash<QString, Entry> screens;
    return screens;
}

}  // namespace

void add(const QString& form, Factory make) {
    registry()[form] = {std::move(make), nullptr};
}

bool has(const QString& form) {
    return registry().contains(form);
}

QWidget* get(const QString& form) {
    auto found = registry().find(form);
    if (found == registry().end()) {
        return nullptr;
    }
    if (!found->window) {
        found->window = found->make();
    }
    return found->window;
}

bool open(const QString& form, QWidget* opener) {
    QWidget* screen = get(form);
    if (!screen) {
        return false;
    }
    screen->show();
    screen->raise();
    screen->activateWindow();
    if (opener) {
        opener->hide();
    }
    return true;
}

}  // namespace Screens
