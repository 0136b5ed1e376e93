#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>

#include "app/DesktopMessages.h"

// Answers the modal windows that a user action opens, one scripted step per window, as a user
// would: message boxes by clicking a button, other dialogs by a handler that works their
// controls. Installs the real message boxes for its lifetime. A step waits until a window of its
// kind is the active modal one; a message box nobody expected is recorded and closed with its
// escape button, so a wrong turn fails the test instead of hanging it.
class ModalScript {
  public:
    // Handles the dialog (it is of the step's kind); returns when the step is done.
    using Handler = std::function<void(QWidget* dialog)>;
    struct Step {
        QString kind;  // class name of the window ("QMessageBox", "QFileDialog", ...)
        QMessageBox::StandardButton button = QMessageBox::NoButton;
        Handler handle;
    };

    static Step click(QMessageBox::StandardButton button) {
        return {QStringLiteral("QMessageBox"), button, {}};
    }
    static Step on(const char* kind, Handler handle) {
        return {QString::fromLatin1(kind), QMessageBox::NoButton, std::move(handle)};
    }

    ModalScript();
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Queues steps for the next action.
    void expect(std::deque<Step> steps);
    // True when every queued step has run.
    bool done() const { return steps_.empty(); }
    // Texts of the message boxes answered since the last call (unexpected boxes and windows
    // marked "unexpected: "), and forgets them.
    QStringList takeTexts();

  private:
    void poll();

    DesktopMessages desktop_;
    Messages* previous_;
    std::deque<Step> steps_;
    QStringList texts_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
