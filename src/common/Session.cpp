#include "common/Session.h"

const QString Session::kNoAccountSetMarker = QStringLiteral("没有");

Session& Session::current() {
    static Session instance;
    return instance;
}

void Session::reset() {
    const QString folder = AppFolder;
    *this = Session();
    AppFolder = folder;
}
