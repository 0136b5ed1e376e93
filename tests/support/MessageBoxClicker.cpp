#include "support/MessageBoxClicker.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <algorithm>

MessageBoxClicker::MessageBoxClicker(std::deque<QMessageBox::StandardButton> clicks)
    : previous_(&Messages::current()), clicks_(std::move(clicks)) {
    Messages::install(&desktop_);
    poll();
}

MessageBoxClicker::~MessageBoxClicker() {
    *alive_ = false;
    Messages::install(previous_);
}

QStringList MessageBoxClicker::texts() const {
    QStringList all;
    for (const Seen& s : seen_) {
        all.append(s.text);
    }
    return all;
}

namespace {

// "否(&N)" reads as 否 to the user.
QString withoutShortcut(QString text) {
    static const QRegularExpression shortcut(QStringLiteral("\\(&.\\)|&"));
    return text.remove(shortcut);
}

}  // namespace

void MessageBoxClicker::poll() {
    if (clicks_.empty()) {
        return;
    }
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box != nullptr && box->isVisible()) {
        Seen s{box->windowTitle(), box->text(), box->icon(), {}, {}};
        for (QAbstractButton* b : box->buttons()) {
            s.buttonTexts.append(withoutShortcut(b->text()));
        }
        std::sort(s.buttonTexts.begin(), s.buttonTexts.end());
        if (box->defaultButton() != nullptr) {
            s.defaultButtonText = withoutShortcut(box->defaultButton()->text());
        }
        seen_.append(s);
        QAbstractButton* target = box->button(clicks_.front());
        clicks_.pop_front();
        if (target != nullptr) {
            QTest::mouseClick(target, Qt::LeftButton);
        } else {
            box->reject();  // the scripted button is not on this box: the test sees it in seen()
        }
    }
    QTimer::singleShot(10, [this, alive = alive_] {
        if (*alive) {
            poll();
        }
    });
}
