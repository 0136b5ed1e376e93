#include "app/DesktopMessages.h"

#include <QApplication>
#include <QMessageBox>

#include "app/Manyual.h"

namespace {

QMessageBox::StandardButton buttonOf(MsgAnswer answer) {
    switch (answer) {
        case MsgAnswer::Ok:
            return QMessageBox::Ok;
        case MsgAnswer::Cancel:
            return QMessageBox::Cancel;
        case MsgAnswer::Yes:
            return QMessageBox::Yes;
        case MsgAnswer::No:
            return QMessageBox::No;
        case MsgAnswer::Retry:
            return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons buttonsOf(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::Ok:
            return QMessageBox::Ok;
        case MsgButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MsgButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MsgButtons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon iconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::None:
            return QMessageBox::NoIcon;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MsgAnswer DesktopMessages::show(const MessageRequest& request) {
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox box(iconOf(request.icon), request.title, text, buttonsOf(request.buttons),
                    QApplication::activeWindow());
    box.setDefaultButton(buttonOf(request.defaultAnswer));
    if (!request.helpPage.isEmpty()) {
        // A help box: its text stays as it is, the manual's page is one click away.
        box.addButton(QMessageBox::Help)->setText(QStringLiteral("查看操作手册"));
        box.setEscapeButton(buttonOf(request.defaultAnswer));
    }
    switch (box.exec()) {
        case QMessageBox::Help:
            Manyual::showHelp(request.helpPage);
            return request.defaultAnswer;
        case QMessageBox::Ok:
            return MsgAnswer::Ok;
        case QMessageBox::Cancel:
            return MsgAnswer::Cancel;
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        case QMessageBox::Retry:
            return MsgAnswer::Retry;
        default:
            // Closed without a button: the safe answer of the box, never the one that acts.
            return request.buttons == MsgButtons::Ok      ? MsgAnswer::Ok
                   : request.buttons == MsgButtons::YesNo ? MsgAnswer::No
                                                          : MsgAnswer::Cancel;
    }
}
