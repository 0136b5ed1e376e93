#include "common/ui/FocusKeys.h"

#include <QKeyEvent>
#include <QWidget>

namespace {

bool takesFocus(const QWidget* w) {
    return w->isEnabled() && w->isVisible() && (w->focusPolicy() & Qt::TabFocus);
}

// The next (or previous) control in the tab order that can take the focus. A control and the
// parts inside it (the text box of an editable list) are one stop.
void moveFocus(QWidget* from, bool forward) {
    QWidget* w = forward ? from->nextInFocusChain() : from->previousInFocusChain();
    while (w != from && (!takesFocus(w) || from->isAncestorOf(w))) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    }
    w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

}  // namespace

void FocusKeys::install(QWidget* owner, const QList<QWidget*>& boxes) {
    auto* filter = new FocusKeys(owner);
    for (QWidget* box : boxes) {
        box->installEventFilter(filter);
    }
}

bool FocusKeys::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QWidget*>(watched);
    if (!box || event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        moveFocus(box, true);
        return true;
    }
    if (key == Qt::Key_Escape) {
        moveFocus(box, false);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
