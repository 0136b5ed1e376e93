#include "common/Messages.h"

const QString Messages::kTitle = QStringLiteral("Ombrel");
const QString Messages::kCrLf = QStringLiteral("\r\n");

namespace {

// Answers every question with its default; used where no user can be asked.
class SilentMessages : public Messages {
  public:
    MsgAnswer show(const MessageRequest& request) override { return request.defaultAnswer; }
};

SilentMessages silent;
Messages* installed = &silent;

}  // namespace

Messages& Messages::current() {
    return *installed;
}

void Messages::install(Messages* messages) {
    installed = messages ? messages : &silent;
}

void Messages::information(const QString& text, const QString& title) {
    show({MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok, title, text});
}

void Messages::exclamation(const QString& text, const QString& title) {
    show({MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok, title, text});
}

void Messages::plain(const QString& text, const QString& title) {
    show({MsgIcon::None, MsgButtons::Ok, MsgAnswer::Ok, title, text});
}

void Messages::help(MsgIcon icon, const QString& text, const QString& page, const QString& title) {
    show({icon, MsgButtons::Ok, MsgAnswer::Ok, title, text, page});
}

MsgAnswer Messages::askYesNo(const QString& text, MsgAnswer defaultAnswer, MsgIcon icon,
                             const QString& title) {
    return show({icon, MsgButtons::YesNo, defaultAnswer, title, text});
}

MsgAnswer Messages::askOkCancel(const QString& text, MsgAnswer defaultAnswer, MsgIcon icon,
                                const QString& title) {
    return show({icon, MsgButtons::OkCancel, defaultAnswer, title, text});
}

QString Messages::errorText(int number, const QString& description, const QString& routine) {
    return QString::number(number) + kCrLf + description + u'(' + routine + u')';
}

void Messages::error(int number, const QString& description, const QString& routine) {
    show({MsgIcon::Critical, MsgButtons::Ok, MsgAnswer::Ok, kTitle,
          errorText(number, description, routine)});
}
