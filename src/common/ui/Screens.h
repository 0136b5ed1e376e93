#pragma once

#include <QString>
#include <QWidget>
#include <functional>

// The program's windows by form name. A screen registers how it is made; whoever opens a screen
// by name gets the one instance (menus are kept once made).
namespace Screens {

using Factory = std::function<QWidget*()>;

void add(const QString& form, Factory make);
bool has(const QString& form);
// The screen's window, made on first use; nullptr when the program has no such screen.
QWidget* get(const QString& form);
// Shows the screen and hides the window that opened it; false when there is no such screen.
bool open(const QString& form, QWidget* opener);
// Shows an existing window again (the caller of a screen that closes); false when there is none.
bool showForm(const QString& form);
// Registers a window that already exists, such as the main window.
void addExisting(const QString& form, QWidget* window);
// Forgets every screen (the windows stay): a run of the program's windows starts afresh.
void clear();

}  // namespace Screens
