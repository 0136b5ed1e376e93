#include "support/ModalScript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

ModalScript::ModalScript() : previous_(&Messages::current()) {
    Messages::install(&desktop_);
    poll();
}

ModalScript::~ModalScript() {
    *alive_ = false;
    Messages::install(previous_);
}

void ModalScript::expect(std::deque<Step> steps) {
    for (Step& step : steps) {
        steps_.push_back(std::move(step));
    }
}

QStringList ModalScript::takeTexts() {
    QStringList taken;
    taken.swap(texts_);
    return taken;
}

void ModalScript::poll() {
    // Scheduled first: a step's click may run a nested event loop for the next window.
    QTimer::singleShot(5, [this, alive = alive_] {
        if (*alive) {
            poll();
        }
    });
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) {
        return;
    }
    auto* box = qobject_cast<QMessageBox*>(modal);
    const bool expected = !steps_.empty() && modal->inherits(qPrintable(steps_.front().kind));
    if (!expected) {
        if (box != nullptr) {
            texts_.append(QStringLiteral("unexpected: ") + box->text());
            QAbstractButton* escape = box->escapeButton();
            QTest::mouseClick(escape ? escape : box->buttons().constFirst(), Qt::LeftButton);
        } else if (steps_.empty()) {
            texts_.append(QStringLiteral("unexpected: ") +
                          QString::fromLatin1(modal->metaObject()->className()));
            modal->close();
        }
        return;  // otherwise another window on the way to the expected one
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    if (box != nullptr) {
        texts_.append(box->text());
        QAbstractButton* target = box->button(step.button);
        if (target == nullptr) {
            texts_.append(QStringLiteral("unexpected: no such button"));
            box->reject();
            return;
        }
        QTest::mouseClick(target, Qt::LeftButton);
        return;
    }
    step.handle(modal);
}
