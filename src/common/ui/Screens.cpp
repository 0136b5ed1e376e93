#include "common/ui/Screens.h"

#include <QHash>
#include <QPointer>
#include <QScreen>
#include <algorithm>

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

// Over the middle of the window that opens it, kept on that window's screen.
void centreOn(QWidget* window, const QWidget* opener) {
    QRect frame = window->frameGeometry();
    frame.moveCenter(opener->frameGeometry().center());
    if (const QScreen* screen = opener->screen()) {
        const QRect available = screen->availableGeometry();
        frame.moveLeft(std::max(available.left(),
                                std::min(frame.left(), available.right() - frame.width() + 1)));
        frame.moveTop(std::max(available.top(),
                               std::min(frame.top(), available.bottom() - frame.height() + 1)));
    }
    window->move(frame.topLeft());
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
    if (opener && opener->isVisible() && opener->window() != screen) {
        centreOn(screen, opener->window());
    }
    screen->show();
    screen->raise();
    screen->activateWindow();
    if (opener) {
        opener->hide();
    }
    return true;
}

bool showForm(const QString& form) {
    QWidget* window = get(form);
    if (!window) {
        return false;
    }
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

void addExisting(const QString& form, QWidget* window) {
    QPointer<QWidget> existing(window);
    registry()[form] = {[existing] { return existing.data(); }, existing};
}

void clear() {
    registry().clear();
}

}  // namespace Screens
