#pragma once

#include <QMessageBox>
#include <QStringList>
#include <deque>
#include <memory>

#include "app/DesktopMessages.h"

// Installs the real message boxes for its lifetime (then restores the service it replaced) and
// answers each box that appears by clicking the next scripted button with the mouse, as a user
// would.
class MessageBoxClicker {
  public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttonTexts;  // sorted
        QString defaultButtonText;
    };

    explicit MessageBoxClicker(std::deque<QMessageBox::StandardButton> clicks);
    ~MessageBoxClicker();
    MessageBoxClicker(const MessageBoxClicker&) = delete;
    MessageBoxClicker& operator=(const MessageBoxClicker&) = delete;

    const QList<Seen>& seen() const { return seen_; }
    QStringList texts() const;

  private:
    void poll();

    DesktopMessages desktop_;
    Messages* previous_;
    std::deque<QMessageBox::StandardButton> clicks_;
    QList<Seen> seen_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
