#pragma once

#include <QStringList>
#include <initializer_list>

// A string list from UTF-8 literals, for expected values in tests.
inline QStringList strings(std::initializer_list<const char*> items) {
    QStringList out;
    for (const char* item : items) {
        out.append(QString::fromUtf8(item));
    }
    return out;
}
