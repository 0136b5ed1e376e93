#pragma once

#include <QElapsedTimer>
#include <QStringList>
#include <memory>

#include "common/Messages.h"

class QWidget;

// "--startup-check" measures how long the program takes until its loaded main window is painted,
// "--startup-check=daily" until the daily entry screen, opened as its button does, is painted.
// It prints the milliseconds since the start of main on standard output, closes the database
// and ends the program (status 3 when the daily entry screen did not open). A message box would
// wait for nobody: messages go to standard error, answered as Enter would.
class StartupCheck {
  public:
    // Null when the arguments ask for no check.
    static std::unique_ptr<StartupCheck> fromArguments(const QStringList& arguments,
                                                       const QElapsedTimer& started);

    // The main window is loaded: measure as soon as the event loop runs.
    void start(QWidget* mainWindow);
    // The message service to install while checking.
    Messages* messages() { return &messages_; }

  private:
    StartupCheck(bool daily, const QElapsedTimer& started) : daily_(daily), started_(started) {}
    void measure(QWidget* mainWindow);
    void report(QWidget* painted);

    class PrintedMessages : public Messages {
      public:
        MsgAnswer show(const MessageRequest& request) override;
    };

    bool daily_;
    QElapsedTimer started_;
    PrintedMessages messages_;
};
